// A file being uploaded: written under a temporary name in the incoming folder and renamed over its
// target only when complete. Destroying an uncommitted upload deletes the temporary file, so a
// dropped connection never leaves a partial file behind.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>

namespace ostrana::service {

class UploadFile {
public:
    static std::unique_ptr<UploadFile> Create(const std::filesystem::path& incomingDir);
    ~UploadFile();
    UploadFile(const UploadFile&) = delete;
    UploadFile& operator=(const UploadFile&) = delete;

    bool Write(const char* data, std::size_t length);
    // Flushes to disk and renames into place; false leaves the target as it was.
    bool Commit(const std::filesystem::path& target);

private:
    UploadFile(int fd, std::filesystem::path path);

    int m_fd;
    std::filesystem::path m_path;
    bool m_committed = false;
};

} // namespace ostrana::service
