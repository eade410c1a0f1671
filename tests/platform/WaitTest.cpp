// Waits that keep answering sent messages, MsgWaitForMultipleObjects, sends with a time-out, and the
// thread safety of observers, the cursor count and EnableWindow across threads.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <future>
#include <thread>

#include "platform/base/Event.h"
#include "platform/base/LastError.h"
#include "platform/base/Thread.h"
#include "platform/window/Cursor.h"
#include "platform/window/DisplayObserver.h"
#include "platform/window/Focus.h"
#include "platform/window/MessageBox.h"
#include "platform/window/MessageBoxWindow.h"
#include "platform/window/Messages.h"
#include "tests/platform/TestWindows.h"
#include "tests/support/WindowHarness.h"

namespace ostrana::test {
namespace {

using Clock = std::chrono::steady_clock;

constexpr UINT kGetWatchPath = WM_APP + 5002;
constexpr char kWatchedPath[] = "C:\\home\\ana";

long long MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

class Handle {
public:
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    ~Handle() { CloseHandle(m_handle); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return m_handle; }

private:
    HANDLE m_handle;
};

LRESULT WatchedListProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kGetWatchPath) {
        std::strcpy(reinterpret_cast<char*>(wParam), kWatchedPath);
        return 1;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Stands in for a folder watcher: on re-arm it asks the list for its path (a send that blocks
// until the list's thread answers), and ends on stop.
struct Watcher {
    HWND list = nullptr;
    HANDLE rearm = nullptr;
    HANDLE stop = nullptr;
    char path[260] = {};
    int asked = 0;
};

DWORD WatcherProc(LPVOID parameter) {
    auto& watcher = *static_cast<Watcher*>(parameter);
    HANDLE events[2] = {watcher.rearm, watcher.stop};
    for (;;) {
        DWORD which = WaitForMultipleObjects(2, events, FALSE, INFINITE);
        if (which != WAIT_OBJECT_0) return 0;
        SendMessageA(watcher.list, kGetWatchPath, reinterpret_cast<WPARAM>(watcher.path), 0);
        watcher.asked++;
    }
}

TEST(Waits, StopAllWhileTheWatcherSendsToTheWaitingThreadEnds) {
    UiThread ui;
    Handle rearm(CreateEventA(nullptr, FALSE, FALSE, nullptr));
    Handle stop(CreateEventA(nullptr, FALSE, FALSE, nullptr));
    Watcher watcher;
    watcher.rearm = rearm.get();
    watcher.stop = stop.get();
    DWORD result = ui.Get<DWORD>([&] {
        watcher.list = MakeTestWindow("WatchedList", WatchedListProcedure, WS_POPUP, RECT{0, 0, 10, 10});
        Handle thread(CreateThread(nullptr, 0, WatcherProc, &watcher, 0, nullptr));
        // The re-arm comes first in the watcher's wait, so it sends before it sees the stop.
        SetEvent(rearm.get());
        SetEvent(stop.get());
        HANDLE threads[1] = {thread.get()};
        DWORD ended = WaitForMultipleObjects(1, threads, TRUE, 10000);
        DestroyWindow(watcher.list);
        return ended;
    });
    EXPECT_EQ(WAIT_OBJECT_0, result);
    EXPECT_EQ(1, watcher.asked);
    EXPECT_STREQ(kWatchedPath, watcher.path);
}

struct Prompter {
    std::atomic<HWND> owner{nullptr};
    HANDLE done = nullptr;
    int answer = 0;
};

// Stands in for a transfer worker that asks the user in a modal box owned by the main window.
DWORD PromptThenFinish(LPVOID parameter) {
    auto& prompter = *static_cast<Prompter*>(parameter);
    prompter.answer = MessageBoxA(prompter.owner, "overwrite?", "prompt", MB_YESNO);
    SetEvent(prompter.done);
    return 0;
}

LRESULT EnableRecorder(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(Waits, StopTransferWaitAnswersTheWorkersPromptDisablingTheMainWindow) {
    SetMessageBoxPresenter(std::make_shared<WindowMessageBoxPresenter>());
    UiThread ui;
    WindowWaiter waiter;
    Handle done(CreateEventA(nullptr, FALSE, FALSE, nullptr));
    Prompter prompter;
    prompter.done = done.get();
    std::vector<std::string> seen;
    auto stopped = std::async(std::launch::async, [&] {
        return ui.Get<DWORD>([&] {
            prompter.owner = MakeTestWindow("MainStandIn", EnableRecorder, WS_POPUP | WS_VISIBLE, RECT{0, 0, 300, 200});
            MessageRecorder recorder(prompter.owner, {WM_ENABLE});
            Handle worker(CreateThread(nullptr, 0, PromptThenFinish, &prompter, 0, nullptr));
            auto start = Clock::now();
            DWORD waited = WaitForSingleObject(done.get(), 5000);
            EXPECT_LT(MillisecondsSince(start), 5000);
            WaitForSingleObject(worker.get(), 5000);
            seen = recorder.Messages();
            DestroyWindow(prompter.owner);
            return waited;
        });
    });
    HWND box = waiter.WaitForTopLevel("#32770", "prompt", 4000);
    ASSERT_NE(nullptr, box) << "the prompt could not disable its owner";
    EXPECT_FALSE(IsWindowEnabled(prompter.owner));
    PostMessageA(box, WM_COMMAND, IDYES, 0);
    EXPECT_EQ(WAIT_OBJECT_0, AwaitModal(stopped, 10000));
    EXPECT_EQ(IDYES, prompter.answer);
    EXPECT_TRUE(SameSequence({"WM_ENABLE 0", "WM_ENABLE 1"}, seen));
    SetMessageBoxPresenter(nullptr);
}

TEST(Waits, MessageWaitEndsForTheKindsOfMessageAskedFor) {
    UiThread ui;
    Handle event(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    HWND window = ui.Get<HWND>([] { return MakeTestWindow("MessageWaiter", DefWindowProcA, WS_POPUP, RECT{0, 0, 10, 10}); });
    ui.Run([&] {
        HANDLE handles[1] = {event.get()};
        EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), MsgWaitForMultipleObjects(1, handles, FALSE, 20, QS_ALLINPUT));
        PostMessageA(window, WM_APP, 0, 0);
        EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), MsgWaitForMultipleObjects(1, handles, FALSE, 0, QS_SENDMESSAGE));
        EXPECT_EQ(WAIT_OBJECT_0 + 1, MsgWaitForMultipleObjects(1, handles, FALSE, 0, QS_POSTMESSAGE));
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        SetTimer(window, 1, 10, nullptr);
        EXPECT_EQ(WAIT_OBJECT_0 + 1, MsgWaitForMultipleObjects(1, handles, FALSE, 5000, QS_TIMER));
        KillTimer(window, 1);
        SetEvent(event.get());
        EXPECT_EQ(WAIT_OBJECT_0, MsgWaitForMultipleObjects(1, handles, FALSE, 5000, QS_ALLINPUT));
        ResetEvent(event.get());
    });
    // A send from another thread wakes the wait; PeekMessage then answers it.
    std::promise<void> waiting;
    auto answered = std::async(std::launch::async, [&] {
        waiting.get_future().wait();
        return SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
    });
    ui.Run([&] {
        HANDLE handles[1] = {event.get()};
        waiting.set_value();
        EXPECT_EQ(WAIT_OBJECT_0 + 1, MsgWaitForMultipleObjects(1, handles, FALSE, 10000, QS_SENDMESSAGE));
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
        DestroyWindow(window);
    });
    EXPECT_EQ(0, answered.get());
}

std::atomic<int> g_slowCalls{0};

LRESULT SlowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) {
        g_slowCalls++;
        return 7;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(Waits, SendWithTimeOutGivesUpOnABusyThreadAndTheMessageIsWithdrawn) {
    UiThread ui;
    g_slowCalls = 0;
    HWND window = ui.Get<HWND>([] { return MakeTestWindow("SlowWindow", SlowProcedure, WS_POPUP, RECT{0, 0, 10, 10}); });
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::promise<void> busy;
    auto running = std::async(std::launch::async, [&] {
        ui.Run([&] {
            busy.set_value();
            released.wait(); // busy without looking at its queue
        });
    });
    busy.get_future().wait();
    DWORD_PTR answer = 99;
    auto start = Clock::now();
    SetLastError(0);
    EXPECT_EQ(0, SendMessageTimeoutA(window, WM_APP, 0, 0, SMTO_NORMAL, 50, &answer));
    EXPECT_GE(MillisecondsSince(start), 50);
    EXPECT_EQ(static_cast<DWORD>(ERROR_TIMEOUT), GetLastError());
    EXPECT_EQ(99u, answer);
    release.set_value();
    running.get();
    ui.WaitIdle();
    EXPECT_EQ(0, g_slowCalls.load());
    EXPECT_EQ(1, SendMessageTimeoutA(window, WM_APP, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer));
    EXPECT_EQ(7u, answer);
    ui.Run([window] { DestroyWindow(window); });
    EXPECT_EQ(0, SendMessageTimeoutA(window, WM_APP, 0, 0, SMTO_NORMAL, 50, &answer));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE), GetLastError());
}

