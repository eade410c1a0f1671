// The control in its window: what reaches the main window at the start and what does not after
// it, the main window's placement over small and large areas, one main window per process, and
// the keyboard hook's commands and label-edit keys as they come through the message loop.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "control/KeyboardHook.h"
#include "control/OstranaCtrl.h"
#include "control/OstranaIds.h"
#include "control/OstranaPropPage.h"
#include "mainwnd/MainWindowMessages.h"
#include "mainwnd/OstranaDlg.h"
#include "platform/window/Controls.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/MessageBox.h"
#include "platform/window/VirtualKeys.h"
#include "server/ServerPaneState.h"
#include "tests/platform/TestWindows.h"
#include "tests/support/ShellSandbox.h"
#include "tests/support/TempDir.h"

namespace {

VARIANT Text(const std::u16string& text) {
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_BSTR;
    value.bstrVal = SysAllocString(text.c_str());
    return value;
}

VARIANT Number(LONG number) {
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_I4;
    value.lVal = number;
    return value;
}

// A control created as its factory creates it, with its window over `area` of the page window.
class HostedOstrana {
public:
    HostedOstrana(HWND page, const RECT& area) : m_control(new COstranaCtrl) {
        m_control->QueryControlInterface(IID_IHostedControl, reinterpret_cast<void**>(&m_hosted));
        m_control->QueryControlInterface(IID_IDispatch, reinterpret_cast<void**>(&m_dispatch));
        m_control->ExternalRelease();
        m_hosted->CreateControlWindow(page, area, &m_window);
    }
    ~HostedOstrana() {
        m_dispatch->Release();
        m_hosted->Release();
    }
    HostedOstrana(const HostedOstrana&) = delete;
    HostedOstrana& operator=(const HostedOstrana&) = delete;

    HRESULT Put(DISPID id, VARIANT value) {
        DISPID named = DISPID_PROPERTYPUT;
        DISPPARAMS parameters{&value, &named, 1, 1};
        HRESULT status = m_dispatch->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYPUT, &parameters, nullptr, nullptr, nullptr);
        VariantClear(&value);
        return status;
    }
    VARIANT Get(DISPID id) {
        VARIANT result;
        VariantInit(&result);
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        m_dispatch->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr);
        return result;
    }
    void Start() {
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        m_dispatch->Invoke(kDispidStartOstrana, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr);
    }

    COstranaCtrl& Control() { return *m_control; }
    IHostedControl& Hosted() { return *m_hosted; }
    HWND Window() const { return m_window; }

private:
    COstranaCtrl* m_control;
    IHostedControl* m_hosted = nullptr;
    IDispatch* m_dispatch = nullptr;
    HWND m_window = nullptr;
};

class ControlWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_boxes = std::make_shared<ostrana::HeadlessMessageBoxPresenter>();
        ostrana::SetMessageBoxPresenter(m_boxes);
        ostrana::ResetInputState();
        m_page = ostrana::test::MakeTestWindow("ControlTestPage", DefWindowProcA, WS_POPUP | WS_VISIBLE, {0, 0, 1000, 900});
    }
    void TearDown() override {
        ServerLabelEditing() = false;
        DestroyWindow(m_page);
        ostrana::SetMessageBoxPresenter(nullptr);
        ostrana::ResetInputState();
    }

    // Left, top, width and height of the main window in the control window's client coordinates.
    static std::vector<LONG> PlacedIn(HWND control, COstranaDlg& main) {
        RECT rect{};
        GetWindowRect(main.m_hWnd, &rect);
        MapWindowPoints(nullptr, control, reinterpret_cast<POINT*>(&rect), 2);
        return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
    }

    // A home, drives and registry of the test's own: the main window shows the local disk.
    ostrana::test::ShellSandbox m_sandbox;
    std::shared_ptr<ostrana::HeadlessMessageBoxPresenter> m_boxes;
    HWND m_page = nullptr;
};

