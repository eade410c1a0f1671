#include "ui/UITreeCtrl.h"

#include "dragdrop/CCF_String.h"
#include "dragdrop/ClipboardFormats.h"
#include "platform/gdi/SysColors.h"
#include "platform/window/AfxWaitCursor.h"
#include "platform/window/Input.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/VirtualKeys.h"
#include "res/Resources.h"
#include "ui/UIKeys.h"

IMPLEMENT_DYNAMIC(CUITreeNotify, CObject)
IMPLEMENT_DYNAMIC(CUITreeCtrl, CUIDragDropTree)

CUITreeCtrl::CUITreeCtrl(bool oleDragDrop) : CUIDragDropTree(oleDragDrop) {}

CUITreeCtrl::~CUITreeCtrl() {
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) DestroyWindow();
    for (CUIListCtrlData* record : m_records) delete record;
}

int CUITreeCtrl::AddFolderIcon(UINT id) {
    if (id == 0) return -1;
    HICON icon = LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id));
    return icon != nullptr ? m_imageList.Add(icon) : -1;
}

void CUITreeCtrl::SetUpImageList() {
    ModifyStyle(0, kTreeStyles);
    if (m_imageList.GetSafeHandle() == nullptr) {
        m_imageList.Create(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), ILC_MASK, 2, 2);
        m_imageList.SetBkColor(CLR_NONE);
        m_closedImage = AddFolderIcon(GetClosedFolderIconId());
        m_openImage = AddFolderIcon(GetOpenFolderIconId());
    }
    SetImageList(&m_imageList, TVSIL_NORMAL);
}

LRESULT CUITreeCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        LRESULT result = CUIDragDropTree::WindowProc(message, wParam, lParam);
        if (result != -1) {
            ModifyStyle(0, kTreeStyles);
            SetUpImageList();
        }
        return result;
    }
    case WM_DESTROY:
        KillTimer(kSelectTimer);
        m_selectPending = false;
        return CUIDragDropTree::WindowProc(message, wParam, lParam);
    case TVM_INSERTITEMA:
        if (m_ownCalls == 0) return OnInsertItem(lParam);
        break;
    case TVM_SETITEMA:
        if (m_ownCalls == 0) return OnSetItem(lParam);
        break;
    case TVM_GETITEMA:
        if (m_ownCalls == 0) return OnGetItem(lParam);
        break;
    case WM_TIMER:
        if (wParam != kSelectTimer) break;
        OnSelectTimer();
        return 0;
    case UWM_TREE_DELAYED_SELECT: ActOnSelection(m_lastSelected); return 0;
    case UWM_LIST_CONTEXT_MENU:
    case UWM_LIST_ACTIVATE:
    case UWM_LIST_EDIT_LABEL:
    case UWM_LIST_REFRESH_VIEW:
    case UWM_LIST_DELETE:
    case UWM_LIST_PROPERTIES: OnCommandMessage(message); return 0;
    case UWM_DD_DRAGENTER:
    case UWM_DD_DRAGLEAVE:
    case UWM_DD_DROP:
    case UWM_DD_DRAGOVER:
    case UWM_DD_BEGINDRAG: return OnDragDropMessage(message, reinterpret_cast<CDD_OleDropTargetInfo*>(wParam), lParam);
    default: break;
    }
    return CUIDragDropTree::WindowProc(message, wParam, lParam);
}

BOOL CUITreeCtrl::PreTranslateMessage(MSG* msg) {
    if (msg->hwnd == m_hWnd) {
        if (UINT post = UIKeyCommand(msg->message, msg->wParam); post != 0) {
            PostMessage(post);
            return TRUE;
        }
    }
    return CUIDragDropTree::PreTranslateMessage(msg);
}

LRESULT CUITreeCtrl::OnInsertItem(LPARAM lParam) {
    auto* given = reinterpret_cast<TVINSERTSTRUCTA*>(lParam);
    if (given == nullptr) return 0;
    TVINSERTSTRUCTA insert = *given;
    CUIListCtrlData* record = NewNodeRecord((insert.item.mask & TVIF_PARAM) ? static_cast<DWORD_PTR>(insert.item.lParam) : 0);
    insert.item.mask |= TVIF_PARAM;
    insert.item.lParam = reinterpret_cast<LPARAM>(record);
    m_records.insert(record);
    LRESULT item = CUIDragDropTree::WindowProc(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert));
    if (item == 0) {
        m_records.erase(record);
        delete record;
    }
    return item;
}

