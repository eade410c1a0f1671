// The login panel (template 107), a child of the main window shown when the page handed over no
// user id. It remembers the server addresses and user ids used before (two numbered lists, in the
// order of first use), can remember the password, checks the three fields and tells the main
// window to log in; the login exchange itself is the main window's.
#pragma once

#include <string>

#include "mainwnd/TextLabel.h"
#include "platform/window/AfxBitmapButton.h"
#include "platform/window/AfxDialog.h"

#define IDD_LOGIN 107
#define IDC_LOGIN_USER_ID 1001
#define IDC_LOGIN_PASSWORD 1002
#define IDC_LOGIN_BUTTON 1004
#define IDC_LOGIN_SAVE_PASSWORD 1007
#define IDC_LOGIN_SAVE_USER_ID 1008
#define IDC_LOGIN_JOIN_LINK 1014
#define IDC_LOGIN_LOST_LINK 1016
#define IDC_LOGIN_SERVER 1019

class CLogInDlg : public CDialog {
public:
    // Creates the panel as a child of `parent`.
    explicit CLogInDlg(CWnd* parent);
    ~CLogInDlg() override;

    void LoadLoginSettings();
    // 1 with the members set from the fields, 0 after telling the user what is missing.
    int ValidateLogin();
    void SaveLoginSettings();

    std::string m_serverAddress;
    int m_port = 80;
    std::string m_userId;
    std::string m_password;
    int m_saveUserIdSetting = 0;
    int m_savePasswordSetting = 0;

    CComboBox m_serverCombo;
    CComboBox m_userCombo;
    CEdit m_passwordEdit;
    CButton m_savePasswordCheck;
    CButton m_saveUserIdCheck;
    CBitmapButton m_loginButton;
    CTextLabel m_joinLink;
    CTextLabel m_lostLink;
    CBrush m_whiteBrush;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // Enter in a field logs in as the button does; Escape never closes the panel.
    void OnOK() override;
    void OnCancel() override {}

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnLogin();
    void MakeLinkLabel(CTextLabel& label, int id);
};
