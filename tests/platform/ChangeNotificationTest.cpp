#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/base/ChangeNotification.h"
#include "platform/base/Drives.h"
#include "platform/base/LocalPath.h"
#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using ostrana::test::TempDir;

constexpr DWORD kLong = 5000;
// Long enough for inotify to deliver an event that would wrongly signal.
constexpr DWORD kQuiet = 300;

std::string Local(const fs::path& path) { return ostrana::HostToLocalPath(path.string()); }

class Change {
public:
    Change(const fs::path& path, bool subtree, DWORD filter)
        : m_handle(FindFirstChangeNotificationA(Local(path).c_str(), subtree, filter)) {}
    ~Change() {
        if (m_handle != INVALID_HANDLE_VALUE) FindCloseChangeNotification(m_handle);
    }
    HANDLE Get() const { return m_handle; }
    DWORD Wait(DWORD ms) const { return WaitForSingleObject(m_handle, ms); }

private:
    HANDLE m_handle;
};

void Touch(const fs::path& path) { std::ofstream(path) << "x"; }

TEST(ChangeNotification, FileNamesSignalOnlyForFilesAndOnlyOnceUntilRearmed) {
    TempDir dir;
    Change change(dir.Path(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
    ASSERT_NE(change.Get(), INVALID_HANDLE_VALUE);

    fs::create_directory(dir / "folder");
    EXPECT_EQ(change.Wait(kQuiet), static_cast<DWORD>(WAIT_TIMEOUT)) << "a folder is not a file name";

    Touch(dir / "a.txt");
    ASSERT_EQ(change.Wait(kLong), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(change.Wait(0), static_cast<DWORD>(WAIT_TIMEOUT)) << "stays quiet until re-armed";

    // A change between the wake and the re-arm is not lost.
    fs::rename(dir / "a.txt", dir / "b.txt");
    fs::remove(dir / "b.txt");
    ASSERT_TRUE(FindNextChangeNotification(change.Get()));
    EXPECT_EQ(change.Wait(kLong), static_cast<DWORD>(WAIT_OBJECT_0));
}

TEST(ChangeNotification, WritesAndSizesSignalWithTheirFilter) {
    TempDir dir;
    Touch(dir / "f.txt");
    Change change(dir.Path(), FALSE, FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE);
    ASSERT_NE(change.Get(), INVALID_HANDLE_VALUE);
    std::ofstream(dir / "f.txt", std::ios::app) << "more";
    EXPECT_EQ(change.Wait(kLong), static_cast<DWORD>(WAIT_OBJECT_0));
}

TEST(ChangeNotification, SubtreeWatchFollowsFoldersMadeLater) {
    TempDir dir;
    fs::create_directories(dir / "a" / "b");
    Change change(dir.Path(), TRUE, FILE_NOTIFY_CHANGE_DIR_NAME);
    ASSERT_NE(change.Get(), INVALID_HANDLE_VALUE);

    fs::create_directory(dir / "a" / "b" / "c");
    ASSERT_EQ(change.Wait(kLong), static_cast<DWORD>(WAIT_OBJECT_0));
    ASSERT_TRUE(FindNextChangeNotification(change.Get()));

    fs::create_directory(dir / "new");
    ASSERT_EQ(change.Wait(kLong), static_cast<DWORD>(WAIT_OBJECT_0));
    ASSERT_TRUE(FindNextChangeNotification(change.Get()));
    fs::create_directory(dir / "new" / "inner");
    EXPECT_EQ(change.Wait(kLong), static_cast<DWORD>(WAIT_OBJECT_0));
}

TEST(ChangeNotification, WithoutSubtreeDeeperChangesStayQuiet) {
    TempDir dir;
    fs::create_directory(dir / "a");
    Change change(dir.Path(), FALSE, FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_FILE_NAME);
    fs::create_directory(dir / "a" / "deeper");
    Touch(dir / "a" / "f");
    EXPECT_EQ(change.Wait(kQuiet), static_cast<DWORD>(WAIT_TIMEOUT));
}

TEST(ChangeNotification, SubtreeWatchStopsAtItsFolderLimitBreadthFirst) {
    TempDir dir;
    // The root and the first level already fill the limit, so the second level is not watched.
    for (int i = 0; i < kChangeWatchFolderLimit; ++i) fs::create_directory(dir / ("d" + std::to_string(i)));
    fs::create_directory(dir / "d0" / "deep");
    testing::internal::CaptureStderr();
    Change change(dir.Path(), TRUE, FILE_NOTIFY_CHANGE_DIR_NAME);
    std::string log = testing::internal::GetCapturedStderr();
    ASSERT_NE(change.Get(), INVALID_HANDLE_VALUE);
    EXPECT_NE(log.find("watched"), std::string::npos) << log;

    fs::create_directory(dir / "d0" / "deep" / "unseen");
    EXPECT_EQ(change.Wait(kQuiet), static_cast<DWORD>(WAIT_TIMEOUT));
    fs::create_directory(dir / "seen");
    EXPECT_EQ(change.Wait(kLong), static_cast<DWORD>(WAIT_OBJECT_0));
}

TEST(ChangeNotification, BadPathsAndClosedHandlesAreRefused) {
    TempDir dir;
    Touch(dir / "file");
    EXPECT_EQ(FindFirstChangeNotificationA(Local(dir / "missing").c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(FindFirstChangeNotificationA(Local(dir / "file").c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(FindFirstChangeNotificationA("Q:\\", FALSE, FILE_NOTIFY_CHANGE_FILE_NAME), INVALID_HANDLE_VALUE);

    HANDLE handle = FindFirstChangeNotificationA(Local(dir.Path()).c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(FindCloseChangeNotification(handle));
    EXPECT_FALSE(FindNextChangeNotification(handle));
    EXPECT_FALSE(FindCloseChangeNotification(handle));
}

class DriveMap : public testing::Test {
protected:
    void Map(const std::string& value) { setenv("OSTRANA_DRIVES", value.c_str(), 1); }
    void TearDown() override { unsetenv("OSTRANA_DRIVES"); }
};

TEST_F(DriveMap, DriveStringsListCFirstThenTheMappedDrives) {
    TempDir dir;
    Map("D=" + dir.Str() + ";E=" + (dir / "missing").string());
    char buffer[260];
    DWORD length = GetLogicalDriveStringsA(sizeof buffer, buffer);
    EXPECT_EQ(std::string(buffer, length + 1), std::string("C:\\\0D:\\\0E:\\\0\0", 13));

    EXPECT_EQ(GetLogicalDriveStringsA(4, buffer), 13u) << "a short buffer gets the size needed";
    EXPECT_EQ(GetDriveTypeA("C:\\"), static_cast<UINT>(DRIVE_FIXED));
    UINT mapped = GetDriveTypeA("d:\\");
    EXPECT_TRUE(mapped == DRIVE_FIXED || mapped == DRIVE_RAMDISK) << mapped;
    EXPECT_EQ(GetDriveTypeA("E:\\"), static_cast<UINT>(DRIVE_NO_ROOT_DIR)) << "its folder is missing";
    EXPECT_EQ(GetDriveTypeA("F:\\"), static_cast<UINT>(DRIVE_NO_ROOT_DIR));
    EXPECT_EQ(GetDriveTypeA("C:\\home"), static_cast<UINT>(DRIVE_NO_ROOT_DIR));
}

} // namespace
