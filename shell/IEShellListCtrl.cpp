// The local file list: its life, messages, navigation and fill; see IEShellListCtrl.h. The
// column texts are in IEShellListText.cpp, the file operations and drag and drop in
// IEShellListOps.cpp.
#include "shell/IEShellListCtrl.h"

#include <algorithm>

#include "platform/base/FileApi.h"
#include "platform/shell/AfxMessageBox.h"
#include "platform/shell/FileInfo.h"
#include "platform/window/AfxWaitCursor.h"
#include "platform/window/Input.h"
#include "platform/window/VirtualKeys.h"
#include "shell/IEShellTreeCtrl.h"
#include "ui/UITreeCtrl.h"

IMPLEMENT_DYNAMIC(CIEShellListCtrl, CUIODListCtrl)

namespace {

CIEShellListCtrl* g_list = nullptr;

} // namespace

CIEShellListCtrl* GetIEShellListCtrl() { return g_list; }

CIEShellListCtrl::CIEShellListCtrl()
    : CUIODListCtrl(true), m_desktop(ShellNamespace::Desktop()), m_internet(ShellNamespace::SpecialFolder(CSIDL_INTERNET)) {
    SHGetMalloc(m_malloc.Out());
    g_list = this;
}

CIEShellListCtrl::~CIEShellListCtrl() {
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) DestroyWindow();
    m_watcher.StopAll();
    if (g_list == this) g_list = nullptr;
}

ShellItemData* CIEShellListCtrl::GetShellItem(int row) const {
    const CUIListCtrlData* data = GetRowData(row);
    return data != nullptr ? reinterpret_cast<ShellItemData*>(data->GetExtData()) : nullptr;
}

std::string CIEShellListCtrl::GetRowPath(int row) const {
    if (row < 0) row = GetNextItem(-1, LVNI_SELECTED);
    const ShellItemData* data = GetShellItem(row);
    return data != nullptr ? ShellNamespace::PathOf(data->Absolute()) : std::string();
}

int CIEShellListCtrl::GetSelectedPaths(std::vector<std::string>& paths) const {
    int count = 0;
    for (int row : GetSelectedRows()) {
        if (std::string path = GetRowPath(row); !path.empty()) {
            paths.push_back(std::move(path));
            ++count;
        }
    }
    return count;
}

void CIEShellListCtrl::SetExcludeTypes(std::vector<std::string> types, bool on) {
    m_exclude = std::move(types);
    m_excludeOn = on;
}

void CIEShellListCtrl::SetWatching(bool on) {
    if (on) StartWatcher();
    else StopWatcher();
}

void CIEShellListCtrl::StartWatcher() { m_watcher.Start(m_hWnd, &m_autoRefresh); }
void CIEShellListCtrl::StopWatcher() { m_watcher.StopAll(); }

void CIEShellListCtrl::ReloadSettings() { m_settings.Reload(); }

void CIEShellListCtrl::SetUpImageLists() {
    SHFILEINFOA info;
    auto small = reinterpret_cast<HIMAGELIST>(SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    auto large = reinterpret_cast<HIMAGELIST>(SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX));
    if (small != nullptr) SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(small));
    if (large != nullptr) SendMessage(LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(large));
}

void CIEShellListCtrl::SetUp() {
    m_setUp = true;
    SetUpImageLists();
    m_headings = BuildHeadings();
    InitListCtrl(m_headings.c_str(), kSectionName);
}

std::string CIEShellListCtrl::BuildHeadings() {
    std::string headings;
    for (int column = 0; column < ShellItemData::kColumns; ++column) {
        std::string title;
        if (!DetailsText(nullptr, column, title)) break;
        headings += (column > 0 ? "|" : "") + title;
    }
    return headings.empty() ? std::string(kDefaultHeadings) : headings;
}

void CIEShellListCtrl::CreateColumns() { InitListCtrl(m_headings.c_str(), kSectionName); }

void CIEShellListCtrl::ReleaseFolder() {
    m_details2.Reset();
    m_details.Reset();
    m_folder.Reset();
    m_parentFolder.Reset();
    m_folderAbsolute.Reset();
    m_path.clear();
}

bool CIEShellListCtrl::HasColumnDetails() const { return m_details2 || m_details; }

void CIEShellListCtrl::NavigateTo(const ShellItemData& folder) {
    ShellPtr<IShellFolder> bound;
    if (ILIsEmpty(folder.Absolute())) bound = m_desktop;
    else if (folder.ParentFolder() != nullptr) bound = ShellNamespace::Bind(folder.ParentFolder(), folder.Relative());
    else bound = ShellNamespace::Bind(m_desktop.Get(), folder.Absolute());
    SetFolderAndFill(ShellPtr<IShellFolder>::Share(folder.ParentFolder()), std::move(bound), folder.Absolute());
}

bool CIEShellListCtrl::NavigateToPath(const std::string& path) {
    ShellIdList absolute = ShellNamespace::Parse(m_desktop.Get(), path);
    if (!absolute) return false;
    ShellPtr<IShellFolder> bound = ShellNamespace::Bind(m_desktop.Get(), absolute.Get());
    if (!bound) return false;
    SetFolderAndFill({}, std::move(bound), absolute.Get());
    return true;
}

