// The server folder tree; see ServerTreeCtrl.h.
#include "server/ServerTreeCtrl.h"

#include "misc/ReportBox.h"
#include "platform/base/FileApi.h"
#include "platform/window/AfxWaitCursor.h"
#include "platform/window/Input.h"
#include "platform/window/MessageBox.h"
#include "server/ServerListCtrl.h"
#include "server/ServerPaneState.h"
#include "server/ServerTreeView.h"
#include "session/ServerSession.h"
#include "transfer/MainWindowLink.h"
#include "transfer/ServerCollection.h"
#include "transfer/TransferList.h"

IMPLEMENT_DYNCREATE(CServerTreeCtrl, CUITreeCtrl)

namespace {

constexpr UINT kDeleteQuestionString = 29;
constexpr UINT kDeleteCaptionString = 31;
constexpr UINT kUnregisterQuestionString = 33;
constexpr int kListingStatus = 3000;
constexpr UINT kFirstNameSize = 2048;
constexpr UINT kNameSize = 260;

std::string DroppedName(HDROP drop, UINT index, UINT size) {
    std::string name(size, '\0');
    UINT length = DragQueryFileA(drop, index, name.data(), size);
    name.resize(std::min(length, size > 0 ? size - 1 : 0));
    return name;
}

void WithBackslash(std::string& path) {
    if (path.empty() || path.back() != '\\') path += '\\';
}

// A local file or folder into an upload list by its file status; anything else is left out.
void AddLocalItem(TransferList& list, std::string path) {
    struct _stat64 status {};
    if (_stat64(path.c_str(), &status) != 0) return;
    if (status.st_mode & _S_IFDIR) {
        WithBackslash(path);
        list.AddLocalFolder(path);
    } else if (status.st_mode & _S_IFREG) {
        list.AddLocalPath(path);
    }
}

void StartTransfer(int direction, const std::string& target, std::unique_ptr<TransferList> list, int noWait) {
    if (MainWindowLink* link = GetMainWindowLink(); link != nullptr && list != nullptr) {
        link->StartTransfer(direction, target, std::move(list), noWait);
    }
}

} // namespace

CServerTreeCtrl::CServerTreeCtrl(ServerSession* session) : CUITreeCtrl(false), m_pSession(session) {
    // Dropped files come as the shell's dropped-files message, not through an OLE drop target.
    SetAcceptDropFiles(true);
    SetServerTreeCtrl(this);
}

CServerTreeCtrl::~CServerTreeCtrl() {
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) DestroyWindow();
    if (GetServerTreeCtrl() == this) SetServerTreeCtrl(nullptr);
}

ServerSession& CServerTreeCtrl::Session() const { return m_pSession != nullptr ? *m_pSession : TheServerSession(); }

void CServerTreeCtrl::FreeUserData(DWORD_PTR userData) { delete reinterpret_cast<std::string*>(userData); }

std::string CServerTreeCtrl::GetFolderPath(HTREEITEM item) const {
    const auto* path = item != nullptr ? reinterpret_cast<const std::string*>(GetNodeData(item)) : nullptr;
    return path != nullptr ? *path : std::string();
}

std::string CServerTreeCtrl::GetCurrentFolderPath() const { return GetFolderPath(GetSelectedItem()); }

HTREEITEM CServerTreeCtrl::AppendFolderNode(HTREEITEM parent, const std::string& label, const std::string& path, int image) {
    auto data = std::make_unique<std::string>(path);
    HTREEITEM item = InsertNode(label.c_str(), reinterpret_cast<DWORD_PTR>(data.get()), parent, TVI_LAST, image, image);
    if (item != nullptr) data.release();
    return item;
}