LRESULT CUITreeCtrl::OnSetItem(LPARAM lParam) {
    auto* given = reinterpret_cast<TVITEMA*>(lParam);
    if (given == nullptr) return FALSE;
    TVITEMA item = *given;
    if (item.mask & TVIF_PARAM) {
        CUIListCtrlData* record = GetNodeRecord(item.hItem);
        if (record == nullptr) return FALSE;
        record->SetExtData(static_cast<DWORD_PTR>(item.lParam));
        item.mask &= ~static_cast<UINT>(TVIF_PARAM);
        if ((item.mask & ~static_cast<UINT>(TVIF_HANDLE)) == 0) return TRUE;
    }
    return CUIDragDropTree::WindowProc(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

LRESULT CUITreeCtrl::OnGetItem(LPARAM lParam) {
    auto* item = reinterpret_cast<TVITEMA*>(lParam);
    LRESULT result = CUIDragDropTree::WindowProc(TVM_GETITEMA, 0, lParam);
    if (result != 0 && item != nullptr && (item->mask & TVIF_PARAM)) {
        auto* record = reinterpret_cast<CUIListCtrlData*>(item->lParam);
        item->lParam = record != nullptr ? static_cast<LPARAM>(record->GetExtData()) : 0;
    }
    return result;
}

CUIListCtrlData* CUITreeCtrl::GetNodeRecord(HTREEITEM item) const {
    if (item == nullptr) return nullptr;
    TVITEMA read{};
    read.mask = TVIF_PARAM | TVIF_HANDLE;
    read.hItem = item;
    if (!const_cast<CUITreeCtrl*>(this)->CUIDragDropTree::WindowProc(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&read))) return nullptr;
    return reinterpret_cast<CUIListCtrlData*>(read.lParam);
}

DWORD_PTR CUITreeCtrl::GetNodeData(HTREEITEM item) const {
    const CUIListCtrlData* record = GetNodeRecord(item);
    return record != nullptr ? record->GetExtData() : 0;
}

HTREEITEM CUITreeCtrl::InsertNode(LPCSTR text, DWORD_PTR userData, HTREEITEM parent, HTREEITEM after, int image, int selectedImage,
                                  int children) {
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = const_cast<LPSTR>(text);
    insert.item.iImage = image >= 0 ? image : m_closedImage;
    insert.item.iSelectedImage = selectedImage >= 0 ? selectedImage : insert.item.iImage;
    insert.item.lParam = static_cast<LPARAM>(userData);
    if (children >= 0) {
        insert.item.mask |= TVIF_CHILDREN;
        insert.item.cChildren = children;
    }
    return reinterpret_cast<HTREEITEM>(OnInsertItem(reinterpret_cast<LPARAM>(&insert)));
}

BOOL CUITreeCtrl::SetNodeTextColor(HTREEITEM item, COLORREF color) {
    CUIListCtrlData* record = GetNodeRecord(item);
    if (record == nullptr) return FALSE;
    record->SetTextColor(0, color);
    Invalidate();
    return TRUE;
}

BOOL CUITreeCtrl::ResetNodeTextColor(HTREEITEM item) { return SetNodeTextColor(item, GetSysColor(COLOR_WINDOWTEXT)); }

BOOL CUITreeCtrl::SetNodeFont(HTREEITEM item, const LOGFONTA& font) {
    CUIListCtrlData* record = GetNodeRecord(item);
    if (record == nullptr) return FALSE;
    record->SetFont(0, font);
    Invalidate();
    return TRUE;
}

HTREEITEM CUITreeCtrl::MoveNode(HTREEITEM item, HTREEITEM newParent) {
    OwnCall own(*this);
    return CUIDragDropTree::MoveNode(item, newParent);
}

void CUITreeCtrl::AdjustMovedNode(HTREEITEM original, HTREEITEM copy) {
    CUIListCtrlData* old = GetNodeRecord(original);
    if (old == nullptr) return;
    // The copy takes over the user data; the original's record goes with its node.
    CUIListCtrlData* record = NewNodeRecord(old->GetExtData());
    m_records.insert(record);
    old->SetOwnsExtData(false);
    TVITEMA set{};
    set.mask = TVIF_PARAM | TVIF_HANDLE;
    set.hItem = copy;
    set.lParam = reinterpret_cast<LPARAM>(record);
    CUIDragDropTree::WindowProc(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&set));
}

UINT CUITreeCtrl::GetClosedFolderIconId() const { return 0; }
UINT CUITreeCtrl::GetOpenFolderIconId() const { return 0; }
CUIListCtrlData* CUITreeCtrl::NewNodeRecord(DWORD_PTR userData) {
    auto* record = new CUIListCtrlData(1);
    record->SetExtData(userData);
    return record;
}
void CUITreeCtrl::FreeUserData(DWORD_PTR) {}
void CUITreeCtrl::OpenNode(HTREEITEM) {}
UINT CUITreeCtrl::GetContextMenuId() const { return 0; }
CWnd* CUITreeCtrl::GetContextMenuOwner() { return this; }
BOOL CUITreeCtrl::ExpandNode(HTREEITEM) { return FALSE; }
BOOL CUITreeCtrl::CollapseNode(HTREEITEM) { return FALSE; }
BOOL CUITreeCtrl::RenameNode(HTREEITEM, LPCSTR) { return FALSE; }
void CUITreeCtrl::GoUp(HTREEITEM) {}
void CUITreeCtrl::Refresh(HTREEITEM) {}
void CUITreeCtrl::ShowProperties(HTREEITEM) {}