TEST_F(ControlWindowTest, TheMainWindowGetsThePropertiesAsTheyStoodAtTheStart) {
    HostedOstrana ostrana(m_page, {10, 10, 610, 610});
    EXPECT_EQ(S_OK, ostrana.Put(kDispidVarAuth, Text(u"lang=ko; WAXLO_AUTH=first; theme=blue")));
    EXPECT_EQ(S_OK, ostrana.Put(kDispidVarHostName, Text(u"127.0.0.1:1")));
    EXPECT_EQ(S_OK, ostrana.Put(kDispidVarUserID, Text(u"alice")));
    // A number is kept by the property but is no user id.
    EXPECT_EQ(S_OK, ostrana.Put(kDispidVarUserID, Number(42)));
    VARIANT stored = ostrana.Get(kDispidVarUserID);
    EXPECT_EQ(VT_I4, stored.vt);
    EXPECT_EQ(42, stored.lVal);
    EXPECT_EQ("alice", ostrana.Control().UserId());

    ostrana.Start();
    COstranaDlg* main = ostrana.Control().MainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(GetMainWindow(), main);
    EXPECT_EQ(GetParent(main->m_hWnd), ostrana.Window());
    EXPECT_EQ("first", main->GetSessionCookie());
    EXPECT_EQ("127.0.0.1", main->Host());
    EXPECT_EQ(1, main->Port());
    EXPECT_EQ("alice", main->UserId());

    EXPECT_EQ(S_OK, ostrana.Put(kDispidVarUserID, Text(u"bob")));
    EXPECT_EQ(S_OK, ostrana.Put(kDispidVarAuth, Text(u"WAXLO_AUTH=second")));
    EXPECT_EQ("bob", ostrana.Control().UserId());
    // A variable handed by reference is kept by value: the script's storage may go.
    {
        VARIANT variable = Text(u"carol");
        VARIANT reference;
        VariantInit(&reference);
        reference.vt = VT_BYREF | VT_VARIANT;
        reference.pvarVal = &variable;
        EXPECT_EQ(S_OK, ostrana.Put(kDispidVarHostName, reference));
        VariantClear(&variable);
    }
    VARIANT host = ostrana.Get(kDispidVarHostName);
    ASSERT_EQ(VT_BSTR, host.vt);
    EXPECT_EQ(u"carol", ostrana::BstrText(host.bstrVal));
    VariantClear(&host);
    EXPECT_EQ("carol", ostrana.Control().HostName());
    EXPECT_EQ("second", ostrana.Control().SessionCookie());
    EXPECT_EQ("alice", main->UserId());
    EXPECT_EQ("first", main->GetSessionCookie());

    ostrana.Hosted().DestroyControlWindow();
    EXPECT_EQ(ostrana.Control().MainWindow(), nullptr);
    EXPECT_EQ(GetMainWindow(), nullptr);
}

TEST_F(ControlWindowTest, TheMainWindowFillsTheAreaButIsNeverSmallerThan600By600) {
    const RECT small{20, 30, 420, 330};
    HostedOstrana ostrana(m_page, small);
    // Drawn before the start: the main window takes the last area at once.
    ostrana.Hosted().Draw(small);
    ostrana.Start();
    COstranaDlg* main = ostrana.Control().MainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(IsWindowVisible(main->m_hWnd)) << "the start shows the main window";
    EXPECT_EQ((std::vector<LONG>{0, 0, 600, 600}), PlacedIn(ostrana.Window(), *main));

    MoveWindow(ostrana.Window(), 20, 30, 900, 700, TRUE);
    ostrana.Hosted().Draw({20, 30, 920, 730});
    EXPECT_EQ((std::vector<LONG>{0, 0, 900, 700}), PlacedIn(ostrana.Window(), *main));
    // Wide but low: each side on its own.
    ostrana.Hosted().Draw({20, 30, 920, 130});
    EXPECT_EQ((std::vector<LONG>{0, 0, 900, 600}), PlacedIn(ostrana.Window(), *main));
}

TEST_F(ControlWindowTest, OneMainWindowPerProcessWhicheverControlAsksAgain) {
    // Without a window of its own a control has nothing to put a main window in.
    auto* windowless = new COstranaCtrl;
    windowless->StartOstrana();
    EXPECT_EQ(GetMainWindow(), nullptr);
    windowless->ExternalRelease();

    auto first = std::make_unique<HostedOstrana>(m_page, RECT{0, 0, 600, 600});
    HostedOstrana second(m_page, {0, 0, 600, 600});
    first->Start();
    COstranaDlg* main = first->Control().MainWindow();
    ASSERT_NE(main, nullptr);
    first->Start();
    second.Start();
    EXPECT_EQ(first->Control().MainWindow(), main);
    EXPECT_EQ(second.Control().MainWindow(), nullptr);
    EXPECT_EQ(GetMainWindow(), main);
    EXPECT_EQ(GetWindow(GetWindow(first->Window(), GW_CHILD), GW_HWNDNEXT), nullptr);

    // Once the first control's window is gone, the other may start its own.
    first.reset();
    EXPECT_EQ(GetMainWindow(), nullptr);
    second.Start();
    ASSERT_NE(second.Control().MainWindow(), nullptr);
    EXPECT_EQ(GetMainWindow(), second.Control().MainWindow());
}

