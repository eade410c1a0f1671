#include "platform/gdi/DeviceContext.h"

#include <cstring>
#include <vector>

#include "platform/base/HandleTable.h"
#include "platform/gdi/ScreenOverlay.h"
#include "platform/gdi/ScreenSize.h"
#include "platform/gdi/TextLayout.h"

namespace ostrana {
namespace {

// Window: BeginPaint, records a whole new picture. Direct: GetDC, adds lasting drawing to the
// picture and toggles inverting figures in the window's overlay.
enum class DcKind { Window, Direct, Memory, Screen };

struct DcState {
    HGDIOBJ pen = GetStockObject(BLACK_PEN);
    HGDIOBJ brush = GetStockObject(WHITE_BRUSH);
    HGDIOBJ font = GetStockObject(DEFAULT_GUI_FONT);
    HGDIOBJ bitmap = nullptr;
    COLORREF textColor = 0;
    COLORREF bkColor = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    int rop2 = R2_COPYPEN;
    POINT position{};
    POINT origin{};
};

struct DeviceContext {
    DcKind kind = DcKind::Window;
    void* owner = nullptr;
    std::shared_ptr<DisplayList> list = std::make_shared<DisplayList>();
    DcState state;
    std::vector<DcState> saved;
};

HandleTable<DeviceContext>& Table() {
    static HandleTable<DeviceContext> table(3);
    return table;
}

std::shared_ptr<DeviceContext> Dc(HDC dc) { return Table().Lookup(dc); }

PenInfo CurrentPen(const DeviceContext& dc) { return PenOf(dc.state.pen).value_or(PenInfo{}); }
BrushInfo CurrentBrush(const DeviceContext& dc) { return BrushOf(dc.state.brush).value_or(BrushInfo{true, 0}); }
FontInfo CurrentFont(const DeviceContext& dc) { return FontOf(dc.state.font).value_or(DefaultGuiFont()); }

bool Inverting(int rop2) { return rop2 == R2_NOT || rop2 == R2_NOTXORPEN || rop2 == R2_XORPEN; }

void Record(DeviceContext& dc, DisplayOp op) {
    if (op.kind == OpKind::Image && op.ref.origin == ImageOrigin::None) {
        op.ref = ParseImageDescription(op.image);
        op.ref.state = op.flags;
    }
    OffsetRect(&op.rect, dc.state.origin.x, dc.state.origin.y);
    op.from.x += dc.state.origin.x;
    op.from.y += dc.state.origin.y;
    op.to.x += dc.state.origin.x;
    op.to.y += dc.state.origin.y;
    if (op.kind == OpKind::Blit) {
        op.from.x -= dc.state.origin.x;
        op.from.y -= dc.state.origin.y;
    }
    switch (dc.kind) {
    case DcKind::Screen:
        // Only inverting figures can be undone by drawing them again; others have no place to live.
        if (Inverting(op.rop2)) ToggleOverlayFigure(op);
        return;
    case DcKind::Memory: {
        auto bitmap = BitmapOf(dc.state.bitmap);
        if (bitmap && bitmap->surface) bitmap->surface->push_back(std::move(op));
        return;
    }
    case DcKind::Direct:
        if (Inverting(op.rop2)) {
            ToggleWindowOverlayFigure(dc.owner, op);
            return;
        }
        dc.list->push_back(std::move(op));
        return;
    case DcKind::Window: dc.list->push_back(std::move(op)); return;
    }
}

DisplayOp Figure(const DeviceContext& dc, OpKind kind, RECT rect) {
    DisplayOp op;
    op.kind = kind;
    op.rect = rect;
    op.pen = CurrentPen(dc);
    op.brush = CurrentBrush(dc);
    op.rop2 = dc.state.rop2;
    return op;
}

DisplayOp TextOp(const DeviceContext& dc, std::string text, RECT rect, UINT format) {
    DisplayOp op;
    op.kind = OpKind::Text;
    op.rect = rect;
    op.text = std::move(text);
    op.font = CurrentFont(dc);
    op.textColor = dc.state.textColor;
    op.bkColor = dc.state.bkColor;
    op.bkMode = dc.state.bkMode;
    op.format = format;
    return op;
}

std::string Text(LPCSTR text, int count) {
    if (text == nullptr) return {};
    return count < 0 ? std::string(text) : std::string(text, static_cast<std::size_t>(count));
}

HDC Insert(DcKind kind, void* owner) {
    auto dc = std::make_shared<DeviceContext>();
    dc->kind = kind;
    dc->owner = owner;
    return static_cast<HDC>(Table().Insert(dc));
}

void RecordImage(DeviceContext& dc, RECT rect, std::string image, UINT flags) {
    DisplayOp op;
    op.kind = OpKind::Image;
    op.rect = rect;
    op.image = std::move(image);
    op.flags = flags;
    Record(dc, std::move(op));
}

} // namespace

HDC CreateRecordingDC(void* owner) { return Insert(DcKind::Window, owner); }
HDC CreateDirectDC(void* owner) { return Insert(DcKind::Direct, owner); }
HDC CreateScreenDC() { return Insert(DcKind::Screen, nullptr); }

void* OwnerOfDC(HDC dc) {
    auto found = Dc(dc);
    return found ? found->owner : nullptr;
}

std::shared_ptr<DisplayList> RecordedList(HDC dc) {
    auto found = Dc(dc);
    return found ? found->list : nullptr;
}

void RecordOp(HDC dc, DisplayOp op) {
    if (auto found = Dc(dc)) Record(*found, std::move(op));
}

FontInfo SelectedFont(HDC dc) {
    auto found = Dc(dc);
    return found ? CurrentFont(*found) : DefaultGuiFont();
}

} // namespace ostrana

