#include "ui/DragDropImage.h"

#include <cstring>

#include "platform/gdi/SysColors.h"
#include "platform/ole/ClipboardFormat.h"
#include "platform/ole/GlobalMemory.h"
#include "platform/window/Paint.h"

IMPLEMENT_DYNAMIC(CDragDropImage, CCmdTarget)

namespace {

constexpr std::size_t kHeaderSize = 8;
constexpr std::size_t kRowSize = 40;

int ReadInt(const BYTE* at) {
    int value = 0;
    std::memcpy(&value, at, sizeof value);
    return value;
}

RECT ReadRect(const BYTE* at) { return RECT{ReadInt(at), ReadInt(at + 4), ReadInt(at + 8), ReadInt(at + 12)}; }

} // namespace

CDragDropImage::CDragDropImage(int viewType, std::vector<Row> rows, POINT start)
    : m_viewType(viewType), m_rows(std::move(rows)), m_start(start) {}

CLIPFORMAT CDragDropImage::BlockFormat() {
    static const auto format = static_cast<CLIPFORMAT>(RegisterClipboardFormatA("APP_CF_DD_LISTCTRL_IMAGE"));
    return format;
}

std::unique_ptr<CDragDropImage> CDragDropImage::FromBlock(const BYTE* block, std::size_t size) {
    if (block == nullptr || size < kHeaderSize) return nullptr;
    int viewType = ReadInt(block);
    int count = ReadInt(block + 4);
    if (viewType < 0 || viewType > 3 || count < 0 || static_cast<std::size_t>(count) > (size - kHeaderSize) / kRowSize) return nullptr;
    std::vector<Row> rows;
    POINT start{0, 0};
    for (int i = 0; i < count; ++i) {
        const BYTE* row = block + kHeaderSize + kRowSize * static_cast<std::size_t>(i);
        rows.push_back(Row{ReadRect(row), ReadRect(row + 16)});
        start = POINT{ReadInt(row + 32), ReadInt(row + 36)};
    }
    return std::make_unique<CDragDropImage>(viewType, std::move(rows), start);
}

std::unique_ptr<CDragDropImage> CDragDropImage::FromDataObject(COleDataObject* dataObject) {
    if (dataObject == nullptr || !dataObject->IsDataAvailable(BlockFormat())) return nullptr;
    HGLOBAL block = dataObject->GetGlobalData(BlockFormat());
    if (block == nullptr) return nullptr;
    std::unique_ptr<CDragDropImage> image;
    {
        ostrana::GlobalLockGuard lock(block);
        image = FromBlock(lock.Data(), GlobalSize(block));
    }
    GlobalFree(block);
    return image;
}

void CDragDropImage::Draw(HDC dc, POINT point) const {
    int dx = point.x - m_start.x;
    int dy = point.y - m_start.y;
    int oldMode = SetROP2(dc, R2_NOT);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
    HPEN line = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNTEXT));
    HGDIOBJ oldPen = SelectObject(dc, line);
    bool withLine = m_viewType == 1 || m_viewType == 3;
    for (const Row& row : m_rows) {
        Rectangle(dc, row.label.left + dx, row.label.top + dy, row.label.right + dx, row.label.bottom + dy);
        if (!withLine) continue;
        int middle = (row.label.top + row.label.bottom) / 2 + dy;
        MoveToEx(dc, row.label.right + dx, middle, nullptr);
        LineTo(dc, row.label.left + (row.icon.right - row.icon.left) + dx, middle);
    }
    SelectObject(dc, oldPen);
    DeleteObject(line);
    SelectObject(dc, oldBrush);
    SetROP2(dc, oldMode);
}

void CDragImageTracker::Enter(HWND target, COleDataObject* dataObject, POINT point) {
    Leave(target);
    m_image = CDragDropImage::FromDataObject(dataObject);
    m_drawnAt = POINT{kNotDrawn, kNotDrawn};
    Move(target, point);
}

// The outline goes to the screen's overlay at the target's place, so that it never becomes part
// of the target's own picture and the second drawing takes it away again.
void CDragImageTracker::DrawAt(HWND target, POINT point) {
    HDC dc = GetDC(nullptr);
    if (dc == nullptr) return;
    POINT origin{0, 0};
    ClientToScreen(target, &origin);
    SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
    m_image->Draw(dc, point);
    ReleaseDC(nullptr, dc);
}

void CDragImageTracker::Move(HWND target, POINT point) {
    if (m_image == nullptr || (point.x == m_drawnAt.x && point.y == m_drawnAt.y)) return;
    if (m_drawnAt.x != kNotDrawn) DrawAt(target, m_drawnAt);
    DrawAt(target, point);
    m_drawnAt = point;
}

void CDragImageTracker::Leave(HWND target) {
    if (m_image != nullptr && m_drawnAt.x != kNotDrawn) DrawAt(target, m_drawnAt);
    m_image.reset();
    m_drawnAt = POINT{kNotDrawn, kNotDrawn};
}
