// The tree view's mouse and keyboard: buttons expand and collapse, a click selects by mouse
// after NM_CLICK, a slow second click on the selected label starts editing, drags are detected,
// keys select by keyboard and expand or climb; the wheel and the scroll bar scroll.
#include <algorithm>

#include "platform/controls/TreeViewData.h"
#include "platform/window/Controls.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/VirtualKeys.h"

namespace ostrana::detail {
namespace {

void TakeFocus(HWND tree) {
    if (GetFocus() != tree) SetFocus(tree);
}

void ButtonDown(HWND tree, TreeViewData& data, POINT point, TreeMouse button) {
    TakeFocus(tree);
    if (data.edit != nullptr) TreeEndEdit(tree, data, true);
    KillTimer(tree, kTreeEditTimer);
    UINT flags = 0;
    int node = TreeHitTest(tree, data, point, flags);
    if (node == kNoNode) return;
    if (button == TreeMouse::Left && (flags & TVHT_ONITEMBUTTON)) {
        TreeExpand(tree, data, node, TVE_TOGGLE, true);
        return;
    }
    bool onItem = (flags & TVHT_ONITEM) ||
                  ((GetWindowLongPtrA(tree, GWL_STYLE) & TVS_FULLROWSELECT) && (flags & (TVHT_ONITEMRIGHT | TVHT_ONITEMINDENT)));
    if (!onItem) return;
    data.mouse = button;
    data.mouseDown = point;
    data.mouseNode = node;
    data.mouseHit = flags;
    data.editOnRelease = button == TreeMouse::Left && node == data.selected && (flags & TVHT_ONITEMLABEL) &&
                         (GetWindowLongPtrA(tree, GWL_STYLE) & TVS_EDITLABELS);
    SetCapture(tree);
}

void ButtonUp(HWND tree, TreeViewData& data, POINT point, TreeMouse button) {
    if (data.mouse != button) return;
    data.mouse = TreeMouse::None;
    if (GetCapture() == tree) ReleaseCapture();
    int node = data.mouseNode;
    data.mouseNode = kNoNode;
    NMHDR record{};
    if (button == TreeMouse::Right) {
        if (SendNotify(tree, NM_RCLICK, &record) == 0) {
            POINT screen = point;
            ClientToScreen(tree, &screen);
            SendMessageA(tree, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tree), MAKELPARAM(screen.x, screen.y));
        }
        return;
    }
    // The selection follows the click, after the parent heard NM_CLICK.
    if (SendNotify(tree, NM_CLICK, &record) != 0 || node == kNoNode) return;
    if (TreeSlot(data, TreeHandle(data, node)) == kNoNode) return;
    if (data.editOnRelease) SetTimer(tree, kTreeEditTimer, GetDoubleClickTime(), nullptr);
    TreeSelect(tree, data, node, TVC_BYMOUSE);
}

void StartDrag(HWND tree, TreeViewData& data) {
    TreeMouse button = data.mouse;
    int node = data.mouseNode;
    data.mouse = TreeMouse::None;
    data.mouseNode = kNoNode;
    data.editOnRelease = false;
    if (GetCapture() == tree) ReleaseCapture();
    if (node == kNoNode || (GetWindowLongPtrA(tree, GWL_STYLE) & TVS_DISABLEDRAGDROP)) return;
    NMTREEVIEWA record{};
    TreeFillItem(data, node, record.itemNew);
    record.ptDrag = data.mouseDown;
    SendNotify(tree, button == TreeMouse::Right ? TVN_BEGINRDRAGA : TVN_BEGINDRAGA, &record.hdr);
}

void KeyDown(HWND tree, TreeViewData& data, WPARAM key) {
    NMTVKEYDOWN record{};
    record.wVKey = static_cast<WORD>(key);
    SendNotify(tree, TVN_KEYDOWN, &record.hdr);
    if (!IsWindow(tree)) return;
    TreeSettleTop(tree, data);
    int current = data.selected;
    int target = kNoNode;
    int page = std::max(1, TreeVisibleRows(tree, data) - 1);
    switch (key) {
    case VK_RETURN: SendNotify(tree, NM_RETURN); return;
    case VK_UP: target = current == kNoNode ? data.top : TreePreviousVisible(data, current); break;
    case VK_DOWN: target = current == kNoNode ? data.top : TreeNextVisible(data, current); break;
    case VK_HOME: target = TreeNodeAtRow(data, 0); break;
    case VK_END: target = TreeLastVisible(data); break;
    case VK_PRIOR:
    case VK_NEXT: {
        int row = current == kNoNode ? data.topRow : TreeRowOf(data, current);
        row = std::clamp(row + (key == VK_NEXT ? page : -page), 0, std::max(0, TreeTotalRows(data) - 1));
        target = TreeNodeAtRow(data, row);
        break;
    }
    case VK_LEFT:
    case VK_BACK:
        if (current == kNoNode) return;
        if (key == VK_LEFT && TreeExpanded(data, current) && TreeHasChildren(tree, data, current)) {
            TreeExpand(tree, data, current, TVE_COLLAPSE, true);
            return;
        }
        target = data.nodes[static_cast<std::size_t>(current)].parent;
        if (target == kRootNode) return;
        break;
    case VK_RIGHT:
        if (current == kNoNode || !TreeHasChildren(tree, data, current)) return;
        if (!TreeExpanded(data, current)) {
            TreeExpand(tree, data, current, TVE_EXPAND, true);
            return;
        }
        target = data.nodes[static_cast<std::size_t>(current)].first;
        break;
    case VK_ADD:
    case VK_SUBTRACT:
        if (current != kNoNode) TreeExpand(tree, data, current, key == VK_ADD ? TVE_EXPAND : TVE_COLLAPSE, true);
        return;
    default: return;
    }
    if (target > kRootNode) TreeSelect(tree, data, target, TVC_BYKEYBOARD);
}

// Typing selects the next visible node whose label starts with what was typed.
void TypeCharacter(HWND tree, TreeViewData& data, char character) {
    TreeSettleTop(tree, data);
    int first = TreeNodeAtRow(data, 0);
    if (first == kNoNode) return;
    bool fresh = data.typeAhead.Type(character, GetMessageTime());
    int start = data.selected == kNoNode ? first : (fresh ? TreeNextVisible(data, data.selected) : data.selected);
    if (start == kNoNode) start = first;
    int node = start;
    do {
        if (data.typeAhead.Matches(TreeText(tree, data, node))) {
            TreeSelect(tree, data, node, TVC_BYKEYBOARD);
            return;
        }
        node = TreeNextVisible(data, node);
        if (node == kNoNode) node = first;
    } while (node != start);
}

void Scroll(HWND tree, TreeViewData& data, WORD code) {
    TreeSettleTop(tree, data);
    int row = data.topRow;
    int page = TreeVisibleRows(tree, data);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(tree, SB_VERT, &info);
    switch (code) {
    case SB_LINEUP: --row; break;
    case SB_LINEDOWN: ++row; break;
    case SB_PAGEUP: row -= page; break;
    case SB_PAGEDOWN: row += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: row = info.nTrackPos; break;
    case SB_TOP: row = 0; break;
    case SB_BOTTOM: row = TreeTotalRows(data); break;
    default: return;
    }
    TreeScrollToRow(tree, data, row);
}

} // namespace