using namespace ostrana;

HDC CreateCompatibleDC(HDC) { return Insert(DcKind::Memory, nullptr); }

HBITMAP CreateCompatibleBitmap(HDC, int width, int height) { return CreateSurfaceBitmap(width, height); }

BOOL DeleteDC(HDC dc) { return Table().Remove(dc) != nullptr; }

int GetDeviceCaps(HDC, int index) {
    switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY: return 96;
    case HORZRES: return ScreenSize().cx;
    case VERTRES: return ScreenSize().cy;
    case BITSPIXEL: return 32;
    default: return 0;
    }
}

HGDIOBJ SelectObject(HDC handle, HGDIOBJ object) {
    auto dc = Dc(handle);
    if (!dc) return nullptr;
    HGDIOBJ* slot = nullptr;
    switch (KindOf(object)) {
    case GdiKind::Pen: slot = &dc->state.pen; break;
    case GdiKind::Brush: slot = &dc->state.brush; break;
    case GdiKind::Font: slot = &dc->state.font; break;
    case GdiKind::Bitmap: slot = &dc->state.bitmap; break;
    default: return nullptr;
    }
    HGDIOBJ previous = *slot;
    *slot = object;
    return previous;
}

int SaveDC(HDC handle) {
    auto dc = Dc(handle);
    if (!dc) return 0;
    dc->saved.push_back(dc->state);
    return static_cast<int>(dc->saved.size());
}

BOOL RestoreDC(HDC handle, int saved) {
    auto dc = Dc(handle);
    if (!dc || dc->saved.empty()) return FALSE;
    std::size_t index = saved < 0 ? dc->saved.size() - static_cast<std::size_t>(-saved) : static_cast<std::size_t>(saved - 1);
    if (index >= dc->saved.size()) return FALSE;
    dc->state = dc->saved[index];
    dc->saved.resize(index);
    return TRUE;
}

#define DC_ACCESSOR(Setter, Getter, Type, member)         \
    Type Setter(HDC handle, Type value) {                 \
        auto dc = Dc(handle);                             \
        if (!dc) return 0;                                \
        Type previous = dc->state.member;                 \
        dc->state.member = value;                         \
        return previous;                                  \
    }                                                     \
    Type Getter(HDC handle) {                             \
        auto dc = Dc(handle);                             \
        return dc ? dc->state.member : 0;                 \
    }

DC_ACCESSOR(SetTextColor, GetTextColor, COLORREF, textColor)
DC_ACCESSOR(SetBkColor, GetBkColor, COLORREF, bkColor)
DC_ACCESSOR(SetBkMode, GetBkMode, int, bkMode)
DC_ACCESSOR(SetROP2, GetROP2, int, rop2)

BOOL SetViewportOrgEx(HDC handle, int x, int y, LPPOINT previous) {
    auto dc = Dc(handle);
    if (!dc) return FALSE;
    if (previous != nullptr) *previous = dc->state.origin;
    dc->state.origin = POINT{x, y};
    return TRUE;
}

BOOL MoveToEx(HDC handle, int x, int y, LPPOINT previous) {
    auto dc = Dc(handle);
    if (!dc) return FALSE;
    if (previous != nullptr) *previous = dc->state.position;
    dc->state.position = POINT{x, y};
    return TRUE;
}

BOOL LineTo(HDC handle, int x, int y) {
    auto dc = Dc(handle);
    if (!dc) return FALSE;
    DisplayOp op = Figure(*dc, OpKind::Line, RECT{});
    op.from = dc->state.position;
    op.to = POINT{x, y};
    Record(*dc, std::move(op));
    dc->state.position = POINT{x, y};
    return TRUE;
}

