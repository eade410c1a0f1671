// The login panel: the remembered lists loaded across gaps, the checks of the three fields, the
// port taken from the server text, and what a successful login saves.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "mainwnd/LogInDlg.h"
#include "mainwnd/MainWindowMessages.h"
#include "mainwnd/SettingsStore.h"
#include "platform/base/CodePage.h"
#include "platform/window/MessageBox.h"
#include "tests/platform/TestWindows.h"
#include "tests/support/TempDir.h"

namespace {

std::string Text(const char* path) {
    std::string text = "(missing)";
    GetSettingText(path, text);
    return text;
}

int Number(const char* path) {
    int number = -99;
    GetSettingNumber(path, number);
    return number;
}

class LogInDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_boxes = std::make_shared<ostrana::HeadlessMessageBoxPresenter>();
        ostrana::SetMessageBoxPresenter(m_boxes);
        m_main = ostrana::test::MakeTestWindow("LoginMain", DefWindowProcA, WS_POPUP | WS_VISIBLE, {0, 0, 800, 600});
    }
    void TearDown() override {
        DestroyWindow(m_main);
        ostrana::SetMessageBoxPresenter(nullptr);
    }

    std::unique_ptr<CLogInDlg> Open() { return std::make_unique<CLogInDlg>(CWnd::FromHandle(m_main)); }

    static void Type(CLogInDlg& dialog, const char* server, const char* user, const char* password) {
        dialog.m_serverCombo.SetWindowText(server);
        dialog.m_userCombo.SetWindowText(user);
        dialog.m_passwordEdit.SetWindowText(password);
    }

    bool LoginReadyPosted() {
        MSG message{};
        bool found = false;
        while (PeekMessageA(&message, m_main, UWM_LOGIN_READY, UWM_LOGIN_READY, PM_REMOVE)) found = true;
        return found;
    }

    ostrana::test::ScopedRegistryFile m_registry;
    std::shared_ptr<ostrana::HeadlessMessageBoxPresenter> m_boxes;
    HWND m_main = nullptr;
};

TEST_F(LogInDlgTest, FirstStartWritesTheFlagsAndALoginStoresBothFirstEntries) {
    auto dialog = Open();
    ASSERT_NE(nullptr, dialog->m_hWnd);
    EXPECT_EQ(1, Number("Login\\SaveUserID"));
    EXPECT_EQ(0, Number("Login\\SavePassword"));
    EXPECT_EQ(0, dialog->m_serverCombo.GetCount());
    EXPECT_EQ(BST_CHECKED, dialog->m_saveUserIdCheck.GetCheck());
    EXPECT_EQ(dialog->m_passwordEdit.m_hWnd, GetFocus());

    Type(*dialog, "127.0.0.1", "demo", "demo1234");
    SendMessageA(dialog->m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_LOGIN_BUTTON, BN_CLICKED), 0);
    EXPECT_TRUE(LoginReadyPosted());
    EXPECT_EQ("127.0.0.1", dialog->m_serverAddress);
    EXPECT_EQ(80, dialog->m_port);
    dialog->SaveLoginSettings();
    EXPECT_EQ("127.0.0.1", Text("Login\\ServerAddress01"));
    EXPECT_EQ("demo", Text("Login\\UserID01"));
    EXPECT_EQ("", Text("Login\\Password"));
    EXPECT_EQ(0, Number("Login\\ServerAddressPos"));
    EXPECT_TRUE(m_boxes->Boxes().empty());
}

TEST_F(LogInDlgTest, APortOtherThan80IsStoredWithTheHostAndAnExplicit80Without) {
    auto dialog = Open();
    Type(*dialog, "files.example:8080", "demo", "pw");
    ASSERT_EQ(1, dialog->ValidateLogin());
    EXPECT_EQ("files.example", dialog->m_serverAddress);
    EXPECT_EQ(8080, dialog->m_port);
    dialog->SaveLoginSettings();
    Type(*dialog, "other.example:80", "demo", "pw");
    ASSERT_EQ(1, dialog->ValidateLogin());
    dialog->SaveLoginSettings();
    EXPECT_EQ("files.example:8080", Text("Login\\ServerAddress01"));
    EXPECT_EQ("other.example", Text("Login\\ServerAddress02"));
    EXPECT_EQ("demo", Text("Login\\UserID01"));
    EXPECT_EQ("(missing)", Text("Login\\UserID02"));
}

TEST_F(LogInDlgTest, ALeadingColonKeepsTheWholeTextAsTheAddressOnPort80) {
    auto dialog = Open();
    Type(*dialog, ":8080", "demo", "pw");
    ASSERT_EQ(1, dialog->ValidateLogin());
    EXPECT_EQ(":8080", dialog->m_serverAddress);
    EXPECT_EQ(80, dialog->m_port);
}

