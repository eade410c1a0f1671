#include "platform/base/ChangeNotification.h"

#include <dirent.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <deque>
#include <string>
#include <thread>
#include <unordered_map>

#include "platform/base/LastError.h"
#include "platform/base/LocalPath.h"

namespace {

uint32_t InotifyMask(DWORD filter, bool subtree) {
    uint32_t mask = 0;
    if (filter & (FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME)) {
        mask |= IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
    }
    if (filter & FILE_NOTIFY_CHANGE_ATTRIBUTES) mask |= IN_ATTRIB;
    if (filter & (FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE)) mask |= IN_MODIFY | IN_CLOSE_WRITE;
    // New folders must be seen to be watched in their turn.
    if (subtree) mask |= IN_CREATE | IN_MOVED_TO;
    return mask | IN_ONLYDIR;
}

// Whether an event is of a kind the caller asked for (a name change of a file is not a name
// change of a folder).
bool Wanted(const inotify_event& event, DWORD filter) {
    if (event.mask & IN_Q_OVERFLOW) return true; // events were lost: report a change
    bool isDir = (event.mask & IN_ISDIR) != 0;
    if (event.mask & (IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO)) {
        return (filter & (isDir ? FILE_NOTIFY_CHANGE_DIR_NAME : FILE_NOTIFY_CHANGE_FILE_NAME)) != 0;
    }
    if (event.mask & IN_ATTRIB) return (filter & FILE_NOTIFY_CHANGE_ATTRIBUTES) != 0;
    if (event.mask & (IN_MODIFY | IN_CLOSE_WRITE)) {
        return !isDir && (filter & (FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE)) != 0;
    }
    return false;
}

bool IsRealFolder(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The inotify descriptor and its folders; read by the reader thread only, after construction.
class Watch {
public:
    Watch(int fd, DWORD filter, bool subtree) : m_fd(fd), m_filter(filter), m_subtree(subtree) {}
    ~Watch() { ::close(m_fd); }
    Watch(const Watch&) = delete;
    Watch& operator=(const Watch&) = delete;

    int Fd() const { return m_fd; }

    bool AddRoot(const std::string& root) {
        if (!Add(root)) return false;
        if (m_subtree) AddBelow(root);
        return true;
    }

    // Reads one batch of events; true when any of them is wanted.
    bool ReadEvents() {
        alignas(inotify_event) char buffer[16384];
        ssize_t length = ::read(m_fd, buffer, sizeof buffer);
        bool wanted = false;
        for (ssize_t at = 0; length > 0 && at < length;) {
            const auto& event = *reinterpret_cast<const inotify_event*>(buffer + at);
            wanted = Wanted(event, m_filter) || wanted;
            Follow(event);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event.len);
        }
        return wanted;
    }

private:
    bool Add(const std::string& folder) {
        if (static_cast<int>(m_folders.size()) >= kChangeWatchFolderLimit) return false;
        int wd = ::inotify_add_watch(m_fd, folder.c_str(), InotifyMask(m_filter, m_subtree));
        if (wd < 0) return false;
        m_folders[wd] = folder;
        return true;
    }

    // Breadth-first, so the folders nearest the root are the ones watched when the limit bites.
    void AddBelow(const std::string& root) {
        std::deque<std::string> queue{root};
        while (!queue.empty()) {
            std::string folder = std::move(queue.front());
            queue.pop_front();
            for (std::string& child : Subfolders(folder)) {
                if (!Add(child)) {
                    ReportLimit(root);
                    return;
                }
                queue.push_back(std::move(child));
            }
        }
    }

    void ReportLimit(const std::string& root) {
        if (m_limitReported) return;
        m_limitReported = true;
        std::fprintf(stderr, "change notification: %s has more folders than can be watched; %zu watched\n",
                     root.c_str(), m_folders.size());
    }

    static std::vector<std::string> Subfolders(const std::string& folder) {
        std::vector<std::string> result;
        DIR* dir = ::opendir(folder.c_str());
        if (dir == nullptr) return result;
        while (dirent* entry = ::readdir(dir)) {
            std::string name = entry->d_name;
            if (name == "." || name == "..") continue;
            std::string child = folder == "/" ? "/" + name : folder + "/" + name;
            if (entry->d_type == DT_DIR || (entry->d_type == DT_UNKNOWN && IsRealFolder(child))) {
                result.push_back(std::move(child));
            }
        }
        ::closedir(dir);
        return result;
    }

    void Follow(const inotify_event& event) {
        if (event.mask & IN_IGNORED) {
            m_folders.erase(event.wd);
            return;
        }
        if (!m_subtree || !(event.mask & IN_ISDIR) || !(event.mask & (IN_CREATE | IN_MOVED_TO)) || event.len == 0) return;
        auto parent = m_folders.find(event.wd);
        if (parent == m_folders.end()) return;
        std::string child = parent->second == "/" ? "/" + std::string(event.name) : parent->second + "/" + event.name;
        if (Add(child)) AddBelow(child);
    }

    int m_fd;
    DWORD m_filter;
    bool m_subtree;
    bool m_limitReported = false;
    std::unordered_map<int, std::string> m_folders;
};

class ChangeObject : public ostrana::WaitableObject {
public:
    explicit ChangeObject(std::unique_ptr<Watch> watch) : m_watch(std::move(watch)), m_stopFd(::eventfd(0, EFD_CLOEXEC)) {
        m_reader = std::thread([this] { Read(); });
    }
    ~ChangeObject() override { Stop(); }