HWND TreeEditLabel(HWND tree, TreeViewData& data, int node) {
    if (data.edit != nullptr) TreeEndEdit(tree, data, true);
    if (node <= kRootNode) return nullptr;
    TakeFocus(tree);
    TreeEnsureVisible(tree, data, node);
    TreeSettleTop(tree, data);
    if (!TreeShown(data, node)) return nullptr;
    std::string text = TreeText(tree, data, node);
    NMTVDISPINFOA record{};
    TreeFillItem(data, node, record.item);
    record.item.mask |= TVIF_TEXT;
    record.item.pszText = text.data();
    if (SendNotify(tree, TVN_BEGINLABELEDITA, &record.hdr) != 0) return nullptr;
    if (TreeSlot(data, TreeHandle(data, node)) == kNoNode) return nullptr;
    RECT label = TreeLabelRect(tree, data, node, TreeRowOf(data, node));
    RECT client;
    GetClientRect(tree, &client);
    label.right = std::min(client.right, std::max(label.right + 16, label.left + 60));
    data.editNode = node;
    data.edit = CreateLabelEdit(tree, label, text, data.font, kLabelEditEnded);
    if (data.edit == nullptr) data.editNode = kNoNode;
    return data.edit;
}

void TreeEndEdit(HWND tree, TreeViewData& data, bool accept) {
    HWND edit = data.edit;
    int node = data.editNode;
    if (edit == nullptr) return;
    data.edit = nullptr;
    data.editNode = kNoNode;
    std::string text = WindowText(edit);
    bool hadFocus = GetFocus() == edit;
    bool alive = TreeSlot(data, TreeHandle(data, node)) != kNoNode;
    NMTVDISPINFOA record{};
    if (alive) TreeFillItem(data, node, record.item);
    record.item.mask |= TVIF_TEXT;
    record.item.pszText = accept ? text.data() : nullptr;
    record.item.cchTextMax = static_cast<int>(text.size()) + 1;
    LRESULT keep = SendNotify(tree, TVN_ENDLABELEDITA, &record.hdr);
    alive = TreeSlot(data, TreeHandle(data, node)) != kNoNode;
    if (accept && keep != 0 && alive) {
        TreeNode& entry = data.nodes[static_cast<std::size_t>(node)];
        if (entry.callbackText) SendNotify(tree, TVN_SETDISPINFOA, &record.hdr);
        else entry.text = text;
    }
    DestroyWindow(edit);
    if (hadFocus && IsWindow(tree)) SetFocus(tree);
    Repaint(tree);
}

