#include "ui/UIDragDropTree.h"

#include <vector>

#include "platform/window/AfxMenu.h"
#include "platform/window/Controls.h"
#include "platform/window/Input.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/VirtualKeys.h"
#include "ui/UITreeDropTarget.h"

IMPLEMENT_DYNAMIC(CUIDragDropTree, CWnd)

namespace {

constexpr int kMaxNodeText = 255;
constexpr int kSlowScrollTicks = 3;

} // namespace

CUIDragDropTree::CUIDragDropTree(bool oleDragDrop)
    : m_oleDragDrop(oleDragDrop), m_hScrollHeight(GetSystemMetrics(SM_CYHSCROLL)) {}

CUIDragDropTree::~CUIDragDropTree() {
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) DestroyWindow();
}

void CUIDragDropTree::OnCreated() {
    if (m_oleDragDrop) {
        m_dropTarget = std::make_unique<CUITreeDropTarget>(*this);
        m_dropTarget->Register(this);
    }
    if (m_acceptDropFiles) DragAcceptFiles(TRUE);
}

LRESULT CUIDragDropTree::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        LRESULT result = CTreeCtrl::WindowProc(message, wParam, lParam);
        if (result != -1) OnCreated();
        return result;
    }
    case WM_DESTROY:
        EndDrag();
        if (m_dropTarget != nullptr) m_dropTarget->Revoke();
        return CTreeCtrl::WindowProc(message, wParam, lParam);
    case WM_MOUSEMOVE:
        if (!m_dragging) break;
        OnOwnDragMove(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        if (!m_dragging) break;
        OnOwnDragButtonUp(message == WM_RBUTTONUP);
        return 0;
    case WM_TIMER:
        if (wParam != kScrollTimer) break;
        OnScrollTimer();
        return 0;
    case WM_DROPFILES:
        if (!m_acceptDropFiles) break;
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    default: break;
    }
    return CTreeCtrl::WindowProc(message, wParam, lParam);
}

BOOL CUIDragDropTree::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header != nullptr && (header->code == TVN_BEGINDRAGA || header->code == TVN_BEGINRDRAGA)) {
            *result = 0;
            BeginDrag(reinterpret_cast<NMTREEVIEWA*>(header), header->code == TVN_BEGINRDRAGA);
            return TRUE;
        }
    }
    return CTreeCtrl::OnChildNotify(message, wParam, lParam, result);
}

BOOL CUIDragDropTree::BeginDrag(NMTREEVIEWA* info, bool) {
    HTREEITEM item = info->itemNew.hItem;
    if (!m_oleDragDrop || item == nullptr || item == GetRootItem()) return FALSE;
    CDD_OleDropTargetInfo record(m_hWnd, info->ptDrag, nullptr);
    record.SetTreeItem(item);
    auto effects = static_cast<DROPEFFECT>(
        SendDragDropMessage(m_hWnd, UWM_DD_BEGINDRAG, reinterpret_cast<WPARAM>(&record), reinterpret_cast<LPARAM>(&m_dataSource)));
    if (effects != DROPEFFECT_NONE) {
        m_dragItem = item;
        RECT rect{};
        GetItemRect(item, &rect, TRUE);
        ClientToScreen(&rect);
        m_dataSource.DoDragDrop(effects, &rect);
        m_dataSource.Empty();
        m_dragItem = nullptr;
        return TRUE;
    }
    StartOwnDrag(item, info->ptDrag);
    return TRUE;
}

void CUIDragDropTree::StartOwnDrag(HTREEITEM item, POINT point) {
    m_dragging = true;
    m_dragItem = item;
    m_dragImage = std::make_unique<CImageList>();
    if (HIMAGELIST image = CreateDragImage(item); image != nullptr) {
        m_dragImage->Attach(image);
        m_dragImage->BeginDrag(0, POINT{0, 0});
        POINT screen = point;
        ClientToScreen(&screen);
        CImageList::DragEnter(CWnd::FromHandle(GetDesktopWindow()), screen);
    }
    SetCapture();
    StartAutoScroll();
}

void CUIDragDropTree::OnOwnDragMove(POINT client) {
    POINT screen = client;
    ClientToScreen(&screen);
    CImageList::DragMove(screen);
    UINT flags = 0;
    HTREEITEM hit = HitTest(client, &flags);
    if (hit == nullptr) return;
    CDD_OleDropTargetInfo record(m_hWnd, client, nullptr);
    record.SetTreeItem(hit);
    if (SendDragDropMessage(m_hWnd, UWM_DD_DRAGOVER, reinterpret_cast<WPARAM>(&record), 0) == 0) return;
    CImageList::DragShowNolock(FALSE);
    SetDropHighlight(hit);
    CImageList::DragShowNolock(TRUE);
}