void CServerTreeCtrl::RefreshFolder(HTREEITEM item) {
    HTREEITEM node = item != nullptr ? item : GetSelectedItem();
    if (node == nullptr) return;
    std::string folder = GetFolderPath(node);
    if (folder.empty()) return;
    SetRedraw(FALSE);
    if (m_pServerList != nullptr && m_pServerList->GetSafeHwnd() != nullptr) {
        CWaitCursor wait;
        while (HTREEITEM child = GetChildItem(node)) DeleteItem(child);
        m_pServerList->DeleteAllItems();
        std::vector<std::string> lines;
        int status = kListingStatus;
        if (Session().ListFolder(folder, lines, status) == 0) Session().ListFolder(folder, lines, status);
        for (const std::string& line : lines) {
            std::string name;
            if (m_pServerList->AddServerEntry(line, &name) >= 0 && !name.empty()) {
                AppendFolderNode(node, name, folder + name + "/", m_nImageBase + 2);
            }
        }
        m_pServerList->Resort();
        if (MainWindowLink* link = GetMainWindowLink(); link != nullptr) link->SetCurrentPath(folder);
    }
    SetRedraw(TRUE);
}

void CServerTreeCtrl::SelectParentFolder() {
    HTREEITEM selected = GetSelectedItem();
    HTREEITEM parent = selected != nullptr ? GetParentItem(selected) : nullptr;
    if (parent == nullptr || parent == GetRootItem()) return;
    SelectItem(parent);
}

void CServerTreeCtrl::SelectChildFolder(const std::string& name) {
    HTREEITEM selected = GetSelectedItem();
    if (selected == nullptr) return;
    for (HTREEITEM child = GetChildItem(selected); child != nullptr; child = GetNextSiblingItem(child)) {
        if (GetItemText(child) == name) {
            SelectItem(child);
            return;
        }
    }
}

HTREEITEM CServerTreeCtrl::HitTestNode(POINT client) const {
    std::vector<HTREEITEM> pending;
    for (HTREEITEM top = GetRootItem(); top != nullptr; top = GetNextSiblingItem(top)) pending.push_back(top);
    std::reverse(pending.begin(), pending.end());
    while (!pending.empty()) {
        HTREEITEM node = pending.back();
        pending.pop_back();
        RECT rect{};
        if (GetItemRect(node, &rect, TRUE) && client.x > rect.left && client.x < rect.right && client.y > rect.top &&
            client.y < rect.bottom) {
            return node;
        }
        std::vector<HTREEITEM> children;
        for (HTREEITEM child = GetChildItem(node); child != nullptr; child = GetNextSiblingItem(child)) children.push_back(child);
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
    return nullptr;
}

bool CServerTreeCtrl::IsSpecialNode(HTREEITEM item, bool fixedOnly) const {
    if (m_pOwnerView != nullptr) return m_pOwnerView->IsRootNode(item, fixedOnly);
    return item != nullptr && item == GetRootItem();
}

bool CServerTreeCtrl::IsServerHome(HTREEITEM item) const {
    if (m_pOwnerView != nullptr) return item != nullptr && item == m_pOwnerView->GetServerHomeNode();
    return item != nullptr && item == GetRootItem();
}

void CServerTreeCtrl::StartRename() {
    if (HTREEITEM selected = GetSelectedItem(); selected != nullptr) EditLabel(selected);
}

void CServerTreeCtrl::RenameFolder(HTREEITEM item, const std::string& newName) {
    if (item == nullptr || IsSpecialNode(item, false)) return;
    std::string oldName = GetItemText(item);
    if (oldName == newName || newName.empty()) return;
    std::string path = GetFolderPath(item);
    if (path.empty()) return;
    std::string trimmed = path.substr(0, path.size() - 1);
    std::size_t cut = trimmed.find_last_of('/');
    std::string parent = cut == std::string::npos ? std::string() : trimmed.substr(0, cut + 1);
    if (Session().RenameItem(parent, oldName, newName) != 1) return;
    SetItemText(item, newName.c_str());
    if (CUIListCtrlData* record = GetNodeRecord(item); record != nullptr) {
        delete reinterpret_cast<std::string*>(record->GetExtData());
        record->SetExtData(reinterpret_cast<DWORD_PTR>(new std::string(parent + newName + "/")));
    }
    RefreshFolder();
}

void CServerTreeCtrl::DeleteSelected() {
    HTREEITEM selected = GetSelectedItem();
    if (selected == nullptr || IsSpecialNode(selected, true)) return;
    std::string label = GetItemText(selected);
    std::string caption = LoadResourceString(kDeleteCaptionString);
    if (IsSpecialNode(selected, false)) {
        std::string question = LoadAndFormat(kUnregisterQuestionString, label.c_str());
        if (MessageBoxA(m_hWnd, question.c_str(), caption.c_str(), MB_YESNO) != IDYES) return;
        if (m_pOwnerView != nullptr) m_pOwnerView->RemoveRegisteredFolder(selected);
        DeleteItem(selected);
        return;
    }
    std::string question = LoadAndFormat(kDeleteQuestionString, label.c_str());
    if (MessageBoxA(m_hWnd, question.c_str(), caption.c_str(), MB_YESNO) != IDYES) return;
    if (Session().RemoveItems(GetFolderPath(selected)) != 0) SelectParentFolder();
}

void CServerTreeCtrl::NewFolder() {
    HTREEITEM selected = GetSelectedItem();
    if (selected == nullptr) return;
    if (IsServerHome(selected)) {
        if (MainWindowLink* link = GetMainWindowLink(); link != nullptr) link->AddFolderCommand();
    } else if (m_pServerList != nullptr) {
        m_pServerList->NewFolder();
    }
}

void CServerTreeCtrl::UploadHere() {
    HTREEITEM selected = GetSelectedItem();
    if (selected == nullptr || IsServerHome(selected)) return;
    if (MainWindowLink* link = GetMainWindowLink(); link != nullptr) link->UploadCommand();
}

void CServerTreeCtrl::ApplyMenuRules(CMenu* popup, HTREEITEM item) const {
    if (popup == nullptr) return;
    std::vector<UINT> grayed;
    if (IsServerHome(item)) {
        grayed = {kCmdUploadHere, kCmdRename, kCmdDelete, kCmdShare};
    } else if (IsSpecialNode(item, true)) {
        grayed = {kCmdRename, kCmdDelete};
    }
    for (UINT id : grayed) popup->EnableMenuItem(id, MF_BYCOMMAND | MF_GRAYED);
}

void CServerTreeCtrl::TrackMenu(HTREEITEM item, POINT screen) {
    CMenu menu;
    if (!menu.LoadMenu(kMenuId)) return;
    if (CMenu* popup = menu.GetSubMenu(0); popup != nullptr) {
        ApplyMenuRules(popup, item);
        popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, this);
    }
    PostMessage(WM_NULL);
}

