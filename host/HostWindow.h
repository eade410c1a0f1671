// The container's top-level window on the user-interface thread: as large as the page's control
// area, the parent of the control's window, and the place where tasks from other threads (the
// page's requests, the display stream's wake-ups) run in order.
#pragma once

#include <deque>
#include <functional>
#include <mutex>

#include "platform/window/Messages.h"

namespace ostrana::host {

class HostWindow {
public:
    using Task = std::function<void()>;

    // Creates the window over the whole screen; on the thread that will run its loop.
    HostWindow();
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    HWND Handle() const { return m_window; }

    // Any thread. Tasks run in the order posted, also while a modal loop runs.
    void Post(Task task);
    // Any thread: the loop ends after the closing handler ran. Modal windows open at the time
    // are cancelled first, so the teardown runs in the outer loop, not under a dialog's feet.
    void Quit();

    // User-interface thread: the screen and the window take the area's size; then `resized`.
    void Resize(SIZE area);
    void OnResized(std::function<void(const RECT& client)> resized) { m_resized = std::move(resized); }
    // Called on WM_CLOSE before the window goes, so the control is torn down first.
    void OnClosing(std::function<void()> closing) { m_closing = std::move(closing); }

    // The message loop until Quit; returns the exit code.
    int Run();

private:
    static LRESULT Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void RunTasks();
    void Paint();
    void Close();
    bool InsideModalLoop() const;
    bool IsModelessDialogKey(MSG& message) const;

    // The message Run is dispatching, so a close can tell the outer loop from a nested one.
    const MSG* m_dispatching = nullptr;
    bool m_running = false;
    int m_closeRounds = 0;

    HWND m_window = nullptr;
    std::mutex m_lock;
    std::deque<Task> m_tasks; // guarded by m_lock
    std::function<void(const RECT&)> m_resized;
    std::function<void()> m_closing;
};

} // namespace ostrana::host
