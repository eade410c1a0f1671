// One process-wide table of blocks. The handle value is a tag, the slot and the generation, so
// it can never be mistaken for a pointer or a kernel handle.
#include "platform/ole/GlobalMemory.h"

#include <cstring>
#include <limits>
#include <mutex>
#include <vector>

#include "platform/base/LastError.h"

namespace {

constexpr std::uintptr_t kTag = std::uintptr_t{0x6C} << 40;
constexpr std::uintptr_t kTagMask = std::uintptr_t{0xFF} << 40;
// Requests above this are refused rather than attempted.
constexpr SIZE_T kMaxBlock = SIZE_T{1} << 31;

struct Block {
    std::vector<BYTE> bytes;
    SIZE_T size = 0;
    UINT flags = 0;
    UINT lockCount = 0;
    bool inUse = false;
    std::uint16_t generation = 1;
};

struct BlockTable {
    std::mutex lock;
    std::vector<Block> blocks;
    std::vector<std::size_t> freeSlots;
};

BlockTable& Table() {
    static BlockTable table;
    return table;
}

HGLOBAL Encode(std::size_t slot, std::uint16_t generation) {
    return reinterpret_cast<HGLOBAL>(kTag | (static_cast<std::uintptr_t>(slot + 1) << 16) | generation);
}

// The live block behind a handle, or null (last error set). Call with the table locked.
Block* Find(BlockTable& table, HGLOBAL memory) {
    auto value = reinterpret_cast<std::uintptr_t>(memory);
    if ((value & kTagMask) != kTag) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    std::size_t slot = ((value & ~kTagMask) >> 16) - 1;
    auto generation = static_cast<std::uint16_t>(value & 0xFFFF);
    if (slot >= table.blocks.size() || !table.blocks[slot].inUse ||
        table.blocks[slot].generation != generation) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return &table.blocks[slot];
}

} // namespace

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
    if (bytes > kMaxBlock) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    BlockTable& table = Table();
    std::lock_guard guard(table.lock);
    std::size_t slot;
    if (!table.freeSlots.empty()) {
        slot = table.freeSlots.back();
        table.freeSlots.pop_back();
    } else {
        slot = table.blocks.size();
        table.blocks.emplace_back();
    }
    Block& block = table.blocks[slot];
    // At least one byte, so that locking an empty block still yields an address.
    block.bytes.assign(bytes == 0 ? 1 : bytes, 0);
    block.size = bytes;
    block.flags = flags;
    block.lockCount = 0;
    block.inUse = true;
    return Encode(slot, block.generation);
}

HGLOBAL GlobalReAlloc(HGLOBAL memory, SIZE_T bytes, UINT flags) {
    BlockTable& table = Table();
    std::lock_guard guard(table.lock);
    Block* block = Find(table, memory);
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
    BlockTable& table = Table();
    std::lock_guard guard(table.lock);
    Block* block = Find(table, memory);
    if (block == nullptr) {
        return nullptr;
    }
    if (block->lockCount < GMEM_LOCKCOUNT) {
        ++block->lockCount;
    }
    return block->bytes.data();
}

BOOL GlobalUnlock(HGLOBAL memory) {
    BlockTable& table = Table();
    std::lock_guard guard(table.lock);
    Block* block = Find(table, memory);
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
    BlockTable& table = Table();
    std::lock_guard guard(table.lock);
    Block* block = Find(table, memory);
    return block != nullptr ? block->size : 0;
}

UINT GlobalFlags(HGLOBAL memory) {
    BlockTable& table = Table();
    std::lock_guard guard(table.lock);
    Block* block = Find(table, memory);
    if (block == nullptr) {
        return GMEM_INVALID_HANDLE;
    }
    return ((block->flags & GMEM_DISCARDABLE) != 0 ? GMEM_DISCARDABLE : 0) |
           (block->lockCount & GMEM_LOCKCOUNT);
}

HGLOBAL GlobalFree(HGLOBAL memory) {
    BlockTable& table = Table();
    std::lock_guard guard(table.lock);
    Block* block = Find(table, memory);
    if (block == nullptr) {
        return memory;
    }
    block->bytes = {};
    block->size = 0;
    block->inUse = false;
    block->lockCount = 0;
    // Generation 0 is skipped so that no live handle has a zero low word.
    block->generation = static_cast<std::uint16_t>(block->generation == 0xFFFF ? 1 : block->generation + 1);
    table.freeSlots.push_back(static_cast<std::size_t>(block - table.blocks.data()));
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
