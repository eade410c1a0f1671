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

} // namespace

std::mutex& WaitableObject::WaitLock() {
    static std::mutex lock;
    return lock;
}

std::condition_variable& WaitableObject::WaitCondition() {
    static std::condition_variable condition;
    return condition;
}

void WaitableObject::NotifyWaiters() { WaitCondition().notify_all(); }

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
    using ostrana::WaitableObject;
    if (count == 0 || count > MAXIMUM_WAIT_OBJECTS || handles == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    std::vector<std::shared_ptr<WaitableObject>> objects;
    objects.reserve(count);
    for (DWORD i = 0; i < count; ++i) {
        auto object = ostrana::LookupKernelObjectAs<WaitableObject>(handles[i]);
        if (!object) {
            SetLastError(ERROR_INVALID_HANDLE);
            return WAIT_FAILED;
        }
        objects.push_back(std::move(object));
    }
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    std::unique_lock lock(WaitableObject::WaitLock());
    for (;;) {
        if (waitAll) {
            bool all = true;
            for (auto& object : objects) {
                all = all && object->IsSignaled();
            }
            if (all) {
                for (auto& object : objects) {
                    object->Consume();
                }
                return WAIT_OBJECT_0;
            }
        } else {
            for (DWORD i = 0; i < count; ++i) {
                if (objects[i]->IsSignaled()) {
                    objects[i]->Consume();
                    return WAIT_OBJECT_0 + i;
                }
            }
        }
        if (milliseconds == 0) {
            return WAIT_TIMEOUT;
        }
        if (milliseconds == INFINITE) {
            WaitableObject::WaitCondition().wait(lock);
        } else if (WaitableObject::WaitCondition().wait_until(lock, deadline) == std::cv_status::timeout) {
            // One last look: the state may have changed together with the time-out.
            milliseconds = 0;
        }
    }
}