void CUITreeCtrl::ShowContextMenu(HTREEITEM, POINT screen) {
    UINT id = GetContextMenuId();
    if (id == 0) return;
    CMenu menu;
    if (!menu.LoadMenu(id)) return;
    if (CMenu* popup = menu.GetSubMenu(0); popup != nullptr) {
        popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, GetContextMenuOwner());
    }
}

CObject* CUITreeCtrl::MakeNotifyObject(HTREEITEM item, DWORD_PTR userData) { return new CUITreeNotify(item, userData); }

void CUITreeCtrl::SendSelectionNotify(CObject* notify) {
    if (HWND parent = ::GetParent(m_hWnd); parent != nullptr) {
        ::SendMessageA(parent, UWM_UI_NOTIFY, UI_NOTIFY_FOLDER_SELECTED, reinterpret_cast<LPARAM>(notify));
    }
}

void CUITreeCtrl::ActOnSelection(HTREEITEM item) {
    if (item == nullptr) return;
    CObject* notify = MakeNotifyObject(item, GetNodeData(item));
    SendSelectionNotify(notify);
    delete notify;
}

void CUITreeCtrl::OnSelectionChanged(NMTREEVIEWA* info) {
    HTREEITEM item = info->itemNew.hItem;
    if (item == nullptr || !(GetItemState(item, TVIS_SELECTED) & TVIS_SELECTED)) return;
    m_lastSelected = item;
    if (info->action == TVC_BYKEYBOARD && m_lastKey != 0) {
        m_selectPending = true;
        SetTimer(kSelectTimer, kSelectDelay);
        return;
    }
    ActOnSelection(item);
}

void CUITreeCtrl::OnSelectTimer() {
    if (!m_selectPending) {
        KillTimer(kSelectTimer);
        return;
    }
    if (GetAsyncKeyState(m_lastKey) < 0) return;
    KillTimer(kSelectTimer);
    m_selectPending = false;
    PostMessage(UWM_TREE_DELAYED_SELECT);
}

void CUITreeCtrl::OnDeleteNode(NMTREEVIEWA* info) {
    auto* record = reinterpret_cast<CUIListCtrlData*>(info->itemOld.lParam);
    if (record == nullptr || m_records.erase(record) == 0) return;
    if (record->OwnsExtData()) FreeUserData(record->GetExtData());
    delete record;
    if (info->itemOld.hItem == m_lastSelected) m_lastSelected = nullptr;
}

void CUITreeCtrl::OnCommandMessage(UINT message) {
    HTREEITEM selected = GetSelectedItem();
    switch (message) {
    case UWM_LIST_CONTEXT_MENU: {
        if (selected == nullptr) return;
        RECT rect{};
        GetItemRect(selected, &rect, TRUE);
        POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        ClientToScreen(&centre);
        ShowContextMenu(selected, centre);
        return;
    }
    case UWM_LIST_ACTIVATE: GoUp(selected); return;
    case UWM_LIST_EDIT_LABEL:
        if (selected != nullptr) EditLabel(selected);
        return;
    case UWM_LIST_REFRESH_VIEW: Refresh(selected); return;
    case UWM_LIST_DELETE:
        if (selected != nullptr) DeleteItem(selected);
        return;
    default: ShowProperties(selected); return;
    }
}

BOOL CUITreeCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_NOTIFY && OnNotifyReflect(reinterpret_cast<NMHDR*>(lParam), result)) return TRUE;
    return CUIDragDropTree::OnChildNotify(message, wParam, lParam, result);
}

