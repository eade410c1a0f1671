// Each block carries its requested size in a header ahead of the address handed out, aligned
// for any type.
#include "platform/shell/ShellMalloc.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>

namespace {

constexpr SIZE_T kHeader = alignof(std::max_align_t);

SIZE_T& StoredSize(void* block) { return *reinterpret_cast<SIZE_T*>(static_cast<BYTE*>(block) - kHeader); }

class TaskAllocator final : public IMalloc {
public:
    HRESULT QueryInterface(REFIID riid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (riid == IID_IUnknown || riid == IID_IMalloc) {
            *object = static_cast<IMalloc*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return 2; }
    ULONG Release() override { return 1; }

    void* Alloc(SIZE_T bytes) override {
        if (bytes > SIZE_T{1} << 31) {
            return nullptr;
        }
        auto* raw = static_cast<BYTE*>(std::malloc(kHeader + bytes));
        if (raw == nullptr) {
            return nullptr;
        }
        void* block = raw + kHeader;
        StoredSize(block) = bytes;
        return block;
    }
    void* Realloc(void* block, SIZE_T bytes) override {
        if (block == nullptr) {
            return Alloc(bytes);
        }
        if (bytes == 0) {
            Free(block);
            return nullptr;
        }
        void* grown = Alloc(bytes);
        if (grown != nullptr) {
            std::memcpy(grown, block, std::min(bytes, StoredSize(block)));
            Free(block);
        }
        return grown;
    }
    void Free(void* block) override {
        if (block != nullptr) {
            std::free(static_cast<BYTE*>(block) - kHeader);
        }
    }
    SIZE_T GetSize(void* block) override {
        return block != nullptr ? StoredSize(block) : static_cast<SIZE_T>(-1);
    }
    int DidAlloc(void* block) override { return block != nullptr ? -1 : 0; }
    void HeapMinimize() override {}
};

TaskAllocator& Allocator() {
    static TaskAllocator allocator;
    return allocator;
}

} // namespace

HRESULT SHGetMalloc(IMalloc** allocator) {
    if (allocator == nullptr) {
        return E_INVALIDARG;
    }
    *allocator = &Allocator();
    return S_OK;
}

LPVOID CoTaskMemAlloc(SIZE_T bytes) { return Allocator().Alloc(bytes); }
LPVOID CoTaskMemRealloc(LPVOID block, SIZE_T bytes) { return Allocator().Realloc(block, bytes); }
void CoTaskMemFree(LPVOID block) { Allocator().Free(block); }
