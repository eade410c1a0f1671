// The window thread runs a plain message loop until the window is destroyed; a failed creation
// still releases Start, and the presenter then behaves as a dialog that nobody sees.
#include "platform/shell/WindowProgressPresenter.h"

#include "platform/base/CodePage.h"
#include "platform/base/Thread.h"
#include "platform/window/Dialog.h"
#include "platform/window/Messages.h"
#include "platform/window/Window.h"
#include "platform/window/WindowMessages.h"

namespace ostrana {

WindowProgressPresenter::WindowProgressPresenter(std::function<DWORD()> clock) {
    m_state.clock = clock ? std::move(clock) : std::function<DWORD()>([] { return GetTickCount(); });
}

WindowProgressPresenter::~WindowProgressPresenter() { OnStop(); }

void WindowProgressPresenter::OnStart(DWORD flags) {
    OnStop();
    {
        std::lock_guard guard(m_state.lock);
        m_state.flags = flags;
        m_state.cancelled = false;
        m_state.timerStart = m_state.clock();
    }
    std::unique_lock guard(m_windowLock);
    m_windowDone = false;
    m_thread = std::thread([this] { Run(); });
    m_windowReady.wait(guard, [this] { return m_windowDone; });
}

void WindowProgressPresenter::Run() {
    HWND window = ProgressWindow::Create(m_state);
    {
        std::lock_guard guard(m_windowLock);
        m_window = window;
        m_windowDone = true;
    }
    m_windowReady.notify_all();
    MSG message;
    while (window != nullptr && IsWindow(window) && GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(window, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

void WindowProgressPresenter::OnStop() {
    HWND window = Window();
    if (window != nullptr) {
        RunOnWindowThread(window, [window] {
            DestroyWindow(window);
            PostQuitMessage(0);
        });
    }
    if (m_thread.joinable()) {
        m_thread.join();
    }
    std::lock_guard guard(m_windowLock);
    m_window = nullptr;
}

HWND WindowProgressPresenter::Window() const {
    std::lock_guard guard(m_windowLock);
    return m_window;
}

void WindowProgressPresenter::Change(const std::function<void(ProgressState&)>& change) {
    {
        std::lock_guard guard(m_state.lock);
        change(m_state);
    }
    if (HWND window = Window()) {
        ProgressWindow::Refresh(window, m_state);
    }
}

void WindowProgressPresenter::OnTitle(const std::string& title) {
    Change([&](ProgressState& state) { state.title = Utf8ToAnsi(title); });
}

void WindowProgressPresenter::OnAnimation(UINT animationId) {
    Change([&](ProgressState& state) { state.animationId = animationId; });
}

void WindowProgressPresenter::OnLine(DWORD lineNumber, const std::string& text) {
    if (lineNumber < 1 || lineNumber > 3) {
        return;
    }
    Change([&](ProgressState& state) { state.lines[lineNumber - 1] = Utf8ToAnsi(text); });
}

void WindowProgressPresenter::OnCancelMessage(const std::string& text) {
    Change([&](ProgressState& state) { state.cancelMessage = Utf8ToAnsi(text); });
}

void WindowProgressPresenter::OnProgress(ULONGLONG completed, ULONGLONG total) {
    Change([&](ProgressState& state) {
        state.completed = completed;
        state.total = total;
    });
}

void WindowProgressPresenter::OnTimerReset() {
    Change([](ProgressState& state) { state.timerStart = state.clock(); });
}

bool WindowProgressPresenter::IsCancelled() {
    std::lock_guard guard(m_state.lock);
    return m_state.cancelled;
}

} // namespace ostrana
