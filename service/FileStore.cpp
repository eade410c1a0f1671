// POSIX calls rather than std::filesystem where atomicity matters: mkdir and renameat2 refuse an
// existing target themselves, so two clients racing on one name cannot overwrite each other.
#include "service/FileStore.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace ostrana::service {

namespace {

StoreError FromErrno(int error) {
    switch (error) {
    case ENOENT: return StoreError::NotFound;
    case ENOTDIR: return StoreError::NotFolder;
    case EEXIST:
    case ENOTEMPTY: return StoreError::Exists;
    case EISDIR: return StoreError::IsFolder;
    default: return StoreError::Failed;
    }
}

bool IsFolder(const std::filesystem::path& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

const char* DescribeStoreError(StoreError error) {
    switch (error) {
    case StoreError::None: return "ok";
    case StoreError::NotFound: return "not found";
    case StoreError::NotFolder: return "not a folder";
    case StoreError::IsFolder: return "is a folder";
    case StoreError::Exists: return "already exists";
    case StoreError::AreaRoot: return "area root cannot be changed";
    case StoreError::ParentMissing: return "parent folder not found";
    case StoreError::TooLarge: return "file too large";
    case StoreError::Failed: return "storage failure";
    }
    return "storage failure";
}

StoreError FileStore::EnsureAreaRoot(const StorageLocation& location) {
    std::error_code ec;
    std::filesystem::create_directories(location.areaRoot, ec);
    return ec ? StoreError::Failed : StoreError::None;
}

std::string FileStore::FormatListingLine(bool folder, std::uint64_t size, std::string_view owner,
                                         std::time_t modified, std::string_view name) {
    std::tm local {};
    localtime_r(&modified, &local);
    // Sizes travel as signed 32-bit numbers; anything larger could not be fetched anyway.
    const unsigned long long shown = size > INT32_MAX ? INT32_MAX : size;
    char head[96];
    std::snprintf(head, sizeof head, "%c %llu ", folder ? 'D' : 'F', folder ? 0ULL : shown);
    char stamp[40];
    std::snprintf(stamp, sizeof stamp, " %04d%02d%02d %02d%02d%02d ", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    std::string line;
    line.reserve(sizeof head + owner.size() + sizeof stamp + name.size() + 1);
    line.append(head).append(owner).append(stamp).append(name).append("\n");
    return line;
}

StoreError FileStore::List(const StorageLocation& location, const std::function<bool(std::string_view)>& emit) {
    const int dirFd = open(location.full.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (dirFd < 0) {
        return errno == ELOOP ? StoreError::NotFound : FromErrno(errno);
    }
    DIR* dir = fdopendir(dirFd);
    if (dir == nullptr) {
        close(dirFd);
        return StoreError::Failed;
    }
    StoreError result = StoreError::None;
    while (const dirent* entry = readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == ".." || CheckName(name) != PathError::None) {
            continue;
        }
        struct stat info {};
        if (fstatat(dirFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
            continue;
        }
        const bool folder = S_ISDIR(info.st_mode);
        if (!folder && !S_ISREG(info.st_mode)) {
            continue;
        }
        if (!emit(FormatListingLine(folder, static_cast<std::uint64_t>(info.st_size), location.owner,
                                    info.st_mtime, name))) {
            result = StoreError::Failed;
            break;
        }
    }
    closedir(dir);
    return result;
}

StoreError FileStore::MakeFolder(const StorageLocation& location) {
    if (location.IsAreaRoot()) {
        return StoreError::AreaRoot;
    }
    if (mkdir(location.full.c_str(), 0755) != 0) {
        return errno == ENOENT ? StoreError::ParentMissing : FromErrno(errno);
    }
    return StoreError::None;
}

StoreError FileStore::Rename(const StorageLocation& location, std::string_view newName) {
    if (location.IsAreaRoot()) {
        return StoreError::AreaRoot;
    }
    struct stat info {};
    if (lstat(location.full.c_str(), &info) != 0) {
        return FromErrno(errno);
    }
    const std::filesystem::path target = location.Parent() / std::string(newName);
    if (renameat2(AT_FDCWD, location.full.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
        return StoreError::None;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return FromErrno(errno);
    }
    // File systems without RENAME_NOREPLACE: check first, accepting the small race.
    if (lstat(target.c_str(), &info) == 0) {
        return StoreError::Exists;
    }
    return std::rename(location.full.c_str(), target.c_str()) == 0 ? StoreError::None : FromErrno(errno);
}

StoreError FileStore::Remove(const StorageLocation& location) {
    if (location.IsAreaRoot()) {
        return StoreError::AreaRoot;
    }
    struct stat info {};
    if (lstat(location.full.c_str(), &info) != 0) {
        return FromErrno(errno);
    }
    std::error_code ec;
    std::filesystem::remove_all(location.full, ec);
    return ec ? StoreError::Failed : StoreError::None;
}

StoreError FileStore::CheckUploadTarget(const StorageLocation& location, std::uint64_t& replacedBytes) {
    replacedBytes = 0;
    if (location.IsAreaRoot()) {
        return StoreError::AreaRoot;
    }
    if (!IsFolder(location.Parent())) {
        return StoreError::ParentMissing;
    }
    struct stat info {};
    if (lstat(location.full.c_str(), &info) != 0) {
        return errno == ENOENT ? StoreError::None : FromErrno(errno);
    }
    if (S_ISDIR(info.st_mode)) {
        return StoreError::IsFolder;
    }
    if (!S_ISREG(info.st_mode)) {
        return StoreError::Failed;
    }
    replacedBytes = static_cast<std::uint64_t>(info.st_size);
    return StoreError::None;
}

StoreError FileStore::OpenForDownload(const StorageLocation& location, int& fd, std::uint64_t& size) {
    fd = -1;
    size = 0;
    if (location.IsAreaRoot()) {
        return StoreError::IsFolder;
    }
    const int opened = open(location.full.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (opened < 0) {
        return errno == ELOOP ? StoreError::NotFound : FromErrno(errno);
    }
    struct stat info {};
    if (fstat(opened, &info) != 0 || !S_ISREG(info.st_mode)) {
        const bool folder = S_ISDIR(info.st_mode);
        close(opened);
        return folder ? StoreError::IsFolder : StoreError::Failed;
    }
    if (info.st_size > INT32_MAX) {
        close(opened);
        return StoreError::TooLarge;
    }
    fd = opened;
    size = static_cast<std::uint64_t>(info.st_size);
    return StoreError::None;
}

} // namespace ostrana::service
