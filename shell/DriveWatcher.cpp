#include "shell/DriveWatcher.h"

#include <memory>

#include "platform/base/ChangeNotification.h"
#include "platform/base/Drives.h"
#include "platform/base/Event.h"
#include "platform/base/Thread.h"
#include "platform/window/Messages.h"
#include "shell/ShellMessages.h"

namespace {

struct DriveWatchStart {
    HANDLE stop;
    DriveWatchTarget target;
    std::string root;
};

void Report(const DriveWatchTarget& target) {
    if (!target.reactToChange->load()) {
        target.reactToChange->store(true);
        return;
    }
    PostMessageA(target.tree, UWM_TREE_CHANGED, 0, 0);
    if (target.list != nullptr) PostMessageA(target.list, UWM_LIST_REFRESH, 0, 0);
}

DWORD WatchDrive(LPVOID parameter) {
    const DriveWatchStart start = *static_cast<DriveWatchStart*>(parameter);
    delete static_cast<DriveWatchStart*>(parameter);

    HANDLE change = FindFirstChangeNotificationA(start.root.c_str(), TRUE, FILE_NOTIFY_CHANGE_DIR_NAME);
    if (change == INVALID_HANDLE_VALUE) return 1;
    const HANDLE handles[2] = {change, start.stop};
    for (;;) {
        DWORD result = WaitForMultipleObjects(2, handles, FALSE, INFINITE);
        if (result == WAIT_OBJECT_0) {
            FindNextChangeNotification(change);
            Report(start.target);
        } else if (result == WAIT_OBJECT_0 + 1 || result == WAIT_FAILED) {
            // A failed wait would fail again at once: end rather than spin.
            FindCloseChangeNotification(change);
            return result == WAIT_FAILED ? 1 : 0;
        }
    }
}

bool IsWatchedKind(const char* root) {
    UINT kind = GetDriveTypeA(root);
    return kind == DRIVE_FIXED || kind == DRIVE_REMOTE || kind == DRIVE_RAMDISK;
}

} // namespace

DriveWatcher::DriveWatcher() {
    for (HANDLE& event : m_stopEvents) event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
}

DriveWatcher::~DriveWatcher() {
    StopAll();
    for (HANDLE event : m_stopEvents) CloseHandle(event);
}

void DriveWatcher::StartAll(const DriveWatchTarget& target) {
    if (m_count > 0) return;
    char roots[260];
    DWORD length = GetLogicalDriveStringsA(sizeof roots, roots);
    if (length == 0 || length > sizeof roots) return;
    for (const char* root = roots; *root != '\0'; root += std::char_traits<char>::length(root) + 1) {
        if (IsWatchedKind(root)) Start(root, target);
    }
}

bool DriveWatcher::Start(const std::string& root, const DriveWatchTarget& target) {
    if (m_count >= kMaxWatchers || target.reactToChange == nullptr) return false;
    auto* start = new DriveWatchStart{m_stopEvents[m_count], target, root};
    HANDLE thread = CreateThread(nullptr, 0, WatchDrive, start, 0, nullptr);
    if (thread == nullptr) {
        delete start;
        return false;
    }
    SetThreadPriority(thread, THREAD_PRIORITY_IDLE);
    m_threads[m_count++] = thread;
    return true;
}

void DriveWatcher::StopAll() {
    if (m_count == 0) return;
    for (int i = 0; i < m_count; ++i) SetEvent(m_stopEvents[i]);
    WaitForMultipleObjects(static_cast<DWORD>(m_count), m_threads.data(), TRUE, INFINITE);
    for (int i = 0; i < m_count; ++i) {
        CloseHandle(m_threads[i]);
        m_threads[i] = nullptr;
        // A watcher that ended on its own never took its stop signal.
        ResetEvent(m_stopEvents[i]);
    }
    m_count = 0;
}

void DriveWatcher::SetWatching(bool on, const DriveWatchTarget& target) {
    if (on) {
        StartAll(target);
    } else {
        StopAll();
    }
}
