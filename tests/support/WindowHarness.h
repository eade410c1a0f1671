// The headless window harness: a user-interface thread with its message loop, a way to run code
// on it, to wait until it is idle or until a window appears, and a recorder that lists the messages
// a window receives for comparison with an expected table.
#pragma once

#include <chrono>
#include <condition_variable>
#include <future>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/window/DisplayObserver.h"
#include "platform/window/Messages.h"

namespace ostrana::test {

class UiThread {
public:
    UiThread();
    ~UiThread();
    UiThread(const UiThread&) = delete;
    UiThread& operator=(const UiThread&) = delete;

    // Runs `work` on the user-interface thread and waits for it; works inside modal loops too.
    void Run(const std::function<void()>& work);
    template <typename T> T Get(const std::function<T()>& work) {
        T value{};
        Run([&] { value = work(); });
        return value;
    }
    // Serves everything queued for the thread, paints included.
    void WaitIdle();
    DWORD ThreadId() const { return m_threadId; }

private:
    void Loop();

    std::thread m_thread;
    std::mutex m_lock;
    std::condition_variable m_ready;
    HWND m_helper = nullptr;
    DWORD m_threadId = 0;
};

// Waits for windows to appear; sees every window created or shown from any thread.
class WindowWaiter : public DisplayObserver {
public:
    WindowWaiter();
    ~WindowWaiter() override;
    // The first visible top-level window of `className` (and caption, when given), waiting up to
    // `timeoutMs`; null on time-out.
    HWND WaitForTopLevel(const std::string& className, const std::string& captionAnsi = "", int timeoutMs = 10000);
    // Waits until `condition` holds, checking it after every window change; false on time-out.
    bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 10000);
    void OnWindowChanged(HWND, WindowChange) override;

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    unsigned m_generation = 0;
};

// Closes the dialogs still open after a test gave up on them, so that a failing test ends.
void CancelOpenDialogs();

// The result of a modal window run on another thread. A window that never closes fails the test
// and is cancelled instead of hanging it.
template <typename T> T AwaitModal(std::future<T>& result, int timeoutMs = 30000) {
    if (result.wait_for(std::chrono::milliseconds(timeoutMs)) != std::future_status::ready) {
        ADD_FAILURE() << "a modal window did not close within " << timeoutMs << " ms";
        CancelOpenDialogs();
    }
    return result.get();
}

std::string MessageName(UINT message);

// Subclasses a window and records the messages it receives (names, with wParam for WM_COMMAND,
// WM_NOTIFY codes and the like) until the recorder goes away or the window is destroyed.
class MessageRecorder {
public:
    explicit MessageRecorder(HWND window, std::vector<UINT> only = {});
    ~MessageRecorder();
    std::vector<std::string> Messages() const;
    void Clear();

private:
    static LRESULT Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_window;
    WNDPROC m_previous;
    std::vector<UINT> m_only;
    mutable std::mutex m_lock;
    std::vector<std::string> m_messages;
};

// Both sides, one per line, when they differ.
::testing::AssertionResult SameSequence(const std::vector<std::string>& expected, const std::vector<std::string>& actual);

} // namespace ostrana::test
