// Message order, cross-thread sends (also mutual), threads that end, timers and keyboard hooks.
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/Messages.h"
#include "platform/window/VirtualKeys.h"
#include "platform/window/WindowGeometry.h"
#include "tests/support/WindowHarness.h"

namespace ostrana::test {
namespace {

std::atomic<HWND> g_first{nullptr};
std::atomic<HWND> g_second{nullptr};

LRESULT PingPong(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_APP + 1: return SendMessageA(g_second, WM_APP + 2, 0, 0) + 1;   // on the first thread
    case WM_APP + 2: return SendMessageA(g_first, WM_APP + 3, 0, 0) + 10;   // on the second thread
    case WM_APP + 3: return 5;                                               // on the first, while it waits
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

HWND MakeWindow(const char* className, WNDPROC procedure, DWORD style = WS_POPUP | WS_VISIBLE) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.lpszClassName = className;
    windowClass.style = CS_DBLCLKS;
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, className, "", style, 10, 10, 200, 100, nullptr, nullptr, nullptr, nullptr);
}

class ManualClock {
public:
    ManualClock() { UseManualMessageClock(true); }
    ~ManualClock() { UseManualMessageClock(false); }
};

TEST(MessageQueue, PostedThenInputThenPaintThenTimers) {
    ManualClock clock;
    UiThread ui;
    std::vector<std::string> seen;
    ui.Run([&] {
        HWND window = MakeWindow("OrderWindow", DefWindowProcA);
        MessageRecorder recorder(window, {WM_APP + 1, WM_KEYDOWN, WM_CHAR, WM_KEYUP, WM_PAINT, WM_TIMER});
        SetFocus(window);
        SetTimer(window, 7, 10, nullptr);
        AdvanceMessageClock(10);
        InjectKeyPress('A');
        PostMessageA(window, WM_APP + 1, 0, 0);
        PumpUntilIdle();
        seen = recorder.Messages();
        DestroyWindow(window);
    });
    EXPECT_TRUE(SameSequence({"WM_APP+1", "WM_KEYDOWN 65", "WM_CHAR 97", "WM_KEYUP 65", "WM_PAINT", "WM_TIMER 7"}, seen));
}

TEST(MessageQueue, TwoThreadsSendingToEachOtherDoNotDeadlock) {
    UiThread first;
    UiThread second;
    first.Run([] { g_first = MakeWindow("PingPong", PingPong, WS_POPUP); });
    second.Run([] { g_second = MakeWindow("PingPong", PingPong, WS_POPUP); });
    // first -> second -> first (served while the first waits) -> answers flow back: 5 + 10 + 1
    EXPECT_EQ(16, SendMessageA(g_first, WM_APP + 1, 0, 0));
    first.Run([] { DestroyWindow(g_first); });
    second.Run([] { DestroyWindow(g_second); });
}

TEST(MessageQueue, AThreadThatEndsTakesItsWindowsWithIt) {
    HWND orphan = nullptr;
    std::thread([&] { orphan = MakeWindow("Orphan", DefWindowProcA, WS_POPUP); }).join();
    EXPECT_FALSE(IsWindow(orphan));
    EXPECT_EQ(0, SendMessageA(orphan, WM_GETTEXTLENGTH, 0, 0));
    EXPECT_FALSE(PostMessageA(orphan, WM_APP, 0, 0));
}

TEST(MessageQueue, SenderWaitingWhenTheTargetThreadEndsGetsZero) {
    std::promise<HWND> created;
    std::promise<void> release;
    std::thread target([&] {
        created.set_value(MakeWindow("Leaving", DefWindowProcA, WS_POPUP));
        while ((GetQueueStatus(QS_SENDMESSAGE) & QS_SENDMESSAGE) == 0) std::this_thread::yield();
        release.get_future().wait();
    });
    HWND window = created.get_future().get();
    auto answer = std::async(std::launch::async, [&] { return SendMessageA(window, WM_GETTEXTLENGTH, 0, 0); });
    release.set_value();
    target.join();
    EXPECT_EQ(0, answer.get());
}

TEST(MessageQueue, TimersFireWhenDueAndStopWhenKilled) {
    ManualClock clock;
    UiThread ui;
    ui.Run([] {
        HWND window = MakeWindow("TimerWindow", DefWindowProcA, WS_POPUP);
        MessageRecorder recorder(window, {WM_TIMER});
        SetTimer(window, 3, 100, nullptr);
        AdvanceMessageClock(50);
        PumpUntilIdle();
        EXPECT_TRUE(recorder.Messages().empty());
        AdvanceMessageClock(50);
        PumpUntilIdle();
        AdvanceMessageClock(350); // several periods late still give one message
        PumpUntilIdle();
        EXPECT_TRUE(SameSequence({"WM_TIMER 3", "WM_TIMER 3"}, recorder.Messages()));
        KillTimer(window, 3);
        AdvanceMessageClock(500);
        PumpUntilIdle();
        EXPECT_EQ(2u, recorder.Messages().size());
        DestroyWindow(window);
    });
}

struct HookLog {
    std::vector<std::pair<WPARAM, bool>> keys; // virtual key, released
    HHOOK first = nullptr;
    HHOOK second = nullptr;
    bool swallow = false;
};
HookLog g_hooks;

LRESULT NewerHook(int code, WPARAM wParam, LPARAM lParam) {
    bool released = (static_cast<DWORD>(lParam) & 0x80000000u) != 0;
    if (g_hooks.swallow && wParam == 'Q' && !released) return 1;
    return CallNextHookEx(g_hooks.second, code, wParam, lParam);
}

LRESULT OlderHook(int code, WPARAM wParam, LPARAM lParam) {
    g_hooks.keys.emplace_back(wParam, (static_cast<DWORD>(lParam) & 0x80000000u) != 0);
    return CallNextHookEx(g_hooks.first, code, wParam, lParam);
}

TEST(KeyboardHook, ChainPassesKeysOnAndMarksReleases) {
    UiThread ui;
    g_hooks = HookLog{};
    g_hooks.first = SetWindowsHookExA(WH_KEYBOARD, OlderHook, nullptr, 0);
    g_hooks.second = SetWindowsHookExA(WH_KEYBOARD, NewerHook, nullptr, 0);
    ui.Run([] {
        HWND window = MakeWindow("HookWindow", DefWindowProcA);
        MessageRecorder recorder(window, {WM_KEYDOWN, WM_KEYUP});
        SetFocus(window);
        InjectKeyPress(VK_F2);
        g_hooks.swallow = true;
        InjectKeyPress('Q');
        PumpUntilIdle();
        EXPECT_TRUE(SameSequence({"WM_KEYDOWN 113", "WM_KEYUP 113", "WM_KEYUP 81"}, recorder.Messages()));
        DestroyWindow(window);
    });
    UnhookWindowsHookEx(g_hooks.second);
    UnhookWindowsHookEx(g_hooks.first);
    ASSERT_EQ(3u, g_hooks.keys.size()); // the swallowed key-down never reached the older hook
    EXPECT_EQ((std::pair<WPARAM, bool>{VK_F2, false}), g_hooks.keys[0]);
    EXPECT_EQ((std::pair<WPARAM, bool>{VK_F2, true}), g_hooks.keys[1]);
    EXPECT_EQ((std::pair<WPARAM, bool>{'Q', true}), g_hooks.keys[2]);
}

} // namespace
} // namespace ostrana::test
