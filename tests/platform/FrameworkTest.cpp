// The framework classes: message maps in WindowProc, data exchange round trips through dialog
// templates, bitmap buttons from their caption, the wait cursor.
#include <gtest/gtest.h>

#include <future>

#include "platform/base/CodePage.h"
#include "platform/window/AfxBitmapButton.h"
#include "platform/window/AfxDialog.h"
#include "platform/window/AfxWaitCursor.h"
#include "platform/window/Input.h"
#include "platform/window/MessageBox.h"
#include "platform/window/VirtualKeys.h"
#include "tests/platform/TestResources.h"
#include "tests/platform/TestWindows.h"
#include "tests/support/WindowHarness.h"

namespace ostrana::test {
namespace {

class PromptDialog : public CDialog {
public:
    PromptDialog() : CDialog(IDD_TEST_CHOICE) {}
    std::string m_folder;
    std::string m_name;
    int m_choice = 0;

    void DoDataExchange(CDataExchange* dx) override {
        DDX_Text(dx, 237, m_folder);
        DDX_Text(dx, 241, m_name);
        DDX_Radio(dx, 234, m_choice);
    }
};

TEST(DataExchange, ModalDialogMovesMembersInAndTheRadioValueOut) {
    TestResourceHandle();
    WindowWaiter waiter;
    PromptDialog dialog;
    dialog.m_folder = Utf8ToAnsi("myfolder/사진/");
    dialog.m_name = "a.txt";
    dialog.m_choice = 0;
    auto result = std::async(std::launch::async, [&] { return dialog.DoModal(); });
    HWND window = waiter.WaitForTopLevel("#32770", Utf8ToAnsi("바꾸기 확인"));
    ASSERT_NE(nullptr, window);
    std::string shown;
    RunOnWindowThread(window, [&] { shown = WindowText(GetDlgItem(window, 237)); });
    EXPECT_EQ(Utf8ToAnsi("myfolder/사진/"), shown);
    EXPECT_EQ("a.txt", WindowText(GetDlgItem(window, 241)));
    InjectKeyPress(VK_LEFT); // 234 -> 236, wrapping inside the group
    InjectKeyPress(VK_RETURN);
    EXPECT_EQ(IDOK, AwaitModal(result));
    EXPECT_EQ(2, dialog.m_choice);
    EXPECT_EQ(nullptr, dialog.m_hWnd);
}

class LoginPanel : public CDialog {
public:
    std::string m_server;
    int m_serverIndex = -1;
    std::string m_password;
    int m_savePassword = 0;
    CComboBox m_servers;

