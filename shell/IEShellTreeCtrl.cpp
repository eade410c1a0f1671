// The local folder tree of the client pane; see IEShellTreeCtrl.h.
#include "shell/IEShellTreeCtrl.h"

#include <cstdio>
#include <vector>

#include <strings.h>
#include "platform/shell/FileOperation.h"
#include "platform/window/AfxWaitCursor.h"
#include "platform/shell/AfxMessageBox.h"
#include "platform/window/MessageBox.h"
#include "server/ServerPaneState.h"
#include "server/ServerTreeCtrl.h"
#include "shell/LocalFileOps.h"
#include "shell/ShellContextMenu.h"

IMPLEMENT_DYNAMIC(CIEShellTreeCtrl, CShellTreeCtrl)

namespace {

CIEShellTreeCtrl* g_tree = nullptr;

std::string FirstDroppedName(HDROP drop) {
    char name[CIEShellTreeCtrl::kFirstNameSize] = {};
    DragQueryFileA(drop, 0, name, sizeof name);
    return name;
}

// The list of the first `count` items of `absolute`.
ShellIdList FirstItems(LPCITEMIDLIST absolute, int count) {
    ShellIdList prefix(ILClone(absolute));
    LPITEMIDLIST cut = prefix.Get();
    for (int i = 0; i < count && cut != nullptr && cut->mkid.cb != 0; ++i) cut = ILGetNext(cut);
    if (cut != nullptr) cut->mkid.cb = 0;
    return prefix;
}

int ItemCount(LPCITEMIDLIST list) {
    int count = 0;
    for (LPCITEMIDLIST item = list; item != nullptr && item->mkid.cb != 0; item = ILGetNext(item)) ++count;
    return count;
}

} // namespace

CIEShellTreeCtrl* GetIEShellTreeCtrl() { return g_tree; }

CIEShellTreeCtrl::CIEShellTreeCtrl() : CShellTreeCtrl(true) {
    SetAcceptDropFiles(false);
    g_tree = this;
}

CIEShellTreeCtrl::~CIEShellTreeCtrl() {
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) DestroyWindow();
    m_watchers.StopAll();
    if (g_tree == this) g_tree = nullptr;
}

std::string CIEShellTreeCtrl::GetCurrentFolderPath() const { return GetItemPath(GetSelectedItem()); }

void CIEShellTreeCtrl::LoadDesktopRoot() { LoadRoot(0); }

bool CIEShellTreeCtrl::SelectChildByName(const std::string& name) {
    HTREEITEM selected = GetSelectedItem();
    if (selected == nullptr) return false;
    Expand(selected, TVE_EXPAND);
    HTREEITEM child = FindChildByText(selected, name);
    if (child == nullptr) return false;
    SelectItem(child);
    return true;
}

void CIEShellTreeCtrl::SetListWnd(HWND list) {
    if (list == m_listWnd) return;
    m_listWnd = list;
    // The watchers took the old handle when they started.
    if (m_watchers.Count() > 0) {
        StopAllWatchers();
        StartWatchersOnAllDrives();
    }
}

void CIEShellTreeCtrl::DisableDragDrop() {
    m_dragDropOn = false;
    SetAcceptDropFiles(false);
    if (m_hWnd != nullptr) DragAcceptFiles(FALSE);
}

DriveWatchTarget CIEShellTreeCtrl::WatchTarget() { return DriveWatchTarget{m_hWnd, m_listWnd, &m_reactToChange}; }

void CIEShellTreeCtrl::SetWatching(bool on) {
    if (on) StartWatchersOnAllDrives();
    else StopAllWatchers();
}

void CIEShellTreeCtrl::StopAllWatchers() { m_watchers.StopAll(); }
void CIEShellTreeCtrl::StartWatchersOnAllDrives() { m_watchers.StartAll(WatchTarget()); }
bool CIEShellTreeCtrl::StartWatcher(const std::string& root) { return m_watchers.Start(root, WatchTarget()); }

