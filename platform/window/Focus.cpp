#include "platform/window/Focus.h"

#include "platform/base/Thread.h"
#include "platform/window/Messages.h"
#include "platform/window/WindowSystem.h"

using namespace ostrana;
using namespace ostrana::detail;

namespace {

HWND RootOf(HWND handle) {
    auto window = Find(handle);
    while (window && window->parent != nullptr) {
        auto up = Find(window->parent);
        if (!up) break;
        window = up;
    }
    return window ? window->handle : nullptr;
}

void MakeForeground(DWORD thread) {
    System& sys = Sys();
    if (sys.foreground != thread) {
        sys.previousForeground = sys.foreground;
        sys.foreground = thread;
    }
}

} // namespace

HWND GetFocus() {
    Lock lock = LockSystem();
    auto queue = CurrentQueueLocked();
    return Find(queue->focus) ? queue->focus : nullptr;
}

HWND SetFocus(HWND window) {
    HWND previous = nullptr;
    {
        Lock lock = LockSystem();
        auto queue = CurrentQueueLocked();
        previous = Find(queue->focus) ? queue->focus : nullptr;
        if (window != nullptr) {
            auto object = Find(window);
            if (!object || object->thread != queue->thread) return nullptr;
            queue->active = RootOf(window);
            MakeForeground(queue->thread);
        }
        if (previous == window) return previous;
        queue->focus = window;
    }
    NotifyChange(window, WindowChange::Focus);
    if (previous != nullptr) SendMessageA(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
    if (window != nullptr && IsWindow(window)) SendMessageA(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    return previous;
}

HWND GetActiveWindow() {
    Lock lock = LockSystem();
    auto queue = CurrentQueueLocked();
    return Find(queue->active) ? queue->active : nullptr;
}

HWND KeyboardFocusWindow() {
    Lock lock = LockSystem();
    return KeyboardFocusWindowLocked();
}

HWND SetActiveWindow(HWND window) {
    HWND previous = nullptr;
    {
        Lock lock = LockSystem();
        auto queue = CurrentQueueLocked();
        previous = Find(queue->active) ? queue->active : nullptr;
        if (window != nullptr) {
            auto object = Find(window);
            if (!object || object->thread != queue->thread) return nullptr;
            window = RootOf(window);
            MakeForeground(queue->thread);
        }
        if (previous == window) return previous;
        queue->active = window;
    }
    NotifyChange(window, WindowChange::Focus);
    if (previous != nullptr) SendMessageA(previous, WM_NCACTIVATE, FALSE, 0);
    if (window != nullptr) SendMessageA(window, WM_NCACTIVATE, TRUE, 0);
    if (previous != nullptr) SendMessageA(previous, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(window));
    if (window != nullptr) SendMessageA(window, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(previous));
    return previous;
}

HWND GetForegroundWindow() {
    Lock lock = LockSystem();
    auto queue = QueueOf(Sys().foreground);
    return queue && Find(queue->active) ? queue->active : nullptr;
}

BOOL SetForegroundWindow(HWND window) {
    DWORD thread = GetWindowThreadProcessId(window, nullptr);
    if (thread == 0) return FALSE;
    if (thread == GetCurrentThreadId()) {
        SetActiveWindow(window);
        return TRUE;
    }
    {
        Lock lock = LockSystem();
        MakeForeground(thread);
        if (auto queue = QueueOf(thread)) queue->active = RootOf(window);
    }
    NotifyChange(window, WindowChange::Focus);
    return TRUE;
}

HWND GetCapture() {
    Lock lock = LockSystem();
    return Find(Sys().capture) ? Sys().capture : nullptr;
}

HWND SetCapture(HWND window) {
    HWND previous = nullptr;
    {
        Lock lock = LockSystem();
        if (!Find(window)) return nullptr;
        previous = Find(Sys().capture) ? Sys().capture : nullptr;
        Sys().capture = window;
    }
    if (previous != nullptr && previous != window) {
        SendMessageA(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(window));
    }
    return previous;
}

BOOL ReleaseCapture() {
    HWND previous = nullptr;
    {
        Lock lock = LockSystem();
        previous = Find(Sys().capture) ? Sys().capture : nullptr;
        Sys().capture = nullptr;
    }
    if (previous != nullptr) SendMessageA(previous, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

namespace ostrana {

HWND detail::KeyboardFocusWindowLocked() {
    auto queue = QueueOf(Sys().foreground);
    if (!queue) return nullptr;
    if (Find(queue->focus)) return queue->focus;
    return Find(queue->active) ? queue->active : nullptr;
}

HWND KeyboardFocusWindow() {
    Lock lock = LockSystem();
    return KeyboardFocusWindowLocked();
}

} // namespace ostrana
