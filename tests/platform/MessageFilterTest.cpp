// Retrieval details: filters by window and range, PM_NOREMOVE, WM_QUIT after the posted messages,
// thread messages, timer procedures, accelerators, work run on a window's thread.
#include <gtest/gtest.h>

#include "platform/base/Thread.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/Menu.h"
#include "platform/window/VirtualKeys.h"
#include "tests/platform/TestWindows.h"
#include "tests/support/WindowHarness.h"

namespace ostrana::test {
namespace {

TEST(Retrieval, FiltersByWindowAndRangeAndKeepsWhatIsOnlyPeeked) {
    HWND top = MakeTestWindow("FilterPlain", DefWindowProcA, WS_POPUP, RECT{0, 0, 10, 10});
    HWND child = MakeTestWindow("FilterPlain", DefWindowProcA, WS_CHILD, RECT{0, 0, 5, 5}, top, 1);
    HWND other = MakeTestWindow("FilterPlain", DefWindowProcA, WS_POPUP, RECT{0, 0, 10, 10});
    PostMessageA(other, WM_APP + 1, 0, 0);
    PostMessageA(child, WM_APP + 2, 0, 0);
    PostMessageA(top, WM_USER + 3, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, top, 0, 0, PM_NOREMOVE)); // the child's message counts for its parent
    EXPECT_EQ(static_cast<UINT>(WM_APP + 2), msg.message);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_USER, WM_USER + 10, PM_REMOVE));
    EXPECT_EQ(static_cast<UINT>(WM_USER + 3), msg.message);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(static_cast<UINT>(WM_APP + 1), msg.message);
    PostQuitMessage(3);
    PostThreadMessageA(GetCurrentThreadId(), WM_APP + 9, 0, 0);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(static_cast<UINT>(WM_APP + 2), msg.message);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(static_cast<UINT>(WM_APP + 9), msg.message); // posted messages go before WM_QUIT
    EXPECT_EQ(nullptr, msg.hwnd);
    EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(static_cast<UINT>(WM_QUIT), msg.message);
    EXPECT_EQ(3u, msg.wParam);
    DestroyWindow(top);
    DestroyWindow(other);
    PumpUntilIdle();
}

std::vector<UINT_PTR> g_fired;
void TimerProcedure(HWND, UINT, UINT_PTR id, DWORD) { g_fired.push_back(id); }

TEST(Retrieval, ThreadTimersCallTheirProcedure) {
    UseManualMessageClock(true);
    g_fired.clear();
    UINT_PTR id = SetTimer(nullptr, 0, 20, TimerProcedure);
    EXPECT_NE(0u, id);
    AdvanceMessageClock(20);
    PumpUntilIdle();
    EXPECT_EQ((std::vector<UINT_PTR>{id}), g_fired);
    EXPECT_TRUE(KillTimer(nullptr, id));
    EXPECT_FALSE(KillTimer(nullptr, id));
    UseManualMessageClock(false);
}

TEST(Retrieval, AcceleratorsTurnKeysIntoCommandsWithTheirModifiers) {
    UiThread ui;
    ui.Run([] {
        ResetInputState();
        HWND window = MakeTestWindow("AccelTarget", DefWindowProcA, WS_POPUP | WS_VISIBLE, RECT{0, 0, 10, 10});
        MessageRecorder recorder(window, {WM_COMMAND});
        SetFocus(window);
        ACCEL entries[] = {{FVIRTKEY | FCONTROL, 'N', 500}, {FVIRTKEY, VK_F5, 501}};
        HACCEL table = CreateAcceleratorTableA(entries, 2);
        InjectKeyPress('N');              // no Ctrl: not the accelerator
        InjectKey(VK_CONTROL, true);
        InjectKeyPress('N');
        InjectKey(VK_CONTROL, false);
        InjectKeyPress(VK_F5);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!TranslateAcceleratorA(window, table, &msg)) DispatchMessageA(&msg);
        }
        EXPECT_TRUE(SameSequence({"WM_COMMAND 500 1", "WM_COMMAND 501 1"}, recorder.Messages()));
        DestroyAcceleratorTable(table);
        DestroyWindow(window);
    });
}

TEST(Retrieval, WorkRunsOnTheWindowsThreadAndSeesItAsASentMessage) {
    UiThread ui;
    HWND window = ui.Get<HWND>([] { return MakeTestWindow("WorkTarget", DefWindowProcA, WS_POPUP, RECT{0, 0, 1, 1}); });
    DWORD thread = 0;
    RunOnWindowThread(window, [&] { thread = GetCurrentThreadId(); });
    EXPECT_EQ(ui.ThreadId(), thread);
    EXPECT_FALSE(InSendMessage());
    ui.Run([window] { DestroyWindow(window); });
}

} // namespace
} // namespace ostrana::test
