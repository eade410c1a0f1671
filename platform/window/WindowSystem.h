// Internal state of the window system: the window table, the class table, the per-thread queues
// and the desktop-wide input state, all guarded by one lock. Window procedures are never called
// with the lock held. Not for use outside platform/window.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/gdi/DisplayList.h"
#include "platform/base/HandleTable.h"
#include "platform/window/DisplayObserver.h"
#include "platform/window/Messages.h"
#include "platform/window/NonClient.h"

namespace ostrana::detail {

struct WindowClass {
    std::string name;
    UINT style = 0;
    WNDPROC proc = nullptr;
    int cbWndExtra = 0;
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
};

struct WindowObject {
    HWND handle = nullptr;
    std::shared_ptr<WindowClass> windowClass;
    DWORD style = 0;
    DWORD exStyle = 0;
    HWND parent = nullptr;
    HWND owner = nullptr;
    LONG_PTR id = 0;
    RECT rect{}; // parent client coordinates, screen coordinates for top-level windows
    std::string text;
    WNDPROC proc = nullptr;
    DWORD thread = 0;
    HINSTANCE instance = nullptr;
    LONG_PTR userData = 0;
    std::vector<LONG_PTR> extra;  // dialog slots first, then the class's extra bytes
    std::vector<HWND> children;   // top of the z-order first
    bool invalid = false;
    bool erase = false;
    RECT update{};
    bool redraw = true;
    unsigned paints = 0; // BeginPaint calls, so that dispatching WM_PAINT knows whether the window painted
    bool destroying = false;
    std::shared_ptr<DisplayList> picture = std::make_shared<DisplayList>();
    std::shared_ptr<DisplayList> nonClientPicture = std::make_shared<DisplayList>(); // window coordinates
    NonClientState nonClient;
    std::map<std::string, HANDLE> props;
    std::shared_ptr<void> controlData;
    UINT check = 0; // a button's BM_GETCHECK, here so that snapshots read it under the lock
};

struct ThreadQueue;

struct SentMessage {
    HWND window = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    std::function<void()> work; // RunOnWindowThread
    bool done = false;
    LRESULT result = 0;
    std::shared_ptr<ThreadQueue> sender;
};

// An injected event, queued on the thread of the window it would reach when injected. Its window
// is chosen when that thread takes it, so that capture and focus set while handling the events
// before it count; an event that then belongs to another thread moves to that thread's queue.
struct InputMessage {
    enum class Kind { Mouse, Wheel, Key, Char };
    Kind kind = Kind::Mouse;
    MSG msg{};              // hwnd and, for the mouse, client coordinates once resolved
    POINT screen{};
    bool resolved = false;
    bool setCursor = false;
    char character = 0;
};

struct Timer {
    HWND window = nullptr;
    UINT_PTR id = 0;
    UINT elapse = 0;
    DWORD due = 0;
    TIMERPROC procedure = nullptr;
};

struct ThreadQueue {
    DWORD thread = 0;
    bool alive = true;
    std::condition_variable wake;
    std::deque<std::shared_ptr<SentMessage>> sent;
    // Read by the thread's kernel waits without the lock: whether sends wait, how many times the
    // queue was woken, and how many kernel waits of the thread are open.
    std::atomic<bool> sentPending{false};
    std::atomic<unsigned> arrivals{0};
    std::atomic<int> kernelWaits{0};
    bool retrieving = false; // blocked in GetMessage or WaitMessage
    int sending = 0;         // blocked in a send to another thread
    DWORD lastLook = 0;      // tick count when the thread last looked at its queue
    std::deque<MSG> posted;
    std::deque<InputMessage> input;
    std::vector<Timer> timers;
    bool quit = false;
    int quitCode = 0;
    HWND focus = nullptr;
    HWND active = nullptr;
    DWORD messageTime = 0;
    int sendDepth = 0;
    UINT pendingCharKey = 0;
    char pendingChar = 0;
    HWND pendingCharWindow = nullptr;
    bool keys[256] = {}; // as of the last input message taken: what GetKeyState answers
};

struct System {
    std::mutex lock;
    HandleTable<WindowObject> windows{1};
    std::vector<HWND> topLevel; // top of the z-order first
    std::map<std::string, std::shared_ptr<WindowClass>> classes; // lower-case names
    std::map<DWORD, std::shared_ptr<ThreadQueue>> queues;
    HWND capture = nullptr;
    DWORD foreground = 0;
    DWORD previousForeground = 0;
    HCURSOR cursor = nullptr;
    POINT cursorPos{};
    bool keys[256] = {}; // as injected: what GetAsyncKeyState answers
    struct {
        UINT message = 0;
        HWND window = nullptr;
        DWORD time = 0;
        POINT point{};
    } lastClick;
};

System& Sys();
using Lock = std::unique_lock<std::mutex>;
inline Lock LockSystem() { return Lock(Sys().lock); }

// Lookups; the caller holds the lock when it reads or writes the object's fields.
std::shared_ptr<WindowObject> Find(HWND window);
std::shared_ptr<ThreadQueue> QueueOf(DWORD thread);       // lock held; null when gone
std::shared_ptr<ThreadQueue> CurrentQueue();              // lock not held; made on first use
std::shared_ptr<ThreadQueue> CurrentQueueLocked();        // lock held
void WakeQueue(DWORD thread);                             // lock held
// Something arrived for the queue: wakes its message loop and any kernel wait of its thread.
void SignalQueue(ThreadQueue& queue);                      // lock held
void PushSent(ThreadQueue& queue, std::shared_ptr<SentMessage> record); // lock held
// What GetQueueStatus reports, and the milliseconds until the next timer is due (-1: none).
DWORD QueueStatusLocked(ThreadQueue& queue);               // lock held
long long NextTimerWaitLocked(const ThreadQueue& queue);   // lock held

// Coordinates, lock held.
POINT ClientOriginOnScreen(const WindowObject& window);
RECT ClientRectOf(const WindowObject& window);
bool VisibleLocked(const WindowObject& window);
bool EnabledLocked(const WindowObject& window);
HWND DeepestWindowAtLocked(POINT screen);

void NotifyChange(HWND window, WindowChange change); // lock not held
// A thread that ends takes its windows with it, without messages (their procedures may be gone).
void ForgetThreadWindows(DWORD thread);              // lock not held
void NotifyPicture(HWND window);                     // lock not held

void EnsureSystemClasses();
void RegisterSystemClass(const char* name, WNDPROC proc, UINT style, HCURSOR cursor, HBRUSH background);

// Input, lock held. Chooses the window of a queued event now (double clicks counted); false when
// no window takes it.
bool ResolveInputLocked(InputMessage& input);
HWND KeyboardFocusWindowLocked();

// Messages, lock not held.
bool RunKeyboardHooks(const MSG& msg); // true when a hook swallowed the key
void InvalidateLocked(WindowObject& window, const RECT* rect, bool erase);

} // namespace ostrana::detail
