#include "shell/FolderWatcher.h"

#include "platform/base/ChangeNotification.h"
#include "platform/base/Event.h"
#include "platform/base/Thread.h"
#include "platform/window/Messages.h"
#include "shell/ShellMessages.h"

namespace {

struct FolderWatchStart {
    HANDLE stop;
    HANDLE rearm;
    HWND list;
    const std::atomic<bool>* autoRefresh;
};

constexpr DWORD kFileChanges = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE;

class FolderWatch {
public:
    explicit FolderWatch(const FolderWatchStart& start) : m_start(start) {
        m_handles[0] = start.rearm;
        m_handles[1] = start.stop;
    }
    ~FolderWatch() { CloseChange(); }
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    DWORD Run() {
        for (;;) {
            DWORD result = WaitForMultipleObjects(m_count, m_handles, FALSE, INFINITE);
            if (result == WAIT_OBJECT_0) {
                // A stop that came with the re-arm wins: no question to a window that is going.
                if (WaitForSingleObject(m_start.stop, 0) == WAIT_OBJECT_0) return 0;
                WatchAskedFolder();
            } else if (result == WAIT_OBJECT_0 + 2 && m_count == 3) {
                FindNextChangeNotification(m_handles[2]);
                if (m_start.autoRefresh->load()) PostMessageA(m_start.list, UWM_LIST_REFRESH, 0, 0);
            } else if (result == WAIT_OBJECT_0 + 1 || (result >= WAIT_ABANDONED_0 && result < WAIT_ABANDONED_0 + m_count)) {
                return 0;
            } else if (result == WAIT_FAILED) {
                return 1;
            }
        }
    }

private:
    void WatchAskedFolder() {
        CloseChange();
        char path[kWatchPathSize] = {};
        SendMessageA(m_start.list, UWM_LIST_GET_WATCH_PATH, reinterpret_cast<WPARAM>(path), 0);
        path[kWatchPathSize - 1] = '\0';
        if (path[0] == '\0') return;
        HANDLE change = FindFirstChangeNotificationA(path, FALSE, kFileChanges);
        if (change == INVALID_HANDLE_VALUE) return;
        m_handles[2] = change;
        m_count = 3;
    }
    void CloseChange() {
        if (m_count == 3) FindCloseChangeNotification(m_handles[2]);
        m_count = 2;
    }

    FolderWatchStart m_start;
    HANDLE m_handles[3] = {};
    DWORD m_count = 2;
};

DWORD WatchFolder(LPVOID parameter) {
    const FolderWatchStart start = *static_cast<FolderWatchStart*>(parameter);
    delete static_cast<FolderWatchStart*>(parameter);
    FolderWatch watch(start);
    return watch.Run();
}

} // namespace

FolderWatcher::FolderWatcher()
    : m_stop(CreateEventA(nullptr, FALSE, FALSE, nullptr)), m_rearm(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {}

FolderWatcher::~FolderWatcher() {
    StopAll();
    CloseHandle(m_stop);
    CloseHandle(m_rearm);
}

bool FolderWatcher::Start(HWND list, const std::atomic<bool>* autoRefresh) {
    if (m_count > 0 || autoRefresh == nullptr) return false;
    ResetEvent(m_stop);
    ResetEvent(m_rearm);
    auto* start = new FolderWatchStart{m_stop, m_rearm, list, autoRefresh};
    m_thread = CreateThread(nullptr, 0, WatchFolder, start, 0, nullptr);
    if (m_thread == nullptr) {
        delete start;
        return false;
    }
    SetThreadPriority(m_thread, THREAD_PRIORITY_IDLE);
    m_count = 1;
    return true;
}

void FolderWatcher::Rearm() {
    if (m_count > 0) SetEvent(m_rearm);
}

void FolderWatcher::StopAll() {
    if (m_count == 0) return;
    SetEvent(m_stop);
    WaitForMultipleObjects(1, &m_thread, TRUE, INFINITE);
    CloseHandle(m_thread);
    m_thread = nullptr;
    m_count = 0;
}

void FolderWatcher::SetWatching(bool on, HWND list, const std::atomic<bool>* autoRefresh) {
    if (on) {
        Start(list, autoRefresh);
    } else {
        StopAll();
    }
}
