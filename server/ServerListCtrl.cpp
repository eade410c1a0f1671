// The server file list; see ServerListCtrl.h.
#include "server/ServerListCtrl.h"

#include <cstring>

#include "dragdrop/ServerDragBlock.h"
#include "misc/ReportBox.h"
#include "platform/ole/OleDataSource.h"
#include "platform/shell/FileInfo.h"
#include "platform/window/AfxWaitCursor.h"
#include "platform/window/ClipboardFormat.h"
#include "platform/window/MessageBox.h"
#include "platform/window/VirtualKeys.h"
#include "res/Resources.h"
#include "server/ServerEntryText.h"
#include "server/ServerFileList.h"
#include "server/ServerListCompare.h"
#include "server/ServerPaneState.h"
#include "server/ServerTreeCtrl.h"
#include "session/DecimalText.h"
#include "session/PlainName.h"
#include "session/ServerSession.h"
#include "session/SplitFields.h"
#include "transfer/MainWindowLink.h"

IMPLEMENT_DYNCREATE(CServerListCtrl, CUIODListCtrl)

namespace {

constexpr UINT kFolderTypeString = 3;
constexpr UINT kNewFolderString = 8;
constexpr UINT kDeleteQuestionString = 29;
constexpr UINT kRowCountString = 30;
constexpr UINT kDeleteCaptionString = 31;
constexpr UINT kFolderIconId = 235;
constexpr int kSortTypes[] = {kServerSortText, kServerSortNumber, kServerSortText, kServerSortDate};

CServerFileList* NewRecord(int folder, const std::vector<std::string>& elements) {
    auto* record = new CServerFileList;
    record->m_nFolder = folder;
    record->m_strSize = elements[1];
    record->m_strDate = elements[3];
    record->m_strTime = elements[4];
    return record;
}

} // namespace

CServerListCtrl::CServerListCtrl(ServerSession* session)
    : CUIODListCtrl(false), m_pSession(session), m_folderTypeName(LoadResourceString(kFolderTypeString)) {
    // Dropped files come as the shell's dropped-files message, not through an OLE drop target.
    SetAcceptDropFiles(true);
}

CServerListCtrl::~CServerListCtrl() {
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) DestroyWindow();
    FreeAllRecords();
}

ServerSession& CServerListCtrl::Session() const { return m_pSession != nullptr ? *m_pSession : TheServerSession(); }

void CServerListCtrl::SetUpColumns() {
    ModifyStyle(0, LVS_EDITLABELS);
    InitListCtrl(LoadResourceString(16).c_str(), "ServerListCtrl");
}

void CServerListCtrl::SetUpImageLists() {
    SHFILEINFOA info;
    auto small = reinterpret_cast<HIMAGELIST>(SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    auto large = reinterpret_cast<HIMAGELIST>(SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_LARGEICON));
    HICON icon = LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(kFolderIconId));
    if (small != nullptr && icon != nullptr) {
        m_nFolderIcon = ImageList_AddIcon(small, icon);
    }
    if (large != nullptr && icon != nullptr && m_nFolderIcon >= 0) {
        if (ImageList_GetImageCount(large) < m_nFolderIcon + 1) ImageList_SetImageCount(large, static_cast<UINT>(m_nFolderIcon + 1));
        ImageList_ReplaceIcon(large, m_nFolderIcon, icon);
    }
    SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(small));
    SendMessage(LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(large));
}

void CServerListCtrl::ReleaseImageLists() {
    // The system lists are shared: detached, never destroyed with the control.
    SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL, 0);
    SendMessage(LVM_SETIMAGELIST, LVSIL_NORMAL, 0);
}