BOOL Rectangle(HDC handle, int left, int top, int right, int bottom) {
    auto dc = Dc(handle);
    if (!dc) return FALSE;
    Record(*dc, Figure(*dc, OpKind::Rectangle, RECT{left, top, right, bottom}));
    return TRUE;
}

BOOL RoundRect(HDC handle, int left, int top, int right, int bottom, int width, int height) {
    auto dc = Dc(handle);
    if (!dc) return FALSE;
    DisplayOp op = Figure(*dc, OpKind::RoundRect, RECT{left, top, right, bottom});
    op.corner = SIZE{width, height};
    Record(*dc, std::move(op));
    return TRUE;
}

BOOL Ellipse(HDC handle, int left, int top, int right, int bottom) {
    auto dc = Dc(handle);
    if (!dc) return FALSE;
    Record(*dc, Figure(*dc, OpKind::Ellipse, RECT{left, top, right, bottom}));
    return TRUE;
}

static int FillOrFrame(HDC handle, const RECT* rect, HBRUSH brush, OpKind kind) {
    auto dc = Dc(handle);
    COLORREF color = 0;
    if (!dc || rect == nullptr || !ResolveBrushColor(brush, color)) return 0;
    DisplayOp op;
    op.kind = kind;
    op.rect = *rect;
    op.brush = BrushInfo{false, color};
    Record(*dc, std::move(op));
    return 1;
}

int FillRect(HDC dc, const RECT* rect, HBRUSH brush) { return FillOrFrame(dc, rect, brush, OpKind::FillRect); }
int FrameRect(HDC dc, const RECT* rect, HBRUSH brush) { return FillOrFrame(dc, rect, brush, OpKind::FrameRect); }

BOOL InvertRect(HDC handle, const RECT* rect) {
    auto dc = Dc(handle);
    if (!dc || rect == nullptr) return FALSE;
    DisplayOp op;
    op.kind = OpKind::InvertRect;
    op.rect = *rect;
    op.rop2 = R2_NOT;
    Record(*dc, std::move(op));
    return TRUE;
}

BOOL DrawFocusRect(HDC handle, const RECT* rect) {
    auto dc = Dc(handle);
    if (!dc || rect == nullptr) return FALSE;
    DisplayOp op;
    op.kind = OpKind::FrameRect;
    op.rect = *rect;
    op.pen = PenInfo{PS_DOT, 1, 0};
    op.brush = BrushInfo{false, 0};
    op.rop2 = R2_XORPEN;
    op.image = "focus";
    Record(*dc, std::move(op));
    return TRUE;
}

BOOL PatBlt(HDC handle, int x, int y, int width, int height, DWORD rop) {
    auto dc = Dc(handle);
    if (!dc) return FALSE;
    RECT rect{x, y, x + width, y + height};
    if (rop == DSTINVERT || rop == PATINVERT) return InvertRect(handle, &rect);
    DisplayOp op;
    op.kind = OpKind::FillRect;
    op.rect = rect;
    op.brush = rop == BLACKNESS ? BrushInfo{false, 0} : rop == WHITENESS ? BrushInfo{false, 0xFFFFFF} : CurrentBrush(*dc);
    Record(*dc, std::move(op));
    return TRUE;
}

BOOL TextOutA(HDC handle, int x, int y, LPCSTR text, int count) {
    auto dc = Dc(handle);
    if (!dc) return FALSE;
    std::string value = Text(text, count);
    FontMetric metric = MetricOf(CurrentFont(*dc));
    RECT rect{x, y, x + TextWidth(metric, value), y + metric.height};
    Record(*dc, TextOp(*dc, std::move(value), rect, 0));
    return TRUE;
}

int DrawTextA(HDC handle, LPCSTR text, int count, LPRECT rect, UINT format) {
    auto dc = Dc(handle);
    if (!dc || rect == nullptr) return 0;
    FontMetric metric = MetricOf(CurrentFont(*dc));
    TextLayout layout = LayoutText(Text(text, count), *rect, format, metric);
    if (format & DT_CALCRECT) {
        rect->right = rect->left + layout.width;
        rect->bottom = rect->top + layout.height;
        return layout.height;
    }
    for (TextLine& line : layout.lines) {
        if (!line.text.empty()) Record(*dc, TextOp(*dc, std::move(line.text), line.rect, format));
    }
    return layout.height;
}

BOOL DrawEdge(HDC handle, LPRECT rect, UINT edge, UINT flags) {
    auto dc = Dc(handle);
    if (!dc || rect == nullptr) return FALSE;
    DisplayOp op;
    op.kind = OpKind::Edge;
    op.rect = *rect;
    op.format = edge;
    op.flags = flags & ~static_cast<UINT>(BF_ADJUST);
    Record(*dc, std::move(op));
    if (flags & BF_ADJUST) {
        int inset = ((edge & 0x3) != 0 ? 1 : 0) + ((edge & 0xC) != 0 ? 1 : 0);
        if (flags & BF_LEFT) rect->left += inset;
        if (flags & BF_TOP) rect->top += inset;
        if (flags & BF_RIGHT) rect->right -= inset;
        if (flags & BF_BOTTOM) rect->bottom -= inset;
    }
    return TRUE;
}

