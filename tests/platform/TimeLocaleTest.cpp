#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "platform/base/CodePage.h"
#include "platform/base/FileTime.h"
#include "platform/base/Locale.h"

namespace {

TEST(FileTimes, ConvertToAndFromSystemTime) {
    FILETIME unixEpoch = ostrana::UnixToFileTime(0);
    EXPECT_EQ(ostrana::FileTimeToTicks(unixEpoch), 116444736000000000ULL);
    SYSTEMTIME st{};
    ASSERT_TRUE(FileTimeToSystemTime(&unixEpoch, &st));
    EXPECT_EQ(st.wYear, 1970);
    EXPECT_EQ(st.wMonth, 1);
    EXPECT_EQ(st.wDay, 1);
    EXPECT_EQ(st.wDayOfWeek, 4); // Thursday

    SYSTEMTIME leap{2024, 2, 0, 29, 23, 59, 58, 250};
    FILETIME ft{};
    ASSERT_TRUE(SystemTimeToFileTime(&leap, &ft));
    SYSTEMTIME back{};
    ASSERT_TRUE(FileTimeToSystemTime(&ft, &back));
    EXPECT_EQ(back.wYear, 2024);
    EXPECT_EQ(back.wMonth, 2);
    EXPECT_EQ(back.wDay, 29);
    EXPECT_EQ(back.wHour, 23);
    EXPECT_EQ(back.wSecond, 58);
    EXPECT_EQ(back.wMilliseconds, 250);
    EXPECT_EQ(back.wDayOfWeek, 4);
    SYSTEMTIME invalid{2024, 13, 0, 1, 0, 0, 0, 0};
    EXPECT_FALSE(SystemTimeToFileTime(&invalid, &ft));
}

TEST(FileTimes, LocalTimeFollowsTheTimeZone) {
    const char* old = std::getenv("TZ");
    std::string saved = old ? old : "";
    setenv("TZ", "Asia/Seoul", 1);
    tzset();
    FILETIME utc = ostrana::UnixToFileTime(0), local{};
    ASSERT_TRUE(FileTimeToLocalFileTime(&utc, &local));
    SYSTEMTIME st{};
    FileTimeToSystemTime(&local, &st);
    EXPECT_EQ(st.wHour, 9);
    FILETIME again{};
    LocalFileTimeToFileTime(&local, &again);
    EXPECT_EQ(CompareFileTime(&again, &utc), 0);
    if (old) {
        setenv("TZ", saved.c_str(), 1);
    } else {
        unsetenv("TZ");
    }
    tzset();
}

TEST(Locale, KoreanPicturesInTheAnsiCodePage) {
    char buffer[64];
    ASSERT_GT(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "yyyy-MM-dd");
    ASSERT_GT(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STIMEFORMAT, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "tt h:mm:ss");
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, ",");
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, ".");
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_S1159, buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer), ostrana::Utf8ToAnsi("오전"));
    EXPECT_EQ(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, buffer, 4), 0);
}

} // namespace