int CServerListCtrl::AddServerEntry(const std::string& line, std::string* folderName) {
    std::vector<std::string> elements;
    SplitFields(line, elements, 6, false, ' ');
    if (elements.size() != 6) return -1;
    const std::string& name = elements[5];
    // A name that is not one plain name would become a path of later requests and downloads, and
    // a garbled size has no meaning: such lines are passed over like short ones.
    if (!IsPlainName(name) || !ReadDecimal(elements[1])) return -1;
    bool folder = elements[0] == "D";
    if (folder && folderName != nullptr) *folderName = name;
    SHFILEINFOA info;
    if (!folder) {
        SHGetFileInfoA(name.c_str(), 0, &info, sizeof info, SHGFI_USEFILEATTRIBUTES | SHGFI_SMALLICON | SHGFI_SYSICONINDEX);
    }
    int row = AddTextItem(0, name.c_str(), folder ? m_nFolderIcon : info.iIcon);
    auto* cells = dynamic_cast<CUIStrListCtrlData*>(GetRowData(row));
    if (row < 0 || cells == nullptr) return -1;
    AttachRecord(cells, NewRecord(folder ? 1 : 0, elements));
    if (folder) {
        cells->SetString(kColumnType, m_folderTypeName);
    } else {
        cells->SetString(kColumnSize, FormatSizeKB(elements[1]));
        SHGetFileInfoA(name.c_str(), 0, &info, sizeof info, SHGFI_USEFILEATTRIBUTES | SHGFI_TYPENAME);
        cells->SetString(kColumnType, info.szTypeName);
        SetItemState(row, INDEXTOSTATEIMAGEMASK(1), LVIS_STATEIMAGEMASK);
    }
    cells->SetString(kColumnDate, FormatServerDate(elements[3], elements[4]));
    return row;
}

void CServerListCtrl::AttachRecord(CUIListCtrlData* row, CServerFileList* record) {
    m_records.emplace(record, std::unique_ptr<CServerFileList>(record));
    row->SetExtData(reinterpret_cast<DWORD_PTR>(record));
}

void CServerListCtrl::FreeRecord(DWORD_PTR record) { m_records.erase(reinterpret_cast<CServerFileList*>(record)); }

void CServerListCtrl::FreeAllRecords() { m_records.clear(); }

const CServerFileList* CServerListCtrl::GetRecord(int row) const {
    return reinterpret_cast<const CServerFileList*>(GetUserData(row));
}

bool CServerListCtrl::GetServerEntryInfo(const std::string& name, int& folder, std::string& size, std::string& date,
                                         std::string& time) const {
    int row = FindRowByText(name, kColumnName);
    const CServerFileList* record = row >= 0 ? GetRecord(row) : nullptr;
    if (record == nullptr) return false;
    folder = record->m_nFolder;
    size = record->m_strSize;
    date = record->m_strDate;
    time = record->m_strTime;
    return true;
}

ServerEntryLookup CServerListCtrl::EntryLookup() const {
    auto entries = std::make_shared<std::unordered_map<std::string, ServerEntryInfo>>();
    for (int row = 0, rows = GetItemCount(); row < rows; ++row) {
        ServerEntryInfo info;
        if (const CServerFileList* record = GetRecord(row); record != nullptr) {
            info = ServerEntryInfo{record->m_nFolder == 1, record->m_strSize, record->m_strDate, record->m_strTime};
        }
        entries->emplace(GetCellText(row, kColumnName), std::move(info));
    }
    return [entries](const std::string& name) {
        auto found = entries->find(name);
        return found == entries->end() ? ServerEntryInfo{} : found->second;
    };
}

void CServerListCtrl::GetSelectedServerPaths(std::vector<std::string>& paths) const {
    std::string folder = CurrentFolderPath();
    for (int row : GetSelectedRows()) paths.push_back(folder + GetCellText(row, kColumnName));
}

int CServerListCtrl::FindRowByText(const std::string& text, int column) const {
    int count = GetItemCount();
    for (int row = 0; row < count; ++row) {
        if (GetCellText(row, column) == text) return row;
    }
    return -1;
}

std::string CServerListCtrl::FormatSizeKB(const std::string& sizeText) { return ::FormatSizeKB(sizeText); }

std::string CServerListCtrl::CurrentFolderPath() const {
    return m_pServerTree != nullptr ? m_pServerTree->GetCurrentFolderPath() : std::string();
}