BOOL CUITreeCtrl::OnNotifyReflect(NMHDR* header, LRESULT* result) {
    if (header == nullptr) return FALSE;
    *result = 0;
    switch (header->code) {
    case NM_DBLCLK:
    case NM_RETURN: OpenNode(GetSelectedItem()); return TRUE;
    case NM_RCLICK: {
        POINT screen{};
        GetCursorPos(&screen);
        POINT client = screen;
        ScreenToClient(&client);
        UINT flags = 0;
        HTREEITEM hit = HitTest(client, &flags);
        if (hit == nullptr || !(flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL))) return FALSE;
        ShowContextMenu(hit, screen);
        *result = 1;
        return TRUE;
    }
    case TVN_ITEMEXPANDINGA: {
        auto* info = reinterpret_cast<NMTREEVIEWA*>(header);
        CWaitCursor wait;
        UINT action = info->action & TVE_ACTIONMASK;
        *result = action == TVE_EXPAND ? ExpandNode(info->itemNew.hItem) : action == TVE_COLLAPSE ? CollapseNode(info->itemNew.hItem) : FALSE;
        return TRUE;
    }
    case TVN_ENDLABELEDITA: {
        auto* info = reinterpret_cast<NMTVDISPINFOA*>(header);
        *result = info->item.pszText != nullptr && RenameNode(info->item.hItem, info->item.pszText);
        return TRUE;
    }
    case TVN_KEYDOWN: m_lastKey = reinterpret_cast<NMTVKEYDOWN*>(header)->wVKey; return FALSE;
    case TVN_SELCHANGEDA: OnSelectionChanged(reinterpret_cast<NMTREEVIEWA*>(header)); return FALSE;
    case TVN_DELETEITEMA: OnDeleteNode(reinterpret_cast<NMTREEVIEWA*>(header)); return TRUE;
    case NM_CUSTOMDRAW: *result = OnCustomDraw(reinterpret_cast<NMTVCUSTOMDRAW*>(header)); return TRUE;
    default: return FALSE;
    }
}

LRESULT CUITreeCtrl::OnCustomDraw(NMTVCUSTOMDRAW* draw) {
    switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
        const auto* record = reinterpret_cast<const CUIListCtrlData*>(draw->nmcd.lItemlParam);
        if (record == nullptr || (draw->nmcd.uItemState & CDIS_SELECTED)) return CDRF_DODEFAULT;
        if (!record->IsDefaultColors()) {
            draw->clrText = record->GetTextColor(0);
            draw->clrTextBk = record->GetBkColor(0);
        }
        if (CFont* font = record->GetFont(0); font != nullptr) {
            m_savedFont = static_cast<HFONT>(::SelectObject(draw->nmcd.hdc, font->m_hObject));
            return CDRF_NEWFONT | CDRF_NOTIFYPOSTPAINT;
        }
        return record->IsDefaultColors() ? CDRF_DODEFAULT : CDRF_NEWFONT;
    }
    case CDDS_ITEMPOSTPAINT:
        if (m_savedFont != nullptr) ::SelectObject(draw->nmcd.hdc, m_savedFont);
        m_savedFont = nullptr;
        return CDRF_DODEFAULT;
    default: return CDRF_DODEFAULT;
    }
}

LRESULT CUITreeCtrl::OnDragDropMessage(UINT message, CDD_OleDropTargetInfo* info, LPARAM lParam) {
    if (!IsOleDragDrop()) return 1;
    if (message == UWM_DD_BEGINDRAG) return static_cast<LRESULT>(OnBeginDragData(info, reinterpret_cast<COleDataSource*>(lParam)));
    if (info == nullptr || info->GetDataObject() == nullptr) return 1;
    switch (message) {
    case UWM_DD_DRAGENTER: return OnDragEnter(info);
    case UWM_DD_DRAGOVER: return OnDragOver(info);
    case UWM_DD_DRAGLEAVE: return OnDragLeave(info);
    default: return OnDrop(info);
    }
}

DROPEFFECT CUITreeCtrl::AcceptedEffect(CDD_OleDropTargetInfo* info) const {
    if (!CClipboardFormats::HasKnownFormat(info->GetDataObject())) return DROPEFFECT_NONE;
    return (info->GetKeyboardState() & MK_SHIFT) ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
}

LRESULT CUITreeCtrl::OnDragEnter(CDD_OleDropTargetInfo* info) {
    info->SetDropEffect(AcceptedEffect(info));
    return info->GetDropEffect() != DROPEFFECT_NONE ? 1 : 0;
}

LRESULT CUITreeCtrl::OnDragOver(CDD_OleDropTargetInfo* info) {
    info->SetDropEffect(AcceptedEffect(info));
    return info->GetDropEffect() != DROPEFFECT_NONE ? 1 : 0;
}

LRESULT CUITreeCtrl::OnDragLeave(CDD_OleDropTargetInfo*) { return 0; }
LRESULT CUITreeCtrl::OnDrop(CDD_OleDropTargetInfo*) { return 0; }

DROPEFFECT CUITreeCtrl::OnBeginDragData(CDD_OleDropTargetInfo* info, COleDataSource* dataSource) {
    if (info != nullptr && dataSource != nullptr) {
        CCF_String text(GetItemText(info->GetTreeItem()));
        CClipboardFormats::PutOnDataSource(dataSource, &text, CFI_TEXT);
    }
    return DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
}