void CIEShellTreeCtrl::GoParent() {
    HTREEITEM selected = GetSelectedItem();
    HTREEITEM parent = selected != nullptr ? GetParentItem(selected) : nullptr;
    if (parent == nullptr) return;
    SelectItem(parent);
    Expand(parent, TVE_EXPAND);
}

void CIEShellTreeCtrl::GoUp(HTREEITEM) { GoParent(); }

void CIEShellTreeCtrl::OpenItem(HTREEITEM item, LPCSTR verb) { ShellNamespace::Execute(m_hWnd, GetItemIdList(item), verb); }

void CIEShellTreeCtrl::ShowProperties(HTREEITEM item) { OpenItem(item, "properties"); }

void CIEShellTreeCtrl::Refresh(HTREEITEM) { RefreshOwnChange(); }

void CIEShellTreeCtrl::RefreshOwnChange() {
    m_reactToChange = false;
    RefreshAll();
    m_reactToChange = true;
}

HTREEITEM CIEShellTreeCtrl::FindChildByIdList(HTREEITEM parent, LPCITEMIDLIST relative) {
    ShellPtr<IShellFolder> folder = GetItemFolder(parent);
    for (HTREEITEM child = GetChildItem(parent); child != nullptr; child = GetNextSiblingItem(child)) {
        const ShellItemData* data = GetShellItem(child);
        if (data == nullptr) continue;
        if (ostrana::ILIsSameBytes(data->Relative(), relative)) return child;
        // An id may be spelled differently and still name the same item.
        HRESULT order = folder ? folder->CompareIDs(0, data->Relative(), relative) : E_FAIL;
        if (SUCCEEDED(order) && static_cast<short>(static_cast<unsigned>(order) & 0xFFFFu) == 0) return child;
    }
    return nullptr;
}

HTREEITEM CIEShellTreeCtrl::FindChildByText(HTREEITEM parent, const std::string& text) {
    for (HTREEITEM child = GetChildItem(parent); child != nullptr; child = GetNextSiblingItem(child)) {
        if (GetItemText(child) == text) return child;
    }
    return nullptr;
}

int CIEShellTreeCtrl::DeleteChildren(HTREEITEM parent) {
    std::vector<HTREEITEM> children;
    for (HTREEITEM child = GetChildItem(parent); child != nullptr; child = GetNextSiblingItem(child)) children.push_back(child);
    for (HTREEITEM child : children) DeleteItem(child);
    return static_cast<int>(children.size());
}

HTREEITEM CIEShellTreeCtrl::FindIdList(LPCITEMIDLIST absolute) {
    HTREEITEM node = GetRootItem();
    if (node == nullptr || absolute == nullptr) return nullptr;
    int count = ItemCount(absolute);
    for (int k = 1; k <= count && node != nullptr; ++k) {
        ShellIdList prefix = FirstItems(absolute, k);
        Expand(node, TVE_EXPAND);
        node = FindChildByIdList(node, ILFindLastID(prefix.Get()));
    }
    return node;
}

void CIEShellTreeCtrl::SelectIdList(LPCITEMIDLIST absolute) {
    HTREEITEM node = FindIdList(absolute);
    if (node == nullptr) return;
    SelectItem(node);
    Expand(node, TVE_EXPAND);
    NotifySelected(node);
}

void CIEShellTreeCtrl::SelectPath(const std::string& path) {
    ShellIdList parsed = ShellNamespace::Parse(GetDesktop(), path);
    if (!parsed) return;
    SetRedraw(FALSE);
    HTREEITEM node = FindIdList(parsed.Get());
    const ShellItemData* data = GetShellItem(node);
    if (node != nullptr && data != nullptr && ostrana::ILIsSameBytes(data->Absolute(), parsed.Get())) {
        SelectItem(node);
    } else {
        char text[MAX_PATH + 32];
        std::snprintf(text, sizeof text, "%s was not found", path.c_str());
        AfxMessageBox(text, MB_ICONHAND);
    }
    SetRedraw(TRUE);
}