    bool IsSignaled() const override { return m_armed && m_changes != m_seen; }
    void Consume() override {
        m_seen = m_changes;
        m_armed = false;
    }
    void Rearm() {
        {
            std::lock_guard guard(WaitLock());
            m_armed = true;
        }
        NotifyWaiters();
    }
    // Ends the reader; never called with WaitLock() held.
    void Stop() {
        if (!m_reader.joinable()) return;
        uint64_t one = 1;
        [[maybe_unused]] ssize_t written = ::write(m_stopFd, &one, sizeof one);
        m_reader.join();
        ::close(m_stopFd);
    }

private:
    void Read() {
        pollfd fds[2] = {{m_watch->Fd(), POLLIN, 0}, {m_stopFd, POLLIN, 0}};
        while (::poll(fds, 2, -1) >= 0 || errno == EINTR) {
            if (fds[1].revents != 0) return;
            if ((fds[0].revents & POLLIN) && m_watch->ReadEvents()) Changed();
        }
    }
    void Changed() {
        {
            std::lock_guard guard(WaitLock());
            ++m_changes;
        }
        NotifyWaiters();
    }

    std::unique_ptr<Watch> m_watch;
    int m_stopFd;
    std::thread m_reader;
    // Guarded by WaitLock().
    unsigned long m_changes = 0;
    unsigned long m_seen = 0;
    bool m_armed = true;
};

} // namespace

HANDLE FindFirstChangeNotificationA(LPCSTR pathName, BOOL watchSubtree, DWORD notifyFilter) {
    auto hostPath = pathName != nullptr ? ostrana::LocalToHostPath(pathName) : std::nullopt;
    if (!hostPath || notifyFilter == 0) {
        SetLastError(pathName != nullptr && notifyFilter != 0 ? ERROR_PATH_NOT_FOUND : ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    std::string root = *hostPath;
    while (root.size() > 1 && root.back() == '/') root.pop_back();
    int fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd < 0) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return INVALID_HANDLE_VALUE;
    }
    auto watch = std::make_unique<Watch>(fd, notifyFilter, watchSubtree != FALSE);
    if (!IsRealFolder(root) || !watch->AddRoot(root)) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    return ostrana::InsertKernelObject(std::make_shared<ChangeObject>(std::move(watch)));
}

BOOL FindNextChangeNotification(HANDLE changeHandle) {
    auto object = ostrana::LookupKernelObjectAs<ChangeObject>(changeHandle);
    if (!object) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    object->Rearm();
    return TRUE;
}

BOOL FindCloseChangeNotification(HANDLE changeHandle) {
    auto object = ostrana::LookupKernelObjectAs<ChangeObject>(changeHandle);
    if (!object) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    object->Stop();
    return CloseHandle(changeHandle);
}
