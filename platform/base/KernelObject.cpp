#include "platform/base/KernelObject.h"

#include <vector>

#include "platform/base/LastError.h"

namespace ostrana {
namespace {

// Handle value = (slot + 1) << 16 | generation; zero and INVALID_HANDLE_VALUE never occur.
struct Slot {
    std::shared_ptr<KernelObject> object;
    std::uint16_t generation = 1;
};

struct HandleTable {
    std::mutex lock;
    std::vector<Slot> slots;
    std::vector<std::size_t> freeSlots;
};

HandleTable& Table() {
    static HandleTable table;
    return table;
}

bool Decode(HANDLE handle, std::size_t& slot, std::uint16_t& generation) {
    auto value = reinterpret_cast<std::uintptr_t>(handle);
    if (value == 0 || handle == INVALID_HANDLE_VALUE || (value >> 16) == 0) {
        return false;
    }
    slot = (value >> 16) - 1;
    generation = static_cast<std::uint16_t>(value & 0xffff);
    return true;
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

HANDLE InsertKernelObject(std::shared_ptr<KernelObject> object) {
    HandleTable& table = Table();
    std::lock_guard guard(table.lock);
    std::size_t slot;
    if (!table.freeSlots.empty()) {
        slot = table.freeSlots.back();
        table.freeSlots.pop_back();
    } else {
        slot = table.slots.size();
        table.slots.emplace_back();
    }
    table.slots[slot].object = std::move(object);
    auto value = ((static_cast<std::uintptr_t>(slot) + 1) << 16) | table.slots[slot].generation;
    return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<KernelObject> LookupKernelObject(HANDLE handle) {
    std::size_t slot;
    std::uint16_t generation;
    if (!Decode(handle, slot, generation)) {
        return nullptr;
    }
    HandleTable& table = Table();
    std::lock_guard guard(table.lock);
    if (slot >= table.slots.size() || table.slots[slot].generation != generation) {
        return nullptr;
    }
    return table.slots[slot].object;
}

bool RemoveKernelObject(HANDLE handle) {
    std::size_t slot;
    std::uint16_t generation;
    if (!Decode(handle, slot, generation)) {
        return false;
    }
    std::shared_ptr<KernelObject> released;
    {
        HandleTable& table = Table();
        std::lock_guard guard(table.lock);
        if (slot >= table.slots.size() || table.slots[slot].generation != generation ||
            !table.slots[slot].object) {
            return false;
        }
        released = std::move(table.slots[slot].object);
        std::uint16_t next = static_cast<std::uint16_t>(generation + 1);
        table.slots[slot].generation = next == 0 ? 1 : next;
        table.freeSlots.push_back(slot);
    }
    return true; // `released` is destroyed outside the table lock
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
