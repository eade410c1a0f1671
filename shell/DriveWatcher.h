// Threads that report a folder created, removed or renamed anywhere on a local drive, and the
// tree's table of them. The threads only post messages; the windows refresh on their own thread.
#pragma once

#include <array>
#include <atomic>
#include <string>

#include "platform/base/WinTypes.h"

// Where a drive watcher reports. Taken once, when its thread starts.
struct DriveWatchTarget {
    HWND tree = nullptr;
    HWND list = nullptr; // may be null: then only the tree hears of changes
    // Off while the program refreshes the tree itself: the next change is swallowed and turns it on.
    std::atomic<bool>* reactToChange = nullptr;
};

class DriveWatcher {
public:
    static constexpr int kMaxWatchers = 32;

    DriveWatcher();
    ~DriveWatcher();
    DriveWatcher(const DriveWatcher&) = delete;
    DriveWatcher& operator=(const DriveWatcher&) = delete;

    // Fixed, network and RAM drives, only when none is watched yet.
    void StartAll(const DriveWatchTarget& target);
    // Nothing when all slots are taken. root is a drive root such as "C:\".
    bool Start(const std::string& root, const DriveWatchTarget& target);
    // Blocks until every thread has ended.
    void StopAll();
    void SetWatching(bool on, const DriveWatchTarget& target);
    int Count() const { return m_count; }

private:
    std::array<HANDLE, kMaxWatchers> m_stopEvents{};
    std::array<HANDLE, kMaxWatchers> m_threads{};
    int m_count = 0;
};
