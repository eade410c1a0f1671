// The server list's orderings: kilobyte figures across the separator, text without case, and
// dates in the list's own format, with unreadable dates equal and equal dates never equal.
#include <gtest/gtest.h>

#include "platform/base/CodePage.h"
#include "server/ServerListCompare.h"

namespace {

int Sign(int value) { return (value > 0) - (value < 0); }
int Compare(int type, const std::string& a, const std::string& b) {
    return Sign(CompareServerCells(type, ostrana::Utf8ToAnsi(a), ostrana::Utf8ToAnsi(b)));
}

TEST(ServerListCompare, SizesCompareByTheWholeFigureAcrossTheSeparator) {
    EXPECT_EQ(1000, LeadingFigure("1,000KB"));
    EXPECT_EQ(1024000, LeadingFigure("1024,000KB"));
    EXPECT_EQ(0, LeadingFigure(""));
    EXPECT_EQ(-1, Compare(kServerSortNumber, "12KB", "999KB"));
    EXPECT_EQ(-1, Compare(kServerSortNumber, "999KB", "1,000KB"));
    EXPECT_EQ(0, Compare(kServerSortNumber, "", "0KB")) << "an empty size counts as 0";
    EXPECT_EQ(1, Compare(kServerSortNumber, "1024,000KB", "1,024KB"));
}

TEST(ServerListCompare, TextsIgnoreCase) {
    EXPECT_EQ(0, Compare(kServerSortText, "README.txt", "readme.TXT"));
    EXPECT_EQ(-1, Compare(kServerSortText, "alpha", "Beta"));
    EXPECT_EQ(-1, Compare(kServerSortText, "가나", "하"));
}

TEST(ServerListCompare, DatesInTheListFormatOrderByTime) {
    EXPECT_EQ(-1, Compare(kServerSortDate, "2007-03-05 오전 9:30", "2007-03-05 오후 2:7"));
    EXPECT_EQ(1, Compare(kServerSortDate, "2008-01-01 오전 1:0", "2007-12-31 오후 11:59"));
    EXPECT_EQ(1, Compare(kServerSortDate, "2007-03-05 오전 9:30", "2007-03-05 오전 9:30")) << "the first counts as later";
    EXPECT_EQ(0, Compare(kServerSortDate, "not a date", "2007-03-05 오전 9:30"));
    EXPECT_EQ(0, Compare(kServerSortDate, "2007-03-05 오전 9:30", ""));
}

} // namespace
