// Posting and retrieving: GetMessage and PeekMessage serve sent messages first, then return posted
// messages, WM_QUIT, input (after the keyboard hooks), WM_PAINT for invalid visible windows (parents
// before children) and due WM_TIMERs, in that order. Each call first hands out the display changes
// of the turn before, and a thread about to sleep hands out those of the sent messages it served.
#include <atomic>
#include <chrono>

#include "platform/base/Thread.h"
#include "platform/window/DisplayChanges.h"
#include "platform/window/KeyState.h"
#include "platform/window/Paint.h"
#include "platform/window/WindowSystem.h"

namespace ostrana::detail {

void ServeAllSent(Lock& lock, ThreadQueue& queue);

namespace {

std::atomic<bool> g_manualClock{false};
std::atomic<DWORD> g_manualNow{0};
std::atomic<ostrana::MessageFilter> g_filter{nullptr};

bool Matches(const MSG& msg, HWND filter, UINT min, UINT max) {
    if (min != 0 || max != 0) {
        if (msg.message < min || msg.message > max) return false;
    }
    if (filter == nullptr) return true;
    if (msg.hwnd == filter) return true;
    for (auto window = Find(msg.hwnd); window && window->parent != nullptr; window = Find(window->parent)) {
        if (window->parent == filter) return true;
    }
    return false;
}

bool IsKey(UINT message) { return message >= WM_KEYDOWN && message <= WM_SYSKEYUP && message != WM_CHAR; }

HWND FindInvalid(const std::vector<HWND>& windows, DWORD thread) {
    for (HWND handle : windows) {
        auto window = Find(handle);
        if (!window || window->thread != thread || !(window->style & WS_VISIBLE)) continue;
        if (window->invalid) return handle;
        if (HWND child = FindInvalid(window->children, thread)) return child;
    }
    return nullptr;
}

bool TakePaint(ThreadQueue& queue, MSG& out, HWND filter, UINT min, UINT max) {
    HWND window = FindInvalid(Sys().topLevel, queue.thread);
    if (window == nullptr) return false;
    MSG msg{window, WM_PAINT, 0, 0, MessageClock(), Sys().cursorPos};
    if (!Matches(msg, filter, min, max)) return false;
    out = msg;
    return true;
}

bool HasDueTimer(const ThreadQueue& queue) {
    DWORD now = MessageClock();
    for (const Timer& timer : queue.timers) {
        if (static_cast<LONG>(now - timer.due) >= 0) return true;
    }
    return false;
}

bool TakeTimer(ThreadQueue& queue, MSG& out, HWND filter, UINT min, UINT max, bool remove) {
    DWORD now = MessageClock();
    for (Timer& timer : queue.timers) {
        if (static_cast<LONG>(now - timer.due) < 0) continue;
        MSG msg{timer.window, WM_TIMER, timer.id, reinterpret_cast<LPARAM>(timer.procedure), now, Sys().cursorPos};
        if (!Matches(msg, filter, min, max)) continue;
        if (remove) timer.due = now + timer.elapse;
        out = msg;
        return true;
    }
    return false;
}

} // namespace

// Milliseconds until the next timer is due on the real clock; -1 when nothing is scheduled.
long long NextTimerWaitLocked(const ThreadQueue& queue) {
    if (queue.timers.empty() || g_manualClock) return -1;
    DWORD now = MessageClock();
    long long best = -1;
    for (const Timer& timer : queue.timers) {
        long long wait = static_cast<LONG>(timer.due - now);
        if (wait < 0) wait = 0;
        if (best < 0 || wait < best) best = wait;
    }
    return best;
}

DWORD QueueStatusLocked(ThreadQueue& queue) {
    DWORD status = 0;
    if (!queue.posted.empty() || queue.quit) status |= QS_POSTMESSAGE;
    if (!queue.input.empty()) status |= QS_KEY | QS_MOUSEBUTTON;
    if (!queue.sent.empty()) status |= QS_SENDMESSAGE;
    if (FindInvalid(Sys().topLevel, queue.thread) != nullptr) status |= QS_PAINT;
    if (HasDueTimer(queue)) status |= QS_TIMER;
    return status;
}

namespace {

enum class Taken { Message, Nothing, Swallowed };

// Where a mouse event falls in its window; HTCLIENT for the client area and for windows that let
// the mouse through. Lock not held.
LRESULT HitTest(const InputMessage& input) {
    if (input.msg.message < WM_MOUSEMOVE || input.msg.message > WM_MBUTTONDBLCLK || !IsWindow(input.msg.hwnd)) return HTCLIENT;
    LRESULT hit = SendMessageA(input.msg.hwnd, WM_NCHITTEST, 0, MAKELPARAM(input.screen.x, input.screen.y));
    return hit == HTTRANSPARENT || hit == HTERROR ? HTCLIENT : hit;
}

// The thread's key state follows the input messages it takes, as GetKeyState reports it.
void TrackKeyState(ThreadQueue& queue, const MSG& msg) {
    bool* keys = queue.keys;
    switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        bool down = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
        SetKeyDown(keys, SideKeyOf(static_cast<UINT>(msg.wParam), msg.lParam), down);
        break;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: keys[1] = true; break;
    case WM_LBUTTONUP: keys[1] = false; break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: keys[2] = true; break;
    case WM_RBUTTONUP: keys[2] = false; break;
    default: break;
    }
}

// Settles the window of a queued event; false when it left this queue (dropped or moved on).
bool SettleInput(ThreadQueue& queue, std::size_t index) {
    InputMessage& input = queue.input[index];
    if (input.resolved) return true;
    if (ResolveInputLocked(input)) {
        auto window = Find(input.msg.hwnd);
        if (window && window->thread == queue.thread) return true;
        if (auto other = window ? QueueOf(window->thread) : nullptr) {
            other->input.push_back(input);
            SignalQueue(*other);
        }
    }
    queue.input.erase(queue.input.begin() + static_cast<std::ptrdiff_t>(index));
    return false;
}

Taken TakeInput(Lock& lock, ThreadQueue& queue, MSG& out, HWND filter, UINT min, UINT max, bool remove) {
    for (std::size_t index = 0; index < queue.input.size();) {
        if (!SettleInput(queue, index)) continue;
        if (!Matches(queue.input[index].msg, filter, min, max)) {
            ++index;
            continue;
        }
        InputMessage input = queue.input[index];
        if (remove) queue.input.erase(queue.input.begin() + static_cast<std::ptrdiff_t>(index));
        bool hitTest = input.kind == InputMessage::Kind::Mouse && input.msg.hwnd != Sys().capture;
        lock.unlock();
        LRESULT hit = hitTest ? HitTest(input) : HTCLIENT;
        if (input.setCursor && IsWindow(input.msg.hwnd)) {
            SendMessageA(input.msg.hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(input.msg.hwnd),
                         MAKELPARAM(hit, input.msg.message));
        }
        bool swallowed = remove && IsKey(input.msg.message) && RunKeyboardHooks(input.msg);
        lock.lock();
        if (remove) TrackKeyState(queue, input.msg);
        if (swallowed) return Taken::Swallowed;
        if (input.msg.message == WM_KEYDOWN || input.msg.message == WM_SYSKEYDOWN) {
            queue.pendingCharKey = static_cast<UINT>(input.msg.wParam);
            queue.pendingChar = input.character;
            queue.pendingCharWindow = input.msg.hwnd;
        }
        out = input.msg;
        if (hit != HTCLIENT) {
            // Outside the client area a mouse message becomes its WM_NC twin, with the hit code
            // and the point on the screen.
            out.message = input.msg.message - (WM_MOUSEMOVE - WM_NCMOUSEMOVE);
            out.wParam = static_cast<WPARAM>(hit);
            out.lParam = MAKELPARAM(input.screen.x, input.screen.y);
        }
        return Taken::Message;
    }
    return Taken::Nothing;
}

bool Retrieve(MSG* out, HWND filter, UINT min, UINT max, bool remove, bool wait) {
    Lock lock = LockSystem();
    auto queue = CurrentQueueLocked();
    bool flushed = false;
    for (;;) {
        ServeAllSent(lock, *queue);
        for (auto it = queue->posted.begin(); it != queue->posted.end(); ++it) {
            if (!Matches(*it, filter, min, max)) continue;
            *out = *it;
            if (remove) queue->posted.erase(it);
            queue->messageTime = out->time;
            return true;
        }
        if (queue->quit) {
            *out = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(queue->quitCode), 0, MessageClock(), Sys().cursorPos};
            if (remove) queue->quit = false;
            return true;
        }
        Taken taken = TakeInput(lock, *queue, *out, filter, min, max, remove);
        if (taken == Taken::Swallowed) continue;
        if (taken == Taken::Message) {
            queue->messageTime = out->time;
            return true;
        }
        if (TakePaint(*queue, *out, filter, min, max) || TakeTimer(*queue, *out, filter, min, max, remove)) {
            queue->messageTime = out->time;
            return true;
        }
        if (!wait) return false;
        if (!flushed && DisplayChangesPending()) {
            // What the sent messages just changed goes out before the thread sleeps.
            flushed = true;
            lock.unlock();
            FlushDisplayChanges();
            lock.lock();
            continue;
        }
        long long timeout = NextTimerWaitLocked(*queue);
        queue->retrieving = true;
        if (timeout < 0) {
            queue->wake.wait(lock);
        } else {
            queue->wake.wait_for(lock, std::chrono::milliseconds(timeout + 1));
        }
        queue->retrieving = false;
        flushed = false;
    }
}

} // namespace

} // namespace ostrana::detail

