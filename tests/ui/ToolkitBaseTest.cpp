// The platform pieces under the toolkit list: locale text comparison, date and time parsing with
// the Korean pictures, the application profile, and the row records' index checks.
#include <gtest/gtest.h>

#include "platform/base/CodePage.h"
#include "platform/base/DateTimeParse.h"
#include "platform/base/InvalidArgException.h"
#include "platform/base/Locale.h"
#include "platform/base/StringCompare.h"
#include "platform/registry/Registry.h"
#include "platform/window/AfxWinApp.h"
#include "tests/support/TempDir.h"
#include "ui/UICellFormat.h"
#include "ui/UIListCtrlData.h"

namespace ostrana::test {
namespace {

int Compare(const std::string& a, const std::string& b, DWORD flags = NORM_IGNORECASE | NORM_IGNOREKANATYPE) {
    std::string ansiA = Utf8ToAnsi(a), ansiB = Utf8ToAnsi(b);
    return CompareStringA(GetUserDefaultLCID(), flags, ansiA.c_str(), -1, ansiB.c_str(), -1);
}

TEST(LocaleCompare, IgnoresCaseAndKanaTypeAndOrdersHangulAlphabetically) {
    EXPECT_EQ(CSTR_EQUAL, Compare("Readme.TXT", "readme.txt"));
    EXPECT_EQ(CSTR_LESS_THAN, Compare("Readme.TXT", "readme.txt", 0));
    EXPECT_EQ(CSTR_EQUAL, Compare("カナ", "かな"));
    EXPECT_EQ(CSTR_LESS_THAN, Compare("가방", "나무"));
    EXPECT_EQ(CSTR_LESS_THAN, Compare("나무", "하늘"));
    // A syllable outside the common set (extended bytes in code page 949) still sorts by its letters.
    EXPECT_EQ(CSTR_LESS_THAN, Compare("각", "갂"));
    EXPECT_EQ(CSTR_LESS_THAN, Compare("갂", "갈"));
    EXPECT_EQ(CSTR_LESS_THAN, Compare("9", "a"));
    EXPECT_EQ(CSTR_LESS_THAN, Compare("zebra", "가"));
    EXPECT_EQ(CSTR_LESS_THAN, Compare("abc", "abcd"));
    EXPECT_EQ(0, CompareStringA(GetUserDefaultLCID(), 0, nullptr, -1, "a", -1));
}

TEST(LocaleDateTime, ReadsTheKoreanPicturesAndRefusesImpossibleDates) {
    SYSTEMTIME time{};
    ASSERT_TRUE(ParseLocaleDateTime(GetUserDefaultLCID(), Utf8ToAnsi("2026-12-09 오후 3:04:05"), time));
    EXPECT_EQ(2026, time.wYear);
    EXPECT_EQ(12, time.wMonth);
    EXPECT_EQ(9, time.wDay);
    EXPECT_EQ(15, time.wHour);
    EXPECT_EQ(4, time.wMinute);
    EXPECT_EQ(5, time.wSecond);
    ASSERT_TRUE(ParseLocaleDateTime(GetUserDefaultLCID(), Utf8ToAnsi("2026-12-09 오전 12:30:00"), time));
    EXPECT_EQ(0, time.wHour);
    ASSERT_TRUE(ParseLocaleDateTime(GetUserDefaultLCID(), "2026-01-02 17:45", time));
    EXPECT_EQ(17, time.wHour);
    EXPECT_EQ(0, time.wSecond);
    ASSERT_TRUE(ParseLocaleDateTime(GetUserDefaultLCID(), "2024-02-29", time));
    EXPECT_EQ(0, time.wHour);

    SYSTEMTIME untouched{1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_FALSE(ParseLocaleDateTime(GetUserDefaultLCID(), "2026-02-30", untouched));
    EXPECT_FALSE(ParseLocaleDateTime(GetUserDefaultLCID(), "2026-13-01", untouched));
    EXPECT_FALSE(ParseLocaleDateTime(GetUserDefaultLCID(), "2026-12-09 25:00:00", untouched));
    EXPECT_FALSE(ParseLocaleDateTime(GetUserDefaultLCID(), "folder", untouched));
    EXPECT_FALSE(ParseLocaleDateTime(GetUserDefaultLCID(), "", untouched));
    EXPECT_EQ(1, untouched.wYear);
}

TEST(CellFormat, GroupsThousandsAndWritesMinutesAndSeconds) {
    EXPECT_EQ("1,234,567", FormatThousands("1234567"));
    EXPECT_EQ("1,234.5678", FormatThousands("1234.5678"));
    EXPECT_EQ("-12,345 KB", FormatThousands("-12345 KB"));
    EXPECT_EQ("999", FormatThousands("999"));
    EXPECT_EQ("0", FormatThousands("0"));
    EXPECT_EQ("2:5", FormatMinutesSeconds("125"));
    EXPECT_EQ("1:1", FormatMinutesSeconds("61.9"));
    EXPECT_EQ("0", FormatMinutesSeconds("0"));
}

TEST(ApplicationProfile, ReadsAndWritesUnderTheRegistryKeyOnly) {
    ScopedRegistryFile registry;
    {
        CWinApp app("Ostrana");
        EXPECT_EQ(&app, AfxGetApp());
        EXPECT_FALSE(app.WriteProfileInt("Section", "Number", 5));
        EXPECT_EQ(7u, app.GetProfileInt("Section", "Number", 7));

        app.SetRegistryKey("Zelkor");
        EXPECT_EQ("SoftWare\\Zelkor\\Ostrana", app.GetProfileKeyPath());
        EXPECT_TRUE(app.WriteProfileInt("UIODListControl\\Test", "Columns", 4));
        EXPECT_TRUE(app.WriteProfileString("UIODListControl\\Test", "Headings", Utf8ToAnsi("이름|크기").c_str()));
        EXPECT_EQ(4u, app.GetProfileInt("UIODListControl\\Test", "columns", 0));
        EXPECT_EQ(Utf8ToAnsi("이름|크기"), app.GetProfileString("UIODListControl\\Test", "Headings"));
        // A value of the other type counts as missing.
        EXPECT_EQ(9u, app.GetProfileInt("UIODListControl\\Test", "Headings", 9));
        EXPECT_EQ("none", app.GetProfileString("UIODListControl\\Test", "Columns", "none"));

        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyA(HKEY_CURRENT_USER, "SoftWare\\Zelkor\\Ostrana\\UIODListControl\\Test", &key));
        RegCloseKey(key);

        EXPECT_TRUE(app.WriteProfileString("UIODListControl\\Test", "Headings", nullptr));
        EXPECT_EQ("gone", app.GetProfileString("UIODListControl\\Test", "Headings", "gone"));
        EXPECT_TRUE(app.WriteProfileString("UIODListControl\\Test", nullptr, nullptr));
        EXPECT_EQ(0u, app.GetProfileInt("UIODListControl\\Test", "Columns", 0));
    }
    EXPECT_EQ(nullptr, AfxGetApp());
}

TEST(ListRowRecords, CheckTheirColumnIndexes) {
    CUIListCtrlData row(3);
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), row.GetTextColor(2));
    EXPECT_TRUE(row.IsDefaultColors());
    row.SetTextColor(49, RGB(1, 2, 3)); // records reach at least 50 columns
    EXPECT_EQ(RGB(1, 2, 3), row.GetTextColor(49));
    EXPECT_FALSE(row.IsDefaultColors());
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), row.GetBkColor(0));
    EXPECT_THROW(row.GetTextColor(50), CInvalidArgException);
    EXPECT_THROW(row.SetBkColor(-1, 0), CInvalidArgException);

    CUIStrListCtrlData strings(2);
    strings.SetString(1, "12KB");
    EXPECT_EQ("12KB", strings.GetString(1));
    EXPECT_THROW(strings.SetString(2, "x"), CInvalidArgException);
    EXPECT_THROW(strings.GetString(-1), CInvalidArgException);
}

} // namespace
} // namespace ostrana::test
