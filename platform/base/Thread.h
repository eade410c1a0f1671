// Threads as kernel objects: the handle is signalled when the thread's procedure returns.
#pragma once

#include "platform/base/KernelObject.h"

using LPTHREAD_START_ROUTINE = DWORD (*)(LPVOID parameter);

#define STILL_ACTIVE 259
#define THREAD_PRIORITY_IDLE (-15)
#define THREAD_PRIORITY_LOWEST (-2)
#define THREAD_PRIORITY_BELOW_NORMAL (-1)
#define THREAD_PRIORITY_NORMAL 0
#define THREAD_PRIORITY_ABOVE_NORMAL 1
#define CREATE_SUSPENDED 0x00000004

HANDLE CreateThread(void* securityAttributes, SIZE_T stackSize, LPTHREAD_START_ROUTINE startAddress,
                    LPVOID parameter, DWORD creationFlags, LPDWORD threadId);
BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode);
// Priorities are recorded only; the scheduler of this platform treats all threads alike.
BOOL SetThreadPriority(HANDLE thread, int priority);
int GetThreadPriority(HANDLE thread);
DWORD GetCurrentThreadId();

namespace ostrana {
// Runs `action` when the calling thread ends: for a thread of CreateThread before its handle is
// signalled, so a waiter on the handle finds the thread's state (its windows, its queue) gone.
// Other threads run their actions when their thread-local storage goes.
void AtThreadEnd(void (*action)());
} // namespace ostrana
void Sleep(DWORD milliseconds);
DWORD GetTickCount();