void CIEShellTreeCtrl::NotifySelected(HTREEITEM item) {
    CUITreeNotify notify(item, GetNodeData(item));
    SendSelectionNotify(&notify);
}

void CIEShellTreeCtrl::SendSelectionNotify(CObject* notify) {
    auto* selection = dynamic_cast<CUITreeNotify*>(notify);
    const ShellItemData* data = selection != nullptr ? reinterpret_cast<const ShellItemData*>(selection->m_userData) : nullptr;
    // The frame only learns which list is shown; the list lives as long as the node.
    if (m_frameWnd != nullptr && data != nullptr) ::PostMessageA(m_frameWnd, UWM_FOLDER_SELECTED, reinterpret_cast<WPARAM>(data->Absolute()), 0);
    if (m_listWnd != nullptr) ::SendMessageA(m_listWnd, UWM_UI_NOTIFY, UI_NOTIFY_FOLDER_SELECTED, reinterpret_cast<LPARAM>(notify));
    else CUITreeCtrl::SendSelectionNotify(notify);
}

void CIEShellTreeCtrl::OnTreeChanged() {
    RefreshOwnChange();
    if (m_reportRefresh) {
        std::string path = GetCurrentFolderPath();
        if (HWND parent = ::GetParent(m_hWnd); parent != nullptr) {
            ::SendMessageA(parent, UWM_UI_NOTIFY, 1004, reinterpret_cast<LPARAM>(path.c_str()));
        }
    }
}

void CIEShellTreeCtrl::OnSettingChange(LPCSTR section) {
    if (section == nullptr || strcasecmp(section, "ShellState") != 0) return;
    Settings().Reload();
    RefreshOwnChange();
}

HTREEITEM CIEShellTreeCtrl::NodeAt(HTREEITEM from, POINT client) const {
    for (HTREEITEM item = from; item != nullptr; item = GetNextSiblingItem(item)) {
        RECT rect{};
        if (GetItemRect(item, &rect, FALSE) && PtInRect(&rect, client)) return item;
        if (GetItemState(item, TVIS_EXPANDED) & TVIS_EXPANDED) {
            if (HTREEITEM inner = NodeAt(GetChildItem(item), client); inner != nullptr) return inner;
        }
    }
    return nullptr;
}

HTREEITEM CIEShellTreeCtrl::NodeAt(POINT client) const { return NodeAt(GetRootItem(), client); }

