#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <fstream>
#include <chrono>
#include <mutex>
#include <thread>

#include "platform/base/Event.h"
#include "platform/base/LocalPath.h"
#include "platform/window/Messages.h"
#include "platform/window/Window.h"
#include "shell/DriveWatcher.h"
#include "shell/FolderWatcher.h"
#include "shell/ShellMessages.h"
#include "tests/support/TempDir.h"
#include "tests/support/WindowHarness.h"

namespace {

namespace fs = std::filesystem;
using ostrana::test::TempDir;
using ostrana::test::UiThread;

constexpr DWORD kLong = 5000;
constexpr DWORD kShort = 150;

// What a pane window heard, with an event per kind so a test waits instead of sleeping.
struct Pane {
    HANDLE refreshed = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HANDLE treeChanged = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HANDLE asked = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    std::atomic<int> refreshes{0};
    std::atomic<int> treeChanges{0};
    std::atomic<int> questions{0};
    std::mutex lock;
    std::string watchPath; // local path handed to the folder watcher
    ~Pane() {
        CloseHandle(refreshed);
        CloseHandle(treeChanged);
        CloseHandle(asked);
    }
    void SetPath(const std::string& path) {
        std::lock_guard guard(lock);
        watchPath = path;
    }
};

Pane* g_pane = nullptr; // the pane of the running test; windows are made and used inside it

LRESULT PaneProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case UWM_LIST_REFRESH:
        ++g_pane->refreshes;
        SetEvent(g_pane->refreshed);
        return 0;
    case UWM_TREE_CHANGED:
        ++g_pane->treeChanges;
        SetEvent(g_pane->treeChanged);
        return 0;
    case UWM_LIST_GET_WATCH_PATH: {
        std::lock_guard guard(g_pane->lock);
        std::snprintf(reinterpret_cast<char*>(wParam), kWatchPathSize, "%s", g_pane->watchPath.c_str());
        ++g_pane->questions;
        SetEvent(g_pane->asked);
        return 1;
    }
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

std::string Local(const fs::path& path) { return ostrana::HostToLocalPath(path.string()); }
void Touch(const fs::path& path) { std::ofstream(path) << "x"; }

class WatcherTest : public testing::Test {
protected:
    void SetUp() override {
        g_pane = &pane;
        ui.Run([this] {
            WNDCLASSA windowClass{};
            windowClass.lpfnWndProc = PaneProc;
            windowClass.lpszClassName = "WatcherTestPane";
            RegisterClassA(&windowClass);
            list = CreateWindowExA(0, "WatcherTestPane", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
            tree = CreateWindowExA(0, "WatcherTestPane", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        });
    }
    void TearDown() override {
        ui.Run([this] {
            folderWatcher.StopAll();
            driveWatcher.StopAll();
            DestroyWindow(list);
            DestroyWindow(tree);
        });
        unsetenv("OSTRANA_DRIVES");
        g_pane = nullptr;
    }

    // A fresh watch needs a moment before the kernel reports into it: change again until heard.
    bool ChangeUntil(HANDLE heard, const std::function<void(int)>& change) {
        for (int attempt = 0; attempt < 40; ++attempt) {
            change(attempt);
            if (WaitForSingleObject(heard, kShort) == WAIT_OBJECT_0) return true;
        }
        return false;
    }
    void ShowFolder(const std::string& localPath) {
        pane.SetPath(localPath);
        ui.Run([this] { folderWatcher.Rearm(); });
        ASSERT_EQ(WaitForSingleObject(pane.asked, kLong), static_cast<DWORD>(WAIT_OBJECT_0));
    }
    // Everything posted so far has been handled once the thread is idle; a later wait on the event
    // then hears only what comes after.
    int RefreshesSoFar() {
        ui.WaitIdle();
        ResetEvent(pane.refreshed);
        return pane.refreshes.load();
    }
    // A file made elsewhere and moved in: one change, so no late second notice follows the first.
    void MoveIn(const fs::path& target) {
        fs::path staged = staging / target.filename();
        Touch(staged);
        fs::rename(staged, target);
    }
    int TreeChangesSoFar() {
        ui.WaitIdle();
        ResetEvent(pane.treeChanged);
        return pane.treeChanges.load();
    }

    Pane pane;
    UiThread ui;
    HWND list = nullptr;
    HWND tree = nullptr;
    FolderWatcher folderWatcher;
    DriveWatcher driveWatcher;
    std::atomic<bool> autoRefresh{true};
    std::atomic<bool> reactToChange{true};
    TempDir dir;
    TempDir staging;
};

TEST_F(WatcherTest, FolderWatcherRefreshesForFilesOfTheShownFolderOnly) {
    fs::create_directory(dir / "other");
    ui.Run([this] { EXPECT_TRUE(folderWatcher.Start(list, &autoRefresh)); });
    EXPECT_EQ(folderWatcher.Count(), 1);
    ui.Run([this] { EXPECT_FALSE(folderWatcher.Start(list, &autoRefresh)) << "one watcher at most"; });
    ShowFolder(Local(dir.Path()));
    ASSERT_TRUE(ChangeUntil(pane.refreshed, [&](int i) { MoveIn(dir / ("f" + std::to_string(i))); }));

    int before = RefreshesSoFar();
    Touch(dir / "other" / "deeper.txt");
    EXPECT_EQ(WaitForSingleObject(pane.refreshed, 300), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(RefreshesSoFar(), before);
}

TEST_F(WatcherTest, WritesWhileAutoRefreshIsOffRefreshNothing) {
    ui.Run([this] { folderWatcher.Start(list, &autoRefresh); });
    ShowFolder(Local(dir.Path()));
    ASSERT_TRUE(ChangeUntil(pane.refreshed, [&](int i) { MoveIn(dir / ("warm" + std::to_string(i))); }));

    autoRefresh = false; // a download writes into the shown folder
    int before = RefreshesSoFar();
    for (int i = 0; i < 20; ++i) std::ofstream(dir / "download.bin", std::ios::app) << std::string(4000, 'd');
    EXPECT_EQ(WaitForSingleObject(pane.refreshed, 300), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(RefreshesSoFar(), before);
    autoRefresh = true;
    EXPECT_TRUE(ChangeUntil(pane.refreshed, [&](int i) { Touch(dir / ("after" + std::to_string(i))); }));
}

TEST_F(WatcherTest, FolderWithoutPathLeavesTheWatcherIdleUntilARealFolder) {
    ui.Run([this] { folderWatcher.Start(list, &autoRefresh); });
    ShowFolder(Local(dir.Path()));
    ASSERT_TRUE(ChangeUntil(pane.refreshed, [&](int i) { MoveIn(dir / ("a" + std::to_string(i))); }));

    ShowFolder(""); // My Computer
    int before = RefreshesSoFar();
    Touch(dir / "while-idle");
    EXPECT_EQ(WaitForSingleObject(pane.refreshed, 300), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(RefreshesSoFar(), before);

    ShowFolder(Local(dir.Path()));
    EXPECT_TRUE(ChangeUntil(pane.refreshed, [&](int i) { MoveIn(dir / ("b" + std::to_string(i))); }));
    ShowFolder(Local(dir / "missing")); // cannot be watched: idle again, still answering re-arms
    ShowFolder(Local(dir.Path()));
    EXPECT_EQ(pane.questions.load(), 5);
}

TEST_F(WatcherTest, StopAllReturnsWhileTheWatcherIsAskingForItsFolder) {
    ui.Run([this] { folderWatcher.Start(list, &autoRefresh); });
    for (int round = 0; round < 3; ++round) {
        ui.Run([this] {
            folderWatcher.Rearm();
            // Wait until the watcher's question is queued here, unanswered, then stop it.
            ASSERT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, kLong, QS_SENDMESSAGE), static_cast<DWORD>(WAIT_OBJECT_0));
            folderWatcher.StopAll();
        });
        EXPECT_EQ(folderWatcher.Count(), 0);
        ui.Run([this] { EXPECT_TRUE(folderWatcher.Start(list, &autoRefresh)); });
    }
    EXPECT_EQ(pane.questions.load(), 3) << "each question was answered by the waiting stop";
}

TEST_F(WatcherTest, DriveWatcherReportsFoldersToTreeAndListAndSwallowsOneDuringOwnRefresh) {
    setenv("OSTRANA_DRIVES", ("D=" + dir.Str()).c_str(), 1);
    DriveWatchTarget target{tree, list, &reactToChange};
    ui.Run([&] { EXPECT_TRUE(driveWatcher.Start("D:\\", target)); });
    fs::create_directories(dir / "x" / "y");
    ASSERT_TRUE(ChangeUntil(pane.treeChanged, [&](int i) { fs::create_directory(dir / "x" / "y" / std::to_string(i)); }));
    EXPECT_EQ(WaitForSingleObject(pane.refreshed, kLong), static_cast<DWORD>(WAIT_OBJECT_0));

    int treeBefore = TreeChangesSoFar();
    Touch(dir / "a-file-is-no-folder");
    EXPECT_EQ(WaitForSingleObject(pane.treeChanged, 300), static_cast<DWORD>(WAIT_TIMEOUT));

    reactToChange = false; // the program refreshes the tree itself
    fs::create_directory(dir / "own");
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kLong);
    while (!reactToChange.load() && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
    ASSERT_TRUE(reactToChange.load()) << "the flag is turned on again";
    EXPECT_EQ(TreeChangesSoFar(), treeBefore) << "that change was swallowed";
    EXPECT_TRUE(ChangeUntil(pane.treeChanged, [&](int i) { fs::create_directory(dir / ("next" + std::to_string(i))); }));
}

TEST_F(WatcherTest, DriveWatcherTableHoldsThirtyTwoAndStopsDrivesThatEndedOnTheirOwn) {
    setenv("OSTRANA_DRIVES", ("D=" + dir.Str()).c_str(), 1);
    DriveWatchTarget target{tree, nullptr, &reactToChange};
    ui.Run([&] {
        EXPECT_TRUE(driveWatcher.Start("Q:\\", target)) << "an unmapped drive ends its thread at once";
        for (int i = 1; i < DriveWatcher::kMaxWatchers; ++i) driveWatcher.Start("D:\\", target);
        EXPECT_EQ(driveWatcher.Count(), DriveWatcher::kMaxWatchers);
        EXPECT_FALSE(driveWatcher.Start("D:\\", target));
        driveWatcher.StopAll();
        EXPECT_EQ(driveWatcher.Count(), 0);
    });
}

TEST_F(WatcherTest, StartAllWatchesFixedDrivesOnlyAndOnlyOnce) {
    setenv("OSTRANA_DRIVES", ("D=" + dir.Str() + ";E=" + (dir / "absent").string()).c_str(), 1);
    DriveWatchTarget target{tree, list, &reactToChange};
    ui.Run([&] {
        driveWatcher.SetWatching(true, target);
        EXPECT_EQ(driveWatcher.Count(), 2) << "C: and D:, not the drive whose folder is missing";
        driveWatcher.StartAll(target);
        EXPECT_EQ(driveWatcher.Count(), 2);
        driveWatcher.SetWatching(false, target);
        EXPECT_EQ(driveWatcher.Count(), 0);
    });
}

} // namespace
