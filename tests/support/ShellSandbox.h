// A home folder, a second drive and a registry file of the test's own: HOME points at
// <temp>/ana, D: at <temp>/d, and XDG_DATA_HOME is cleared so the trash is the home folder's.
// Environment values are restored when the sandbox ends.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "tests/support/TempDir.h"

namespace ostrana::test {

class ShellSandbox {
public:
    ShellSandbox();
    ~ShellSandbox();
    ShellSandbox(const ShellSandbox&) = delete;
    ShellSandbox& operator=(const ShellSandbox&) = delete;

    const std::filesystem::path& Home() const { return m_home; }
    const std::filesystem::path& DriveD() const { return m_drive; }
    const ScopedRegistryFile& Registry() const { return m_registry; }
    // The local path of a host path under the sandbox ("D:\a\b.txt" for <temp>/d/a/b.txt).
    std::string LocalD(const std::string& relative = "") const;

    // Creates the folders on the way; returns the file's path.
    std::filesystem::path MakeFile(const std::filesystem::path& path, const std::string& bytes = "") const;
    std::filesystem::path MakeFolder(const std::filesystem::path& path) const;

private:
    struct SavedVariable {
        std::string name;
        std::optional<std::string> value;
    };
    static SavedVariable Save(const char* name);
    static void Restore(const SavedVariable& saved);

    TempDir m_dir;
    ScopedRegistryFile m_registry;
    SavedVariable m_savedHome;
    SavedVariable m_savedDrives;
    SavedVariable m_savedDataHome;
    std::filesystem::path m_home;
    std::filesystem::path m_drive;
};

} // namespace ostrana::test