using namespace ostrana;
using namespace ostrana::detail;

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window == nullptr) return PostThreadMessageA(GetCurrentThreadId(), message, wParam, lParam);
    Lock lock = LockSystem();
    auto object = Find(window);
    if (!object) return FALSE;
    auto queue = QueueOf(object->thread);
    if (!queue) return FALSE;
    queue->posted.push_back(MSG{window, message, wParam, lParam, MessageClock(), Sys().cursorPos});
    SignalQueue(*queue);
    return TRUE;
}

BOOL PostThreadMessageA(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
    Lock lock = LockSystem();
    auto queue = threadId == GetCurrentThreadId() ? CurrentQueueLocked() : QueueOf(threadId);
    if (!queue) return FALSE;
    queue->posted.push_back(MSG{nullptr, message, wParam, lParam, MessageClock(), Sys().cursorPos});
    SignalQueue(*queue);
    return TRUE;
}

BOOL GetMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax) {
    if (message == nullptr) return -1;
    FlushDisplayChanges();
    Retrieve(message, window, filterMin, filterMax, true, true);
    return message->message != WM_QUIT;
}

BOOL PeekMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT remove) {
    if (message == nullptr) return FALSE;
    FlushDisplayChanges();
    return Retrieve(message, window, filterMin, filterMax, (remove & PM_REMOVE) != 0, false);
}

