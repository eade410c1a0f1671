#include <gtest/gtest.h>

#include <cstring>

#include "platform/registry/Registry.h"
#include "platform/shell/ShellFlags.h"
#include "shell/LocalListText.h"
#include "shell/ShellSettings.h"
#include "tests/support/TempDir.h"

namespace {

TEST(LocalListText, SizesRoundUpToWholeKilobytesWithTheSeparator) {
    EXPECT_EQ(LocalSizeText(0, ","), "1 KB");
    EXPECT_EQ(LocalSizeText(1024, ","), "1 KB");
    EXPECT_EQ(LocalSizeText(1025, ","), "2 KB");
    EXPECT_EQ(LocalSizeText(1048577, ","), "1,025 KB");
    EXPECT_EQ(LocalSizeText(999ull * 1024, ","), "999 KB");
    EXPECT_EQ(LocalSizeText(1000ull * 1024, "."), "1.000 KB");
    EXPECT_EQ(LocalSizeText(5ull << 40, ","), "5,368,709,120 KB") << "no wrap beyond 4 GiB";
}

TEST(LocalListText, PicturesBecomeFormatsRunByRun) {
    EXPECT_EQ(PictureToTimeFormat("yyyy-MM-dd"), "%Y-%m-%d");
    EXPECT_EQ(PictureToTimeFormat("tt h:mm:ss"), "%p %#I:%M:%S");
    EXPECT_EQ(PictureToTimeFormat("M/d/yy"), "%#m/%#d/%y");
    EXPECT_EQ(PictureToTimeFormat("dddd, MMMM dd"), "%A, %B %d");
    EXPECT_EQ(PictureToTimeFormat("HH.mm"), "%H.%M");
    EXPECT_EQ(PictureToTimeFormat("yyy 'x' MMMMM"), "yyy 'x' MMMMM") << "unknown runs stay";
    EXPECT_EQ(PictureToTimeFormat(""), "");
}

TEST(LocalListText, ModifiedUsesCreationWhenLastWriteIsZeroAndNamesBadTimes) {
    SYSTEMTIME parts{};
    parts.wYear = 2024;
    parts.wMonth = 3;
    parts.wDay = 5;
    parts.wHour = 14;
    parts.wMinute = 7;
    FILETIME creation{};
    ASSERT_TRUE(SystemTimeToFileTime(&parts, &creation));
    std::string text = LocalModifiedText(FILETIME{}, creation);
    EXPECT_NE(text.find("2024"), std::string::npos) << text;
    EXPECT_NE(text.find("07"), std::string::npos) << text;
    EXPECT_EQ(LocalModifiedText(creation, FILETIME{}), text);
    FILETIME beyond{0xFFFFFFFF, 0xFFFFFFFF};
    EXPECT_EQ(LocalModifiedText(beyond, creation), "Invalid DateTime");
}

TEST(ShellSettings, StartsFromTheRegistryAndReloads) {
    ostrana::test::ScopedRegistryFile registry;
    ShellSettings settings;
    EXPECT_TRUE(settings.ShowExtensions());
    EXPECT_FALSE(settings.ShowAllObjects());

    DWORD hidden = 1;
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, ostrana::kExplorerAdvancedKey, &key), ERROR_SUCCESS);
    RegSetValueExA(key, "Hidden", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&hidden), sizeof hidden);
    RegCloseKey(key);
    EXPECT_FALSE(settings.ShowAllObjects()) << "read once until reloaded";
    settings.Reload();
    EXPECT_TRUE(settings.ShowAllObjects());
    EXPECT_FALSE(settings.ShowSystemFiles());
}

} // namespace