BOOL DrawStateA(HDC handle, HBRUSH, DRAWSTATEPROC output, LPARAM data, WPARAM wData, int x, int y, int cx, int cy,
                UINT flags) {
    auto dc = Dc(handle);
    if (!dc) return FALSE;
    UINT type = flags & 0xF;
    UINT state = flags & 0xFFF0;
    if (type == DST_TEXT || type == DST_PREFIXTEXT) {
        std::string text = Text(reinterpret_cast<LPCSTR>(data), wData != 0 ? static_cast<int>(wData) : -1);
        if (type == DST_PREFIXTEXT) text = StripPrefix(text);
        FontMetric metric = MetricOf(CurrentFont(*dc));
        DisplayOp op = TextOp(*dc, text, RECT{x, y, x + TextWidth(metric, text), y + metric.height}, 0);
        op.flags = state;
        Record(*dc, std::move(op));
        return TRUE;
    }
    if (type == DST_ICON) {
        auto icon = IconOf(reinterpret_cast<void*>(data));
        if (!icon) return FALSE;
        RECT rect{x, y, x + (cx > 0 ? cx : icon->width), y + (cy > 0 ? cy : icon->height)};
        RecordImage(*dc, rect, icon->name, state);
        return TRUE;
    }
    if (type == DST_BITMAP) {
        auto bitmap = BitmapOf(reinterpret_cast<HGDIOBJ>(data));
        if (!bitmap) return FALSE;
        RECT rect{x, y, x + (cx > 0 ? cx : bitmap->width), y + (cy > 0 ? cy : bitmap->height)};
        RecordImage(*dc, rect, "bitmap " + bitmap->name, state);
        return TRUE;
    }
    return output != nullptr ? output(handle, data, wData, cx, cy) : FALSE;
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon) { return DrawIconEx(dc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL); }

BOOL DrawIconEx(HDC handle, int x, int y, HICON handleIcon, int cx, int cy, UINT, HBRUSH, UINT) {
    auto dc = Dc(handle);
    auto icon = IconOf(handleIcon);
    if (!dc || !icon) return FALSE;
    RecordImage(*dc, RECT{x, y, x + (cx > 0 ? cx : icon->width), y + (cy > 0 ? cy : icon->height)}, icon->name, 0);
    return TRUE;
}

BOOL BitBlt(HDC dc, int x, int y, int cx, int cy, HDC source, int x1, int y1, DWORD rop) {
    return StretchBlt(dc, x, y, cx, cy, source, x1, y1, cx, cy, rop);
}

BOOL StretchBlt(HDC handle, int x, int y, int cx, int cy, HDC sourceHandle, int x1, int y1, int, int, DWORD rop) {
    auto dc = Dc(handle);
    if (!dc) return FALSE;
    auto source = Dc(sourceHandle);
    if (!source) return PatBlt(handle, x, y, cx, cy, rop);
    RECT rect{x, y, x + cx, y + cy};
    auto bitmap = BitmapOf(source->state.bitmap);
    if (!bitmap) return FALSE;
    if (!bitmap->surface) {
        RecordImage(*dc, rect, "bitmap " + bitmap->name, 0);
        return TRUE;
    }
    DisplayOp op;
    op.kind = OpKind::Blit;
    op.rect = rect;
    op.from = POINT{x1, y1};
    op.content = std::make_shared<const DisplayList>(*bitmap->surface);
    Record(*dc, std::move(op));
    return TRUE;
}

BOOL GetTextExtentPoint32A(HDC handle, LPCSTR text, int count, LPSIZE size) {
    if (size == nullptr) return FALSE;
    auto dc = Dc(handle);
    FontMetric metric = MetricOf(dc ? CurrentFont(*dc) : DefaultGuiFont());
    *size = SIZE{TextWidth(metric, Text(text, count)), metric.height};
    return TRUE;
}

BOOL GetTextMetricsA(HDC handle, TEXTMETRICA* result) {
    if (result == nullptr) return FALSE;
    auto dc = Dc(handle);
    FontInfo font = dc ? CurrentFont(*dc) : DefaultGuiFont();
    FontMetric metric = MetricOf(font);
    *result = TEXTMETRICA{metric.height, metric.height * 5 / 6, metric.height - metric.height * 5 / 6, 0, 0,
                          metric.asciiWidth, metric.wideWidth, font.weight};
    return TRUE;
}
