#include "platform/shell/Trash.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>

#include "platform/base/LastError.h"

namespace ostrana {
namespace {

namespace fs = std::filesystem;

std::string DeletionDate() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    return text;
}

bool IsUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
           c == '.' || c == '~' || c == '/';
}

// Creates info/<name>.trashinfo exclusively, so two deletions never claim one name.
bool ClaimRecord(const fs::path& record, const std::string& contents) {
    int fd = ::open(record.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0) {
        return false;
    }
    ssize_t written = ::write(fd, contents.data(), contents.size());
    ::close(fd);
    if (written != static_cast<ssize_t>(contents.size())) {
        ::unlink(record.c_str());
        return false;
    }
    return true;
}

std::error_code MoveAcross(const fs::path& from, const fs::path& to) {
    std::error_code error;
    fs::rename(from, to, error);
    if (error != std::errc::cross_device_link) {
        return error;
    }
    error.clear();
    fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::copy_symlinks, error);
    if (!error) {
        fs::remove_all(from, error);
    } else {
        std::error_code ignored;
        fs::remove_all(to, ignored);
    }
    return error;
}

} // namespace

fs::path UserTrashFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data != nullptr && *data == '/') {
        return fs::path(data) / "Trash";
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home != '/') {
        return {};
    }
    return fs::path(home) / ".local" / "share" / "Trash";
}

std::string TrashInfoPath(const std::string& hostPath) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (char c : hostPath) {
        auto byte = static_cast<unsigned char>(c);
        if (IsUnreserved(byte)) {
            encoded += c;
        } else {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0x0F];
        }
    }
    return encoded;
}

DWORD MoveToTrash(const fs::path& hostPath) {
    std::error_code error;
    if (!fs::exists(fs::symlink_status(hostPath, error))) {
        return ERROR_FILE_NOT_FOUND;
    }
    fs::path trash = UserTrashFolder();
    if (trash.empty()) {
        return ERROR_PATH_NOT_FOUND; // no home for a trash: nothing is removed
    }
    fs::create_directories(trash / "files", error);
    fs::create_directories(trash / "info", error);
    fs::path absolute = fs::absolute(hostPath, error).lexically_normal();
    std::string contents =
        "[Trash Info]\nPath=" + TrashInfoPath(absolute.string()) + "\nDeletionDate=" + DeletionDate() + "\n";
    std::string base = absolute.filename().string();
    for (int attempt = 1; attempt < 10000; ++attempt) {
        std::string name = attempt == 1 ? base : base + "." + std::to_string(attempt);
        fs::path record = trash / "info" / (name + ".trashinfo");
        fs::path stored = trash / "files" / name;
        if (fs::exists(fs::symlink_status(stored, error))) {
            continue;
        }
        if (!ClaimRecord(record, contents)) {
            if (errno == EEXIST) {
                continue;
            }
            return ErrorFromErrno(errno);
        }
        std::error_code moved = MoveAcross(absolute, stored);
        if (moved) {
            fs::remove(record, error);
            return ErrorFromErrno(moved.value());
        }
        return ERROR_SUCCESS;
    }
    return ERROR_FILE_EXISTS;
}

} // namespace ostrana
