#include "platform/base/KernelObject.h"

#include <vector>

#include "platform/base/HandleTable.h"
#include "platform/base/LastError.h"

namespace ostrana {
namespace {

HandleTable<KernelObject>& Table() {
    static HandleTable<KernelObject> table(8);
    return table;
}

thread_local WaitCompanion* t_companion = nullptr;

bool AllSignaled(const std::vector<std::shared_ptr<WaitableObject>>& objects) {
    for (const auto& object : objects) {
        if (!object->IsSignaled()) return false;
    }
    return true;
}

// The index of the object that satisfies the wait (consumed), or -1; the wait lock is held.
long TakeSignaled(const std::vector<std::shared_ptr<WaitableObject>>& objects, bool waitAll) {
    if (objects.empty()) return -1;
    if (waitAll) {
        if (!AllSignaled(objects)) return -1;
        for (const auto& object : objects) object->Consume();
        return 0;
    }
    for (std::size_t i = 0; i < objects.size(); ++i) {
        if (objects[i]->IsSignaled()) {
            objects[i]->Consume();
            return static_cast<long>(i);
        }
    }
    return -1;
}

DWORD Remaining(DWORD milliseconds, std::chrono::steady_clock::time_point deadline) {
    if (milliseconds == INFINITE) return INFINITE;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
    return left > 0 ? static_cast<DWORD>(left) : 0;
}

class CompanionWait {
public:
    explicit CompanionWait(WaitCompanion& companion) : m_companion(companion) { m_companion.EnterWait(); }
    ~CompanionWait() { m_companion.LeaveWait(); }
    CompanionWait(const CompanionWait&) = delete;
    CompanionWait& operator=(const CompanionWait&) = delete;

private:
    WaitCompanion& m_companion;
};

} // namespace

void SetThreadWaitCompanion(WaitCompanion* companion) { t_companion = companion; }

// Never destroyed: a detached thread may still signal its handle while the process exits.
std::mutex& WaitableObject::WaitLock() {
    static auto* lock = new std::mutex;
    return *lock;
}

std::condition_variable& WaitableObject::WaitCondition() {
    static auto* condition = new std::condition_variable;
    return *condition;
}

void WaitableObject::NotifyWaiters() { WaitCondition().notify_all(); }

void WakeWaitingThreads() {
    // Taking the lock orders the caller's change before any waiter's next look.
    { std::lock_guard guard(WaitableObject::WaitLock()); }
    WaitableObject::NotifyWaiters();
}

DWORD WaitForObjectsOrInterrupt(DWORD count, const HANDLE* handles, bool waitAll, DWORD milliseconds,
                                const std::function<bool()>& interrupt) {
    if (count > MAXIMUM_WAIT_OBJECTS || (count > 0 && handles == nullptr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    std::vector<std::shared_ptr<WaitableObject>> objects;
    objects.reserve(count);
    for (DWORD i = 0; i < count; ++i) {
        auto object = LookupKernelObjectAs<WaitableObject>(handles[i]);
        if (!object) {
            SetLastError(ERROR_INVALID_HANDLE);
            return WAIT_FAILED;
        }
        objects.push_back(std::move(object));
    }
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    std::unique_lock lock(WaitableObject::WaitLock());
    for (;;) {
        long index = TakeSignaled(objects, waitAll);
        if (index >= 0) return WAIT_OBJECT_0 + static_cast<DWORD>(index);
        if (interrupt && interrupt()) return WAIT_OBJECT_0 + count;
        if (milliseconds == 0) return WAIT_TIMEOUT;
        if (milliseconds == INFINITE) {
            WaitableObject::WaitCondition().wait(lock);
        } else if (WaitableObject::WaitCondition().wait_until(lock, deadline) == std::cv_status::timeout) {
            // One last look: the state may have changed together with the time-out.
            milliseconds = 0;
        }
    }
}

HANDLE InsertKernelObject(std::shared_ptr<KernelObject> object) { return Table().Insert(std::move(object)); }

std::shared_ptr<KernelObject> LookupKernelObject(HANDLE handle) {
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    return Table().Lookup(handle);
}

// The object is released outside the table's lock when the returned pointer goes.
bool RemoveKernelObject(HANDLE handle) {
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    return Table().Remove(handle) != nullptr;
}

} // namespace ostrana

BOOL CloseHandle(HANDLE handle) {
    if (!ostrana::RemoveKernelObject(handle)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    return WaitForMultipleObjects(1, &handle, FALSE, milliseconds);
}

DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds) {
    if (count == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    ostrana::WaitCompanion* companion = ostrana::t_companion;
    if (companion == nullptr) return ostrana::WaitForObjectsOrInterrupt(count, handles, waitAll != FALSE, milliseconds, {});
    ostrana::CompanionWait open(*companion);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    for (;;) {
        DWORD result = ostrana::WaitForObjectsOrInterrupt(count, handles, waitAll != FALSE,
                                                          ostrana::Remaining(milliseconds, deadline),
                                                          [companion] { return companion->HasSentMessages(); });
        if (result != WAIT_OBJECT_0 + count) return result;
        companion->ServeSentMessages();
    }
}
