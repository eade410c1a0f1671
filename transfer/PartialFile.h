// Where a download's bytes wait until the whole file has arrived: a hidden file beside the
// target, ".name.ostrana-part" (numbered when that name is taken). Only a complete file that was
// flushed without error replaces the target, in one rename on the same file system; in every
// other case the temporary file goes and the target stays as it was.
#pragma once

#include <string>

#include "platform/base/FileApi.h"

// The temporary name for `name` in `localFolder`; attempts after the first carry their number.
std::string PartialPathOf(const std::string& localFolder, const std::string& name, int attempt = 0);

class PartialFile {
public:
    // Creates a new temporary file for `localFolder` + "\" + `name`; never opens an existing one.
    PartialFile(const std::string& localFolder, const std::string& name);
    // Removes the temporary file unless it replaced the target.
    ~PartialFile();
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;

    // False when no temporary file could be created (GetLastError tells why).
    bool IsOpen() const { return m_file != INVALID_HANDLE_VALUE; }
    HANDLE Handle() const { return m_file; }
    const std::string& Path() const { return m_path; }
    const std::string& Target() const { return m_target; }
    // Flushes and closes the file, then renames it over the target. False when any step failed;
    // the temporary file is gone either way.
    bool Commit();

private:
    void Close();

    std::string m_target;
    std::string m_path;
    HANDLE m_file = INVALID_HANDLE_VALUE;
    bool m_finished = false; // renamed or removed: the name is no longer ours
};
