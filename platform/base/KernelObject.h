// The process-wide table of kernel objects (events, threads, find and change handles). A HANDLE
// carries a slot index and a generation number, so a closed or reused handle is refused cleanly.
// Waitable objects share one lock and condition so that a wait can cover several objects.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

#include "platform/base/WinTypes.h"

namespace ostrana {

class KernelObject {
public:
    virtual ~KernelObject() = default;
};

// An object a thread can wait for. State changes happen under WaitLock() and end with
// NotifyWaiters(); IsSignaled and Consume are called with the lock held.
class WaitableObject : public KernelObject {
public:
    virtual bool IsSignaled() const = 0;
    // Called once a wait is satisfied by this object (an auto-reset event resets itself here).
    virtual void Consume() {}

    static std::mutex& WaitLock();
    static std::condition_variable& WaitCondition();
    static void NotifyWaiters();
};

HANDLE InsertKernelObject(std::shared_ptr<KernelObject> object);
std::shared_ptr<KernelObject> LookupKernelObject(HANDLE handle);
bool RemoveKernelObject(HANDLE handle);

template <typename T> std::shared_ptr<T> LookupKernelObjectAs(HANDLE handle) {
    return std::dynamic_pointer_cast<T>(LookupKernelObject(handle));
}

// A thread that owns a message queue answers the messages sent to it while it waits for kernel
// objects, as it does while it is blocked in a send: a thread waiting for its answer could
// otherwise wait for ever. The window system installs one companion per such thread.
class WaitCompanion {
public:
    virtual ~WaitCompanion() = default;
    // Waits nest (a served message may wait again); arrivals wake the thread while any is open.
    virtual void EnterWait() = 0;
    virtual void LeaveWait() = 0;
    // Asked with WaitLock() held: must not take any lock.
    virtual bool HasSentMessages() const = 0;
    virtual void ServeSentMessages() = 0;
};
void SetThreadWaitCompanion(WaitCompanion* companion);

// Wakes every waiting thread so that it looks again at what it waits for, once the caller made a
// change that a wait's `interrupt` below reads.
void WakeWaitingThreads();
// WaitForMultipleObjects that also ends, with WAIT_OBJECT_0 + count, once `interrupt` (asked with
// WaitLock() held) is true. count may be 0: then only the interrupt or the time-out ends it.
DWORD WaitForObjectsOrInterrupt(DWORD count, const HANDLE* handles, bool waitAll, DWORD milliseconds,
                                const std::function<bool()>& interrupt);

} // namespace ostrana

BOOL CloseHandle(HANDLE handle);

#define INFINITE 0xFFFFFFFF
#define WAIT_OBJECT_0 0x00000000L
#define WAIT_ABANDONED 0x00000080L
#define WAIT_TIMEOUT 0x00000102L
#define WAIT_FAILED 0xFFFFFFFFUL
#define MAXIMUM_WAIT_OBJECTS 64

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);
DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds);
