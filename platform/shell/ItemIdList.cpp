#include "platform/shell/ItemIdList.h"

#include <cstring>
#include <initializer_list>

#include "platform/shell/ShellMalloc.h"

namespace {

USHORT ItemSize(const BYTE* at) {
    USHORT size;
    std::memcpy(&size, at, sizeof size);
    return size;
}

const BYTE* Bytes(LPCITEMIDLIST list) { return reinterpret_cast<const BYTE*>(list); }

// Bytes of the items without the terminator.
UINT ItemsSize(LPCITEMIDLIST list) {
    if (list == nullptr) {
        return 0;
    }
    const BYTE* at = Bytes(list);
    UINT size = 0;
    for (USHORT item = ItemSize(at); item != 0; item = ItemSize(at + size)) {
        size += item;
    }
    return size;
}

LPITEMIDLIST AllocateList(UINT bytes) { return static_cast<LPITEMIDLIST>(CoTaskMemAlloc(bytes)); }

void WriteTerminator(BYTE* at) { std::memset(at, 0, sizeof(USHORT)); }

} // namespace

UINT ILGetSize(LPCITEMIDLIST list) { return list == nullptr ? 0 : ItemsSize(list) + sizeof(USHORT); }

LPITEMIDLIST ILGetNext(LPCITEMIDLIST list) {
    if (list == nullptr) {
        return nullptr;
    }
    USHORT size = ItemSize(Bytes(list));
    if (size == 0) {
        return nullptr;
    }
    return reinterpret_cast<LPITEMIDLIST>(const_cast<BYTE*>(Bytes(list) + size));
}

LPITEMIDLIST ILFindLastID(LPCITEMIDLIST list) {
    if (list == nullptr) {
        return nullptr;
    }
    const BYTE* last = Bytes(list);
    const BYTE* at = last;
    for (USHORT size = ItemSize(at); size != 0; size = ItemSize(at)) {
        last = at;
        at += size;
    }
    return reinterpret_cast<LPITEMIDLIST>(const_cast<BYTE*>(last));
}

BOOL ILIsEmpty(LPCITEMIDLIST list) { return list == nullptr || ItemSize(Bytes(list)) == 0; }

LPITEMIDLIST ILClone(LPCITEMIDLIST list) {
    if (list == nullptr) {
        return nullptr;
    }
    UINT size = ILGetSize(list);
    LPITEMIDLIST copy = AllocateList(size);
    if (copy != nullptr) {
        std::memcpy(copy, list, size);
    }
    return copy;
}

LPITEMIDLIST ILCloneFirst(LPCITEMIDLIST list) {
    if (list == nullptr) {
        return nullptr;
    }
    USHORT first = ItemSize(Bytes(list));
    LPITEMIDLIST copy = AllocateList(first + sizeof(USHORT));
    if (copy != nullptr) {
        std::memcpy(copy, list, first);
        WriteTerminator(reinterpret_cast<BYTE*>(copy) + first);
    }
    return copy;
}

LPITEMIDLIST ILCombine(LPCITEMIDLIST first, LPCITEMIDLIST second) {
    if (first == nullptr && second == nullptr) {
        return nullptr;
    }
    UINT firstSize = ItemsSize(first);
    UINT secondSize = ItemsSize(second);
    LPITEMIDLIST combined = AllocateList(firstSize + secondSize + sizeof(USHORT));
    if (combined == nullptr) {
        return nullptr;
    }
    auto* at = reinterpret_cast<BYTE*>(combined);
    if (firstSize > 0) {
        std::memcpy(at, first, firstSize);
    }
    if (secondSize > 0) {
        std::memcpy(at + firstSize, second, secondSize);
    }
    WriteTerminator(at + firstSize + secondSize);
    return combined;
}

BOOL ILRemoveLastID(LPITEMIDLIST list) {
    if (ILIsEmpty(list)) {
        return FALSE;
    }
    WriteTerminator(reinterpret_cast<BYTE*>(ILFindLastID(list)));
    return TRUE;
}

void ILFree(LPITEMIDLIST list) { CoTaskMemFree(list); }

namespace ostrana {

UINT ILGetSizeBounded(const BYTE* data, SIZE_T available) {
    if (data == nullptr) {
        return 0;
    }
    SIZE_T at = 0;
    while (available - at >= sizeof(USHORT)) {
        USHORT size = ItemSize(data + at);
        if (size == 0) {
            return static_cast<UINT>(at + sizeof(USHORT));
        }
        if (size < sizeof(USHORT) || size > available - at) {
            return 0;
        }
        at += size;
    }
    return 0;
}

LPITEMIDLIST ILCreateFromItems(std::initializer_list<std::string_view> items) {
    UINT size = sizeof(USHORT);
    for (std::string_view item : items) {
        if (item.size() > 0xFFFF - sizeof(USHORT)) {
            return nullptr;
        }
        size += static_cast<UINT>(sizeof(USHORT) + item.size());
    }
    LPITEMIDLIST list = AllocateList(size);
    if (list == nullptr) {
        return nullptr;
    }
    auto* at = reinterpret_cast<BYTE*>(list);
    for (std::string_view item : items) {
        auto itemSize = static_cast<USHORT>(sizeof(USHORT) + item.size());
        std::memcpy(at, &itemSize, sizeof itemSize);
        std::memcpy(at + sizeof itemSize, item.data(), item.size());
        at += itemSize;
    }
    WriteTerminator(at);
    return list;
}

bool ILIsSameBytes(LPCITEMIDLIST first, LPCITEMIDLIST second) {
    if (first == nullptr || second == nullptr) {
        return first == second;
    }
    UINT size = ILGetSize(first);
    return size == ILGetSize(second) && std::memcmp(first, second, size) == 0;
}

} // namespace ostrana
