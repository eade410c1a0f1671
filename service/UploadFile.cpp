// Temporary upload files with mkstemp; the rename is atomic because the incoming folder is on the
// same file system as the storage areas.
#include "service/UploadFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace ostrana::service {

std::unique_ptr<UploadFile> UploadFile::Create(const std::filesystem::path& incomingDir) {
    std::string pattern = (incomingDir / "upload-XXXXXX").string();
    const int fd = mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    // Uploaded files get ordinary permissions rather than mkstemp's owner-only ones.
    fchmod(fd, 0644);
    return std::unique_ptr<UploadFile>(new UploadFile(fd, pattern));
}

UploadFile::UploadFile(int fd, std::filesystem::path path) : m_fd(fd), m_path(std::move(path)) {}

UploadFile::~UploadFile() {
    if (m_fd >= 0) {
        close(m_fd);
    }
    if (!m_committed) {
        unlink(m_path.c_str());
    }
}

bool UploadFile::Write(const char* data, std::size_t length) {
    while (length > 0) {
        const ssize_t written = write(m_fd, data, length);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += written;
        length -= static_cast<std::size_t>(written);
    }
    return true;
}

bool UploadFile::Commit(const std::filesystem::path& target) {
    if (fsync(m_fd) != 0) {
        return false;
    }
    const int result = close(m_fd);
    m_fd = -1;
    if (result != 0 || std::rename(m_path.c_str(), target.c_str()) != 0) {
        return false;
    }
    m_committed = true;
    return true;
}

} // namespace ostrana::service
