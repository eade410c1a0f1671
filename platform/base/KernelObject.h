// The process-wide table of kernel objects (events, threads, find and change handles). A HANDLE
// carries a slot index and a generation number, so a closed or reused handle is refused cleanly.
// Waitable objects share one lock and condition so that a wait can cover several objects.
#pragma once

#include <chrono>
#include <condition_variable>
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
