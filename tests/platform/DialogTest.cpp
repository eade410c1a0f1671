// Dialogs from templates: dialog units, focus and Tab order, the dialog keys, modal dialogs and
// message boxes on a worker thread while the UI thread stays live.
#include <gtest/gtest.h>

#include <future>

#include "platform/base/CodePage.h"
#include "platform/base/Event.h"
#include "platform/base/KernelObject.h"
#include "platform/window/Dialog.h"
#include "platform/window/DisplayObserver.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/MessageBoxWindow.h"
#include "platform/window/VirtualKeys.h"
#include "tests/platform/TestResources.h"
#include "tests/platform/TestWindows.h"
#include "tests/support/Golden.h"
#include "tests/support/TemplateDump.h"
#include "tests/support/WindowHarness.h"

namespace ostrana::test {
namespace {

std::string ItemName(HWND item) {
    return GetDlgCtrlID(item) > 0 ? std::to_string(GetDlgCtrlID(item)) : AnsiToUtf8(WindowText(item));
}

TEST(DialogUnits, GulimNinePointGivesSixByTwelvePixelsPerFourByEightUnits) {
    SIZE base = DialogBaseUnitsOf(Utf8ToAnsi("굴림"), 9);
    EXPECT_EQ(6, base.cx);
    EXPECT_EQ(12, base.cy);
    RECT pixels = DialogUnitsToPixels(RECT{4, 8, 271, 205}, base);
    EXPECT_EQ(6, pixels.left);
    EXPECT_EQ(12, pixels.top);
    EXPECT_EQ(406, pixels.right);
    EXPECT_EQ(307, pixels.bottom);
    HWND dialog = CreateDialogParamA(TestResourceHandle(), MAKEINTRESOURCEA(IDD_TEST_CHOICE), nullptr, CloseOnCommand, 0);
    ASSERT_NE(nullptr, dialog);
    RECT client;
    GetClientRect(dialog, &client);
    EXPECT_EQ(406, client.right);
    EXPECT_EQ(307, client.bottom);
    RECT units{0, 0, 50, 14};
    MapDialogRect(dialog, &units);
    EXPECT_EQ(75, units.right);
    EXPECT_EQ(21, units.bottom);
    DestroyWindow(dialog);
}

TEST(DialogKeys, TabAndArrowsWalkTheTemplateOrder) {
    UiThread ui;
    std::vector<std::string> visited;
    ui.Run([&] {
        ResetInputState();
        HWND dialog = CreateDialogParamA(TestResourceHandle(), MAKEINTRESOURCEA(IDD_TEST_CHOICE), nullptr, CloseOnCommand, 0);
        ShowWindow(dialog, SW_SHOW);
        auto press = [&](UINT key) {
            InjectKeyPress(key);
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (!IsDialogMessageA(dialog, &msg)) DispatchMessageA(&msg);
            }
            visited.push_back(ItemName(GetFocus()));
        };
        visited.push_back(ItemName(GetFocus()));
        press(VK_TAB);
        press(VK_TAB);
        press(VK_TAB);
        InjectKey(VK_SHIFT, true);
        press(VK_TAB);
        InjectKey(VK_SHIFT, false);
        press(VK_TAB);
        press(VK_RIGHT);
        EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dialog, 235));
        EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(dialog, 234));
        press(VK_RIGHT);
        press(VK_RIGHT); // the group wraps around
        EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dialog, 234));
        DestroyWindow(dialog);
    });
    EXPECT_TRUE(SameSequence({"234", "1", "2", "234", "2", "234", "235", "236", "234"}, visited));
}

TEST(ModalDialog, RunsOnAWorkerThreadWhileTheUiThreadStaysLive) {
    UiThread ui;
    WindowWaiter waiter;
    HWND main = ui.Get<HWND>([] {
        HWND window = MakeTestWindow("MainStandIn", DefWindowProcA, WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100});
        SetFocus(window);
        return window;
    });
    auto worker = std::async(std::launch::async, [] {
        return DialogBoxParamA(TestResourceHandle(), MAKEINTRESOURCEA(IDD_TEST_ENTRY), nullptr, CloseOnCommand, 0);
    });
    HWND dialog = waiter.WaitForTopLevel("#32770", Utf8ToAnsi("이름 넣기"));
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(42, ui.Get<int>([] { return 42; })); // the UI thread still answers
    HWND edit = GetDlgItem(dialog, 247);
    EXPECT_EQ(edit, KeyboardFocusWindow());
    InjectText("myfolder/a");
    InjectKeyPress(VK_BACK);
    InjectKeyPress(VK_RETURN); // the default button
    EXPECT_EQ(IDOK, AwaitModal(worker));
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(main, KeyboardFocusWindow()); // keys go back to the user-interface thread
    ui.Run([main] { DestroyWindow(main); });
}

