// The local list's actions: open, new folder, rename, delete, property sheets, the context
// menus, the drag of rows out and the drops on the list. File operations never reach outside the
// folder the list shows.
#include <cstdio>

#include "dragdrop/CCF_HDROP.h"
#include "dragdrop/CCF_ShellIDList.h"
#include "dragdrop/CCF_String.h"
#include "dragdrop/ClipboardFormats.h"
#include "misc/ReportBox.h"
#include "platform/base/FileApi.h"
#include "platform/shell/FileOperation.h"
#include "platform/window/ClipboardFormat.h"
#include "server/ServerPaneState.h"
#include "server/ServerTreeCtrl.h"
#include "shell/IEShellListCtrl.h"
#include "shell/IEShellTreeCtrl.h"
#include "shell/LocalFileOps.h"
#include "shell/ShellContextMenu.h"

namespace {

constexpr UINT kFolderTypeString = 3;
constexpr UINT kNewFolderString = 8;
constexpr UINT kFirstNameSize = 2048;

std::string FirstDroppedName(HDROP drop) {
    char name[kFirstNameSize] = {};
    DragQueryFileA(drop, 0, name, sizeof name);
    return name;
}

// Server paths hold a "/" past their first character; local paths never do.
bool IsServerName(const std::string& name) { return name.find('/', 1) != std::string::npos; }

} // namespace

int CIEShellListCtrl::FindRowByName(const std::string& name) const {
    for (int row = 0; row < GetItemCount(); ++row) {
        if (GetItemText(row, kColumnName) == name) return row;
    }
    return -1;
}

void CIEShellListCtrl::OpenRow(int row, LPCSTR verb) {
    if (const ShellItemData* data = GetShellItem(row); data != nullptr) ShellNamespace::Execute(m_hWnd, data->Absolute(), verb);
}

BOOL CIEShellListCtrl::EnterPressed(int) {
    OpenRow(GetNextItem(-1, LVNI_SELECTED), nullptr);
    return TRUE;
}

BOOL CIEShellListCtrl::DoubleClick(int row, int) {
    if (!m_settings.DoubleClickInWebView()) return TRUE;
    const ShellItemData* data = GetShellItem(row);
    if (data == nullptr) return TRUE;
    CIEShellTreeCtrl* tree = GetIEShellTreeCtrl();
    if (data->Has(SFGAO_FOLDER) && tree != nullptr && GetItemText(row, kColumnType) == LoadResourceString(kFolderTypeString)) {
        tree->SelectChildByName(GetItemText(row, kColumnName));
        return TRUE;
    }
    OpenRow(row, nullptr);
    return TRUE;
}

void CIEShellListCtrl::NewFolder() {
    SetFocus();
    CIEShellTreeCtrl* tree = GetIEShellTreeCtrl();
    std::string folder = tree != nullptr ? tree->GetCurrentFolderPath() : m_path;
    if (folder.empty()) return;
    std::vector<LocalRowKind> rows;
    for (int row = 0; row < GetItemCount(); ++row) rows.push_back({GetItemText(row, kColumnName), GetItemText(row, kColumnType)});
    std::string name = NextNewFolderName(rows, LoadResourceString(kNewFolderString), LoadResourceString(kFolderTypeString));
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    CreateDirectoryA((folder + "\\" + name).c_str(), nullptr);
    RefreshList();
    if (int row = FindRowByName(name); row >= 0) EditLabel(row);
}

BOOL CIEShellListCtrl::EndLabelEdit(int row, int column, LPCSTR text) {
    if (column == kColumnName && text != nullptr) RenameRow(row, text);
    return FALSE;
}

void CIEShellListCtrl::RenameRow(int row, const std::string& typed) {
    std::string oldPath = GetRowPath(row);
    if (oldPath.empty()) return;
    std::optional<std::string> newPath = RenameTarget(oldPath, typed, m_settings.ShowExtensions());
    if (!newPath || *newPath == oldPath || newPath->size() >= MAX_PATH || oldPath.size() >= MAX_PATH) return;
    ShellNamespace::FileOperation(m_hWnd, FO_RENAME, ShellNamespace::SingleNameBuffer(oldPath), ShellNamespace::SingleNameBuffer(*newPath),
                                  0);
    RefreshList();
}