void CServerListCtrl::RefreshTree() {
    if (m_pServerTree != nullptr) m_pServerTree->RefreshFolder();
}

int CServerListCtrl::CompareItems(const CUIListCtrlData* first, const CUIListCtrlData* second, const SortRecord& sort) {
    const auto* a = dynamic_cast<const CUIStrListCtrlData*>(first);
    const auto* b = dynamic_cast<const CUIStrListCtrlData*>(second);
    if (a == nullptr || b == nullptr || sort.column < 0 || sort.column >= a->GetColumnCount() || sort.column >= b->GetColumnCount()) {
        return 0;
    }
    int type = sort.column < static_cast<int>(std::size(kSortTypes)) ? kSortTypes[sort.column] : kServerSortText;
    return CompareServerCells(type, a->GetString(sort.column), b->GetString(sort.column));
}

void CServerListCtrl::SortColumn(int column) {
    // A new column starts descending; the same column turns round.
    bool ascending = column == GetSortColumn() ? !IsSortAscending() : false;
    SortByColumn(column, ascending);
}

void CServerListCtrl::Resort() {
    if (GetSortColumn() >= 0) SortByColumn(GetSortColumn(), IsSortAscending());
}

BOOL CServerListCtrl::ColumnClick(int column) {
    SortColumn(column);
    return TRUE;
}

void CServerListCtrl::NewFolder() {
    SetFocus();
    std::string folder = CurrentFolderPath();
    // The server-home node has no folder to create in.
    if (folder.empty()) return;
    std::string base = LoadResourceString(kNewFolderString);
    std::string folderType = LoadResourceString(kFolderTypeString);
    int count = 0;
    for (int row = 0, rows = GetItemCount(); row < rows; ++row) {
        if (GetCellText(row, kColumnType) == folderType && GetCellText(row, kColumnName).compare(0, base.size(), base) == 0) ++count;
    }
    std::string name = count == 0 ? base : base + std::to_string(count);
    Session().MakeFolder(folder, name);
    RefreshTree();
    if (int row = FindRowByText(name, kColumnName); row >= 0) EditLabel(row);
}

void CServerListCtrl::DeleteSelected() {
    std::vector<int> rows = GetSelectedRows();
    if (rows.empty()) return;
    std::string subject = rows.size() == 1 ? GetCellText(rows.front(), kColumnName)
                                           : LoadAndFormat(kRowCountString, static_cast<int>(rows.size()));
    std::string question = LoadAndFormat(kDeleteQuestionString, subject.c_str());
    std::string caption = LoadResourceString(kDeleteCaptionString);
    if (MessageBoxA(m_hWnd, question.c_str(), caption.c_str(), MB_YESNO) != IDYES) return;
    std::vector<std::string> names;
    for (int row : rows) names.push_back(GetCellText(row, kColumnName));
    Session().RemoveItems(CurrentFolderPath(), &names);
    RefreshTree();
    if (MainWindowLink* link = GetMainWindowLink(); link != nullptr) link->RefreshQuota();
}

void CServerListCtrl::StartRename() {
    if (int row = GetNextItem(-1, LVNI_SELECTED); row >= 0) EditLabel(row);
}

void CServerListCtrl::SelectAllRows() {
    for (int row = 0, rows = GetItemCount(); row < rows; ++row) {
        SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
        EnsureVisible(row, FALSE);
    }
}

BOOL CServerListCtrl::EndLabelEdit(int row, int column, LPCSTR text) {
    ServerLabelEditing() = false;
    std::string oldName = GetCellText(row, kColumnName);
    std::string newName = text != nullptr ? text : "";
    if (!newName.empty() && oldName != newName) {
        Session().RenameItem(CurrentFolderPath(), oldName, newName);
        RefreshTree();
    }
    return CUIODListCtrl::EndLabelEdit(row, column, text);
}

