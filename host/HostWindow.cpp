// The container's top-level window and its message loop.
#include "host/HostWindow.h"

#include <string_view>

#include "platform/base/Thread.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/ScreenSize.h"
#include "platform/gdi/SysColors.h"
#include "platform/window/Controls.h"
#include "platform/window/Dialog.h"
#include "platform/window/Menu.h"
#include "platform/window/MessageBox.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"
#include "platform/window/WindowGeometry.h"
#include "platform/window/WindowStyles.h"

namespace ostrana::host {

namespace {

constexpr UINT kRunTasks = WM_APP + 1;
constexpr const char* kClassName = "OstranaContainer";
constexpr UINT_PTR kCloseTimer = 1;
constexpr UINT kCloseRetryMs = 100;
// Modal windows get this many chances to end before the teardown runs regardless.
constexpr int kMaxCloseRounds = 30;

bool IsDialogWindow(HWND window)
{
    char className[16] = {};
    return GetClassNameA(window, className, sizeof className) > 0 && std::string_view(className) == WC_DIALOG;
}

BOOL CancelDialog(HWND window, LPARAM)
{
    if (IsDialogWindow(window) && IsWindowVisible(window))
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

} // namespace

HostWindow::HostWindow()
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &HostWindow::Procedure;
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);
    SIZE screen = ScreenSize();
    m_window = CreateWindowExA(0, kClassName, "ostrana", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, screen.cx,
                               screen.cy, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtrA(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

HostWindow::~HostWindow()
{
    if (m_window && IsWindow(m_window)) {
        SetWindowLongPtrA(m_window, GWLP_USERDATA, 0);
        DestroyWindow(m_window);
    }
}

void HostWindow::Post(Task task)
{
    {
        std::lock_guard guard(m_lock);
        m_tasks.push_back(std::move(task));
    }
    PostMessageA(m_window, kRunTasks, 0, 0);
}

void HostWindow::Quit()
{
    PostMessageA(m_window, WM_CLOSE, 0, 0);
}

void HostWindow::Resize(SIZE area)
{
    SetScreenSize(area);
    SetWindowPos(m_window, nullptr, 0, 0, area.cx, area.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    if (m_resized) {
        RECT client{};
        GetClientRect(m_window, &client);
        m_resized(client);
    }
}

// A modeless top-level dialog the program shows without a loop of its own (the shell's property
// sheets) gets its keys here: Escape, Enter and Tab work there as in any dialog.
bool HostWindow::IsModelessDialogKey(MSG& message) const
{
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST || message.hwnd == nullptr)
        return false;
    HWND root = GetAncestor(message.hwnd, GA_ROOT);
    return root != nullptr && root != m_window && IsDialogWindow(root) && IsDialogMessageA(root, &message) != FALSE;
}

int HostWindow::Run()
{
    MSG message{};
    m_running = true;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (IsModelessDialogKey(message))
            continue;
        TranslateMessage(&message);
        m_dispatching = &message;
        DispatchMessageA(&message);
        m_dispatching = nullptr;
    }
    m_running = false;
    return static_cast<int>(message.wParam);
}

LRESULT HostWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<HostWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcA(window, message, wParam, lParam);
    return self->Handle(message, wParam, lParam);
}

LRESULT HostWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case kRunTasks:
        RunTasks();
        return 0;
    case WM_PAINT:
        Paint();
        return 0;
    case WM_CLOSE:
        Close();
        return 0;
    case WM_TIMER:
        if (wParam != kCloseTimer)
            return DefWindowProcA(m_window, message, wParam, lParam);
        KillTimer(m_window, kCloseTimer);
        PostMessageA(m_window, WM_CLOSE, 0, 0);
        return 0;
    case WM_DESTROY:
        m_window = nullptr;
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(m_window, message, wParam, lParam);
    }
}

bool HostWindow::InsideModalLoop() const
{
    // Run dispatches the close itself unless a dialog, menu or drag loop took it out of the queue.
    return m_running && !(m_dispatching && m_dispatching->message == WM_CLOSE && m_dispatching->hwnd == m_window);
}

void HostWindow::Close()
{
    if (InsideModalLoop() && m_closeRounds++ < kMaxCloseRounds) {
        EndMenu();
        EnumThreadWindows(GetCurrentThreadId(), &CancelDialog, 0);
        SetTimer(m_window, kCloseTimer, kCloseRetryMs, nullptr);
        return;
    }
    if (m_closing)
        m_closing();
    DestroyWindow(m_window);
}

void HostWindow::RunTasks()
{
    // One task at a time, taken under the lock and run outside it: a task may post more, or
    // enter a modal loop that runs the tasks posted meanwhile.
    for (;;) {
        Task task;
        {
            std::lock_guard guard(m_lock);
            if (m_tasks.empty())
                return;
            task = std::move(m_tasks.front());
            m_tasks.pop_front();
        }
        task();
    }
}

void HostWindow::Paint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_window, &paint);
    RECT client{};
    GetClientRect(m_window, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    EndPaint(m_window, &paint);
}

} // namespace ostrana::host
