// The header control: items with titles, widths, formats (sort marks included) and a display
// order; clicks, sizing by the dividers and reordering by drag, each announced to the parent
// with HDN_ notifications that may refuse the change.
#include <algorithm>

#include "platform/controls/HeaderData.h"
#include "platform/window/Cursor.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"

namespace ostrana::detail {

RECT HeaderItemRect(HWND header, const HeaderData& data, int item) {
    RECT client;
    GetClientRect(header, &client);
    int left = 0;
    for (int index : data.order) {
        int width = data.items[static_cast<std::size_t>(index)].width;
        if (index == item) return RECT{left, 0, left + width, client.bottom};
        left += width;
    }
    return RECT{};
}

int HeaderHitTest(HWND header, const HeaderData& data, POINT point, UINT& flags) {
    RECT client;
    GetClientRect(header, &client);
    flags = 0;
    if (point.y < 0) flags |= HHT_ABOVE;
    if (point.y >= client.bottom) flags |= HHT_BELOW;
    if (point.x < 0) flags |= HHT_TOLEFT;
    if (point.x >= client.right) flags |= HHT_TORIGHT;
    if (flags != 0) return -1;
    constexpr int kDividerReach = 4;
    int left = 0;
    // A divider belongs to the item on its left; a hidden (zero width) item's divider opens it.
    for (std::size_t position = 0; position < data.order.size(); ++position) {
        int index = data.order[position];
        int right = left + data.items[static_cast<std::size_t>(index)].width;
        if (point.x >= right - kDividerReach && point.x < right + kDividerReach) {
            bool nextHidden = position + 1 < data.order.size() &&
                              data.items[static_cast<std::size_t>(data.order[position + 1])].width == 0 && point.x >= right;
            if (nextHidden) {
                flags = HHT_ONDIVOPEN;
                return data.order[position + 1];
            }
            flags = HHT_ONDIVIDER;
            return index;
        }
        if (point.x >= left && point.x < right) {
            flags = HHT_ONHEADER;
            return index;
        }
        left = right;
    }
    flags = HHT_NOWHERE;
    return -1;
}

namespace {

std::shared_ptr<HeaderData> DataOf(HWND header) { return ControlDataAs<HeaderData>(header); }

void FillItem(const HeaderData& data, int index, HDITEMA& item) {
    const HeaderItem& entry = data.items[static_cast<std::size_t>(index)];
    if (item.mask & HDI_WIDTH) item.cxy = entry.width;
    if (item.mask & HDI_TEXT) CopyToBuffer(entry.text, item.pszText, item.cchTextMax);
    if (item.mask & HDI_FORMAT) item.fmt = entry.format;
    if (item.mask & HDI_LPARAM) item.lParam = entry.param;
    if (item.mask & HDI_IMAGE) item.iImage = entry.image;
    if (item.mask & HDI_ORDER) {
        auto at = std::find(data.order.begin(), data.order.end(), index);
        item.iOrder = static_cast<int>(at - data.order.begin());
    }
}

void MoveInOrder(HeaderData& data, int index, int position) {
    auto at = std::find(data.order.begin(), data.order.end(), index);
    if (at == data.order.end()) return;
    data.order.erase(at);
    position = std::clamp(position, 0, static_cast<int>(data.order.size()));
    data.order.insert(data.order.begin() + position, index);
}

void ApplyItem(HeaderData& data, int index, const HDITEMA& item) {
    HeaderItem& entry = data.items[static_cast<std::size_t>(index)];
    if (item.mask & HDI_WIDTH) entry.width = std::max(0, item.cxy);
    if (item.mask & HDI_TEXT) entry.text = item.pszText != nullptr && item.pszText != LPSTR_TEXTCALLBACKA ? item.pszText : "";
    if (item.mask & HDI_FORMAT) entry.format = item.fmt;
    if (item.mask & HDI_LPARAM) entry.param = item.lParam;
    if (item.mask & HDI_IMAGE) entry.image = item.iImage;
    if (item.mask & HDI_ORDER) MoveInOrder(data, index, item.iOrder);
}

LRESULT NotifyItem(HWND header, UINT code, int index, HDITEMA* item, int button = 0) {
    NMHEADERA record{};
    record.iItem = index;
    record.iButton = button;
    record.pitem = item;
    return SendNotify(header, code, &record.hdr);
}

// Announces a width change; false when the parent refused it.
bool ChangeWidth(HWND header, HeaderData& data, int index, int width) {
    HDITEMA item{};
    item.mask = HDI_WIDTH;
    item.cxy = std::max(0, width);
    if (NotifyItem(header, HDN_ITEMCHANGINGA, index, &item) != 0) return false;
    data.items[static_cast<std::size_t>(index)].width = item.cxy;
    NotifyItem(header, HDN_ITEMCHANGEDA, index, &item);
    Repaint(header);
    return true;
}

int InsertItem(HWND header, HeaderData& data, int index, const HDITEMA* item) {
    if (item == nullptr) return -1;
    index = std::clamp(index, 0, static_cast<int>(data.items.size()));
    data.items.insert(data.items.begin() + index, HeaderItem{});
    for (int& entry : data.order) {
        if (entry >= index) ++entry;
    }
    data.order.push_back(index);
    HDITEMA copy = *item;
    if (!(copy.mask & HDI_ORDER)) copy.iOrder = static_cast<int>(data.order.size()) - 1;
    copy.mask |= HDI_ORDER;
    ApplyItem(data, index, copy);
    Repaint(header);
    return index;
}

BOOL DeleteItem(HWND header, HeaderData& data, int index) {
    if (index < 0 || index >= static_cast<int>(data.items.size())) return FALSE;
    data.items.erase(data.items.begin() + index);
    data.order.erase(std::find(data.order.begin(), data.order.end(), index));
    for (int& entry : data.order) {
        if (entry > index) --entry;
    }
    Repaint(header);
    return TRUE;
}

// The display position an item dropped at client x would take.
int DropPosition(const HeaderData& data, int x) {
    int left = 0;
    for (std::size_t position = 0; position < data.order.size(); ++position) {
        int width = data.items[static_cast<std::size_t>(data.order[position])].width;
        if (x < left + width / 2) return static_cast<int>(position);
        left += width;
    }
    return static_cast<int>(data.order.size()) - 1;
}

int PositionEdge(const HeaderData& data, int position) {
    int left = 0;
    for (int p = 0; p < position && p < static_cast<int>(data.order.size()); ++p) {
        left += data.items[static_cast<std::size_t>(data.order[static_cast<std::size_t>(p)])].width;
    }
    return left;
}

void ButtonDown(HWND header, HeaderData& data, POINT point, bool doubleClick) {
    UINT flags = 0;
    int index = HeaderHitTest(header, data, point, flags);
    if (index < 0) return;
    if (flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN)) {
        if (doubleClick) {
            NotifyItem(header, HDN_DIVIDERDBLCLICKA, index, nullptr);
            return;
        }
        HDITEMA item{};
        item.mask = HDI_WIDTH;
        item.cxy = data.items[static_cast<std::size_t>(index)].width;
        if (NotifyItem(header, HDN_BEGINTRACKA, index, &item) != 0) return;
        data.mouse = HeaderMouse::Tracking;
        data.trackStart = HeaderItemRect(header, data, index).left;
    } else if (doubleClick) {
        NotifyItem(header, HDN_ITEMDBLCLICKA, index, nullptr);
        return;
    } else if (GetWindowLongPtrA(header, GWL_STYLE) & (HDS_BUTTONS | HDS_DRAGDROP)) {
        data.mouse = HeaderMouse::Pressed;
    } else {
        return;
    }
    data.mouseItem = index;
    data.mouseDown = point;
    SetCapture(header);
    Repaint(header);
}

void MouseMove(HWND header, HeaderData& data, POINT point) {
    switch (data.mouse) {
    case HeaderMouse::Tracking: {
        HDITEMA item{};
        item.mask = HDI_WIDTH;
        item.cxy = std::max(0, static_cast<int>(point.x) - data.trackStart);
        if (NotifyItem(header, HDN_TRACKA, data.mouseItem, &item) == 0) ChangeWidth(header, data, data.mouseItem, item.cxy);
        break;
    }
    case HeaderMouse::Pressed:
        if ((GetWindowLongPtrA(header, GWL_STYLE) & HDS_DRAGDROP) && BeyondDragDistance(data.mouseDown, point)) {
            if (NotifyItem(header, HDN_BEGINDRAG, data.mouseItem, nullptr) == 0) {
                data.mouse = HeaderMouse::Dragging;
                data.dragX = PositionEdge(data, DropPosition(data, point.x));
                Repaint(header);
            }
        }
        break;
    case HeaderMouse::Dragging:
        data.dragX = PositionEdge(data, DropPosition(data, point.x));
        Repaint(header);
        break;
    case HeaderMouse::None: break;
    }
}

void ButtonUp(HWND header, HeaderData& data, POINT point) {
    HeaderMouse mouse = data.mouse;
    int index = data.mouseItem;
    data.mouse = HeaderMouse::None;
    data.mouseItem = -1;
    if (GetCapture() == header) ReleaseCapture();
    Repaint(header);
    if (mouse == HeaderMouse::Tracking) {
        HDITEMA item{};
        item.mask = HDI_WIDTH;
        item.cxy = data.items[static_cast<std::size_t>(index)].width;
        NotifyItem(header, HDN_ENDTRACKA, index, &item);
    } else if (mouse == HeaderMouse::Dragging) {
        HDITEMA item{};
        item.mask = HDI_ORDER;
        item.iOrder = DropPosition(data, point.x);
        if (NotifyItem(header, HDN_ENDDRAG, index, &item) == 0) {
            MoveInOrder(data, index, item.iOrder);
            NotifyItem(header, HDN_ITEMCHANGEDA, index, &item);
        }
    } else if (mouse == HeaderMouse::Pressed) {
        UINT flags = 0;
        if (HeaderHitTest(header, data, point, flags) == index && (flags & HHT_ONHEADER)) {
            NotifyItem(header, HDN_ITEMCLICKA, index, nullptr);
        }
    }
}

LRESULT HeaderMessage(HWND header, HeaderData& data, UINT message, WPARAM wParam, LPARAM lParam) {
    int count = static_cast<int>(data.items.size());
    int index = static_cast<int>(static_cast<INT_PTR>(wParam));
    switch (message) {
    case HDM_GETITEMCOUNT: return count;
    case HDM_INSERTITEMA: return InsertItem(header, data, index, reinterpret_cast<const HDITEMA*>(lParam));
    case HDM_DELETEITEM: return DeleteItem(header, data, index);
    case HDM_GETITEMA:
    case HDM_SETITEMA: {
        auto* item = reinterpret_cast<HDITEMA*>(lParam);
        if (item == nullptr || index < 0 || index >= count) return FALSE;
        if (message == HDM_GETITEMA) FillItem(data, index, *item);
        else {
            ApplyItem(data, index, *item);
            Repaint(header);
        }
        return TRUE;
    }
    case HDM_GETITEMRECT: {
        auto* rect = reinterpret_cast<RECT*>(lParam);
        if (rect == nullptr || index < 0 || index >= count) return FALSE;
        *rect = HeaderItemRect(header, data, index);
        return TRUE;
    }
    case HDM_HITTEST: {
        auto* info = reinterpret_cast<HDHITTESTINFO*>(lParam);
        if (info == nullptr) return -1;
        info->iItem = HeaderHitTest(header, data, info->pt, info->flags);
        return info->iItem;
    }
    case HDM_LAYOUT: {
        auto* layout = reinterpret_cast<HDLAYOUT*>(lParam);
        if (layout == nullptr || layout->prc == nullptr) return FALSE;
        int height = MetricOf(ControlFont(data.font)).height + 8;
        if (GetWindowLongPtrA(header, GWL_STYLE) & HDS_HIDDEN) height = 0;
        RECT& area = *layout->prc;
        if (layout->pwpos != nullptr) {
            *layout->pwpos = WINDOWPOS{header, nullptr, static_cast<int>(area.left), static_cast<int>(area.top),
                                       static_cast<int>(area.right - area.left), height, 0};
        }
        area.top += height;
        return TRUE;
    }
    case HDM_SETIMAGELIST: {
        HIMAGELIST previous = data.images;
        data.images = reinterpret_cast<HIMAGELIST>(lParam);
        Repaint(header);
        return reinterpret_cast<LRESULT>(previous);
    }
    case HDM_GETIMAGELIST: return reinterpret_cast<LRESULT>(data.images);
    case HDM_ORDERTOINDEX: return index >= 0 && index < count ? data.order[static_cast<std::size_t>(index)] : index;
    case HDM_GETORDERARRAY: {
        auto* order = reinterpret_cast<int*>(lParam);
        if (order == nullptr || index != count) return FALSE;
        std::copy(data.order.begin(), data.order.end(), order);
        return TRUE;
    }
    case HDM_SETORDERARRAY: {
        const auto* order = reinterpret_cast<const int*>(lParam);
        if (order == nullptr || index != count) return FALSE;
        std::vector<int> next(order, order + count);
        std::vector<int> check = next;
        std::sort(check.begin(), check.end());
        for (int i = 0; i < count; ++i) {
            if (check[static_cast<std::size_t>(i)] != i) return FALSE; // not a permutation
        }
        data.order = std::move(next);
        Repaint(header);
        return TRUE;
    }
    default: return DefWindowProcA(header, message, wParam, lParam);
    }
}

LRESULT HeaderProcedure(HWND header, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        SetControlData(header, std::make_shared<HeaderData>());
        return DefWindowProcA(header, message, wParam, lParam);
    }
    auto data = DataOf(header);
    if (!data) return DefWindowProcA(header, message, wParam, lParam);
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
    case WM_PAINT: PaintHeader(header, *data); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SETFONT:
        data->font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam)) Repaint(header);
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(data->font);
    case WM_LBUTTONDOWN: ButtonDown(header, *data, point, false); return 0;
    case WM_LBUTTONDBLCLK: ButtonDown(header, *data, point, true); return 0;
    case WM_MOUSEMOVE: MouseMove(header, *data, point); return 0;
    case WM_LBUTTONUP: ButtonUp(header, *data, point); return 0;
    case WM_CAPTURECHANGED:
        if (data->mouse != HeaderMouse::None && reinterpret_cast<HWND>(lParam) != header) {
            data->mouse = HeaderMouse::None;
            Repaint(header);
        }
        return 0;
    case WM_RBUTTONUP: {
        NMHDR record{};
        if (SendNotify(header, NM_RCLICK, &record) == 0) {
            POINT screen = point;
            ClientToScreen(header, &screen);
            SendMessageA(header, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(header), MAKELPARAM(screen.x, screen.y));
        }
        return 0;
    }
    case WM_SETCURSOR: {
        POINT cursor;
        GetCursorPos(&cursor);
        ScreenToClient(header, &cursor);
        UINT flags = 0;
        HeaderHitTest(header, *data, cursor, flags);
        SetCursor(LoadCursorA(nullptr, (flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN)) ? IDC_SIZEWE : IDC_ARROW));
        return TRUE;
    }
    default: return HeaderMessage(header, *data, message, wParam, lParam);
    }
}

} // namespace

void RegisterHeaderClass() {
    WNDCLASSA windowClass{};
    windowClass.style = CS_DBLCLKS | CS_GLOBALCLASS;
    windowClass.lpfnWndProc = HeaderProcedure;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = WC_HEADERA;
    RegisterClassA(&windowClass);
}

} // namespace ostrana::detail
