#include <gtest/gtest.h>

#include "platform/base/TimeFormat.h"

namespace {

SYSTEMTIME At(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
    SYSTEMTIME time{};
    time.wYear = year;
    time.wMonth = month;
    time.wDay = day;
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    return time;
}

TEST(TimeFormat, HashFlagDropsLeadingZeros) {
    SYSTEMTIME t = At(2024, 3, 5, 7, 4, 9);
    EXPECT_EQ(ostrana::FormatSystemTime("%Y-%m-%d %H:%M:%S", t), "2024-03-05 07:04:09");
    EXPECT_EQ(ostrana::FormatSystemTime("%#m/%#d %#H|%#I %y", t), "3/5 7|7 24");
    EXPECT_EQ(ostrana::FormatSystemTime("%I %#I", At(2024, 1, 1, 0, 0, 0)), "12 12");
    EXPECT_EQ(ostrana::FormatSystemTime("%I", At(2024, 1, 1, 13, 0, 0)), "01");
}

TEST(TimeFormat, NamesComeFromTheDateAndHalfDaysFromTheLocale) {
    SYSTEMTIME t = At(2024, 2, 29, 15, 0, 0); // a Thursday
    t.wDayOfWeek = 0;                         // ignored: the date decides
    EXPECT_EQ(ostrana::FormatSystemTime("%A %a %B %b 100%%", t), "Thursday Thu February Feb 100%");
    auto morning = ostrana::FormatSystemTime("%p", At(2024, 2, 29, 9, 0, 0));
    auto evening = ostrana::FormatSystemTime("%p", t);
    ASSERT_TRUE(morning && evening);
    EXPECT_FALSE(morning->empty());
    EXPECT_NE(*morning, *evening);
}

TEST(TimeFormat, InvalidTimesAndSpecifiersGiveNothing) {
    EXPECT_FALSE(ostrana::FormatSystemTime("%d", At(2023, 2, 29, 0, 0, 0)));
    EXPECT_FALSE(ostrana::FormatSystemTime("%d", At(2024, 13, 1, 0, 0, 0)));
    EXPECT_FALSE(ostrana::FormatSystemTime("%d", At(2024, 1, 1, 24, 0, 0)));
    EXPECT_FALSE(ostrana::FormatSystemTime("%d", SYSTEMTIME{}));
    EXPECT_FALSE(ostrana::FormatSystemTime("%Q", At(2024, 1, 1, 0, 0, 0)));
    EXPECT_FALSE(ostrana::FormatSystemTime("trailing %", At(2024, 1, 1, 0, 0, 0)));
}

} // namespace
