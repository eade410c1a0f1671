// The login panel; see LogInDlg.h.
#include "mainwnd/LogInDlg.h"

#include <cstdio>
#include <cstdlib>

#include "mainwnd/DefaultServer.h"
#include "mainwnd/MainWindowMessages.h"
#include "mainwnd/SettingsStore.h"
#include "misc/ReportBox.h"
#include "res/Resources.h"

namespace {

constexpr int kLastListIndex = 98;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kLinkColour = 16739081;
constexpr UINT kFontNameString = 1023;
constexpr UINT kServerMissingString = 1026;
constexpr UINT kUserIdMissingString = 1029;
constexpr UINT kPasswordMissingString = 1030;

std::string ListSetting(const char* list, int index) {
    char path[64];
    std::snprintf(path, sizeof(path), "Login\\%s%02d", list, index);
    return path;
}

// Appends `entry` at the first free index unless the list already holds it; nothing is removed.
void AppendIfUnknown(const char* list, const std::string& entry) {
    int index = 1;
    for (; index <= kLastListIndex; ++index) {
        std::string existing;
        if (!GetSettingText(ListSetting(list, index).c_str(), existing)) break;
        if (existing == entry) return;
    }
    SetSettingText(ListSetting(list, index).c_str(), entry);
}

int SelectedOrFirst(const CComboBox& combo) {
    int selected = combo.GetCurSel();
    return selected < 0 ? 0 : selected;
}

bool IsChecked(const CButton& box) { return box.GetCheck() == BST_CHECKED; }

} // namespace

CLogInDlg::CLogInDlg(CWnd* parent) {
    m_whiteBrush.CreateSolidBrush(kWhite);
    m_hResource = AfxGetResourceHandle();
    Create(IDD_LOGIN, parent);
}

CLogInDlg::~CLogInDlg() {
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
}

void CLogInDlg::DoDataExchange(CDataExchange* dx) {
    // Only the controls: the fields are filled from the settings and read back in ValidateLogin.
    DDX_Control(dx, IDC_LOGIN_SERVER, m_serverCombo);
    DDX_Control(dx, IDC_LOGIN_USER_ID, m_userCombo);
    DDX_Control(dx, IDC_LOGIN_PASSWORD, m_passwordEdit);
    DDX_Control(dx, IDC_LOGIN_SAVE_PASSWORD, m_savePasswordCheck);
    DDX_Control(dx, IDC_LOGIN_SAVE_USER_ID, m_saveUserIdCheck);
}

BOOL CLogInDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    int saveUserId = 0;
    if (!GetSettingNumber("Login\\SaveUserID", saveUserId)) {
        SetSettingNumber("Login\\SaveUserID", 1);
        SetSettingNumber("Login\\SavePassword", 0);
    }
    LoadLoginSettings();
    MakeLinkLabel(m_joinLink, IDC_LOGIN_JOIN_LINK);
    MakeLinkLabel(m_lostLink, IDC_LOGIN_LOST_LINK);
    m_loginButton.AutoLoad(IDC_LOGIN_BUTTON, this);
    UpdateData(FALSE);
    GotoDlgCtrl(&m_passwordEdit);
    return FALSE;
}

void CLogInDlg::MakeLinkLabel(CTextLabel& label, int id) {
    HWND item = ::GetDlgItem(m_hWnd, id);
    if (item == nullptr) return;
    label.Attach(item, CTextLabel::kLink, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    label.m_linkTarget = DefaultServerAddress();
    label.m_textColor = kLinkColour;
    label.m_backColor = kWhite;
    label.m_fillColor = kWhite;
    label.SetFont(LoadResourceString(kFontNameString).c_str(), 9, FALSE, FALSE, FALSE);
}

void CLogInDlg::LoadLoginSettings() {
    bool serversEnded = false;
    bool usersEnded = false;
    for (int index = 1; index <= kLastListIndex && !(serversEnded && usersEnded); ++index) {
        std::string entry;
        if (GetSettingText(ListSetting("ServerAddress", index).c_str(), entry)) m_serverCombo.AddString(entry.c_str());
        else serversEnded = true;
        if (GetSettingText(ListSetting("UserID", index).c_str(), entry)) m_userCombo.AddString(entry.c_str());
        else usersEnded = true;
    }
    int position = 0;
    GetSettingNumber("Login\\ServerAddressPos", position);
    m_serverCombo.SetCurSel(position);
    GetSettingNumber("Login\\UserIDPos", position);
    m_userCombo.SetCurSel(position);

    if (GetSettingNumber("Login\\SaveUserID", m_saveUserIdSetting) && m_saveUserIdSetting == 1) {
        m_saveUserIdCheck.SetCheck(BST_CHECKED);
    }
    if (GetSettingNumber("Login\\SavePassword", m_savePasswordSetting) && m_savePasswordSetting == 1) {
        m_savePasswordCheck.SetCheck(BST_CHECKED);
        std::string password;
        if (GetSettingText("Login\\Password", password)) m_passwordEdit.SetWindowText(password.c_str());
    }
}

int CLogInDlg::ValidateLogin() {
    std::string server = m_serverCombo.GetWindowText();
    m_userId = m_userCombo.GetWindowText();
    m_password = m_passwordEdit.GetWindowText();
    if (server.empty()) {
        WarnById(kServerMissingString);
        return 0;
    }
    size_t colon = server.find(':');
    if (colon != std::string::npos && colon > 0) {
        m_port = std::atoi(server.c_str() + colon + 1);
        m_serverAddress = server.substr(0, colon);
    } else {
        m_serverAddress = server;
    }
    if (m_userId.empty()) {
        WarnById(kUserIdMissingString);
        return 0;
    }
    if (m_password.empty()) {
        WarnById(kPasswordMissingString);
        return 0;
    }
    return 1;
}

void CLogInDlg::SaveLoginSettings() {
    int serverPosition = SelectedOrFirst(m_serverCombo);
    int userPosition = SelectedOrFirst(m_userCombo);
    std::string entry = m_serverAddress;
    if (m_port != 80) entry += ":" + std::to_string(m_port);
    AppendIfUnknown("ServerAddress", entry);
    bool saveUserId = IsChecked(m_saveUserIdCheck);
    SetSettingNumber("Login\\SaveUserID", saveUserId ? 1 : 0);
    if (saveUserId) AppendIfUnknown("UserID", m_userId);
    SetSettingNumber("Login\\ServerAddressPos", serverPosition);
    SetSettingNumber("Login\\UserIDPos", userPosition);
    bool savePassword = IsChecked(m_savePasswordCheck);
    SetSettingNumber("Login\\SavePassword", savePassword ? 1 : 0);
    SetSettingText("Login\\Password", savePassword ? m_password : std::string());
}

void CLogInDlg::OnLogin() {
    if (ValidateLogin() == 1) ::PostMessageA(::GetParent(m_hWnd), UWM_LOGIN_READY, 0, 0);
}

void CLogInDlg::OnOK() { OnLogin(); }

BOOL CLogInDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == IDC_LOGIN_BUTTON && HIWORD(wParam) == BN_CLICKED) {
        OnLogin();
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

LRESULT CLogInDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        ::SetBkColor(reinterpret_cast<HDC>(wParam), kWhite);
        return reinterpret_cast<LRESULT>(static_cast<HBRUSH>(m_whiteBrush));
    default: break;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}
