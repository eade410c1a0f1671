#include <gtest/gtest.h>

#include <cstring>

#include "platform/base/KernelObject.h"
#include "platform/base/LastError.h"
#include "platform/ole/GlobalMemory.h"

TEST(GlobalMemory, BlocksAreZeroedAndKeepTheirRequestedSize) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, 10);
    ASSERT_NE(memory, nullptr);
    EXPECT_EQ(GlobalSize(memory), 10u);
    auto* data = static_cast<BYTE*>(GlobalLock(memory));
    ASSERT_NE(data, nullptr);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(data[i], 0);
    }
    std::memcpy(data, "abcdefghij", 10);
    EXPECT_FALSE(GlobalUnlock(memory));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(GlobalFree(memory), nullptr);
}

TEST(GlobalMemory, LockCountsNest) {
    HGLOBAL memory = GlobalAlloc(GHND, 4);
    void* first = GlobalLock(memory);
    void* second = GlobalLock(memory);
    EXPECT_EQ(first, second);
    EXPECT_EQ(GlobalFlags(memory) & GMEM_LOCKCOUNT, 2u);
    EXPECT_TRUE(GlobalUnlock(memory));
    EXPECT_FALSE(GlobalUnlock(memory));
    EXPECT_FALSE(GlobalUnlock(memory));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_LOCKED));
    GlobalFree(memory);
}

TEST(GlobalMemory, StaleAndForeignHandlesAreRefused) {
    HGLOBAL memory = GlobalAlloc(GHND, 8);
    ASSERT_EQ(GlobalFree(memory), nullptr);
    HGLOBAL reused = GlobalAlloc(GHND, 8);
    EXPECT_NE(reused, memory);
    EXPECT_EQ(GlobalLock(memory), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(GlobalSize(memory), 0u);
    EXPECT_EQ(GlobalFree(memory), memory);
    EXPECT_EQ(GlobalSize(reused), 8u);

    int local = 0;
    EXPECT_EQ(GlobalLock(&local), nullptr);
    EXPECT_EQ(GlobalLock(nullptr), nullptr);
    EXPECT_EQ(GlobalFlags(nullptr), static_cast<UINT>(GMEM_INVALID_HANDLE));
    GlobalFree(reused);
}

TEST(GlobalMemory, ReallocationKeepsContentAndZeroesGrowth) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, 3);
    std::memcpy(GlobalLock(memory), "abc", 3);
    // A locked block is not moved.
    EXPECT_EQ(GlobalReAlloc(memory, 4096, GMEM_MOVEABLE), nullptr);
    GlobalUnlock(memory);
    ASSERT_EQ(GlobalReAlloc(memory, 4096, GMEM_MOVEABLE), memory);
    EXPECT_EQ(GlobalSize(memory), 4096u);
    auto* data = static_cast<BYTE*>(GlobalLock(memory));
    EXPECT_EQ(std::memcmp(data, "abc", 3), 0);
    EXPECT_EQ(data[3], 0);
    EXPECT_EQ(data[4095], 0);
    GlobalUnlock(memory);

    HGLOBAL copy = ostrana::GlobalDuplicate(memory, GMEM_MOVEABLE);
    GlobalFree(memory);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(GlobalSize(copy), 4096u);
    ostrana::GlobalLockGuard copied(copy);
    EXPECT_EQ(std::memcmp(copied.Data(), "abc", 3), 0);
    GlobalFree(copy);
}

TEST(GlobalMemory, EmptyAndOversizedRequests) {
    HGLOBAL empty = GlobalAlloc(GMEM_MOVEABLE, 0);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(GlobalSize(empty), 0u);
    GlobalFree(empty);
    EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, SIZE_T{1} << 40), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
}