BOOL WaitMessage() {
    MSG msg;
    FlushDisplayChanges();
    Retrieve(&msg, nullptr, 0, 0, false, true);
    return TRUE;
}

BOOL TranslateMessage(const MSG* message) {
    if (message == nullptr || (message->message != WM_KEYDOWN && message->message != WM_SYSKEYDOWN)) return FALSE;
    Lock lock = LockSystem();
    auto queue = CurrentQueueLocked();
    if (queue->pendingChar == 0 || queue->pendingCharKey != message->wParam || queue->pendingCharWindow != message->hwnd) {
        return FALSE;
    }
    UINT charMessage = message->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
    queue->posted.push_front(MSG{message->hwnd, charMessage, static_cast<WPARAM>(static_cast<unsigned char>(queue->pendingChar)),
                                 message->lParam, message->time, message->pt});
    queue->pendingChar = 0;
    return TRUE;
}

LRESULT DispatchMessageA(const MSG* message) {
    if (message == nullptr) return 0;
    if (message->message == WM_TIMER && message->lParam != 0) {
        reinterpret_cast<TIMERPROC>(message->lParam)(message->hwnd, WM_TIMER, message->wParam, message->time);
        return 0;
    }
    if (message->hwnd == nullptr) return 0;
    auto procedure = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(message->hwnd, GWLP_WNDPROC));
    unsigned paints = message->message == WM_PAINT ? PaintCount(message->hwnd) : 0;
    LRESULT result = CallWindowProcA(procedure, message->hwnd, message->message, message->wParam, message->lParam);
    if (message->message == WM_PAINT && PaintCount(message->hwnd) == paints) {
        // A procedure that ignored WM_PAINT must not be asked again and again.
        ValidateRect(message->hwnd, nullptr);
    }
    return result;
}

void PostQuitMessage(int exitCode) {
    Lock lock = LockSystem();
    auto queue = CurrentQueueLocked();
    queue->quit = true;
    queue->quitCode = exitCode;
    SignalQueue(*queue);
}

DWORD GetMessageTime() {
    Lock lock = LockSystem();
    return CurrentQueueLocked()->messageTime;
}

DWORD GetQueueStatus(UINT) {
    Lock lock = LockSystem();
    auto queue = CurrentQueueLocked();
    return QueueStatusLocked(*queue);
}

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC procedure) {
    Lock lock = LockSystem();
    auto queue = CurrentQueueLocked();
    if (window != nullptr) {
        auto object = Find(window);
        if (!object || object->thread != queue->thread) return 0;
    } else {
        id = 0x7000;
        for (const Timer& timer : queue->timers) id = std::max(id, timer.id + 1);
    }
    if (elapse == 0) elapse = 1;
    std::erase_if(queue->timers, [&](const Timer& timer) { return timer.window == window && timer.id == id; });
    queue->timers.push_back(Timer{window, id, elapse, MessageClock() + elapse, procedure});
    SignalQueue(*queue);
    return window != nullptr ? (id != 0 ? id : 1) : id;
}

BOOL KillTimer(HWND window, UINT_PTR id) {
    Lock lock = LockSystem();
    auto queue = CurrentQueueLocked();
    return std::erase_if(queue->timers, [&](const Timer& timer) { return timer.window == window && timer.id == id; }) > 0;
}

namespace ostrana {

void SetMessageFilter(MessageFilter filter) { g_filter = filter; }

bool PreTranslate(MSG* msg) {
    MessageFilter filter = g_filter;
    return filter != nullptr && filter(msg);
}

bool PumpUntilIdle() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        if (PreTranslate(&msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return true;
}

void UseManualMessageClock(bool manual) {
    if (manual) g_manualNow = MessageClock();
    g_manualClock = manual;
}

void AdvanceMessageClock(DWORD milliseconds) {
    g_manualNow += milliseconds;
    Lock lock = LockSystem();
    for (auto& [thread, queue] : Sys().queues) SignalQueue(*queue);
}

DWORD MessageClock() {
    if (g_manualClock) return g_manualNow;
    using namespace std::chrono;
    return static_cast<DWORD>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

} // namespace ostrana