bool TreeInputMessage(HWND tree, TreeViewData& data, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    result = 0;
    switch (message) {
    case WM_LBUTTONDOWN: ButtonDown(tree, data, point, TreeMouse::Left); return true;
    case WM_RBUTTONDOWN: ButtonDown(tree, data, point, TreeMouse::Right); return true;
    case WM_LBUTTONUP: ButtonUp(tree, data, point, TreeMouse::Left); return true;
    case WM_RBUTTONUP: ButtonUp(tree, data, point, TreeMouse::Right); return true;
    case WM_LBUTTONDBLCLK: {
        TakeFocus(tree);
        KillTimer(tree, kTreeEditTimer);
        UINT flags = 0;
        int node = TreeHitTest(tree, data, point, flags);
        NMHDR record{};
        if (SendNotify(tree, NM_DBLCLK, &record) != 0 || node == kNoNode) return true;
        if (flags & (TVHT_ONITEM | TVHT_ONITEMBUTTON)) TreeExpand(tree, data, node, TVE_TOGGLE, true);
        return true;
    }
    case WM_MOUSEMOVE:
        if (data.mouse != TreeMouse::None && BeyondDragDistance(data.mouseDown, point)) StartDrag(tree, data);
        return true;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != tree) data.mouse = TreeMouse::None;
        return true;
    case WM_TIMER:
        if (wParam != kTreeEditTimer) return false;
        KillTimer(tree, kTreeEditTimer);
        if (data.selected != kNoNode && data.edit == nullptr) TreeEditLabel(tree, data, data.selected);
        return true;
    case WM_KEYDOWN: KeyDown(tree, data, wParam); return true;
    case WM_CHAR:
        if (static_cast<unsigned char>(wParam) >= 0x20 && !(GetKeyState(VK_CONTROL) & 0x8000)) {
            TypeCharacter(tree, data, static_cast<char>(wParam));
        }
        return true;
    case WM_GETDLGCODE: result = DLGC_WANTARROWS | DLGC_WANTCHARS; return true;
    case WM_MOUSEWHEEL: {
        TreeSettleTop(tree, data);
        TreeScrollToRow(tree, data, data.topRow - 3 * (GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA));
        return true;
    }
    case WM_VSCROLL: Scroll(tree, data, LOWORD(wParam)); return true;
    case WM_HSCROLL: {
        RECT client;
        GetClientRect(tree, &client);
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_ALL;
        GetScrollInfo(tree, SB_HORZ, &info);
        int x = data.scrollX;
        switch (LOWORD(wParam)) {
        case SB_LINELEFT: x -= 8; break;
        case SB_LINERIGHT: x += 8; break;
        case SB_PAGELEFT: x -= client.right; break;
        case SB_PAGERIGHT: x += client.right; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: x = info.nTrackPos; break;
        case SB_TOP: x = 0; break; // SB_LEFT
        case SB_BOTTOM: x = data.contentWidth; break; // SB_RIGHT
        default: return true;
        }
        TreeScrollToX(tree, data, x);
        return true;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        data.focused = message == WM_SETFOCUS;
        Repaint(tree);
        SendNotify(tree, data.focused ? NM_SETFOCUS : NM_KILLFOCUS);
        return true;
    case kLabelEditEnded: TreeEndEdit(tree, data, wParam != 0); return true;
    default: return false;
    }
}

} // namespace ostrana::detail