BOOL CServerListCtrl::DoubleClick(int row, int) {
    const CServerFileList* record = row >= 0 ? GetRecord(row) : nullptr;
    if (record != nullptr && record->m_nFolder == 1 && m_pServerTree != nullptr) {
        m_pServerTree->SelectChildFolder(GetCellText(row, kColumnName));
    }
    return TRUE;
}

BOOL CServerListCtrl::BeginDrag(const NMLISTVIEW&, bool) {
    std::vector<std::string> paths;
    GetSelectedServerPaths(paths);
    if (paths.empty()) return TRUE;
    COleDataSource source;
    source.CacheGlobalData(CF_HDROP, CreateServerDragBlock(paths));
    // The drop target starts the download itself; the outcome is not ours to act on.
    source.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE);
    return TRUE;
}

void CServerListCtrl::OnDropFiles(HDROP drop) {
    std::vector<std::string> names = ostrana::DragQueryFiles(drop);
    // A "/" marks server entries: the list's own rows dropped back on it.
    if (!names.empty() && names.front().find('/') == std::string::npos && m_pServerTree != nullptr) {
        m_pServerTree->TransferDroppedFiles(1, CurrentFolderPath(), drop);
    }
    DragFinish(drop);
}

void CServerListCtrl::ShowContextMenu(int, int, POINT screen) {
    CMenu menu;
    if (!menu.LoadMenu(kMenuId)) return;
    if (CMenu* popup = menu.GetSubMenu(0); popup != nullptr) {
        popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, this);
    }
    PostMessage(WM_NULL);
}

bool CServerListCtrl::OnCommand(UINT id) {
    MainWindowLink* link = GetMainWindowLink();
    switch (id) {
    case kCmdParent:
        if (m_pServerTree != nullptr) m_pServerTree->SelectParentFolder();
        return true;
    case kCmdUpload:
        if (link != nullptr) link->UploadCommand();
        return true;
    case kCmdDownload:
        if (link != nullptr) link->DownloadCommand();
        return true;
    case kCmdNewFolder: NewFolder(); return true;
    case kCmdRename: StartRename(); return true;
    case kCmdDelete: DeleteSelected(); return true;
    case kCmdRefresh: RefreshTree(); return true;
    default: return false;
    }
}

BOOL CServerListCtrl::PreTranslateMessage(MSG* msg) {
    if (msg->hwnd == m_hWnd && msg->message == WM_KEYDOWN && msg->wParam == VK_DELETE) {
        DeleteSelected();
        return TRUE;
    }
    return CUIODListCtrl::PreTranslateMessage(msg);
}

BOOL CServerListCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_NOTIFY && lParam != 0) {
        switch (reinterpret_cast<NMHDR*>(lParam)->code) {
        case LVN_BEGINLABELEDITA:
            ServerLabelEditing() = true;
            *result = 0;
            return TRUE;
        case LVN_ENDLABELEDITA:
            // A cancelled edit ends editing too, though no rename follows.
            ServerLabelEditing() = false;
            break;
        default: break;
        }
    }
    return CUIODListCtrl::OnChildNotify(message, wParam, lParam, result);
}

LRESULT CServerListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (lParam == 0 && OnCommand(LOWORD(wParam))) return 0;
        break;
    case WM_DROPFILES: OnDropFiles(reinterpret_cast<HDROP>(wParam)); return 0;
    case UWM_LIST_DELETE: DeleteSelected(); break;
    case UWM_LIST_REFRESH_VIEW: RefreshTree(); return 0;
    case LVM_DELETEITEM: {
        DWORD_PTR record = GetUserData(static_cast<int>(wParam));
        LRESULT result = CUIODListCtrl::WindowProc(message, wParam, lParam);
        if (result != 0) FreeRecord(record);
        return result;
    }
    case LVM_DELETEALLITEMS: {
        LRESULT result = CUIODListCtrl::WindowProc(message, wParam, lParam);
        FreeAllRecords();
        return result;
    }
    case WM_DESTROY: ReleaseImageLists(); break;
    default: break;
    }
    return CUIODListCtrl::WindowProc(message, wParam, lParam);
}