void CIEShellListCtrl::SetFolderAndFill(ShellPtr<IShellFolder> parent, ShellPtr<IShellFolder> folder, LPCITEMIDLIST absolute) {
    ReleaseFolder();
    m_parentFolder = std::move(parent);
    m_folder = std::move(folder);
    m_folderAbsolute.Reset(ILClone(absolute));
    m_path = ShellNamespace::PathOf(absolute);
    m_sortByShell = true;
    FillWithWaitCursor();
}

void CIEShellListCtrl::FillWithWaitCursor() {
    CWaitCursor wait;
    if (!m_setUp) SetUp();
    if (!m_folder) {
        // Nothing can be shown: the rows of the folder before must not stay.
        BeginFill();
        EndFill();
        return;
    }
    m_details2.Reset();
    m_details.Reset();
    if (FAILED(m_folder->QueryInterface(IID_IShellFolder2, m_details2.OutVoid()))) m_details2.Reset();
    if (!m_details2 && FAILED(m_folder->CreateViewObject(GetSafeHwnd(), IID_IShellDetails, m_details.OutVoid()))) m_details.Reset();
    m_headings = BuildHeadings();
    CreateColumns();
    if (m_settings.DoubleClickInWebView()) SetExtendedStyle(GetExtendedStyle() & ~kOneClickStyles);
    else SetExtendedStyle(GetExtendedStyle() | kOneClickStyles);
    FillFromFolder();
}

void CIEShellListCtrl::BeginFill() {
    m_filling = true;
    DeleteAllItems();
    m_watcher.Rearm();
    RebuildIncludeList();
}

void CIEShellListCtrl::EndFill() {
    m_filling = false;
    SortByColumn(GetSortColumn() < 0 ? kColumnName : GetSortColumn(), IsSortAscending());
    if (!m_sortByShell) SizeColumns();
}

void CIEShellListCtrl::SizeColumns() {
    for (int column = 0; column < GetColumnCount(); ++column) SetColumnWidth(column, LVSCW_AUTOSIZE);
}

bool CIEShellListCtrl::NextPattern(const std::string& patterns, std::size_t& at, std::string& pattern) const {
    while (at < patterns.size()) {
        std::size_t end = patterns.find_first_of(";,", at);
        if (end == std::string::npos) end = patterns.size();
        pattern = patterns.substr(at, end - at);
        at = end + 1;
        if (!pattern.empty()) return true;
    }
    return false;
}

