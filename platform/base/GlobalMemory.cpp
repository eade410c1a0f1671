// One process-wide table of blocks. The handle value carries its table's tag, the slot and the
// generation, so it can never be mistaken for a pointer or a kernel handle.
#include "platform/base/GlobalMemory.h"

#include <cstring>
#include <limits>
#include <mutex>
#include <vector>

#include "platform/base/HandleTable.h"
#include "platform/base/LastError.h"

namespace {

// Requests above this are refused rather than attempted.
constexpr SIZE_T kMaxBlock = SIZE_T{1} << 31;

struct Block {
    std::vector<BYTE> bytes;
    SIZE_T size = 0;
    UINT flags = 0;
    UINT lockCount = 0;
};

ostrana::HandleTable<Block>& Table() {
    static ostrana::HandleTable<Block> table(9);
    return table;
}

// Guards the contents of every block; the table guards only which handles are alive.
std::mutex& ContentLock() {
    static std::mutex lock;
    return lock;
}

// The live block behind a handle, or null (last error set).
std::shared_ptr<Block> Find(HGLOBAL memory) {
    std::shared_ptr<Block> block = memory != nullptr ? Table().Lookup(memory) : nullptr;
    if (!block) {
        SetLastError(ERROR_INVALID_HANDLE);
    }
    return block;
}

} // namespace

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
    if (bytes > kMaxBlock) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    auto block = std::make_shared<Block>();
    // At least one byte, so that locking an empty block still yields an address.
    block->bytes.assign(bytes == 0 ? 1 : bytes, 0);
    block->size = bytes;
    block->flags = flags;
    return Table().Insert(std::move(block));
}

HGLOBAL GlobalReAlloc(HGLOBAL memory, SIZE_T bytes, UINT flags) {
    std::shared_ptr<Block> block = Find(memory);
    std::lock_guard guard(ContentLock());
    if (block == nullptr) {
        return nullptr;
    }
    if ((flags & GMEM_MODIFY) != 0) {
        block->flags = (block->flags & ~GMEM_DISCARDABLE) | (flags & GMEM_DISCARDABLE);
        return memory;
    }
    if (bytes > kMaxBlock) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if (block->lockCount > 0 && bytes > block->bytes.size()) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if (bytes > block->bytes.size()) {
        block->bytes.resize(bytes, 0);
    } else {
        // Shrinking keeps the storage; the bytes beyond the new size are cleared for a later growth.
        std::fill(block->bytes.begin() + static_cast<std::ptrdiff_t>(bytes), block->bytes.end(), BYTE{0});
    }
    block->size = bytes;
    return memory;
}

LPVOID GlobalLock(HGLOBAL memory) {
    std::shared_ptr<Block> block = Find(memory);
    std::lock_guard guard(ContentLock());
    if (block == nullptr) {
        return nullptr;
    }
    if (block->lockCount < GMEM_LOCKCOUNT) {
        ++block->lockCount;
    }
    return block->bytes.data();
}

BOOL GlobalUnlock(HGLOBAL memory) {
    std::shared_ptr<Block> block = Find(memory);
    std::lock_guard guard(ContentLock());
    if (block == nullptr) {
        return FALSE;
    }
    if (block->lockCount == 0) {
        SetLastError(ERROR_NOT_LOCKED);
        return FALSE;
    }
    if (--block->lockCount > 0) {
        return TRUE;
    }
    SetLastError(ERROR_SUCCESS);
    return FALSE;
}

SIZE_T GlobalSize(HGLOBAL memory) {
    std::shared_ptr<Block> block = Find(memory);
    std::lock_guard guard(ContentLock());
    return block != nullptr ? block->size : 0;
}

UINT GlobalFlags(HGLOBAL memory) {
    std::shared_ptr<Block> block = Find(memory);
    std::lock_guard guard(ContentLock());
    if (block == nullptr) {
        return GMEM_INVALID_HANDLE;
    }
    return ((block->flags & GMEM_DISCARDABLE) != 0 ? GMEM_DISCARDABLE : 0) |
           (block->lockCount & GMEM_LOCKCOUNT);
}

HGLOBAL GlobalFree(HGLOBAL memory) {
    if (memory == nullptr || Table().Remove(memory) == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return memory;
    }
    return nullptr;
}

namespace ostrana {

HGLOBAL GlobalDuplicate(HGLOBAL source, UINT flags) {
    SIZE_T size = GlobalSize(source);
    GlobalLockGuard from(source);
    if (!from) {
        return nullptr;
    }
    HGLOBAL copy = GlobalAlloc(flags, size);
    if (copy == nullptr) {
        return nullptr;
    }
    GlobalLockGuard to(copy);
    if (size > 0) {
        std::memcpy(to.Data(), from.Data(), size);
    }
    return copy;
}

} // namespace ostrana
