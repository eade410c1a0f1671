// Global memory blocks named by HGLOBAL. A handle carries a slot and a generation, so a freed or
// foreign handle is refused (ERROR_INVALID_HANDLE) and never reaches another block. Blocks are
// always zero-filled when they are created or grown: no uninitialised bytes are ever handed out.
// A block keeps its address while locked; GlobalReAlloc refuses to move a locked block.
// GMEM_FIXED blocks are named by handles too: their bytes are reached through GlobalLock.
#pragma once

#include "platform/base/WinTypes.h"

#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_NOCOMPACT 0x0010
#define GMEM_NODISCARD 0x0020
#define GMEM_ZEROINIT 0x0040
#define GMEM_MODIFY 0x0080
#define GMEM_DISCARDABLE 0x0100
#define GMEM_SHARE 0x2000
#define GMEM_DDESHARE 0x2000
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)
#define GMEM_INVALID_HANDLE 0x8000
#define GMEM_LOCKCOUNT 0x00FF

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
// A moveable block may grow or shrink while unlocked; new bytes are zero.
HGLOBAL GlobalReAlloc(HGLOBAL memory, SIZE_T bytes, UINT flags);
LPVOID GlobalLock(HGLOBAL memory);
// TRUE while the block is still locked; FALSE with NO_ERROR once its lock count reaches zero.
BOOL GlobalUnlock(HGLOBAL memory);
// The size asked for at allocation; 0 for an invalid handle.
SIZE_T GlobalSize(HGLOBAL memory);
// The allocation flags in the high byte and the lock count in the low byte.
UINT GlobalFlags(HGLOBAL memory);
// NULL on success, the handle itself when it was not valid.
HGLOBAL GlobalFree(HGLOBAL memory);

namespace ostrana {

// A new moveable block holding a copy of another; NULL when the source is invalid.
HGLOBAL GlobalDuplicate(HGLOBAL source, UINT flags);

// Locks a block for the life of the object.
class GlobalLockGuard {
public:
    explicit GlobalLockGuard(HGLOBAL memory) : m_memory(memory), m_data(GlobalLock(memory)) {}
    ~GlobalLockGuard() {
        if (m_data != nullptr) {
            GlobalUnlock(m_memory);
        }
    }
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;

    BYTE* Data() const { return static_cast<BYTE*>(m_data); }
    explicit operator bool() const { return m_data != nullptr; }

private:
    HGLOBAL m_memory;
    LPVOID m_data;
};

} // namespace ostrana