void CIEShellListCtrl::RebuildIncludeList() {
    m_includeFiles.clear();
    if (m_include.empty() || m_include == "*.*" || m_include == "*" || m_path.empty()) return;
    std::size_t at = 0;
    std::string pattern;
    while (NextPattern(m_include, at, pattern)) {
        WIN32_FIND_DATAA found{};
        HANDLE search = FindFirstFileA((m_path + "\\" + pattern).c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) continue;
        do {
            m_includeFiles.insert(m_path + "\\" + found.cFileName);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
}

bool CIEShellListCtrl::PassesFilters(IShellFolder*, LPCITEMIDLIST, LPCITEMIDLIST absolute) const {
    bool includeAll = m_include.empty() || m_include == "*.*" || m_include == "*";
    if (!includeAll && m_includeFiles.count(ShellNamespace::PathOf(absolute)) == 0) return false;
    if (m_excludeOn && std::find(m_exclude.begin(), m_exclude.end(), TypeNameOf(absolute)) != m_exclude.end()) return false;
    return true;
}

void CIEShellListCtrl::AddRow(ShellIdList relative, ULONG attributes) {
    auto data = std::make_unique<ShellItemData>(m_folder.Get(), std::move(relative), m_folderAbsolute.Get(), attributes);
    if (!PassesFilters(m_folder.Get(), data->Relative(), data->Absolute())) return;
    int row = AddCallBackItem(reinterpret_cast<DWORD_PTR>(data.get()));
    if (row < 0) return;
    ShellItemData* kept = m_rows.emplace_back(std::move(data)).get();
    UINT state = kept->Has(SFGAO_GHOSTED) ? LVIS_CUT : 0;
    if (kept->Has(SFGAO_SHARE)) state |= INDEXTOOVERLAYMASK(1);
    else if (kept->Has(SFGAO_LINK)) state |= INDEXTOOVERLAYMASK(2);
    if (state != 0) SetItemState(row, state, LVIS_CUT | LVIS_OVERLAYMASK);
    if (kept->Has(SFGAO_COMPRESSED) && m_settings.ShowCompressedInColour()) {
        SetRowColors(row, kCompressedColor, GetSysColor(COLOR_WINDOW));
    }
}

void CIEShellListCtrl::FillFromFolder() {
    DWORD flags = SHCONTF_FOLDERS | SHCONTF_NONFOLDERS;
    if (m_settings.ShowAllObjects() && !m_settings.ShowSystemFiles()) flags |= SHCONTF_INCLUDEHIDDEN;
    bool began = !m_filling;
    if (began) BeginFill();
    SetRedraw(FALSE);
    IShellFolder* folder = m_folder.Get();
    ShellNamespace::Enumerate(folder, ::GetParent(m_hWnd), flags, [&](ShellIdList id) {
        ULONG attributes = ShellNamespace::Attributes(folder, id.Get(), kRowMask);
        AddRow(std::move(id), attributes);
    });
    SetRedraw(TRUE);
    if (began) EndFill();
}

void CIEShellListCtrl::RefreshList() {
    m_autoRefresh = false;
    int selected = GetNextItem(-1, LVNI_SELECTED);
    SetRedraw(FALSE);
    FillWithWaitCursor();
    if (selected >= 0 && selected < GetItemCount()) {
        SetItemState(selected, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        EnsureVisible(selected, FALSE);
    }
    SetRedraw(TRUE);
    Invalidate();
    m_autoRefresh = true;
}

void CIEShellListCtrl::Refresh() { RefreshList(); }

void CIEShellListCtrl::OnTreeSelection(LPARAM notify) {
    auto* selection = dynamic_cast<CUITreeNotify*>(reinterpret_cast<CObject*>(notify));
    const auto* data = selection != nullptr ? reinterpret_cast<const ShellItemData*>(selection->m_userData) : nullptr;
    if (data == nullptr) return;
    bool internet = m_internet && ostrana::ILIsSameBytes(data->Absolute(), m_internet.Get());
    if (HWND parent = ::GetParent(m_hWnd); parent != nullptr) ::SendMessageA(parent, UWM_UI_NOTIFY, 1002, internet ? 1 : 0);
    if (!internet) NavigateTo(*data);
}

void CIEShellListCtrl::OnListRefresh(WPARAM wParam) {
    if (static_cast<int>(wParam) == -1 && !m_autoRefresh) return;
    RefreshList();
    if (m_reportRefresh) {
        if (HWND parent = ::GetParent(m_hWnd); parent != nullptr) {
            ::SendMessageA(parent, UWM_UI_NOTIFY, 1003, reinterpret_cast<LPARAM>(m_path.c_str()));
        }
    }
}

LRESULT CIEShellListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        LRESULT result = CUIODListCtrl::WindowProc(message, wParam, lParam);
        if (result != -1 && m_watchOnCreate) StartWatcher();
        return result;
    }
    case WM_DESTROY:
        SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL, 0);
        SendMessage(LVM_SETIMAGELIST, LVSIL_NORMAL, 0);
        StopWatcher();
        m_dropTarget.Reset();
        return CUIODListCtrl::WindowProc(message, wParam, lParam);
    case LVM_DELETEALLITEMS: {
        LRESULT result = CUIODListCtrl::WindowProc(message, wParam, lParam);
        m_rows.clear();
        return result;
    }
    case UWM_UI_NOTIFY:
        if (wParam == UI_NOTIFY_FOLDER_SELECTED) OnTreeSelection(lParam);
        return 0;
    case UWM_LIST_REFRESH: OnListRefresh(wParam); return 0;
    case UWM_LIST_GET_WATCH_PATH: {
        auto* buffer = reinterpret_cast<char*>(wParam);
        if (buffer == nullptr) return 0;
        std::size_t length = std::min(m_path.size(), static_cast<std::size_t>(kWatchPathSize - 1));
        std::copy_n(m_path.data(), length, buffer);
        buffer[length] = '\0';
        return 1;
    }
    case UWM_LIST_DELETE: DeleteSelected(GetKeyState(VK_SHIFT) < 0); return 0;
    case UWM_LIST_PROPERTIES: ShowSelectedProperties(); return 0;
    case UWM_GO_PARENT: AfxMessageBox("Needs to be implemented"); return 0;
    case WM_SETMESSAGESTRING:
        if (HWND parent = ::GetParent(m_hWnd); parent != nullptr) return ::SendMessageA(parent, message, wParam, lParam);
        return 0;
    case WM_SETTINGCHANGE:
        ReloadSettings();
        RefreshList();
        return 0;
    case WM_DROPFILES: OnDropFiles(reinterpret_cast<HDROP>(wParam)); return 0;
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_INITMENUPOPUP:
        if (m_contextMenu != nullptr && (message != WM_DRAWITEM || wParam == 0) && SUCCEEDED(m_contextMenu->HandleMenuMsg(message, wParam, lParam))) {
            return message == WM_INITMENUPOPUP ? 0 : TRUE;
        }
        break;
    default: break;
    }
    return CUIODListCtrl::WindowProc(message, wParam, lParam);
}

BOOL CIEShellListCtrl::OnCmdMsg(UINT id, int code) {
    switch (id) {
    case kCmdNewFolder: NewFolder(); return TRUE;
    case kCmdParent:
        if (CIEShellTreeCtrl* tree = GetIEShellTreeCtrl(); tree != nullptr) tree->PostMessage(UWM_GO_PARENT);
        return TRUE;
    case kCmdRefresh:
        m_autoRefresh = true;
        PostMessage(UWM_LIST_REFRESH);
        return TRUE;
    default: return CUIODListCtrl::OnCmdMsg(id, code);
    }
}
