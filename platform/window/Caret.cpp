// Caret state under its own lock. Only the thread of the owning window may change the caret, as on
// Windows; a caret whose window is gone counts as none.
#include "platform/window/Caret.h"

#include <atomic>
#include <mutex>

#include "platform/base/Thread.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/WindowSystem.h"

using namespace ostrana;

namespace {

constexpr UINT kDefaultBlinkTime = 530;

// The lock is a leaf: nothing else is locked while it is held except the window table's own
// lookup, so a snapshot may read the caret while it holds the window system's lock.
struct Caret {
    std::mutex lock;
    CaretInfo state;
    DWORD thread = 0; // of the owning window
    int hideCount = 0;
};

Caret& TheCaret() {
    static Caret caret;
    return caret;
}

std::atomic<UINT> g_blinkTime{kDefaultBlinkTime};

bool OwnedHereLocked(const Caret& caret) {
    return caret.state.window != nullptr && caret.thread == GetCurrentThreadId() && IsWindow(caret.state.window);
}

enum class Outcome { Refused, Unchanged, Changed };

// Applies `change` to a caret of this thread's window and tells the observers when it changed;
// false when the caret is not this thread's or `change` refuses.
template <typename Change> BOOL ChangeCaret(HWND window, Change change) {
    Caret& caret = TheCaret();
    HWND owner = nullptr;
    {
        std::lock_guard guard(caret.lock);
        if (!OwnedHereLocked(caret) || (window != nullptr && window != caret.state.window)) return FALSE;
        Outcome outcome = change(caret);
        if (outcome == Outcome::Refused) return FALSE;
        if (outcome == Outcome::Unchanged) return TRUE;
        owner = caret.state.window;
    }
    detail::NotifyChange(owner, WindowChange::Caret);
    return TRUE;
}

} // namespace

BOOL CreateCaret(HWND window, HBITMAP, int width, int height) {
    if (!IsWindow(window) || GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId()) return FALSE;
    Caret& caret = TheCaret();
    HWND previous = nullptr;
    {
        std::lock_guard guard(caret.lock);
        previous = caret.state.window;
        caret.state = CaretInfo{window, POINT{0, 0}, width > 0 ? width : GetSystemMetrics(SM_CXBORDER),
                                 height > 0 ? height : GetSystemMetrics(SM_CYBORDER), false};
        caret.thread = GetCurrentThreadId();
        caret.hideCount = 1;
    }
    if (previous != nullptr && previous != window) detail::NotifyChange(previous, WindowChange::Caret);
    detail::NotifyChange(window, WindowChange::Caret);
    return TRUE;
}

BOOL DestroyCaret() {
    Caret& caret = TheCaret();
    HWND owner = nullptr;
    {
        std::lock_guard guard(caret.lock);
        if (!OwnedHereLocked(caret)) return FALSE;
        owner = caret.state.window;
        caret.state = CaretInfo{};
        caret.thread = 0;
        caret.hideCount = 0;
    }
    detail::NotifyChange(owner, WindowChange::Caret);
    return TRUE;
}

BOOL SetCaretPos(int x, int y) {
    return ChangeCaret(nullptr, [x, y](Caret& caret) {
        if (caret.state.position.x == x && caret.state.position.y == y) return Outcome::Unchanged;
        caret.state.position = POINT{x, y};
        return Outcome::Changed;
    });
}

BOOL GetCaretPos(LPPOINT point) {
    if (point == nullptr) return FALSE;
    Caret& caret = TheCaret();
    std::lock_guard guard(caret.lock);
    if (!OwnedHereLocked(caret)) return FALSE;
    *point = caret.state.position;
    return TRUE;
}

BOOL ShowCaret(HWND window) {
    return ChangeCaret(window, [](Caret& caret) {
        if (caret.hideCount == 0) return Outcome::Unchanged;
        caret.state.shown = --caret.hideCount == 0;
        return caret.state.shown ? Outcome::Changed : Outcome::Unchanged;
    });
}

BOOL HideCaret(HWND window) {
    return ChangeCaret(window, [](Caret& caret) {
        bool wasShown = caret.state.shown;
        ++caret.hideCount;
        caret.state.shown = false;
        return wasShown ? Outcome::Changed : Outcome::Unchanged;
    });
}

UINT GetCaretBlinkTime() { return g_blinkTime; }

BOOL SetCaretBlinkTime(UINT milliseconds) {
    if (milliseconds == 0) return FALSE;
    g_blinkTime = milliseconds;
    return TRUE;
}

namespace ostrana {

CaretInfo CurrentCaret() {
    Caret& caret = TheCaret();
    std::lock_guard guard(caret.lock);
    if (caret.state.window == nullptr || !IsWindow(caret.state.window)) return CaretInfo{};
    return caret.state;
}

} // namespace ostrana
