// The default comparison of the toolkit list by column type, on Korean and ASCII texts, numbers
// with thousands separators and dates in the Korean picture.
#include <gtest/gtest.h>

#include "platform/base/CodePage.h"
#include "ui/UIListCompare.h"

namespace ostrana::test {
namespace {

int Sign(int value) { return value < 0 ? -1 : (value > 0 ? 1 : 0); }
int Compare(int type, const std::string& a, const std::string& b) { return Sign(CompareCellTexts(type, Utf8ToAnsi(a), Utf8ToAnsi(b))); }

TEST(ListCompare, TextTypeComparesWithoutCaseAndAnyOtherTypeToo) {
    EXPECT_EQ(0, Compare(0, "Report.DOC", "report.doc"));
    EXPECT_EQ(-1, Compare(0, "사진", "음악"));
    EXPECT_EQ(-1, Compare(0, "apple", "사진"));
    EXPECT_EQ(1, Compare(0, "b", "A"));
    EXPECT_EQ(-1, Compare(3, "10", "9")); // unlisted types compare as text
}

TEST(ListCompare, NumberTypesReadWholeAndFloatingNumbers) {
    EXPECT_EQ(1, Compare(1, "10", "9"));
    EXPECT_EQ(0, Compare(1, "12KB", "12 MB"));
    // Type 1 stops at the separator; type 2 keeps only the digits.
    EXPECT_EQ(-1, Compare(1, "1,234", "999"));
    EXPECT_EQ(1, Compare(2, "1,234 KB", "999 KB"));
    EXPECT_EQ(1, Compare(2, "12,345,678,901,234", "9"));
    EXPECT_EQ(1, Compare(5, "1.5", "1.25"));
    EXPECT_EQ(-1, Compare(5, "-3", "2e1"));
    EXPECT_EQ(1, Compare(6, "1,234.5 KB", "999.9 KB"));
    EXPECT_EQ(0, Compare(6, "", "0"));
}

TEST(ListCompare, DateTypeReadsTheUsersPictures) {
    EXPECT_EQ(-1, Compare(9, "2026-12-09 오전 11:59:59", "2026-12-09 오후 12:00:00"));
    EXPECT_EQ(1, Compare(9, "2026-12-10", "2026-12-09 오후 11:00:00"));
    EXPECT_EQ(-1, Compare(9, "2025-12-31 23:59:59", "2026-01-01 00:00:00"));
    EXPECT_EQ(0, Compare(9, "2026-03-01 오후 1:00:00", "2026-03-01 13:00:00"));
    // Texts that hold no date come first.
    EXPECT_EQ(-1, Compare(9, "", "1601-01-02"));
}

} // namespace
} // namespace ostrana::test
