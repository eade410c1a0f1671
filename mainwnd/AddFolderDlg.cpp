// The add-folder dialog; see AddFolderDlg.h.
#include "mainwnd/AddFolderDlg.h"

#include <cstdio>
#include <vector>

#include "mainwnd/SettingsStore.h"
#include "misc/ReportBox.h"
#include "platform/window/MessageBox.h"
#include "res/Resources.h"

namespace {

constexpr int kLastIndex = 98;
constexpr UINT kNotAccessibleString = 32;

std::string RootFolderSetting(const std::string& host, int index) {
    char name[32];
    std::snprintf(name, sizeof(name), "RootFolders%02d", index);
    return host + "\\PrivateFolder\\" + name;
}

} // namespace

CAddFolderDlg::CAddFolderDlg(ServerSession& session) : CDialog(IDD_ADD_FOLDER), m_session(session) {
    m_hResource = AfxGetResourceHandle();
}

std::string CAddFolderDlg::NormalisePath(std::string path) {
    if (!path.empty() && path.front() == '/') path.erase(0, 1);
    if (path.empty() || path.back() != '/') path += '/';
    return path;
}

BOOL CAddFolderDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    return TRUE;
}

void CAddFolderDlg::DoDataExchange(CDataExchange* dx) { DDX_Text(dx, IDC_ADD_FOLDER_PATH, m_strPath); }

void CAddFolderDlg::OnOK() {
    if (!UpdateData(TRUE)) return;
    m_strPath = NormalisePath(m_strPath);
    const std::string& host = m_session.Host();
    int index = 1;
    for (; index <= kLastIndex; ++index) {
        std::string registered;
        if (!GetSettingText(RootFolderSetting(host, index).c_str(), registered)) break;
        if (registered == m_strPath) return;
    }
    std::vector<std::string> lines;
    int status = 3000;
    if (m_session.ListFolder(m_strPath, lines, status) != 1) {
        WarnById(kNotAccessibleString, m_strPath.c_str());
        return;
    }
    SetSettingText(RootFolderSetting(host, index).c_str(), m_strPath);
    EndDialog(IDOK);
}

LRESULT CAddFolderDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        // The template draws everything; painting only erases the background, which a bare
        // validation would leave undrawn.
        PAINTSTRUCT paint{};
        ::BeginPaint(m_hWnd, &paint);
        ::EndPaint(m_hWnd, &paint);
        return 0;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}
