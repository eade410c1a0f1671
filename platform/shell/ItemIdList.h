// Item id lists in the shell's layout: items of [2-byte size][data], the size counting itself,
// ended by a 2-byte zero. Lists are allocated with the shell allocator (ILClone, ILCombine) and
// freed with ILFree. Sizes are read byte-wise, so lists may sit at any address.
#pragma once

#include <string_view>

#include "platform/base/WinTypes.h"

#pragma pack(push, 1)
struct SHITEMID {
    USHORT cb;
    BYTE abID[1];
};
struct ITEMIDLIST {
    SHITEMID mkid;
};
#pragma pack(pop)
using LPITEMIDLIST = ITEMIDLIST*;
using LPCITEMIDLIST = const ITEMIDLIST*;
using PIDLIST_ABSOLUTE = ITEMIDLIST*;
using PCIDLIST_ABSOLUTE = const ITEMIDLIST*;
using PCUIDLIST_RELATIVE = const ITEMIDLIST*;
using PIDLIST_RELATIVE = ITEMIDLIST*;
using PUIDLIST_RELATIVE = ITEMIDLIST*;
using PITEMID_CHILD = ITEMIDLIST*;
using PCITEMID_CHILD = const ITEMIDLIST*;
using PCUITEMID_CHILD = const ITEMIDLIST*;
using PCUITEMID_CHILD_ARRAY = const PCUITEMID_CHILD*;

// Bytes of the whole list, terminator included; 0 for a null list.
UINT ILGetSize(LPCITEMIDLIST list);
// The item after the first one, or null when the first is the terminator.
LPITEMIDLIST ILGetNext(LPCITEMIDLIST list);
// The last item (the list itself when it is empty).
LPITEMIDLIST ILFindLastID(LPCITEMIDLIST list);
BOOL ILIsEmpty(LPCITEMIDLIST list);
LPITEMIDLIST ILClone(LPCITEMIDLIST list);
LPITEMIDLIST ILCloneFirst(LPCITEMIDLIST list);
// The first list's items followed by the second's; either may be null.
LPITEMIDLIST ILCombine(LPCITEMIDLIST first, LPCITEMIDLIST second);
// Removes the last item in place; FALSE when the list was empty.
BOOL ILRemoveLastID(LPITEMIDLIST list);
void ILFree(LPITEMIDLIST list);

namespace ostrana {

// The size of a list stored in `available` bytes that may come from elsewhere: 0 when its items
// run past the bytes, an item is shorter than its own size field, or no terminator fits.
UINT ILGetSizeBounded(const BYTE* data, SIZE_T available);

// A new list of one item per element, each item's data being the element's bytes.
LPITEMIDLIST ILCreateFromItems(std::initializer_list<std::string_view> items);

// Byte-for-byte equality of two lists.
bool ILIsSameBytes(LPCITEMIDLIST first, LPCITEMIDLIST second);

} // namespace ostrana
