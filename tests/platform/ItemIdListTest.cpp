#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/shell/ItemIdList.h"
#include "platform/shell/ShellMalloc.h"

TEST(ItemIdList, SizesCountItemsAndTheTerminator) {
    LPITEMIDLIST list = ostrana::ILCreateFromItems({"abc", "de"});
    EXPECT_EQ(ILGetSize(list), 5u + 4u + 2u);
    EXPECT_EQ(ILGetSize(nullptr), 0u);
    LPITEMIDLIST empty = ostrana::ILCreateFromItems({});
    EXPECT_EQ(ILGetSize(empty), 2u);
    EXPECT_TRUE(ILIsEmpty(empty));

    LPITEMIDLIST second = ILGetNext(list);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(ILGetSize(second), 4u + 2u);
    EXPECT_EQ(ILFindLastID(list), second);
    EXPECT_EQ(ILGetNext(ILGetNext(second)), nullptr);
    ILFree(list);
    ILFree(empty);
}

TEST(ItemIdList, CloneCombineAndRemove) {
    LPITEMIDLIST folder = ostrana::ILCreateFromItems({"home", "ana"});
    LPITEMIDLIST item = ostrana::ILCreateFromItems({"a.txt"});
    LPITEMIDLIST absolute = ILCombine(folder, item);
    LPITEMIDLIST expected = ostrana::ILCreateFromItems({"home", "ana", "a.txt"});
    EXPECT_TRUE(ostrana::ILIsSameBytes(absolute, expected));

    LPITEMIDLIST copy = ILClone(absolute);
    EXPECT_NE(copy, absolute);
    EXPECT_TRUE(ostrana::ILIsSameBytes(copy, absolute));
    EXPECT_TRUE(ILRemoveLastID(copy));
    EXPECT_TRUE(ostrana::ILIsSameBytes(copy, folder));

    LPITEMIDLIST first = ILCloneFirst(absolute);
    LPITEMIDLIST home = ostrana::ILCreateFromItems({"home"});
    EXPECT_TRUE(ostrana::ILIsSameBytes(first, home));
    for (LPITEMIDLIST list : {folder, item, absolute, expected, copy, first, home}) {
        ILFree(list);
    }
}

TEST(ItemIdList, BoundedSizeRefusesListsThatLeaveTheirBytes) {
    const BYTE good[] = {0x04, 0x00, 'a', 'b', 0x03, 0x00, 'c', 0x00, 0x00, 0xEE};
    EXPECT_EQ(ostrana::ILGetSizeBounded(good, sizeof good), 9u);
    EXPECT_EQ(ostrana::ILGetSizeBounded(good, 8), 0u);  // terminator cut off
    EXPECT_EQ(ostrana::ILGetSizeBounded(good, 5), 0u);  // second item runs past
    const BYTE tiny[] = {0x01, 0x00, 0x00, 0x00};       // an item smaller than its size field
    EXPECT_EQ(ostrana::ILGetSizeBounded(tiny, sizeof tiny), 0u);
    const BYTE huge[] = {0xFF, 0xFF, 0x00, 0x00};
    EXPECT_EQ(ostrana::ILGetSizeBounded(huge, sizeof huge), 0u);
    EXPECT_EQ(ostrana::ILGetSizeBounded(nullptr, 10), 0u);
}

TEST(ShellMalloc, AllocatorKnowsBlockSizes) {
    IMalloc* allocator = nullptr;
    ASSERT_EQ(SHGetMalloc(&allocator), S_OK);
    void* block = allocator->Alloc(10);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(allocator->GetSize(block), 10u);
    std::memcpy(block, "0123456789", 10);
    block = allocator->Realloc(block, 20);
    EXPECT_EQ(std::memcmp(block, "0123456789", 10), 0);
    EXPECT_EQ(allocator->GetSize(block), 20u);
    allocator->Free(block);
    allocator->Release();
}