void CUIDragDropTree::OnOwnDragButtonUp(bool rightButton) {
    HTREEITEM target = m_dropHighlight;
    EndDrag();
    m_dropHighlight = target;
    DROPEFFECT effect = DROPEFFECT_MOVE;
    if (rightButton && WantsDropMenu()) {
        effect = DROPEFFECT_NONE;
        CMenu menu;
        if (menu.LoadMenu(IDR_UI_DRAG_MENU)) {
            if (CMenu* popup = menu.GetSubMenu(0); popup != nullptr) {
                popup->SetDefaultItem(ID_UI_DRAG_MOVE);
                POINT cursor{};
                GetCursorPos(&cursor);
                UINT command = static_cast<UINT>(popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY,
                                                                      cursor.x, cursor.y, this));
                effect = command == ID_UI_DRAG_MOVE ? DROPEFFECT_MOVE : command == ID_UI_DRAG_COPY ? DROPEFFECT_COPY : DROPEFFECT_NONE;
            }
        }
    }
    if (effect != DROPEFFECT_NONE) DropOwnDrag(effect);
    SetDropHighlight(nullptr);
    m_dragItem = nullptr;
}

void CUIDragDropTree::DropOwnDrag(DROPEFFECT effect) {
    HTREEITEM target = m_dropHighlight;
    if (target == nullptr || m_dragItem == nullptr || target == m_dragItem || IsDescendant(target, m_dragItem) ||
        target == GetParentItem(m_dragItem)) {
        return;
    }
    CDD_OleDropTargetInfo record(m_hWnd, POINT{0, 0}, nullptr);
    record.SetDropEffect(effect);
    record.SetKeyboardState(effect);
    record.SetTreeItem(target);
    SendDragDropMessage(m_hWnd, UWM_DD_DROP, reinterpret_cast<WPARAM>(&record), 0);
}

void CUIDragDropTree::EndDrag() {
    if (m_dragImage != nullptr) {
        CImageList::DragLeave(CWnd::FromHandle(GetDesktopWindow()));
        CImageList::EndDrag();
        m_dragImage.reset();
    }
    if (m_dragging && ::GetCapture() == m_hWnd) ::ReleaseCapture();
    m_dragging = false;
    StopAutoScroll();
}

void CUIDragDropTree::SetDropHighlight(HTREEITEM item) {
    m_dropHighlight = item;
    if (m_hWnd != nullptr) SelectDropTarget(item);
}

bool CUIDragDropTree::IsDescendant(HTREEITEM item, HTREEITEM ancestor) const {
    for (HTREEITEM parent = item != nullptr ? GetParentItem(item) : nullptr; parent != nullptr; parent = GetParentItem(parent)) {
        if (parent == ancestor) return true;
    }
    return false;
}

void CUIDragDropTree::StartAutoScroll() {
    RECT client{};
    GetClientRect(&client);
    ClientToScreen(&client);
    m_clientTop = client.top;
    m_clientBottom = client.bottom;
    m_scrollTick = 0;
    m_scrollTimer = SetTimer(kScrollTimer, kScrollInterval);
}

void CUIDragDropTree::StopAutoScroll() {
    if (m_scrollTimer != 0 && m_hWnd != nullptr) KillTimer(kScrollTimer);
    m_scrollTimer = 0;
    m_scrollTick = 0;
}

bool CUIDragDropTree::IsAutoScrollPoint(POINT screen) const { return GetScrollDirection(screen) != UIScrollDirection::None; }

UIScrollDirection CUIDragDropTree::GetScrollDirection(POINT screen) const {
    if (m_dragging) {
        if (screen.y < m_clientTop) return m_clientTop - screen.y > m_hScrollHeight ? UIScrollDirection::FastUp : UIScrollDirection::SlowUp;
        if (screen.y > m_clientBottom) {
            return screen.y - m_clientBottom > m_hScrollHeight ? UIScrollDirection::FastDown : UIScrollDirection::SlowDown;
        }
        return UIScrollDirection::None;
    }
    if (screen.y >= m_clientTop && screen.y < m_clientTop + kFastZoneTop) return UIScrollDirection::FastUp;
    if (screen.y < m_clientBottom && screen.y >= m_clientBottom - kFastZoneBottom) return UIScrollDirection::FastDown;
    return UIScrollDirection::None;
}

void CUIDragDropTree::OnScrollTimer() {
    if (m_scrollTimer == 0) return;
    POINT cursor{};
    GetCursorPos(&cursor);
    UIScrollDirection direction = GetScrollDirection(cursor);
    bool slow = direction == UIScrollDirection::SlowUp || direction == UIScrollDirection::SlowDown;
    int tick = m_scrollTick;
    m_scrollTick = (m_scrollTick + 1) % kSlowScrollTicks;
    if (direction == UIScrollDirection::None || (slow && tick != 0)) return;
    bool up = direction == UIScrollDirection::FastUp || direction == UIScrollDirection::SlowUp;
    if (m_dragging) CImageList::DragShowNolock(FALSE);
    SendMessage(WM_VSCROLL, up ? SB_LINEUP : SB_LINEDOWN);
    if (m_dragging) {
        HTREEITEM target = GetFirstVisibleItem();
        if (!up) {
            UINT visible = GetVisibleCount();
            for (UINT i = 1; target != nullptr && i < visible; ++i) {
                HTREEITEM next = GetNextVisibleItem(target);
                if (next == nullptr) break;
                target = next;
            }
        }
        if (target != nullptr) SetDropHighlight(target);
        CImageList::DragShowNolock(TRUE);
    }
}