void CServerTreeCtrl::ShowContextMenu(HTREEITEM item, POINT screen) { TrackMenu(item, screen); }

void CServerTreeCtrl::OnRightButtonDown(POINT client) {
    HTREEITEM hit = HitTestNode(client);
    if (hit != nullptr) SelectItem(hit);
    // A click beside every node: the rules of the selected node.
    HTREEITEM subject = hit != nullptr ? hit : GetSelectedItem();
    POINT screen{};
    GetCursorPos(&screen);
    TrackMenu(subject, screen);
}

bool CServerTreeCtrl::OnCommand(UINT id) {
    switch (id) {
    case kCmdUploadHere: UploadHere(); return true;
    case kCmdNewFolder: NewFolder(); return true;
    case kCmdRename: StartRename(); return true;
    case kCmdDelete: DeleteSelected(); return true;
    case kCmdShare: return true;
    case kCmdRefresh: RefreshFolder(); return true;
    default: return false;
    }
}

void CServerTreeCtrl::GoUp(HTREEITEM) { SelectParentFolder(); }
void CServerTreeCtrl::Refresh(HTREEITEM item) { RefreshFolder(item); }

void CServerTreeCtrl::SendSelectionNotify(CObject* notify) {
    if (auto* selection = dynamic_cast<CUITreeNotify*>(notify); selection != nullptr) RefreshFolder(selection->m_hItem);
    CUITreeCtrl::SendSelectionNotify(notify);
}

