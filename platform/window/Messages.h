// Per-thread message queues: posting, sending (also across threads), retrieving and dispatching,
// quitting, timers and keyboard hooks. Sent messages are served inside GetMessage, PeekMessage,
// while the thread itself waits in SendMessage and while it waits in WaitForSingleObject or
// WaitForMultipleObjects, so two threads waiting for each other's answer never lock.
#pragma once

#include <functional>

#include "platform/window/Window.h"

#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001
#define PM_NOYIELD 0x0002

#define WH_KEYBOARD 2
#define HC_ACTION 0
#define HC_NOREMOVE 3

#define QS_KEY 0x0001
#define QS_MOUSEMOVE 0x0002
#define QS_MOUSEBUTTON 0x0004
#define QS_POSTMESSAGE 0x0008
#define QS_TIMER 0x0010
#define QS_PAINT 0x0020
#define QS_SENDMESSAGE 0x0040
#define QS_ALLINPUT 0x04FF

#define MWMO_WAITALL 0x0001
#define MWMO_ALERTABLE 0x0002
#define MWMO_INPUTAVAILABLE 0x0004

#define SMTO_NORMAL 0x0000
#define SMTO_BLOCK 0x0001
#define SMTO_ABORTIFHUNG 0x0002

using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);
using HOOKPROC = LRESULT (*)(int code, WPARAM wParam, LPARAM lParam);

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
#define PostMessage PostMessageA
BOOL PostThreadMessageA(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam);
#define PostThreadMessage PostThreadMessageA
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
#define SendMessage SendMessageA
LRESULT SendMessageTimeoutA(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT flags, UINT timeout,
                            PDWORD_PTR result);
BOOL SendNotifyMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL GetMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax);
#define GetMessage GetMessageA
BOOL PeekMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT remove);
#define PeekMessage PeekMessageA
BOOL TranslateMessage(const MSG* message);
LRESULT DispatchMessageA(const MSG* message);
#define DispatchMessage DispatchMessageA
void PostQuitMessage(int exitCode);
BOOL WaitMessage();
DWORD GetMessageTime();
DWORD GetQueueStatus(UINT flags);
BOOL InSendMessage();
// Waits for the objects or for messages of the kinds in wakeMask (QS_ bits); WAIT_OBJECT_0 + count
// when messages came first. Messages already waiting count, as with MWMO_INPUTAVAILABLE; the wait
// itself serves nothing (PeekMessage does), so QS_SENDMESSAGE belongs in the mask of a thread that
// others send to.
DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds, DWORD wakeMask);
DWORD MsgWaitForMultipleObjectsEx(DWORD count, const HANDLE* handles, DWORD milliseconds, DWORD wakeMask, DWORD flags);

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC procedure);
BOOL KillTimer(HWND window, UINT_PTR id);

HHOOK SetWindowsHookExA(int hookId, HOOKPROC procedure, HINSTANCE module, DWORD threadId);
#define SetWindowsHookEx SetWindowsHookExA
BOOL UnhookWindowsHookEx(HHOOK hook);
LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam);

namespace ostrana {

// Serves every sent, posted, input, paint and due timer message of the calling thread until none
// is left; returns false when a WM_QUIT was met (it is left in the queue).
bool PumpUntilIdle();
// Timers run on the real clock unless a test takes the clock in hand; then only AdvanceMessageClock
// moves it, and due timers fire on the next retrieval.
void UseManualMessageClock(bool manual);
void AdvanceMessageClock(DWORD milliseconds);
DWORD MessageClock();
// Message loops give each message to the framework's pre-translation first (dialog keys,
// PreTranslateMessage); the framework installs the filter. True when the message was taken.
using MessageFilter = bool (*)(MSG*);
void SetMessageFilter(MessageFilter filter);
bool PreTranslate(MSG* msg);
// Runs `work` on the thread that owns `window` and waits for it (a sent message underneath).
void RunOnWindowThread(HWND window, const std::function<void()>& work);

} // namespace ostrana
