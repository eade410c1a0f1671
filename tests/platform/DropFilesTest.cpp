#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/ole/DropFiles.h"
#include "platform/ole/GlobalMemory.h"

namespace {

HDROP RawBlock(const std::string& bytes) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    ostrana::GlobalLockGuard data(memory);
    std::memcpy(data.Data(), bytes.data(), bytes.size());
    return reinterpret_cast<HDROP>(memory);
}

std::string Header(DWORD firstName, BOOL wide) {
    DROPFILES header{firstName, POINT{0, 0}, FALSE, wide};
    return std::string(reinterpret_cast<const char*>(&header), sizeof header);
}

} // namespace

TEST(DropFiles, CountLengthsAndCopies) {
    HDROP drop = ostrana::CreateDropFiles({"C:\\a.txt", "C:\\folder", "myfolder/b"}, POINT{12, 34}, FALSE);
    ASSERT_NE(drop, nullptr);
    EXPECT_EQ(DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0), 3u);
    EXPECT_EQ(DragQueryFileA(drop, 1, nullptr, 0), 9u);

    char name[MAX_PATH];
    EXPECT_EQ(DragQueryFileA(drop, 2, name, sizeof name), 10u);
    EXPECT_STREQ(name, "myfolder/b");
    EXPECT_EQ(DragQueryFileA(drop, 0, name, 5), 4u);
    EXPECT_STREQ(name, "C:\\a");
    EXPECT_EQ(DragQueryFileA(drop, 3, name, sizeof name), 0u);
    EXPECT_EQ(ostrana::DragQueryFiles(drop),
              (std::vector<std::string>{"C:\\a.txt", "C:\\folder", "myfolder/b"}));

    POINT point{};
    EXPECT_TRUE(DragQueryPoint(drop, &point));
    EXPECT_EQ(point.x, 12);
    EXPECT_EQ(point.y, 34);
    DragFinish(drop);
    EXPECT_EQ(DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0), 0u);
}

TEST(DropFiles, NonClientDropIsReported) {
    HDROP drop = ostrana::CreateDropFiles({}, POINT{1, 2}, TRUE);
    POINT point{};
    EXPECT_FALSE(DragQueryPoint(drop, &point));
    EXPECT_EQ(point.y, 2);
    EXPECT_EQ(DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0), 0u);
    DragFinish(drop);
}

TEST(DropFiles, WideNamesAreConvertedToTheCodePage) {
    std::string bytes = Header(20, TRUE);
    for (char16_t unit : std::u16string(u"ab\0cd\0\0", 7)) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    HDROP drop = RawBlock(bytes);
    EXPECT_EQ(DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0), 2u);
    char name[8];
    DragQueryFileA(drop, 1, name, sizeof name);
    EXPECT_STREQ(name, "cd");
    EXPECT_EQ(ostrana::DragQueryFiles(drop), (std::vector<std::string>{"ab", "cd"}));
    DragFinish(drop);
}

TEST(DropFiles, DamagedBlocksAreReadOnlyWithinTheirSize) {
    // A name that runs to the end of the block without a terminator is not a name.
    HDROP unterminated = RawBlock(Header(20, FALSE) + std::string("first\0second", 12));
    EXPECT_EQ(DragQueryFileA(unterminated, 0xFFFFFFFF, nullptr, 0), 1u);
    EXPECT_EQ(DragQueryFileA(unterminated, 1, nullptr, 0), 0u);
    EXPECT_EQ(ostrana::DragQueryFiles(unterminated), std::vector<std::string>{"first"});
    DragFinish(unterminated);

    HDROP offsetOutside = RawBlock(Header(4000, FALSE) + std::string("a\0\0", 3));
    EXPECT_EQ(DragQueryFileA(offsetOutside, 0xFFFFFFFF, nullptr, 0), 0u);
    DragFinish(offsetOutside);

    HDROP offsetInHeader = RawBlock(Header(4, FALSE) + std::string("a\0\0", 3));
    EXPECT_EQ(DragQueryFileA(offsetInHeader, 0xFFFFFFFF, nullptr, 0), 0u);
    DragFinish(offsetInHeader);

    HDROP tooShort = RawBlock("abc");
    POINT point{};
    EXPECT_FALSE(DragQueryPoint(tooShort, &point));
    EXPECT_EQ(DragQueryFileA(tooShort, 0xFFFFFFFF, nullptr, 0), 0u);
    DragFinish(tooShort);

    HDROP oddWide = RawBlock(Header(20, TRUE) + std::string("a\0b", 3));
    EXPECT_EQ(DragQueryFileA(oddWide, 0xFFFFFFFF, nullptr, 0), 0u);
    DragFinish(oddWide);
}
