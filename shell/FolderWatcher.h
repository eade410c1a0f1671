// The thread that reports changes to the files of the folder the local list shows, and the list's
// slot for it. The thread asks the list which folder to watch each time it is re-armed.
#pragma once

#include <atomic>

#include "platform/base/WinTypes.h"

class FolderWatcher {
public:
    FolderWatcher();
    ~FolderWatcher();
    FolderWatcher(const FolderWatcher&) = delete;
    FolderWatcher& operator=(const FolderWatcher&) = delete;

    // list answers UWM_LIST_GET_WATCH_PATH and receives UWM_LIST_REFRESH while autoRefresh is on.
    // Nothing when the watcher already runs.
    bool Start(HWND list, const std::atomic<bool>* autoRefresh);
    // The list shows another folder: the thread asks for it and watches it.
    void Rearm();
    // Blocks until the thread has ended. The caller's thread keeps answering sent messages while
    // it waits, so a watcher in the middle of asking for its folder is answered and ends.
    void StopAll();
    void SetWatching(bool on, HWND list, const std::atomic<bool>* autoRefresh);
    int Count() const { return m_count; }

private:
    HANDLE m_stop;
    HANDLE m_rearm;
    HANDLE m_thread = nullptr;
    int m_count = 0;
};