TEST_F(ControlWindowTest, ThePropertiesVerbShowsTheOnePageOverTheControl) {
    EXPECT_EQ(std::vector<CLSID>{CLSID_OstranaPropPage}, COstranaCtrl::PropertyPageClasses());
    HostedOstrana ostrana(m_page, {0, 0, 600, 600});
    ostrana.Start();
    ASSERT_EQ(S_OK, ostrana.Hosted().DoVerb(OLEIVERB_PROPERTIES));
    COstranaPropPage* page = ostrana.Control().PropertyPage();
    ASSERT_NE(page, nullptr);
    ASSERT_NE(page->m_hWnd, nullptr);
    EXPECT_EQ(GetParent(page->m_hWnd), ostrana.Window());
    // Over the main window, and asked again it stays the one page.
    EXPECT_EQ(GetWindow(ostrana.Window(), GW_CHILD), page->m_hWnd);
    ASSERT_EQ(S_OK, ostrana.Hosted().DoVerb(OLEIVERB_PROPERTIES));
    EXPECT_EQ(ostrana.Control().PropertyPage(), page);
}

// Takes what the loop holds for this thread; the hook's commands to `main` are kept, not handled,
// so the main window does not act on them.
std::vector<MSG> PumpKeepingCommands(HWND main) {
    std::vector<MSG> commands;
    MSG msg{};
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.hwnd == main && msg.message >= UWM_KEY_DELETE && msg.message <= UWM_KEY_SELECT_ALL) {
            commands.push_back(msg);
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return commands;
}

std::vector<UINT> Kinds(const std::vector<MSG>& commands) {
    std::vector<UINT> kinds;
    for (const MSG& msg : commands) kinds.push_back(msg.message);
    return kinds;
}

std::string EditText(HWND edit) {
    char buffer[128] = {};
    GetWindowTextA(edit, buffer, sizeof buffer);
    return buffer;
}

class KeyboardHookTest : public ControlWindowTest {
protected:
    void SetUp() override {
        ControlWindowTest::SetUp();
        m_ostrana = std::make_unique<HostedOstrana>(m_page, RECT{0, 0, 600, 600});
        m_ostrana->Start();
        ASSERT_NE(m_ostrana->Control().MainWindow(), nullptr);
        m_main = m_ostrana->Control().MainWindow()->m_hWnd;
        m_edit = CreateWindowExA(0, WC_EDITA, "abcd", WS_CHILD | WS_VISIBLE, 700, 10, 200, 20, m_page, nullptr, nullptr, nullptr);
        PumpKeepingCommands(m_main);
        SetForegroundWindow(m_page);
        SetFocus(m_edit);
        SendMessageA(m_edit, EM_SETSEL, 4, 4);
    }
    void TearDown() override {
        m_ostrana.reset();
        ControlWindowTest::TearDown();
    }

    std::vector<MSG> Press(UINT key) {
        ostrana::InjectKeyPress(key);
        return PumpKeepingCommands(m_main);
    }

    std::unique_ptr<HostedOstrana> m_ostrana;
    HWND m_main = nullptr;
    HWND m_edit = nullptr;
};

