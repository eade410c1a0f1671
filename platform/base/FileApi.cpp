#include "platform/base/FileApi.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/base/CodePage.h"
#include "platform/base/LastError.h"
#include "platform/base/LocalPath.h"

namespace {

class FileObject : public ostrana::KernelObject {
public:
    explicit FileObject(int fd) : m_fd(fd) {}
    ~FileObject() override { ::close(m_fd); }
    FileObject(const FileObject&) = delete;
    FileObject& operator=(const FileObject&) = delete;
    int Fd() const { return m_fd; }

private:
    int m_fd;
};

struct FindEntry {
    std::string hostName; // UTF-8, as on disk
    std::string hostPath;
};

class FindObject : public ostrana::KernelObject {
public:
    std::vector<FindEntry> entries;
    std::size_t next = 0;
};

bool Fail(DWORD error) {
    SetLastError(error);
    return false;
}

std::optional<std::string> HostPathOrFail(LPCSTR localPath) {
    if (localPath == nullptr || *localPath == '\0') {
        SetLastError(ERROR_INVALID_NAME);
        return std::nullopt;
    }
    auto host = ostrana::LocalToHostPath(localPath);
    if (!host) {
        SetLastError(ERROR_PATH_NOT_FOUND);
    }
    return host;
}

DWORD AttributesOf(const std::string& name, const struct stat& linkStatus, const struct stat& status) {
    DWORD attributes = 0;
    if (S_ISDIR(status.st_mode)) {
        attributes |= FILE_ATTRIBUTE_DIRECTORY;
    }
    if (S_ISLNK(linkStatus.st_mode)) {
        attributes |= FILE_ATTRIBUTE_REPARSE_POINT;
    }
    if (!name.empty() && name[0] == '.' && name != "." && name != "..") {
        attributes |= FILE_ATTRIBUTE_HIDDEN;
    }
    if ((status.st_mode & S_IWUSR) == 0) {
        attributes |= FILE_ATTRIBUTE_READONLY;
    }
    if (!S_ISDIR(status.st_mode) && !S_ISREG(status.st_mode)) {
        attributes |= FILE_ATTRIBUTE_SYSTEM;
    }
    if (S_ISREG(status.st_mode)) {
        attributes |= FILE_ATTRIBUTE_ARCHIVE;
    }
    return attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
}

bool FillFindData(const FindEntry& entry, WIN32_FIND_DATAA* data) {
    struct stat linkStatus {};
    if (::lstat(entry.hostPath.c_str(), &linkStatus) != 0) {
        return false;
    }
    struct stat status = linkStatus;
    if (S_ISLNK(linkStatus.st_mode)) {
        if (::stat(entry.hostPath.c_str(), &status) != 0) {
            status = linkStatus; // a dangling link shows as itself
        }
    }
    std::memset(data, 0, sizeof(*data));
    data->dwFileAttributes = AttributesOf(entry.hostName, linkStatus, status);
    data->ftCreationTime = ostrana::UnixToFileTime(status.st_ctim.tv_sec, status.st_ctim.tv_nsec);
    data->ftLastAccessTime = ostrana::UnixToFileTime(status.st_atim.tv_sec, status.st_atim.tv_nsec);
    data->ftLastWriteTime = ostrana::UnixToFileTime(status.st_mtim.tv_sec, status.st_mtim.tv_nsec);
    if (!S_ISDIR(status.st_mode)) {
        auto size = static_cast<unsigned long long>(status.st_size);
        data->nFileSizeHigh = static_cast<DWORD>(size >> 32);
        data->nFileSizeLow = static_cast<DWORD>(size & 0xffffffffULL);
    }
    std::string ansi = ostrana::Utf8ToAnsi(entry.hostName);
    std::size_t length = std::min(ansi.size(), static_cast<std::size_t>(MAX_PATH - 1));
    std::memcpy(data->cFileName, ansi.data(), length);
    return true;
}

char FoldCase(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

// Wildcard match without case; "*.*" is the classic "everything".
bool MatchesPattern(std::string_view pattern, std::string_view name) {
    if (pattern == "*.*" || pattern == "*") {
        return true;
    }
    std::size_t p = 0, n = 0, star = std::string_view::npos, mark = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || FoldCase(pattern[p]) == FoldCase(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            mark = n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

bool IsWildcard(std::string_view text) { return text.find_first_of("*?") != std::string_view::npos; }

} // namespace

HANDLE CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD /*shareMode*/, void* /*securityAttributes*/,
                   DWORD creationDisposition, DWORD /*flagsAndAttributes*/, HANDLE /*templateFile*/) {
    auto host = HostPathOrFail(fileName);
    if (!host) {
        return INVALID_HANDLE_VALUE;
    }
    int flags = O_CLOEXEC;
    bool read = (desiredAccess & GENERIC_READ) != 0;
    bool write = (desiredAccess & GENERIC_WRITE) != 0;
    flags |= read && write ? O_RDWR : write ? O_WRONLY : O_RDONLY;
    switch (creationDisposition) {
    case CREATE_NEW: flags |= O_CREAT | O_EXCL; break;
    case CREATE_ALWAYS: flags |= O_CREAT | O_TRUNC; break;
    case OPEN_EXISTING: break;
    case OPEN_ALWAYS: flags |= O_CREAT; break;
    case TRUNCATE_EXISTING: flags |= O_TRUNC; break;
    default: SetLastError(ERROR_INVALID_PARAMETER); return INVALID_HANDLE_VALUE;
    }
    int fd = ::open(host->c_str(), flags, 0666);
    if (fd < 0) {
        SetLastError(errno == EEXIST ? ERROR_FILE_EXISTS : ErrorFromErrno(errno));
        return INVALID_HANDLE_VALUE;
    }
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISDIR(status.st_mode)) {
        ::close(fd);
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    return ostrana::InsertKernelObject(std::make_shared<FileObject>(fd));
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead, void* /*overlapped*/) {
    auto object = ostrana::LookupKernelObjectAs<FileObject>(file);
    if (bytesRead != nullptr) {
        *bytesRead = 0;
    }
    if (!object) {
        return Fail(ERROR_INVALID_HANDLE);
    }
    ssize_t n;
    do {
        n = ::read(object->Fd(), buffer, bytesToRead);
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        return Fail(ERROR_READ_FAULT);
    }
    if (bytesRead != nullptr) {
        *bytesRead = static_cast<DWORD>(n);
    }
    return TRUE;
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten, void* /*overlapped*/) {
    auto object = ostrana::LookupKernelObjectAs<FileObject>(file);
    if (bytesWritten != nullptr) {
        *bytesWritten = 0;
    }
    if (!object) {
        return Fail(ERROR_INVALID_HANDLE);
    }
    const char* data = static_cast<const char*>(buffer);
    DWORD done = 0;
    while (done < bytesToWrite) {
        ssize_t n = ::write(object->Fd(), data + done, bytesToWrite - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            if (bytesWritten != nullptr) {
                *bytesWritten = done;
            }
            return Fail(ERROR_WRITE_FAULT);
        }
        done += static_cast<DWORD>(n);
    }
    if (bytesWritten != nullptr) {
        *bytesWritten = done;
    }
    return TRUE;
}

BOOL GetFileSizeEx(HANDLE file, LARGE_INTEGER* size) {
    auto object = ostrana::LookupKernelObjectAs<FileObject>(file);
    struct stat status {};
    if (!object || size == nullptr || ::fstat(object->Fd(), &status) != 0) {
        return Fail(ERROR_INVALID_HANDLE);
    }
    size->QuadPart = status.st_size;
    return TRUE;
}

BOOL SetFilePointerEx(HANDLE file, LARGE_INTEGER distance, LARGE_INTEGER* newPointer, DWORD moveMethod) {
    auto object = ostrana::LookupKernelObjectAs<FileObject>(file);
    if (!object) {
        return Fail(ERROR_INVALID_HANDLE);
    }
    int whence = moveMethod == FILE_BEGIN ? SEEK_SET : moveMethod == FILE_CURRENT ? SEEK_CUR : SEEK_END;
    off_t position = ::lseek(object->Fd(), distance.QuadPart, whence);
    if (position < 0) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    if (newPointer != nullptr) {
        newPointer->QuadPart = position;
    }
    return TRUE;
}

BOOL FlushFileBuffers(HANDLE file) {
    auto object = ostrana::LookupKernelObjectAs<FileObject>(file);
    if (!object) {
        return Fail(ERROR_INVALID_HANDLE);
    }
    return ::fsync(object->Fd()) == 0 ? TRUE : Fail(ERROR_WRITE_FAULT);
}

BOOL DeleteFileA(LPCSTR fileName) {
    auto host = HostPathOrFail(fileName);
    if (!host) {
        return FALSE;
    }
    struct stat status {};
    if (::lstat(host->c_str(), &status) == 0 && S_ISDIR(status.st_mode)) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    return ::unlink(host->c_str()) == 0 ? TRUE : Fail(ErrorFromErrno(errno));
}

BOOL MoveFileExA(LPCSTR existingName, LPCSTR newName, DWORD flags) {
    auto from = HostPathOrFail(existingName);
    auto to = from ? HostPathOrFail(newName) : std::nullopt;
    if (!from || !to) {
        return FALSE;
    }
    if ((flags & MOVEFILE_REPLACE_EXISTING) == 0) {
        // renameat2(RENAME_NOREPLACE) keeps an existing target safe without a race.
        if (::renameat2(AT_FDCWD, from->c_str(), AT_FDCWD, to->c_str(), RENAME_NOREPLACE) == 0) {
            return TRUE;
        }
        return Fail(errno == EEXIST ? ERROR_ALREADY_EXISTS : ErrorFromErrno(errno));
    }
    return ::rename(from->c_str(), to->c_str()) == 0 ? TRUE : Fail(ErrorFromErrno(errno));
}

BOOL CreateDirectoryA(LPCSTR pathName, void* /*securityAttributes*/) {
    auto host = HostPathOrFail(pathName);
    if (!host) {
        return FALSE;
    }
    return ::mkdir(host->c_str(), 0777) == 0 ? TRUE : Fail(ErrorFromErrno(errno));
}

BOOL RemoveDirectoryA(LPCSTR pathName) {
    auto host = HostPathOrFail(pathName);
    if (!host) {
        return FALSE;
    }
    return ::rmdir(host->c_str()) == 0 ? TRUE : Fail(ErrorFromErrno(errno));
}

DWORD GetFileAttributesA(LPCSTR fileName) {
    auto host = HostPathOrFail(fileName);
    if (!host) {
        return INVALID_FILE_ATTRIBUTES;
    }
    struct stat linkStatus {};
    if (::lstat(host->c_str(), &linkStatus) != 0) {
        SetLastError(ErrorFromErrno(errno));
        return INVALID_FILE_ATTRIBUTES;
    }
    struct stat status = linkStatus;
    if (S_ISLNK(linkStatus.st_mode) && ::stat(host->c_str(), &status) != 0) {
        status = linkStatus;
    }
    std::string name = *host;
    std::size_t slash = name.find_last_of('/');
    if (slash != std::string::npos) {
        name = name.substr(slash + 1);
    }
    return AttributesOf(name, linkStatus, status);
}

HANDLE FindFirstFileA(LPCSTR fileName, LPWIN32_FIND_DATAA findData) {
    auto host = HostPathOrFail(fileName);
    if (!host || findData == nullptr) {
        return INVALID_HANDLE_VALUE;
    }
    std::string path = *host;
    std::size_t slash = path.find_last_of('/');
    std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    std::string pattern = slash == std::string::npos ? path : path.substr(slash + 1);
    auto find = std::make_shared<FindObject>();
    std::string prefix = folder == "/" ? "/" : folder + "/";
    if (IsWildcard(pattern)) {
        DIR* dir = ::opendir(folder.c_str());
        if (dir == nullptr) {
            SetLastError(errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(errno));
            return INVALID_HANDLE_VALUE;
        }
        std::vector<FindEntry> rest;
        for (const char* dot : {".", ".."}) {
            if (MatchesPattern(pattern, dot)) {
                find->entries.push_back({dot, prefix + dot});
            }
        }
        while (dirent* entry = ::readdir(dir)) {
            std::string name = entry->d_name;
            if (name == "." || name == ".." || !MatchesPattern(pattern, name)) {
                continue;
            }
            rest.push_back({name, prefix + name});
        }
        ::closedir(dir);
        std::sort(rest.begin(), rest.end(), [](const FindEntry& a, const FindEntry& b) { return a.hostName < b.hostName; });
        find->entries.insert(find->entries.end(), rest.begin(), rest.end());
    } else {
        find->entries.push_back({pattern, path});
    }
    while (find->next < find->entries.size()) {
        if (FillFindData(find->entries[find->next++], findData)) {
            return ostrana::InsertKernelObject(find);
        }
    }
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
}

BOOL FindNextFileA(HANDLE findFile, LPWIN32_FIND_DATAA findData) {
    auto find = ostrana::LookupKernelObjectAs<FindObject>(findFile);
    if (!find || findData == nullptr) {
        return Fail(ERROR_INVALID_HANDLE);
    }
    while (find->next < find->entries.size()) {
        if (FillFindData(find->entries[find->next++], findData)) {
            return TRUE;
        }
    }
    return Fail(ERROR_NO_MORE_FILES);
}

BOOL FindClose(HANDLE findFile) {
    if (!ostrana::LookupKernelObjectAs<FindObject>(findFile)) {
        return Fail(ERROR_INVALID_HANDLE);
    }
    return CloseHandle(findFile);
}

int _stat64(const char* path, struct _stat64* status) {
    auto host = HostPathOrFail(path);
    struct stat st {};
    if (!host || status == nullptr || ::stat(host->c_str(), &st) != 0) {
        errno = ENOENT;
        return -1;
    }
    unsigned short mode = S_ISDIR(st.st_mode) ? _S_IFDIR : S_ISREG(st.st_mode) ? _S_IFREG : 0;
    status->st_mode = static_cast<unsigned short>(mode | (st.st_mode & 0777));
    status->st_size = st.st_size;
    status->modified = st.st_mtim.tv_sec;
    status->accessed = st.st_atim.tv_sec;
    status->changed = st.st_ctim.tv_sec;
    return 0;
}