DROPEFFECT CUIDragDropTree::OnOleDragEnter(COleDataObject* data, DWORD keyState, POINT point) {
    m_oleDragOver = true;
    StartAutoScroll();
    CDD_OleDropTargetInfo record(m_hWnd, point, data);
    record.SetKeyboardState(keyState);
    record.SetTreeItem(m_dropHighlight);
    SendDragDropMessage(m_hWnd, UWM_DD_DRAGENTER, reinterpret_cast<WPARAM>(&record), 0);
    return record.GetDropEffect();
}

DROPEFFECT CUIDragDropTree::DragOverItem(POINT point, COleDataObject* data, DWORD keyState, HTREEITEM& hit) {
    UINT flags = 0;
    hit = HitTest(point, &flags);
    SetDropHighlight(hit);
    CDD_OleDropTargetInfo record(m_hWnd, point, data);
    record.SetKeyboardState(keyState);
    record.SetTreeItem(hit);
    if (SendDragDropMessage(m_hWnd, UWM_DD_DRAGOVER, reinterpret_cast<WPARAM>(&record), 0) == 0) return DROPEFFECT_NONE;
    return record.GetDropEffect();
}

DROPEFFECT CUIDragDropTree::OnOleDragOver(COleDataObject* data, DWORD keyState, POINT point) {
    HTREEITEM hit = nullptr;
    DROPEFFECT effect = DragOverItem(point, data, keyState, hit);
    if (hit != nullptr && GetAsyncKeyState(VK_LCONTROL) < 0 && ItemHasChildren(hit) && !(GetItemState(hit, TVIS_EXPANDED) & TVIS_EXPANDED)) {
        Expand(hit, TVE_EXPAND);
    }
    return effect;
}

void CUIDragDropTree::OnOleDragLeave() {
    m_oleDragOver = false;
    StopAutoScroll();
    SetDropHighlight(nullptr);
    CDD_OleDropTargetInfo record(m_hWnd, POINT{0, 0}, nullptr);
    SendDragDropMessage(m_hWnd, UWM_DD_DRAGLEAVE, reinterpret_cast<WPARAM>(&record), 0);
}

BOOL CUIDragDropTree::OnOleDrop(COleDataObject* data, DROPEFFECT effect, POINT point) {
    m_oleDragOver = false;
    StopAutoScroll();
    LRESULT handled = 0;
    if (m_dropHighlight != nullptr) {
        CDD_OleDropTargetInfo record(m_hWnd, point, data);
        record.SetDropEffect(effect);
        record.SetKeyboardState(effect);
        record.SetTreeItem(m_dropHighlight);
        handled = SendDragDropMessage(m_hWnd, UWM_DD_DROP, reinterpret_cast<WPARAM>(&record), 0);
    }
    SetDropHighlight(nullptr);
    return handled != 0;
}

HTREEITEM CUIDragDropTree::MoveNode(HTREEITEM item, HTREEITEM newParent) {
    char text[kMaxNodeText + 1] = {};
    TVITEMA read{};
    read.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_PARAM | TVIF_HANDLE;
    read.hItem = item;
    read.pszText = text;
    read.cchTextMax = sizeof text;
    if (!CTreeCtrl::GetItem(&read)) return nullptr;
    TVINSERTSTRUCTA insert{};
    insert.hParent = newParent;
    insert.hInsertAfter = TVI_SORT;
    insert.item = read;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_PARAM;
    HTREEITEM copy = CTreeCtrl::InsertItem(&insert);
    if (copy == nullptr) return nullptr;
    AdjustMovedNode(item, copy);
    MoveChildren(item, copy);
    return copy;
}

void CUIDragDropTree::MoveChildren(HTREEITEM from, HTREEITEM to) {
    std::vector<HTREEITEM> children;
    for (HTREEITEM child = GetChildItem(from); child != nullptr; child = GetNextSiblingItem(child)) children.push_back(child);
    for (HTREEITEM child : children) MoveNode(child, to);
    for (HTREEITEM child : children) DeleteItem(child);
}

void CUIDragDropTree::AdjustMovedNode(HTREEITEM, HTREEITEM) {}
void CUIDragDropTree::DropFile(HTREEITEM, LPCSTR, UINT) {}
void CUIDragDropTree::DragHook() {}
bool CUIDragDropTree::WantsDropMenu() const { return true; }

void CUIDragDropTree::OnDropFiles(HDROP drop) {
    POINT point{};
    DragQueryPoint(drop, &point);
    UINT flags = 0;
    HTREEITEM hit = HitTest(point, &flags);
    char name[261] = {};
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        if (DragQueryFileA(drop, i, name, sizeof name) == 0) continue;
        DropFile(hit, name, flags);
    }
    DragFinish(drop);
}