    BOOL OnInitDialog() override {
        m_servers.SubclassDlgItem(1019, this);
        m_servers.AddString("alpha.example");
        m_servers.AddString("beta.example:8080");
        return CDialog::OnInitDialog();
    }
    void DoDataExchange(CDataExchange* dx) override {
        DDX_CBString(dx, 1019, m_server);
        DDX_CBIndex(dx, 1019, m_serverIndex);
        DDX_Text(dx, 1002, m_password);
        DDX_Check(dx, 1007, m_savePassword);
    }
};

TEST(DataExchange, ChildDialogRoundTripsComboTextCheckAndTypedPassword) {
    UiThread ui;
    ui.Run([] {
        TestResourceHandle();
        ResetInputState();
        HWND parent = MakeTestWindow("PanelParent", DefWindowProcA, WS_POPUP | WS_VISIBLE, RECT{0, 0, 600, 600});
        LoginPanel panel;
        panel.m_server = "beta";
        panel.m_serverIndex = 1;
        panel.m_savePassword = 1;
        ASSERT_TRUE(panel.Create(IDD_TEST_PANEL, CWnd::FromHandle(parent)));
        EXPECT_EQ("beta.example:8080", panel.m_servers.GetWindowText());
        EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(panel.m_hWnd, 1007));
        EXPECT_EQ(GetDlgItem(panel.m_hWnd, 1019), GetNextDlgTabItem(panel.m_hWnd, nullptr, FALSE));
        ::SetFocus(GetDlgItem(panel.m_hWnd, 1002));
        InjectText("pw");
        InjectKeyPress('X', 'x');
        InjectKeyPress(VK_BACK);
        PumpUntilIdle();
        panel.m_servers.SetCurSel(0);
        CheckDlgButton(panel.m_hWnd, 1007, BST_UNCHECKED);
        ASSERT_TRUE(panel.UpdateData(TRUE));
        EXPECT_EQ("alpha.example", panel.m_server);
        EXPECT_EQ(0, panel.m_serverIndex);
        EXPECT_EQ("pw", panel.m_password);
        EXPECT_EQ(0, panel.m_savePassword);
        PumpUntilIdle();
        std::string dump = DumpWindowTree(GetDlgItem(panel.m_hWnd, 1002));
        EXPECT_NE(std::string::npos, dump.find("\"**\"")) << dump; // the password is masked
        panel.DestroyWindow();
        DestroyWindow(parent);
    });
}

TEST(BitmapButton, TakesItsFourBitmapsFromTheCaption) {
    UiThread ui;
    ui.Run([] {
        TestResourceHandle();
        HWND parent = MakeTestWindow("ButtonParent", DefWindowProcA, WS_POPUP | WS_VISIBLE, RECT{0, 0, 600, 600});
        CDialog main;
        ASSERT_TRUE(main.Create(IDD_TEST_BUTTONS, CWnd::FromHandle(parent)));
        CBitmapButton upload;
        ASSERT_TRUE(upload.AutoLoad(245, &main));
        RECT rect;
        upload.GetClientRect(&rect);
        EXPECT_EQ(60, rect.right);
        EXPECT_EQ(20, rect.bottom);
        main.ShowWindow(SW_SHOW);
        upload.ShowWindow(SW_SHOW);
        PumpUntilIdle();
        EXPECT_NE(std::string::npos, DumpWindowTree(upload.m_hWnd).find("bitmap UP_U"));
        upload.EnableWindow(FALSE);
        PumpUntilIdle();
        EXPECT_NE(std::string::npos, DumpWindowTree(upload.m_hWnd).find("bitmap UP_X"));
        upload.EnableWindow(TRUE);
        upload.SetFocus();
        PumpUntilIdle();
        EXPECT_NE(std::string::npos, DumpWindowTree(upload.m_hWnd).find("bitmap UP_F"));
        main.DestroyWindow();
        DestroyWindow(parent);
    });
}

class SelfDeleting : public CWnd {
public:
    explicit SelfDeleting(std::vector<std::string>& log) : m_log(log) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_CREATE: m_log.push_back("create"); return 0;
        case WM_APP: return 7;
        case WM_DESTROY: m_log.push_back("destroy"); break;
        default: break;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
    void PostNcDestroy() override {
        m_log.push_back("gone");
        delete this;
    }

private:
    std::vector<std::string>& m_log;
};

TEST(FrameworkWindow, MessageMapSeesCreationAndTheObjectEndsWithItsWindow) {
    std::vector<std::string> log;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "FrameworkPlain";
    RegisterClassA(&windowClass);
    auto* window = new SelfDeleting(log);
    ASSERT_TRUE(window->CreateEx(0, "FrameworkPlain", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    HWND handle = window->m_hWnd;
    EXPECT_EQ(window, CWnd::FromHandlePermanent(handle));
    EXPECT_TRUE(window->IsKindOf(RUNTIME_CLASS(CWnd)));
    EXPECT_FALSE(window->IsKindOf(RUNTIME_CLASS(CDialog)));
    EXPECT_EQ(7, SendMessageA(handle, WM_APP, 0, 0));
    window->SetWindowText("kept");
    EXPECT_EQ("kept", window->GetWindowText());
    DestroyWindow(handle);
    EXPECT_EQ((std::vector<std::string>{"create", "destroy", "gone"}), log);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(handle));
}

TEST(WaitCursor, ShowsTheWaitCursorAndPutsThePreviousBack) {
    SetCursor(LoadCursorA(nullptr, IDC_SIZEWE));
    {
        CWaitCursor wait;
        EXPECT_EQ("wait", CursorName(GetCursor()));
    }
    EXPECT_EQ("sizewe", CursorName(GetCursor()));
}

} // namespace
} // namespace ostrana::test
