// The process-wide registry store over one .reg file (OSTRANA_REGISTRY, else
// $XDG_CONFIG_HOME/ostrana/registry.reg). Reads see the file's latest complete version; every write
// takes an exclusive lock on a companion lock file, re-reads the file if another process replaced
// it, applies the change and replaces the file atomically (temporary file, flush, rename). The
// file is private to its owner (mode 0600): it may hold a remembered password.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <sys/types.h>

#include "platform/registry/RegistryTree.h"

namespace ostrana {

class RegistryStore {
public:
    static RegistryStore& Instance();

    // Runs `reader` on an up-to-date tree.
    void Read(const std::function<void(const RegistryTree&)>& reader);
    // Runs `writer` under the file lock on an up-to-date tree; the file is rewritten when the
    // writer returns true. Returns false when the file could not be locked or written.
    bool Write(const std::function<bool(RegistryTree&)>& writer);

    static std::string CurrentFilePath();

private:
    struct FileIdentity {
        bool exists = false;
        dev_t device = 0;
        ino_t inode = 0;
        long long modifiedNs = 0;
        long long size = 0;
        bool operator==(const FileIdentity&) const = default;
    };

    static FileIdentity IdentityOf(const std::string& path);
    void RefreshLocked();
    bool SaveLocked();

    std::mutex m_lock;
    std::string m_path;
    FileIdentity m_loaded;
    RegistryTree m_tree;
};

} // namespace ostrana
