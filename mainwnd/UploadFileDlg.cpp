// The dialog has no template in the module: it stands in for the system's file-open dialog, so
// it carries that dialog's texts and is laid out here.
#include "mainwnd/UploadFileDlg.h"

#include <algorithm>
#include <cstdlib>

#include "platform/base/CodePage.h"
#include "platform/base/FileApi.h"
#include "platform/base/LocalPath.h"
#include "platform/controls/CommCtrl.h"
#include "platform/window/MessageBox.h"
#include "platform/window/WindowStyles.h"

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kList = kChild | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SHOWSELALWAYS;
constexpr const char* kParentRow = "..";

std::string WithBackslash(std::string folder) {
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    return folder;
}

bool IsFolder(const std::string& folder) {
    std::string path = folder;
    // The top of a drive keeps its backslash; any other folder is asked for without it.
    if (path.size() > 3 && path.back() == '\\') path.pop_back();
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    std::string folder = home != nullptr && *home != '\0' ? ostrana::HostToLocalPath(home) : std::string("C:\\");
    return WithBackslash(folder);
}

std::vector<std::string> FindNames(const std::string& folder, const std::string& pattern, bool folders) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + pattern).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        if ((data.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0) continue;
        if (((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) == folders) names.push_back(name);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

ostrana::DialogTemplate UploadTemplate() {
    using ostrana::Utf8ToAnsi;
    ostrana::DialogTemplate dialog;
    dialog.caption = Utf8ToAnsi("열기");
    dialog.style = DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    dialog.cx = 300;
    dialog.cy = 178;
    dialog.font = Utf8ToAnsi("굴림");
    dialog.pointSize = 9;
    dialog.items = {
        {"Static", Utf8ToAnsi("찾는 위치:"), -1, kChild | SS_LEFT, 0, 7, 8, 40, 9},
        {"Static", "", IDC_UPLOAD_FOLDER_PATH, kChild | SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0, 50, 8, 243, 9},
        {WC_LISTVIEWA, "", IDC_UPLOAD_FOLDERS, kList | LVS_SINGLESEL, 0, 7, 22, 100, 124},
        {WC_LISTVIEWA, "", IDC_UPLOAD_FILES, kList, 0, 112, 22, 181, 124},
        {"Static", Utf8ToAnsi("파일 형식:"), -1, kChild | SS_LEFT, 0, 7, 158, 40, 9},
        {"ComboBox", "", IDC_UPLOAD_FILTER, kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 50, 156, 125, 60},
        {"Button", Utf8ToAnsi("열기(&O)"), IDOK, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 187, 155, 50, 14},
        {"Button", Utf8ToAnsi("취소"), IDCANCEL, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0, 243, 155, 50, 14},
    };
    return dialog;
}

void SetRows(HWND list, const std::vector<std::string>& rows) {
    ::SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    int index = 0;
    for (const std::string& row : rows) {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = index++;
        item.pszText = const_cast<char*>(row.c_str());
        ::SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
}

std::vector<std::string> SelectedRows(HWND list) {
    std::vector<std::string> rows;
    char text[MAX_PATH];
    int row = -1;
    while ((row = ListView_GetNextItem(list, row, LVNI_SELECTED)) >= 0) {
        LVITEMA item{};
        item.iSubItem = 0;
        item.pszText = text;
        item.cchTextMax = sizeof(text);
        ::SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        rows.emplace_back(text);
    }
    return rows;
}

} // namespace

CUploadFileDlg::CUploadFileDlg(CWnd* parent, std::string folder, const std::string& filter)
    : CDialog(0, parent), m_filters(ParseFilter(filter)) {
    folder = WithBackslash(std::move(folder));
    m_strFolder = IsFolder(folder) ? folder : HomeFolder();
    if (m_filters.empty()) m_filters.emplace_back("*.*", "*.*");
}

std::vector<std::pair<std::string, std::string>> CUploadFileDlg::ParseFilter(const std::string& filter) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= filter.size()) {
        const std::size_t bar = filter.find('|', start);
        parts.push_back(filter.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    std::vector<std::pair<std::string, std::string>> filters;
    for (std::size_t i = 0; i + 1 < parts.size() && !parts[i].empty() && !parts[i + 1].empty(); i += 2)
        filters.emplace_back(parts[i], parts[i + 1]);
    return filters;
}

std::string CUploadFileDlg::ParentFolder(const std::string& folder) {
    const std::string path = WithBackslash(folder);
    if (path.size() <= 3) return {};
    const auto slash = path.rfind('\\', path.size() - 2);
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::vector<std::string> CUploadFileDlg::ListFolders(const std::string& folder) {
    return FindNames(WithBackslash(folder), "*", true);
}

std::vector<std::string> CUploadFileDlg::ListFiles(const std::string& folder, const std::string& pattern) {
    return FindNames(WithBackslash(folder), pattern, false);
}

INT_PTR CUploadFileDlg::DoModal() {
    InitCommonControls();
    const ostrana::DialogTemplate dialog = UploadTemplate();
    m_modal = true;
    AfxHookCreation(this);
    const INT_PTR result = ::DialogBoxIndirectParamA(ResourceModule(), &dialog,
                                                     m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : nullptr,
                                                     DialogProcedure, 0);
    m_modal = false;
    return result;
}

BOOL CUploadFileDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    for (int id : {IDC_UPLOAD_FOLDERS, IDC_UPLOAD_FILES}) {
        const HWND list = ::GetDlgItem(m_hWnd, id);
        RECT client{};
        ::GetClientRect(list, &client);
        LVCOLUMNA column{};
        column.mask = LVCF_WIDTH;
        column.cx = client.right - client.left - 4;
        ::SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    }
    const HWND filter = ::GetDlgItem(m_hWnd, IDC_UPLOAD_FILTER);
    for (const auto& entry : m_filters)
        ::SendMessageA(filter, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.first.c_str()));
    ::SendMessageA(filter, CB_SETCURSEL, 0, 0);
    ShowFolder(m_strFolder);
    return TRUE;
}

void CUploadFileDlg::ShowFolder(const std::string& folder) {
    m_strFolder = WithBackslash(folder);
    ::SetDlgItemTextA(m_hWnd, IDC_UPLOAD_FOLDER_PATH, m_strFolder.c_str());
    std::vector<std::string> rows;
    if (!ParentFolder(m_strFolder).empty()) rows.emplace_back(kParentRow);
    for (std::string& name : ListFolders(m_strFolder)) rows.push_back(std::move(name));
    SetRows(::GetDlgItem(m_hWnd, IDC_UPLOAD_FOLDERS), rows);
    FillFiles();
}

std::string CUploadFileDlg::Pattern() const {
    const auto index = static_cast<int>(::SendDlgItemMessageA(m_hWnd, IDC_UPLOAD_FILTER, CB_GETCURSEL, 0, 0));
    if (index < 0 || index >= static_cast<int>(m_filters.size())) return m_filters.front().second;
    return m_filters[static_cast<std::size_t>(index)].second;
}

void CUploadFileDlg::FillFiles() { SetRows(::GetDlgItem(m_hWnd, IDC_UPLOAD_FILES), ListFiles(m_strFolder, Pattern())); }

std::string CUploadFileDlg::SelectedFolderName() const {
    const std::vector<std::string> rows = SelectedRows(::GetDlgItem(m_hWnd, IDC_UPLOAD_FOLDERS));
    return rows.empty() ? std::string() : rows.front();
}

std::vector<std::string> CUploadFileDlg::SelectedFileNames() const {
    return SelectedRows(::GetDlgItem(m_hWnd, IDC_UPLOAD_FILES));
}

void CUploadFileDlg::OpenSelectedFolder() {
    const std::string name = SelectedFolderName();
    if (name.empty()) return;
    const std::string next = name == kParentRow ? ParentFolder(m_strFolder) : m_strFolder + name + "\\";
    // A folder removed since it was listed shows the folder again as it is now.
    ShowFolder(IsFolder(next) ? next : m_strFolder);
    ::SetFocus(::GetDlgItem(m_hWnd, IDC_UPLOAD_FOLDERS));
}

void CUploadFileDlg::OnOK() {
    const std::vector<std::string> names = SelectedFileNames();
    // Enter or 열기 with the focus on the folders, or with no file chosen, opens the chosen folder.
    const bool onFolders = ::GetFocus() == ::GetDlgItem(m_hWnd, IDC_UPLOAD_FOLDERS);
    if ((onFolders || names.empty()) && !SelectedFolderName().empty()) {
        OpenSelectedFolder();
        return;
    }
    if (names.empty()) return;
    m_paths.clear();
    for (const std::string& name : names) m_paths.push_back(m_strFolder + name);
    EndDialog(IDOK);
}

BOOL CUploadFileDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == IDC_UPLOAD_FILTER && HIWORD(wParam) == CBN_SELCHANGE) {
        FillFiles();
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

LRESULT CUploadFileDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header != nullptr && header->code == LVN_ITEMACTIVATE) {
            if (header->idFrom == IDC_UPLOAD_FOLDERS) OpenSelectedFolder();
            else if (header->idFrom == IDC_UPLOAD_FILES) OnOK();
            return 0;
        }
    }
    return CDialog::WindowProc(message, wParam, lParam);
}