void CIEShellTreeCtrl::OnDropFiles(HDROP drop) {
    if (!IsServerDropName(FirstDroppedName(drop))) {
        // Local files keep the toolkit's handling, which finishes the drop itself.
        CShellTreeCtrl::WindowProc(WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
        return;
    }
    POINT point{};
    DragQueryPoint(drop, &point);
    HTREEITEM node = NodeAt(point);
    const ShellItemData* data = GetShellItem(node);
    std::string target = data != nullptr && data->Has(SFGAO_FILESYSTEM) ? GetItemPath(node) : std::string();
    if (!target.empty()) {
        if (CServerTreeCtrl* server = GetServerTreeCtrl(); server != nullptr) server->TransferDroppedFiles(0, target, drop);
    }
    DragFinish(drop);
}

LRESULT CIEShellTreeCtrl::OnDragEnter(CDD_OleDropTargetInfo* info) {
    if (!m_dragDropOn) {
        info->SetDropEffect(DROPEFFECT_NONE);
        return 1;
    }
    return CShellTreeCtrl::OnDragEnter(info);
}

LRESULT CIEShellTreeCtrl::OnDragOver(CDD_OleDropTargetInfo* info) {
    if (!m_dragDropOn) {
        info->SetDropEffect(DROPEFFECT_NONE);
        return 1;
    }
    return CShellTreeCtrl::OnDragOver(info);
}

LRESULT CIEShellTreeCtrl::OnDrop(CDD_OleDropTargetInfo* info) { return m_dragDropOn ? CShellTreeCtrl::OnDrop(info) : 1; }

DROPEFFECT CIEShellTreeCtrl::OnBeginDragData(CDD_OleDropTargetInfo* info, COleDataSource* dataSource) {
    return m_dragDropOn ? CShellTreeCtrl::OnBeginDragData(info, dataSource) : DROPEFFECT_NONE;
}

void CIEShellTreeCtrl::DropOwnDrag(DROPEFFECT effect) {
    HTREEITEM from = GetDragItem();
    HTREEITEM to = GetDropHighlight();
    if (m_dragDropOn && effect == DROPEFFECT_MOVE && from != nullptr && to != nullptr && from != to) MoveFolder(from, to);
    EndDrag();
}

void CIEShellTreeCtrl::MoveFolder(HTREEITEM from, HTREEITEM to) {
    std::string source = GetItemPath(from);
    std::string target = GetItemPath(to);
    if (source.empty() || target.empty() || source.size() >= MAX_PATH || target.size() >= MAX_PATH) return;
    if (ShellNamespace::FileOperation(m_hWnd, FO_MOVE, ShellNamespace::SingleNameBuffer(source), ShellNamespace::SingleNameBuffer(target), 0)) {
        RefreshOwnChange();
    }
}

void CIEShellTreeCtrl::ShowContextMenu(HTREEITEM item, POINT screen) {
    const ShellItemData* data = GetShellItem(item);
    if (data == nullptr) return;
    ShellPtr<IShellFolder> parent = data->ParentFolder() != nullptr ? ShellPtr<IShellFolder>::Share(data->ParentFolder())
                                                                    : ShellPtr<IShellFolder>::Share(GetDesktop());
    LPCITEMIDLIST id = data->ParentFolder() != nullptr ? data->Relative() : data->Absolute();
    ShellContextMenu::Show(m_hWnd, parent.Get(), {id}, screen, &m_contextMenu);
}

LRESULT CIEShellTreeCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        LRESULT result = CShellTreeCtrl::WindowProc(message, wParam, lParam);
        if (result != -1 && m_watchOnCreate) StartWatchersOnAllDrives();
        return result;
    }
    case WM_DESTROY: StopAllWatchers(); break;
    case UWM_SELECT_PATH:
        if (lParam != 0) SelectPath(reinterpret_cast<LPCSTR>(lParam));
        return 0;
    case UWM_SELECT_ID_LIST: {
        ShellIdList absolute(reinterpret_cast<LPITEMIDLIST>(wParam));
        if (HTREEITEM node = FindIdList(absolute.Get()); node != nullptr) {
            SelectItem(node);
            Expand(node, TVE_EXPAND);
        }
        SetFocus();
        return 0;
    }
    case UWM_TREE_SELECT_ROOT: {
        HTREEITEM root = GetRootItem();
        if (root == nullptr) return 0;
        if (GetSelectedItem() == root) NotifySelected(root);
        else SelectItem(root);
        return 0;
    }
    case UWM_TREE_CHANGED: OnTreeChanged(); return 0;
    case UWM_GO_PARENT: GoParent(); return 0;
    case WM_SETMESSAGESTRING:
        if (HWND parent = ::GetParent(m_hWnd); parent != nullptr) return ::SendMessageA(parent, message, wParam, lParam);
        return 0;
    case WM_DROPFILES: OnDropFiles(reinterpret_cast<HDROP>(wParam)); return 0;
    case WM_SETTINGCHANGE: OnSettingChange(reinterpret_cast<LPCSTR>(lParam)); return 0;
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_INITMENUPOPUP:
        if (ShellContextMenu::Forward(m_contextMenu, message, wParam, lParam)) return message == WM_INITMENUPOPUP ? 0 : TRUE;
        break;
    default: break;
    }
    return CShellTreeCtrl::WindowProc(message, wParam, lParam);
}