// Blocks the thread that takes a click until the worker's dialog has closed, as a window that
// waits for a transfer thread asking a question does.
HANDLE g_clickTaken = nullptr;
HANDLE g_dialogClosed = nullptr;
DWORD g_waitResult = WAIT_FAILED;
LRESULT WaitForDialogOnClick(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONDOWN) {
        SetEvent(g_clickTaken);
        g_waitResult = WaitForSingleObject(g_dialogClosed, 10000);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(ModalDialog, StillTakesKeysWhileAnotherThreadIsBusyWithAClick) {
    g_clickTaken = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    g_dialogClosed = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    UiThread ui;
    WindowWaiter waiter;
    HWND main = ui.Get<HWND>([] {
        ResetInputState();
        return MakeTestWindow("BusyMain", WaitForDialogOnClick, WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100});
    });
    auto worker = std::async(std::launch::async, [] {
        INT_PTR result =
            DialogBoxParamA(TestResourceHandle(), MAKEINTRESOURCEA(IDD_TEST_ENTRY), nullptr, CloseOnCommand, 0);
        SetEvent(g_dialogClosed);
        return result;
    });
    ASSERT_NE(nullptr, waiter.WaitForTopLevel("#32770", Utf8ToAnsi("이름 넣기")));
    RECT mainRect;
    GetWindowRect(main, &mainRect);
    InjectClick(MouseButton::Left, POINT{mainRect.right - 5, mainRect.bottom - 5});
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(g_clickTaken, 10000));
    InjectKeyPress(VK_ESCAPE);
    EXPECT_EQ(IDCANCEL, AwaitModal(worker));
    ui.WaitIdle();
    EXPECT_EQ(WAIT_OBJECT_0, g_waitResult);
    ui.Run([main] { DestroyWindow(main); });
    CloseHandle(g_clickTaken);
    CloseHandle(g_dialogClosed);
}

TEST(ModalDialog, EscapeCancels) {
    WindowWaiter waiter;
    auto worker = std::async(std::launch::async, [] {
        return DialogBoxParamA(TestResourceHandle(), MAKEINTRESOURCEA(IDD_TEST_CHOICE), nullptr, CloseOnCommand, 0);
    });
    ASSERT_NE(nullptr, waiter.WaitForTopLevel("#32770", Utf8ToAnsi("바꾸기 확인")));
    InjectKeyPress(VK_ESCAPE);
    EXPECT_EQ(IDCANCEL, AwaitModal(worker));
}

TEST(MessageBoxWindow, ShowsARealDialogOnAWorkerThreadAndAnswersTheChosenButton) {
    SetMessageBoxPresenter(std::make_shared<WindowMessageBoxPresenter>());
    UiThread ui;
    WindowWaiter waiter;
    std::string caption = "Quorel Report";
    auto worker = std::async(std::launch::async, [&] {
        return MessageBoxA(nullptr, Utf8ToAnsi("%s 파일을 정말로 삭제하시겠습니까 ?").c_str(), caption.c_str(),
                           MB_YESNO | MB_ICONEXCLAMATION | MB_TOPMOST | MB_DEFBUTTON2);
    });
    HWND box = waiter.WaitForTopLevel("#32770", caption);
    ASSERT_NE(nullptr, box);
    ui.Run([] {});
    RunOnWindowThread(box, [] { PumpUntilIdle(); });
    std::string dump;
    RunOnWindowThread(box, [&] { dump = DumpWindowTree(box); });
    EXPECT_TRUE(MatchesGolden(OSTRANA_GOLDEN_DIR, "messagebox_yesno", dump));
    InjectKeyPress(VK_ESCAPE); // a question cannot be escaped
    InjectKeyPress(VK_LEFT);   // to the Yes button
    RECT yes;
    GetWindowRect(GetDlgItem(box, IDYES), &yes);
    InjectClick(MouseButton::Left, POINT{yes.left + 5, yes.top + 5});
    EXPECT_EQ(IDYES, AwaitModal(worker));
    auto letter = std::async(std::launch::async, [&] { return MessageBoxA(nullptr, "?", "letters", MB_YESNO); });
    ASSERT_NE(nullptr, waiter.WaitForTopLevel("#32770", "letters"));
    InjectKeyPress('N'); // the underlined letter of 아니요(&N)
    EXPECT_EQ(IDNO, AwaitModal(letter));
    SetMessageBoxPresenter(nullptr);
}

TEST(MessageBoxWindow, EscapeAnswersCancelOrTheLoneOkButton) {
    SetMessageBoxPresenter(std::make_shared<WindowMessageBoxPresenter>());
    WindowWaiter waiter;
    for (auto [type, expected] : {std::pair<UINT, int>{MB_OKCANCEL, IDCANCEL}, std::pair<UINT, int>{MB_OK, IDOK}}) {
        std::string caption = "box " + std::to_string(type);
        auto worker = std::async(std::launch::async, [&] { return MessageBoxA(nullptr, "text", caption.c_str(), type); });
        ASSERT_NE(nullptr, waiter.WaitForTopLevel("#32770", caption));
        InjectKeyPress(VK_ESCAPE);
        EXPECT_EQ(expected, AwaitModal(worker));
    }
    SetMessageBoxPresenter(nullptr);
}

} // namespace
} // namespace ostrana::test
