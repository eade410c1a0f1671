// The shell's task allocator. Item id lists and other memory the shell hands out are allocated
// and freed through it; it is one process-wide object whose reference count never ends it.
#pragma once

#include "platform/com/Unknown.h"

inline constexpr IID IID_IMalloc = {0x00000002, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

struct IMalloc : IUnknown {
    virtual void* Alloc(SIZE_T bytes) = 0;
    virtual void* Realloc(void* block, SIZE_T bytes) = 0;
    virtual void Free(void* block) = 0;
    // The size asked for, or (SIZE_T)-1 for a null block.
    virtual SIZE_T GetSize(void* block) = 0;
    virtual int DidAlloc(void* block) = 0;
    virtual void HeapMinimize() = 0;

protected:
    ~IMalloc() = default;
};
using LPMALLOC = IMalloc*;

// The process's allocator, AddRef'd for the caller.
HRESULT SHGetMalloc(IMalloc** allocator);

LPVOID CoTaskMemAlloc(SIZE_T bytes);
LPVOID CoTaskMemRealloc(LPVOID block, SIZE_T bytes);
void CoTaskMemFree(LPVOID block);