std::atomic<HWND> g_caller{nullptr};
std::atomic<LRESULT> g_innerResult{-1};

LRESULT CallBackProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP + 1) {
        DWORD_PTR answer = 0;
        g_innerResult = SendMessageTimeoutA(g_caller, WM_APP + 2, 0, 0, SMTO_NORMAL, 50, &answer);
        return 3;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(Waits, SendWithBlockDoesNotAnswerSendsWhileItWaits) {
    UiThread caller;
    UiThread callee;
    g_caller = caller.Get<HWND>([] { return MakeTestWindow("BlockCaller", DefWindowProcA, WS_POPUP, RECT{0, 0, 10, 10}); });
    HWND target = callee.Get<HWND>([] { return MakeTestWindow("BlockCallee", CallBackProcedure, WS_POPUP, RECT{0, 0, 10, 10}); });
    for (UINT flags : {static_cast<UINT>(SMTO_BLOCK), static_cast<UINT>(SMTO_NORMAL)}) {
        g_innerResult = -1;
        DWORD_PTR answer = 0;
        LRESULT sent = caller.Get<LRESULT>([&] { return SendMessageTimeoutA(target, WM_APP + 1, 0, 0, flags, 5000, &answer); });
        EXPECT_EQ(1, sent);
        EXPECT_EQ(3u, answer);
        // Blocked, the caller leaves the call back unanswered until it times out.
        EXPECT_EQ(flags == SMTO_BLOCK ? 0 : 1, g_innerResult.load()) << "flags " << flags;
    }
    callee.Run([target] { DestroyWindow(target); });
    caller.Run([] { DestroyWindow(g_caller); });
}

// Holds its first callback until released and records whether any callback was still running
// when its removal returned.
class SlowObserver : public DisplayObserver {
public:
    void OnWindowChanged(HWND, WindowChange change) override {
        if (change != WindowChange::Text) return;
        m_running++;
        if (!m_heldOnce.exchange(true)) {
            m_entered.set_value();
            m_release.wait();
        }
        m_running--;
    }
    std::promise<void> m_entered;
    std::shared_future<void> m_release;
    std::atomic<int> m_running{0};
    std::atomic<bool> m_heldOnce{false};
};

TEST(Observers, RemovalWaitsForTheCallbacksThatRun) {
    UiThread ui;
    HWND window = ui.Get<HWND>([] { return MakeTestWindow("ObservedWindow", DefWindowProcA, WS_POPUP, RECT{0, 0, 10, 10}); });
    auto observer = std::make_unique<SlowObserver>();
    std::promise<void> release;
    observer->m_release = release.get_future().share();
    auto entered = observer->m_entered.get_future();
    AddDisplayObserver(observer.get());
    auto changing = std::async(std::launch::async, [&] { ui.Run([window] { SetWindowTextA(window, "changed"); }); });
    entered.wait();
    std::promise<void> removing;
    auto removed = std::async(std::launch::async, [&] {
        removing.set_value();
        RemoveDisplayObserver(observer.get());
        return observer->m_running.load();
    });
    removing.get_future().wait();
    release.set_value();
    EXPECT_EQ(0, removed.get());
    changing.get();
    observer.reset(); // destroyed right after its removal: no callback may reach it any more
    ui.Run([window] {
        SetWindowTextA(window, "again");
        DestroyWindow(window);
    });
}

class SelfRemovingObserver : public DisplayObserver {
public:
    void OnWindowChanged(HWND, WindowChange) override {
        calls++;
        RemoveDisplayObserver(this);
    }
    std::atomic<int> calls{0};
};

TEST(Observers, ObserversComeAndGoWhileOtherThreadsChangeWindows) {
    UiThread first;
    UiThread second;
    HWND one = first.Get<HWND>([] { return MakeTestWindow("BusyWindow", DefWindowProcA, WS_POPUP, RECT{0, 0, 10, 10}); });
    HWND two = second.Get<HWND>([] { return MakeTestWindow("BusyWindow", DefWindowProcA, WS_POPUP, RECT{0, 0, 10, 10}); });
    std::atomic<bool> stop{false};
    auto churn = [&stop](UiThread& ui, HWND window) {
        return std::async(std::launch::async, [&ui, window, &stop] {
            int changes = 0;
            while (!stop) {
                ui.Run([window, changes] { SetWindowTextA(window, std::to_string(changes).c_str()); });
                ++changes;
            }
        });
    };
    auto a = churn(first, one);
    auto b = churn(second, two);
    for (int round = 0; round < 200; ++round) {
        auto observer = std::make_unique<WindowWaiter>();
        RemoveDisplayObserver(observer.get());
    }
    SelfRemovingObserver self;
    AddDisplayObserver(&self);
    WindowWaiter waiter;
    EXPECT_TRUE(waiter.WaitUntil([&] { return self.calls > 0; }, 10000));
    stop = true;
    a.get();
    b.get();
    // Each changing thread may have entered it once before it was gone; none after.
    EXPECT_LE(self.calls.load(), 2);
    first.Run([one] { DestroyWindow(one); });
    second.Run([two] { DestroyWindow(two); });
}

DWORD MakeWindowAndEnd(LPVOID parameter) {
    *static_cast<HWND*>(parameter) = MakeTestWindow("LeftBehind", DefWindowProcA, WS_POPUP, RECT{0, 0, 10, 10});
    return 3;
}

TEST(Threads, AThreadsWindowsAreGoneWhenItsHandleIsSignalled) {
    HWND window = nullptr;
    Handle thread(CreateThread(nullptr, 0, MakeWindowAndEnd, &window, 0, nullptr));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread.get(), 10000));
    EXPECT_NE(nullptr, window);
    EXPECT_FALSE(IsWindow(window));
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(thread.get(), &code));
    EXPECT_EQ(3u, code);
}