void CServerTreeCtrl::OnDropFiles(HDROP drop) {
    std::string first = DroppedName(drop, 0, kFirstNameSize);
    // A "/" marks server entries: the server list's own rows.
    if (first.find('/') == std::string::npos) {
        POINT point{};
        DragQueryPoint(drop, &point);
        if (std::string path = GetFolderPath(HitTestNode(point)); !path.empty()) TransferDroppedFiles(1, path, drop);
    }
    DragFinish(drop);
}

void CServerTreeCtrl::TransferDroppedFiles(int direction, const std::string& target, HDROP drop) {
    std::string first = DroppedName(drop, 0, kFirstNameSize);
    if (target.empty() || first.empty()) return;
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    std::vector<std::string> names;
    for (UINT i = 0; i < count; ++i) names.push_back(DroppedName(drop, i, kNameSize));
    if (direction == 1) {
        auto list = std::make_unique<TransferList>(0);
        std::size_t cut = first.find_last_of('\\');
        list->SetBaseFolder(cut == std::string::npos ? std::string() : first.substr(0, cut + 1));
        for (const std::string& name : names) AddLocalItem(*list, name);
        StartTransfer(1, target, std::move(list), 1);
        return;
    }
    std::string local = target;
    WithBackslash(local);
    StartTransfer(0, local, BuildDownloadList(Session(), names, ListLookup()), 1);
}

void CServerTreeCtrl::UploadItemsHere(const TransferList& items) {
    CWaitCursor wait;
    std::string target = GetCurrentFolderPath();
    if (target.empty() || items.Count() == 0) return;
    auto list = std::make_unique<TransferList>(0);
    list->SetBaseFolder(items.ItemAt(0).FolderPart());
    for (std::size_t i = 0; i < items.Count(); ++i) {
        std::string path = items.ItemAt(i).m_strPath;
        if (path.size() > 1 && path.back() == '\\') path.pop_back();
        AddLocalItem(*list, path);
    }
    StartTransfer(1, target, std::move(list), 1);
}

void CServerTreeCtrl::DownloadServerPaths(const std::string& target, const std::vector<std::string>* paths, int noWait) {
    CWaitCursor wait;
    if (target.empty() || paths == nullptr || paths->empty()) return;
    std::string local = target;
    WithBackslash(local);
    StartTransfer(0, local, BuildDownloadList(Session(), *paths, ListLookup()), noWait);
}

ServerEntryLookup CServerTreeCtrl::ListLookup() const {
    return m_pServerList != nullptr ? m_pServerList->EntryLookup() : ServerEntryLookup{};
}

BOOL CServerTreeCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_NOTIFY && lParam != 0) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        switch (header->code) {
        case TVN_BEGINLABELEDITA:
            ServerLabelEditing() = true;
            *result = 0;
            return TRUE;
        case TVN_ENDLABELEDITA: {
            ServerLabelEditing() = false;
            auto* info = reinterpret_cast<NMTVDISPINFOA*>(header);
            if (info->item.pszText != nullptr) RenameFolder(info->item.hItem, info->item.pszText);
            // The label changes only through a successful rename, never by the control itself.
            *result = 0;
            return TRUE;
        }
        case NM_RCLICK:
            // The menu came with the button going down.
            *result = 1;
            return TRUE;
        default: break;
        }
    }
    return CUITreeCtrl::OnChildNotify(message, wParam, lParam, result);
}

LRESULT CServerTreeCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_RBUTTONDOWN: {
        LRESULT result = CUITreeCtrl::WindowProc(message, wParam, lParam);
        OnRightButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return result;
    }
    case WM_COMMAND:
        if (lParam == 0 && OnCommand(LOWORD(wParam))) return 0;
        break;
    case WM_DROPFILES: OnDropFiles(reinterpret_cast<HDROP>(wParam)); return 0;
    // The toolkit's own delete would drop the node from view only.
    case UWM_LIST_DELETE: DeleteSelected(); return 0;
    case UWM_LIST_EDIT_LABEL: StartRename(); return 0;
    default: break;
    }
    return CUITreeCtrl::WindowProc(message, wParam, lParam);
}