void CIEShellListCtrl::DeleteSelected(bool removeForGood) {
    m_autoRefresh = false;
    std::vector<std::string> paths;
    GetSelectedPaths(paths);
    std::optional<std::string> buffer = DeleteBuffer(m_path, paths);
    m_autoRefresh = true;
    if (paths.empty() || !buffer) return;
    ShellNamespace::FileOperation(m_hWnd, FO_DELETE, *buffer, {}, removeForGood ? 0 : FOF_ALLOWUNDO);
    // The folder watcher refreshes the list; without one the list does it now.
    if (m_watcher.Count() == 0) RefreshList();
}

void CIEShellListCtrl::ShowProperties(int row) { ShellNamespace::ExecutePath(m_hWnd, GetRowPath(row), "properties"); }

void CIEShellListCtrl::ShowSelectedProperties() {
    for (int row : GetSelectedRows()) ShowProperties(row);
}

void CIEShellListCtrl::ShowShellContextMenu(POINT screen) {
    std::vector<LPCITEMIDLIST> items;
    for (int row : GetSelectedRows()) {
        if (const ShellItemData* data = GetShellItem(row); data != nullptr) items.push_back(data->Relative());
    }
    // A chosen command may have changed the folder.
    if (ShellContextMenu::Show(m_hWnd, m_folder.Get(), items, screen, &m_contextMenu) >= 0) RefreshList();
}

void CIEShellListCtrl::ShowContextMenu(int row, int column, POINT screen) {
    if (row >= 0 && column == kColumnName && m_folder) {
        ShowShellContextMenu(screen);
        return;
    }
    TrackListMenu(screen);
}

DROPEFFECT CIEShellListCtrl::FillDataSource(COleDataSource* dataSource) {
    std::vector<int> rows = GetSelectedRows();
    if (dataSource == nullptr || rows.empty()) return DROPEFFECT_NONE;
    CCF_ShellIDList ids;
    ids.Add(m_folderAbsolute.Get());
    CCF_HDROP files;
    std::string text;
    ULONG granted = SFGAO_CANCOPY | SFGAO_CANMOVE | SFGAO_CANLINK;
    for (int row : rows) {
        const ShellItemData* data = GetShellItem(row);
        if (data == nullptr) continue;
        ids.Add(data->Relative());
        granted &= ShellNamespace::Attributes(m_folder.Get(), data->Relative(), SFGAO_CANCOPY | SFGAO_CANMOVE | SFGAO_CANLINK);
        if (std::string path = ShellNamespace::PathOf(data->Absolute()); !path.empty()) {
            files.AddFileName(path);
            text += path + "\n";
        }
    }
    CClipboardFormats::PutOnDataSource(dataSource, &ids, CFI_SHELLIDLIST);
    if (files.GetCount() > 0) CClipboardFormats::PutOnDataSource(dataSource, &files, CFI_HDROP);
    CCF_String texts(text);
    CClipboardFormats::PutOnDataSource(dataSource, &texts, CFI_TEXT);
    // The shell's grant bits are the drop effects of the same names.
    return static_cast<DROPEFFECT>(granted & (DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK));
}

bool CIEShellListCtrl::HasServerItems(COleDataObject* data) {
    if (data == nullptr) return false;
    CCF_HDROP files;
    if (CClipboardFormats::GetFromDataObject(data, &files, CFI_HDROP)) {
        for (int i = 0; i < files.GetCount(); ++i) {
            if (IsServerName(files.GetFileName(i))) return true;
        }
    }
    return false;
}

ShellPtr<IDropTarget> CIEShellListCtrl::DropTargetAt(int row) {
    ShellPtr<IDropTarget> target;
    if (!m_folder) return target;
    if (const ShellItemData* data = GetShellItem(row); data != nullptr && data->Has(SFGAO_FOLDER)) {
        LPCITEMIDLIST id = data->Relative();
        if (SUCCEEDED(m_folder->GetUIObjectOf(m_hWnd, 1, &id, IID_IDropTarget, nullptr, target.OutVoid())) && target) return target;
    }
    if (!m_folderAbsolute || ILIsEmpty(m_folderAbsolute.Get())) return ShellPtr<IDropTarget>();
    ShellPtr<IShellFolder> parent = m_parentFolder;
    if (!parent) {
        ShellIdList parentList(ILClone(m_folderAbsolute.Get()));
        ILRemoveLastID(parentList.Get());
        parent = ILIsEmpty(parentList.Get()) ? m_desktop : ShellNamespace::Bind(m_desktop.Get(), parentList.Get());
    }
    LPCITEMIDLIST id = ILFindLastID(m_folderAbsolute.Get());
    if (!parent || FAILED(parent->GetUIObjectOf(m_hWnd, 1, &id, IID_IDropTarget, nullptr, target.OutVoid()))) target.Reset();
    return target;
}