TEST(Threads, ShowCursorCountsAcrossThreads) {
    int base = ShowCursor(TRUE) - 1;
    ShowCursor(FALSE);
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i) {
        threads.emplace_back([] {
            for (int n = 0; n < 1000; ++n) ShowCursor(TRUE);
            for (int n = 0; n < 1000; ++n) ShowCursor(FALSE);
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(base + 1, ShowCursor(TRUE));
    ShowCursor(FALSE);
}

TEST(Threads, DisablingAWindowFromAnotherThreadTakesTheFocusOnItsOwnThread) {
    UiThread ui;
    HWND window = ui.Get<HWND>([] {
        HWND made = MakeTestWindow("FocusedWindow", DefWindowProcA, WS_POPUP | WS_VISIBLE, RECT{0, 0, 50, 50});
        SetFocus(made);
        return made;
    });
    MessageRecorder recorder(window, {WM_KILLFOCUS, WM_ENABLE});
    EnableWindow(window, FALSE);
    EXPECT_EQ(nullptr, ui.Get<HWND>([] { return GetFocus(); }));
    EXPECT_TRUE(SameSequence({"WM_KILLFOCUS", "WM_ENABLE 0"}, recorder.Messages()));
    EnableWindow(window, TRUE);
    ui.Run([window] { DestroyWindow(window); });
}

} // namespace
} // namespace ostrana::test
