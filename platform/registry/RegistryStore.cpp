#include "platform/registry/RegistryStore.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ostrana {
namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return m_fd; }
    bool Ok() const { return m_fd >= 0; }

private:
    int m_fd;
};

bool ReadWholeFile(const std::string& path, std::string& out) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.Ok()) {
        return false;
    }
    out.clear();
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            return true;
        }
        out.append(buffer, static_cast<std::size_t>(n));
    }
}

bool WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

void EnsureParentFolder(const std::string& path) {
    std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (parent.empty()) {
        return;
    }
    std::error_code ignored;
    if (!std::filesystem::exists(parent, ignored)) {
        std::filesystem::create_directories(parent, ignored);
        ::chmod(parent.c_str(), 0700);
    }
}

} // namespace

RegistryStore& RegistryStore::Instance() {
    static RegistryStore store;
    return store;
}

std::string RegistryStore::CurrentFilePath() {
    if (const char* explicitPath = std::getenv("OSTRANA_REGISTRY"); explicitPath != nullptr && *explicitPath) {
        return explicitPath;
    }
    std::string config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg == '/') {
        config = xdg;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && *home) {
        config = std::string(home) + "/.config";
    } else {
        config = "/tmp";
    }
    return config + "/ostrana/registry.reg";
}

RegistryStore::FileIdentity RegistryStore::IdentityOf(const std::string& path) {
    FileIdentity identity;
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0) {
        identity.exists = true;
        identity.device = status.st_dev;
        identity.inode = status.st_ino;
        identity.modifiedNs = static_cast<long long>(status.st_mtim.tv_sec) * 1'000'000'000LL + status.st_mtim.tv_nsec;
        identity.size = status.st_size;
    }
    return identity;
}

void RegistryStore::RefreshLocked() {
    std::string path = CurrentFilePath();
    FileIdentity identity = IdentityOf(path);
    if (path == m_path && identity == m_loaded) {
        return;
    }
    m_path = path;
    m_loaded = identity;
    std::string text;
    // Replacement is atomic, so whatever is read is one complete version of the file.
    m_tree = identity.exists && ReadWholeFile(path, text) ? RegistryTree::Parse(text) : RegistryTree();
}

bool RegistryStore::SaveLocked() {
    std::string temporary = m_path + ".tmp." + std::to_string(::getpid());
    FileDescriptor fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
    if (!fd.Ok()) {
        return false;
    }
    ::fchmod(fd.Get(), 0600);
    if (!WriteAll(fd.Get(), m_tree.Serialize()) || ::fsync(fd.Get()) != 0 ||
        ::rename(temporary.c_str(), m_path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    std::string folder = std::filesystem::path(m_path).parent_path().string();
    FileDescriptor dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Ok()) {
        ::fsync(dir.Get());
    }
    m_loaded = IdentityOf(m_path);
    return true;
}

void RegistryStore::Read(const std::function<void(const RegistryTree&)>& reader) {
    std::lock_guard guard(m_lock);
    RefreshLocked();
    reader(m_tree);
}

bool RegistryStore::Write(const std::function<bool(RegistryTree&)>& writer) {
    std::lock_guard guard(m_lock);
    std::string path = CurrentFilePath();
    EnsureParentFolder(path);
    FileDescriptor lock(::open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (!lock.Ok()) {
        return false;
    }
    while (::flock(lock.Get(), LOCK_EX) != 0) {
        if (errno != EINTR) {
            return false;
        }
    }
    RefreshLocked();
    bool saved = true;
    if (writer(m_tree)) {
        saved = SaveLocked();
        if (!saved) {
            m_loaded = FileIdentity{}; // re-read the file's truth next time
            m_path.clear();
        }
    }
    ::flock(lock.Get(), LOCK_UN);
    return saved;
}

} // namespace ostrana
