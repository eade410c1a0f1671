// The progress dialog as a window on a thread of its own, so that it keeps painting and answering
// Cancel while the driving thread works. Start creates the window and waits until it exists; Stop
// destroys it and joins the thread. Updates are copied into the shared state and posted.
#pragma once

#include <condition_variable>
#include <functional>
#include <thread>

#include "platform/shell/ProgressDialog.h"
#include "platform/shell/ProgressWindow.h"

namespace ostrana {

class WindowProgressPresenter : public ProgressPresenter {
public:
    // `clock` gives milliseconds for the time left; GetTickCount when empty.
    explicit WindowProgressPresenter(std::function<DWORD()> clock = {});
    ~WindowProgressPresenter() override;
    WindowProgressPresenter(const WindowProgressPresenter&) = delete;
    WindowProgressPresenter& operator=(const WindowProgressPresenter&) = delete;

    void OnStart(DWORD flags) override;
    void OnStop() override;
    void OnTitle(const std::string& title) override;
    void OnAnimation(UINT animationId) override;
    void OnLine(DWORD lineNumber, const std::string& text) override;
    void OnCancelMessage(const std::string& text) override;
    void OnProgress(ULONGLONG completed, ULONGLONG total) override;
    void OnTimerReset() override;
    bool IsCancelled() override;

    // The window while the dialog is up, else null.
    HWND Window() const;

private:
    void Run();
    void Change(const std::function<void(ProgressState&)>& change);

    ProgressState m_state;
    std::thread m_thread;
    mutable std::mutex m_windowLock;
    std::condition_variable m_windowReady;
    HWND m_window = nullptr;
    bool m_windowDone = false;
};

} // namespace ostrana