TEST_F(LogInDlgTest, EmptyFieldsAreReportedInOrderAndNothingIsPosted) {
    auto dialog = Open();
    struct Case {
        const char* server;
        const char* user;
        const char* password;
        const char* message;
    };
    const Case cases[] = {
        {"", "demo", "pw", "서버 주소를 입력해 주십시요."},
        {"127.0.0.1", "", "", "사용자 아이디를 입력해 주십시요."},
        {"127.0.0.1", "demo", "", "비밀번호를 입력해 주십시요."},
    };
    for (const Case& c : cases) {
        m_boxes->Clear();
        Type(*dialog, c.server, c.user, c.password);
        SendMessageA(dialog->m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_LOGIN_BUTTON, BN_CLICKED), 0);
        EXPECT_FALSE(LoginReadyPosted()) << c.message;
        ASSERT_EQ(1u, m_boxes->Boxes().size()) << c.message;
        EXPECT_EQ(ostrana::Utf8ToAnsi(c.message), m_boxes->Boxes()[0].text);
        EXPECT_EQ("Quorel Report", m_boxes->Boxes()[0].caption);
    }
}

TEST_F(LogInDlgTest, ListsLoadAcrossAGapWhileTheOtherListGoesOnAndPositionsSelect) {
    SetSettingNumber("Login\\SaveUserID", 1);
    SetSettingText("Login\\ServerAddress01", "a.example");
    SetSettingText("Login\\ServerAddress02", "b.example");
    SetSettingText("Login\\ServerAddress04", "d.example");
    SetSettingText("Login\\ServerAddress06", "never.example");
    for (const char* path : {"Login\\UserID01", "Login\\UserID02", "Login\\UserID03", "Login\\UserID04"}) SetSettingText(path, "u");
    SetSettingNumber("Login\\ServerAddressPos", 2);
    auto dialog = Open();
    ASSERT_EQ(3, dialog->m_serverCombo.GetCount());
    std::string third;
    dialog->m_serverCombo.GetLBText(2, third);
    EXPECT_EQ("d.example", third);
    EXPECT_EQ(4, dialog->m_userCombo.GetCount());
    EXPECT_EQ(2, dialog->m_serverCombo.GetCurSel());
    // The user position is missing: the server's value is used for it too.
    EXPECT_EQ(2, dialog->m_userCombo.GetCurSel());
}

TEST_F(LogInDlgTest, AnAddressAlreadyInTheListAddsNothingAndItsIndexIsRemembered) {
    SetSettingNumber("Login\\SaveUserID", 1);
    SetSettingText("Login\\ServerAddress01", "a.example");
    SetSettingText("Login\\ServerAddress02", "b.example");
    SetSettingText("Login\\ServerAddress03", "c.example:8080");
    auto dialog = Open();
    dialog->m_serverCombo.SetCurSel(2);
    dialog->m_userCombo.SetWindowText("demo");
    dialog->m_passwordEdit.SetWindowText("pw");
    ASSERT_EQ(1, dialog->ValidateLogin());
    dialog->SaveLoginSettings();
    EXPECT_EQ("(missing)", Text("Login\\ServerAddress04"));
    EXPECT_EQ(2, Number("Login\\ServerAddressPos"));
}

TEST_F(LogInDlgTest, ASavedPasswordIsShownAndKeptOnlyWhileItsBoxIsChecked) {
    SetSettingNumber("Login\\SaveUserID", 0);
    SetSettingNumber("Login\\SavePassword", 1);
    SetSettingText("Login\\Password", "secret");
    auto dialog = Open();
    EXPECT_EQ(BST_CHECKED, dialog->m_savePasswordCheck.GetCheck());
    EXPECT_EQ(BST_UNCHECKED, dialog->m_saveUserIdCheck.GetCheck());
    EXPECT_EQ("secret", dialog->m_passwordEdit.GetWindowText());
    Type(*dialog, "127.0.0.1", "demo", "changed");
    ASSERT_EQ(1, dialog->ValidateLogin());
    dialog->SaveLoginSettings();
    EXPECT_EQ("changed", Text("Login\\Password"));
    EXPECT_EQ(0, Number("Login\\SaveUserID"));
    EXPECT_EQ("(missing)", Text("Login\\UserID01"));
    dialog->m_savePasswordCheck.SetCheck(BST_UNCHECKED);
    dialog->SaveLoginSettings();
    EXPECT_EQ("", Text("Login\\Password"));
    EXPECT_EQ(0, Number("Login\\SavePassword"));
}

TEST_F(LogInDlgTest, ChildControlsGetAWhiteBackground) {
    auto dialog = Open();
    HDC dc = GetDC(dialog->m_passwordEdit.m_hWnd);
    LRESULT brush = SendMessageA(dialog->m_hWnd, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                 reinterpret_cast<LPARAM>(dialog->m_passwordEdit.m_hWnd));
    EXPECT_EQ(reinterpret_cast<LRESULT>(static_cast<HBRUSH>(dialog->m_whiteBrush)), brush);
    EXPECT_EQ(0xFFFFFFu, GetBkColor(dc));
    ReleaseDC(dialog->m_passwordEdit.m_hWnd, dc);
}

} // namespace
