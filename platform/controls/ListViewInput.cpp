// The list view's mouse and keyboard: clicks with Shift and Ctrl, the deferred narrowing of a
// multiple selection (so a drag can start from it), drag detection, the arrow, page and home
// keys, the wheel and the scroll bars, hot tracking, label editing and cell tooltips.
#include <algorithm>
#include <utility>

#include "platform/base/CodePage.h"
#include "platform/controls/ListViewData.h"
#include "platform/window/Controls.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/VirtualKeys.h"

namespace ostrana::detail {
namespace {

UINT KeyFlags() {
    UINT flags = 0;
    if (ShiftDown()) flags |= LVKF_SHIFT;
    if (ControlDown()) flags |= LVKF_CONTROL;
    if (GetKeyState(VK_MENU) & 0x8000) flags |= LVKF_ALT;
    return flags;
}

LRESULT NotifyActivate(HWND list, UINT code, int item, int subItem, POINT point) {
    auto data = ListDataOf(list);
    NMITEMACTIVATE record{};
    record.iItem = item;
    record.iSubItem = subItem;
    record.ptAction = point;
    record.uKeyFlags = KeyFlags();
    if (data && item >= 0 && item < ListCount(*data)) record.lParam = data->rows[static_cast<std::size_t>(item)].param;
    return SendNotify(list, code, &record.hdr);
}

void HideTip(HWND list, ListViewData& data) {
    KillTimer(list, kToolTipTimer);
    if (data.toolTip != nullptr && IsWindowVisible(data.toolTip)) ShowWindow(data.toolTip, SW_HIDE);
}

void TakeFocus(HWND list) {
    if (GetFocus() != list) SetFocus(list);
}

void ButtonDown(HWND list, ListViewData& data, POINT point, ListMouse button) {
    HideTip(list, data);
    TakeFocus(list);
    if (data.edit != nullptr) ListEndEdit(list, data, true);
    UINT flags = 0;
    int item = ListHitTest(list, data, point, flags);
    bool shift = ShiftDown();
    bool control = ControlDown();
    data.selectOnRelease = false;
    KillTimer(list, kEditTimer);
    data.editOnRelease = button == ListMouse::Left && !shift && !control && item >= 0 && (flags & LVHT_ONITEMLABEL) &&
                         (GetWindowLongPtrA(list, GWL_STYLE) & LVS_EDITLABELS) && data.focus == item &&
                         data.selection.Contains(item) && data.selection.Count() == 1;
    if (item < 0) {
        if (!shift && !control) ListClearSelection(list, data);
    } else if (button == ListMouse::Right) {
        if (!data.selection.Contains(item)) ListSelectOnly(list, data, item);
        else ListSetFocus(list, data, item);
    } else if (shift) {
        ListSelectRange(list, data, item, control);
    } else if (control) {
        ListSetItemState(list, data, item, data.selection.Contains(item) ? 0 : LVIS_SELECTED, LVIS_SELECTED);
        ListSetFocus(list, data, item);
        data.anchor = item;
    } else if (data.selection.Contains(item) && data.selection.Count() > 1) {
        ListSetFocus(list, data, item);
        data.selectOnRelease = true;
    } else {
        ListSelectOnly(list, data, item);
    }
    data.mouse = button;
    data.mouseDown = point;
    data.mouseItem = item;
    SetCapture(list);
}

void ButtonUp(HWND list, ListViewData& data, POINT point, ListMouse button) {
    if (data.mouse != button) return;
    data.mouse = ListMouse::None;
    if (GetCapture() == list) ReleaseCapture();
    int item = data.mouseItem;
    if (data.selectOnRelease && item >= 0) ListSelectOnly(list, data, item);
    data.selectOnRelease = false;
    int subItem = -1;
    UINT flags = 0;
    ListHitTest(list, data, point, flags, &subItem);
    if (button == ListMouse::Right) {
        if (NotifyActivate(list, NM_RCLICK, item, subItem, point) == 0) {
            POINT screen = point;
            ClientToScreen(list, &screen);
            SendMessageA(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(screen.x, screen.y));
        }
        return;
    }
    NotifyActivate(list, NM_CLICK, item, subItem, point);
    if (item >= 0 && (data.exStyle & LVS_EX_ONECLICKACTIVATE)) NotifyActivate(list, LVN_ITEMACTIVATE, item, subItem, point);
    // A slow second click on the label edits it, unless a double click follows.
    if (data.editOnRelease && IsWindow(list)) SetTimer(list, kEditTimer, GetDoubleClickTime(), nullptr);
    data.editOnRelease = false;
}

void StartDrag(HWND list, ListViewData& data) {
    ListMouse button = data.mouse;
    int item = data.mouseItem;
    data.mouse = ListMouse::None;
    data.selectOnRelease = false;
    data.editOnRelease = false;
    if (GetCapture() == list) ReleaseCapture();
    if (item < 0) return;
    ListNotifyItem(list, button == ListMouse::Right ? LVN_BEGINRDRAG : LVN_BEGINDRAG, item, 0, 0, 0, 0, data.mouseDown,
                   data.rows[static_cast<std::size_t>(item)].param);
}

void SetHot(HWND list, ListViewData& data, int item) {
    if (data.hot == item) return;
    RECT old = data.hot >= 0 ? ListItemRect(list, data, data.hot, LVIR_BOUNDS) : RECT{};
    data.hot = item;
    if (!IsRectEmpty(&old)) InvalidateRect(list, &old, TRUE);
    if (item >= 0) {
        RECT now = ListItemRect(list, data, item, LVIR_BOUNDS);
        InvalidateRect(list, &now, TRUE);
    }
    // With track selection a row the mouse rests on becomes the selection.
    KillTimer(list, kHoverTimer);
    if (item >= 0 && (data.exStyle & LVS_EX_TRACKSELECT)) SetTimer(list, kHoverTimer, 400, nullptr);
}


// The cell under the point as (item, sub-item); (-1, -1) for none.
std::pair<int, int> CellAt(HWND list, const ListViewData& data, POINT point) {
    UINT flags = 0;
    int subItem = -1;
    int item = ListHitTest(list, data, point, flags, &subItem);
    if (item < 0 && flags == LVHT_NOWHERE && ListViewType(list) == LVS_REPORT) {
        // Report cells beside the label carry a tip though they are no part of the item.
        RECT area = ListItemArea(list, data);
        int row = data.topLine + (point.y - area.top) / ListRowHeight(data);
        for (const ListColumn& column : data.columns) {
            RECT cell = ListSubItemRect(list, data, row, column.subItem, LVIR_BOUNDS);
            if (row < ListCount(data) && PtInRect(&cell, point)) {
                item = row;
                subItem = column.subItem;
            }
        }
    }
    if (item < 0 || subItem < 0) return {-1, -1};
    return {item, subItem};
}

void MouseMove(HWND list, ListViewData& data, POINT point) {
    if (data.mouse != ListMouse::None) {
        if (data.mouseItem >= 0 && BeyondDragDistance(data.mouseDown, point)) StartDrag(list, data);
        return;
    }
    if (data.exStyle & (LVS_EX_TRACKSELECT | LVS_EX_UNDERLINEHOT | LVS_EX_ONECLICKACTIVATE)) {
        UINT flags = 0;
        SetHot(list, data, ListHitTest(list, data, point, flags));
    }
    auto [item, subItem] = CellAt(list, data, point);
    if (item != data.tipItem || subItem != data.tipSubItem) {
        data.tipItem = item;
        data.tipSubItem = subItem;
        KillTimer(list, kToolTipTimer);
        if (data.toolTip != nullptr) ShowWindow(data.toolTip, SW_HIDE);
        if (item >= 0) SetTimer(list, kToolTipTimer, 500, nullptr);
    }
}

int PageSize(HWND list, const ListViewData& data) { return std::max(1, ListVisibleLines(list, data)); }

// The row a navigation key moves the focus to, or -1 when the key is not one.
int KeyTarget(HWND list, const ListViewData& data, WPARAM key) {
    int count = ListCount(data);
    if (count == 0) return -1;
    int from = data.focus >= 0 ? data.focus : 0;
    int perLine = ListItemsPerLine(list, data);
    DWORD type = ListViewType(list);
    int down = type == LVS_LIST ? 1 : perLine;
    int across = type == LVS_LIST ? perLine : (type == LVS_REPORT ? 0 : 1);
    int page = PageSize(list, data) * (type == LVS_LIST ? perLine : perLine);
    int target = from;
    switch (key) {
    case VK_UP: target = data.focus < 0 ? 0 : from - down; break;
    case VK_DOWN: target = data.focus < 0 ? 0 : from + down; break;
    case VK_LEFT:
        if (across == 0) return -1;
        target = from - across;
        break;
    case VK_RIGHT:
        if (across == 0) return -1;
        target = from + across;
        break;
    case VK_PRIOR: target = from - page; break;
    case VK_NEXT: target = from + page; break;
    case VK_HOME: target = 0; break;
    case VK_END: target = count - 1; break;
    default: return -1;
    }
    return std::clamp(target, 0, count - 1);
}

void KeyDown(HWND list, ListViewData& data, WPARAM key) {
    NMLVKEYDOWN record{};
    record.wVKey = static_cast<WORD>(key);
    SendNotify(list, LVN_KEYDOWN, &record.hdr);
    if (!IsWindow(list)) return;
    if (key == VK_RETURN) {
        SendNotify(list, NM_RETURN);
        if (data.focus >= 0) NotifyActivate(list, LVN_ITEMACTIVATE, data.focus, 0, POINT{});
        return;
    }
    if (key == VK_SPACE) {
        if (data.focus >= 0) {
            bool selected = data.selection.Contains(data.focus);
            if (ControlDown()) ListSetItemState(list, data, data.focus, selected ? 0 : LVIS_SELECTED, LVIS_SELECTED);
            else if (!selected) ListSetItemState(list, data, data.focus, LVIS_SELECTED, LVIS_SELECTED);
            data.anchor = data.focus;
        }
        return;
    }
    int target = KeyTarget(list, data, key);
    if (target < 0) return;
    if (ShiftDown()) ListSelectRange(list, data, target, ControlDown());
    else if (ControlDown()) ListSetFocus(list, data, target);
    else ListSelectOnly(list, data, target);
    ListEnsureVisible(list, data, target, false);
}

// Typing jumps to the next row whose label starts with what was typed.
void TypeCharacter(HWND list, ListViewData& data, char character) {
    int count = ListCount(data);
    if (count == 0) return;
    bool fresh = data.typeAhead.Type(character, GetMessageTime());
    int start = data.focus < 0 ? 0 : (fresh ? data.focus + 1 : data.focus);
    for (int step = 0; step < count; ++step) {
        int item = (start + step) % count;
        if (data.typeAhead.Matches(ListItemText(list, data, item, 0))) {
            ListSelectOnly(list, data, item);
            ListEnsureVisible(list, data, item, false);
            return;
        }
    }
}

void Scroll(HWND list, ListViewData& data, WORD code, bool horizontal) {
    DWORD type = ListViewType(list);
    bool lines = horizontal ? type == LVS_LIST : type != LVS_LIST;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(list, horizontal ? SB_HORZ : SB_VERT, &info);
    int position = lines ? data.topLine : data.scrollX;
    int line = lines ? 1 : 16;
    int page = lines ? PageSize(list, data) : std::max(1, static_cast<int>(info.nPage));
    switch (code) {
    case SB_LINEUP: position -= line; break;
    case SB_LINEDOWN: position += line; break;
    case SB_PAGEUP: position -= page; break;
    case SB_PAGEDOWN: position += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: position = info.nTrackPos; break;
    case SB_TOP: position = 0; break;
    case SB_BOTTOM: position = 0x3FFFFFFF; break;
    default: return;
    }
    if (lines) ListScrollTo(list, data, position, data.scrollX);
    else ListScrollTo(list, data, data.topLine, position);
}

void ShowCellTip(HWND list, ListViewData& data) {
    KillTimer(list, kToolTipTimer);
    if (data.tipItem < 0) return;
    char buffer[1024] = {};
    NMLVGETINFOTIPA record{};
    record.pszText = buffer;
    record.cchTextMax = static_cast<int>(sizeof buffer);
    record.iItem = data.tipItem;
    record.iSubItem = data.tipSubItem;
    if (static_cast<std::size_t>(data.tipItem) < data.rows.size()) record.lParam = data.rows[static_cast<std::size_t>(data.tipItem)].param;
    SendNotify(list, LVN_GETINFOTIPA, &record.hdr);
    buffer[sizeof buffer - 1] = '\0';
    std::string text = buffer;
    if (text.empty()) return;
    POINT cursor;
    GetCursorPos(&cursor);
    int width = TextWidth(MetricOf(ControlFont(data.font)), text) + 8;
    int height = MetricOf(ControlFont(data.font)).height + 4;
    if (data.toolTip == nullptr) {
        data.toolTip = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, TOOLTIPS_CLASSA, "", WS_POPUP | WS_BORDER, 0, 0, 0, 0, list,
                                       nullptr, nullptr, nullptr);
    }
    if (data.toolTip == nullptr) return;
    SetWindowTextA(data.toolTip, text.c_str());
    SetWindowPos(data.toolTip, HWND_TOP, cursor.x + 12, cursor.y + 20, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

} // namespace

HWND ListEditLabel(HWND list, ListViewData& data, int item) {
    if (data.edit != nullptr) ListEndEdit(list, data, true);
    if (item < 0 || item >= ListCount(data)) return nullptr;
    TakeFocus(list);
    ListEnsureVisible(list, data, item, false);
    std::string text = ListItemText(list, data, item, 0);
    NMLVDISPINFOA record{};
    record.item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_STATE;
    record.item.iItem = item;
    record.item.pszText = text.data();
    record.item.lParam = data.rows[static_cast<std::size_t>(item)].param;
    record.item.state = ListItemState(data, item, ~0u);
    if (SendNotify(list, LVN_BEGINLABELEDITA, &record.hdr) != 0) return nullptr;
    RECT label = ListItemRect(list, data, item, LVIR_LABEL);
    RECT client;
    GetClientRect(list, &client);
    int width = std::max(static_cast<int>(Width(label)), TextWidth(MetricOf(ControlFont(data.font)), text) + 16);
    label.right = std::min(static_cast<int>(client.right), static_cast<int>(label.left) + width);
    data.editItem = item;
    data.edit = CreateLabelEdit(list, label, text, data.font, kLabelEditEnded);
    if (data.edit == nullptr) data.editItem = -1;
    return data.edit;
}

void ListEndEdit(HWND list, ListViewData& data, bool accept) {
    HWND edit = data.edit;
    int item = data.editItem;
    if (edit == nullptr) return;
    data.edit = nullptr;
    data.editItem = -1;
    std::string text = WindowText(edit);
    bool hadFocus = GetFocus() == edit;
    NMLVDISPINFOA record{};
    record.item.mask = LVIF_TEXT | LVIF_PARAM;
    record.item.iItem = item;
    record.item.pszText = accept ? text.data() : nullptr;
    record.item.cchTextMax = static_cast<int>(text.size()) + 1;
    record.item.lParam = item >= 0 && item < ListCount(data) ? data.rows[static_cast<std::size_t>(item)].param : 0;
    LRESULT keep = SendNotify(list, LVN_ENDLABELEDITA, &record.hdr);
    if (accept && keep != 0 && item >= 0 && item < ListCount(data)) {
        ListRow& row = data.rows[static_cast<std::size_t>(item)];
        if (row.callbackTexts & 1u) {
            SendNotify(list, LVN_SETDISPINFOA, &record.hdr);
        } else {
            if (row.texts.empty()) row.texts.resize(1);
            row.texts[0] = text;
        }
    }
    DestroyWindow(edit);
    if (hadFocus && IsWindow(list)) SetFocus(list);
    Repaint(list);
}

bool ListInputMessage(HWND list, ListViewData& data, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    result = 0;
    switch (message) {
    case WM_LBUTTONDOWN: ButtonDown(list, data, point, ListMouse::Left); return true;
    case WM_RBUTTONDOWN: ButtonDown(list, data, point, ListMouse::Right); return true;
    case WM_LBUTTONUP: ButtonUp(list, data, point, ListMouse::Left); return true;
    case WM_RBUTTONUP: ButtonUp(list, data, point, ListMouse::Right); return true;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK: {
        TakeFocus(list);
        KillTimer(list, kEditTimer);
        UINT flags = 0;
        int subItem = -1;
        int item = ListHitTest(list, data, point, flags, &subItem);
        NotifyActivate(list, message == WM_LBUTTONDBLCLK ? NM_DBLCLK : NM_RDBLCLK, item, subItem, point);
        if (message == WM_LBUTTONDBLCLK && item >= 0 && !(data.exStyle & LVS_EX_ONECLICKACTIVATE)) {
            NotifyActivate(list, LVN_ITEMACTIVATE, item, subItem, point);
        }
        return true;
    }
    case WM_MOUSEMOVE: MouseMove(list, data, point); return true;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != list) data.mouse = ListMouse::None;
        return true;
    case WM_KEYDOWN: KeyDown(list, data, wParam); return true;
    case WM_CHAR:
        if (static_cast<unsigned char>(wParam) >= 0x20 && !ControlDown()) TypeCharacter(list, data, static_cast<char>(wParam));
        return true;
    case WM_GETDLGCODE: result = DLGC_WANTARROWS | DLGC_WANTCHARS; return true;
    case WM_MOUSEWHEEL: {
        int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
        if (ListViewType(list) == LVS_LIST) ListScrollTo(list, data, data.topLine - notches, data.scrollX);
        else ListScrollTo(list, data, data.topLine - 3 * notches, data.scrollX);
        return true;
    }
    case WM_VSCROLL: Scroll(list, data, LOWORD(wParam), false); return true;
    case WM_HSCROLL: Scroll(list, data, LOWORD(wParam), true); return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        data.focused = message == WM_SETFOCUS;
        Repaint(list);
        SendNotify(list, data.focused ? NM_SETFOCUS : NM_KILLFOCUS);
        return true;
    case WM_TIMER:
        if (wParam == kEditTimer) {
            KillTimer(list, kEditTimer);
            if (data.focus >= 0 && data.edit == nullptr) ListEditLabel(list, data, data.focus);
            return true;
        }
        if (wParam == kHoverTimer) {
            KillTimer(list, kHoverTimer);
            if (data.hot >= 0 && data.mouse == ListMouse::None && !data.selection.Contains(data.hot)) ListSelectOnly(list, data, data.hot);
            return true;
        }
        if (wParam != kToolTipTimer) return false;
        ShowCellTip(list, data);
        return true;
    case kLabelEditEnded: ListEndEdit(list, data, wParam != 0); return true;
    default: return false;
    }
}

} // namespace ostrana::detail