LRESULT CIEShellListCtrl::DragEnter(CDD_OleDropTargetInfo* info) {
    if (info == nullptr) return 0;
    if (HasServerItems(info->GetDataObject())) {
        info->SetDropEffect(DROPEFFECT_COPY);
        return 1;
    }
    m_dropTarget = DropTargetAt(info->GetItem());
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    POINT screen = info->GetPoint();
    ClientToScreen(&screen);
    if (!m_dropTarget || FAILED(m_dropTarget->DragEnter(info->GetDataObject()->GetIDataObject(FALSE), info->GetKeyboardState(),
                                                       POINTL{screen.x, screen.y}, &effect))) {
        effect = DROPEFFECT_NONE;
    }
    info->SetDropEffect(effect);
    return 1;
}

LRESULT CIEShellListCtrl::DragOver(CDD_OleDropTargetInfo* info) {
    if (info == nullptr) return 0;
    if (HasServerItems(info->GetDataObject())) {
        info->SetDropEffect(DROPEFFECT_COPY);
        return 1;
    }
    ShellPtr<IDropTarget> target = DropTargetAt(info->GetItem());
    POINT screen = info->GetPoint();
    ClientToScreen(&screen);
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    if (target.Get() != m_dropTarget.Get()) {
        // The cursor moved onto another folder: the old target is left, the new one entered.
        if (m_dropTarget) m_dropTarget->DragLeave();
        m_dropTarget = target;
        if (m_dropTarget && FAILED(m_dropTarget->DragEnter(info->GetDataObject()->GetIDataObject(FALSE), info->GetKeyboardState(),
                                                          POINTL{screen.x, screen.y}, &effect))) {
            m_dropTarget.Reset();
        }
    }
    if (!m_dropTarget || FAILED(m_dropTarget->DragOver(info->GetKeyboardState(), POINTL{screen.x, screen.y}, &effect))) {
        effect = DROPEFFECT_NONE;
    }
    info->SetDropEffect(effect);
    return 1;
}

LRESULT CIEShellListCtrl::DragLeave(CDD_OleDropTargetInfo*) {
    if (m_dropTarget) m_dropTarget->DragLeave();
    m_dropTarget.Reset();
    return 1;
}

LRESULT CIEShellListCtrl::Drop(CDD_OleDropTargetInfo* info) {
    if (info == nullptr || info->GetDataObject() == nullptr) return 0;
    COleDataObject* data = info->GetDataObject();
    if (HasServerItems(data)) {
        // Server items never go to the shell: they are downloaded into the tree's folder.
        if (m_dropTarget) m_dropTarget->DragLeave();
        m_dropTarget.Reset();
        if (HGLOBAL block = data->GetGlobalData(CF_HDROP); block != nullptr) {
            auto drop = reinterpret_cast<HDROP>(block);
            DownloadServerItems(drop);
            DragFinish(drop);
        }
        return 1;
    }
    ShellPtr<IDropTarget> target = m_dropTarget ? m_dropTarget : DropTargetAt(info->GetItem());
    m_dropTarget.Reset();
    if (!target) return 0;
    POINT screen = info->GetPoint();
    ClientToScreen(&screen);
    DWORD effect = info->GetDropEffect();
    HRESULT result = target->Drop(data->GetIDataObject(FALSE), info->GetKeyboardState(), POINTL{screen.x, screen.y}, &effect);
    return SUCCEEDED(result) ? 1 : 0;
}

void CIEShellListCtrl::DownloadServerItems(HDROP drop) {
    CIEShellTreeCtrl* tree = GetIEShellTreeCtrl();
    CServerTreeCtrl* server = GetServerTreeCtrl();
    std::string target = tree != nullptr ? tree->GetCurrentFolderPath() : std::string();
    if (server == nullptr || target.empty()) return;
    m_autoRefresh = false;
    server->TransferDroppedFiles(0, target, drop);
}

void CIEShellListCtrl::OnDropFiles(HDROP drop) {
    if (!IsServerDropName(FirstDroppedName(drop))) {
        // Local files keep the toolkit's handling, which finishes the drop itself.
        CUIODListCtrl::WindowProc(WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
        return;
    }
    DownloadServerItems(drop);
    DragFinish(drop);
}