TEST_F(KeyboardHookTest, DeleteF6F2AndABecomeMainWindowCommandsWithTheKeysData) {
    std::vector<MSG> commands = Press(VK_DELETE);
    ASSERT_EQ(1u, commands.size());
    EXPECT_EQ(static_cast<UINT>(UWM_KEY_DELETE), commands[0].message);
    EXPECT_EQ(static_cast<WPARAM>(VK_DELETE), commands[0].wParam);
    EXPECT_EQ(0, commands[0].lParam & static_cast<LPARAM>(0x80000000UL));
    EXPECT_EQ(std::vector<UINT>{UWM_KEY_REFRESH}, Kinds(Press(VK_F6)));
    EXPECT_EQ(std::vector<UINT>{UWM_KEY_RENAME}, Kinds(Press(VK_F2)));
    EXPECT_EQ(std::vector<UINT>{UWM_KEY_SELECT_ALL}, Kinds(Press('A')));
    EXPECT_TRUE(Press(VK_F5).empty());
    EXPECT_TRUE(Press('B').empty());
    // The keys still reach the focused window: "abcd" got its "a" and "b" after Delete at the end.
    EXPECT_EQ("abcdab", EditText(m_edit));
    ostrana::InjectKey(VK_CONTROL, true);
    EXPECT_EQ(std::vector<UINT>{UWM_KEY_SELECT_ALL}, Kinds(Press('A')));
    ostrana::InjectKey(VK_CONTROL, false);
    // Released keys are no commands.
    ostrana::InjectKey(VK_F2, false);
    EXPECT_TRUE(PumpKeepingCommands(m_main).empty());
}

TEST_F(KeyboardHookTest, ALabelBeingEditedGetsEveryKeyOnceAndTheCommandsStillGo) {
    ServerLabelEditing() = true;
    EXPECT_TRUE(Press(VK_BACK).empty());
    EXPECT_EQ("abc", EditText(m_edit));
    EXPECT_TRUE(Press(VK_LEFT).empty());
    EXPECT_TRUE(Press('X').empty());
    EXPECT_EQ("abxc", EditText(m_edit));
    EXPECT_EQ(std::vector<UINT>{UWM_KEY_DELETE}, Kinds(Press(VK_DELETE)));
    EXPECT_EQ("abx", EditText(m_edit));
    EXPECT_EQ(std::vector<UINT>{UWM_KEY_SELECT_ALL}, Kinds(Press('A')));
    EXPECT_EQ("abxa", EditText(m_edit));
    EXPECT_TRUE(Press(VK_HOME).empty());
    EXPECT_TRUE(Press(VK_BACK).empty());
    EXPECT_EQ("abxa", EditText(m_edit));

    ServerLabelEditing() = false;
    SendMessageA(m_edit, EM_SETSEL, 4, 4);
    EXPECT_TRUE(Press(VK_BACK).empty());
    EXPECT_EQ("abx", EditText(m_edit));
}

// Records what the focused window is sent, to see the hook's forwarding as the label edit sees it.
struct ForwardLog {
    static LRESULT Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_KEYDOWN || message == WM_CHAR) Messages().push_back({message, wParam});
        return DefWindowProcA(window, message, wParam, lParam);
    }
    static std::vector<std::pair<UINT, WPARAM>>& Messages() {
        static std::vector<std::pair<UINT, WPARAM>> messages;
        return messages;
    }
};

TEST_F(KeyboardHookTest, BackspaceReachesTheLabelAsACharacterAndOtherKeysAsKeyDowns) {
    HWND target = ostrana::test::MakeTestWindow("ForwardTarget", &ForwardLog::Procedure, WS_CHILD | WS_VISIBLE, {700, 40, 900, 60}, m_page);
    SetFocus(target);
    ForwardLog::Messages().clear();
    ServerLabelEditing() = true;
    Press(VK_BACK);
    Press(VK_RIGHT);
    Press('K');
    using Log = std::vector<std::pair<UINT, WPARAM>>;
    EXPECT_EQ((Log{{WM_CHAR, VK_BACK}, {WM_KEYDOWN, VK_RIGHT}, {WM_KEYDOWN, 'K'}, {WM_CHAR, 'k'}}), ForwardLog::Messages());
    DestroyWindow(target);
}

TEST_F(KeyboardHookTest, ControlsShareOneHookSoEachKeyIsOneCommand) {
    HHOOK hook = OstranaKeyboardHook();
    ASSERT_NE(hook, nullptr);
    {
        HostedOstrana other(m_page, {0, 0, 600, 600});
        EXPECT_EQ(OstranaKeyboardHook(), hook);
        EXPECT_EQ(std::vector<UINT>{UWM_KEY_RENAME}, Kinds(Press(VK_F2)));
    }
    EXPECT_EQ(OstranaKeyboardHook(), hook);
    m_ostrana.reset();
    EXPECT_EQ(OstranaKeyboardHook(), nullptr);
}

} // namespace
