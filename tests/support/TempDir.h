// A temporary folder that lives as long as the object; every test that writes files owns one.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace ostrana::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::string Str() const { return m_path.string(); }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

// Points OSTRANA_REGISTRY at a file inside its own temporary folder for the object's lifetime.
class ScopedRegistryFile {
public:
    ScopedRegistryFile();
    ~ScopedRegistryFile();
    std::string FilePath() const { return (m_dir.Path() / "registry.reg").string(); }

private:
    TempDir m_dir;
    std::string m_previous;
    bool m_hadPrevious = false;
};

// Writes a whole file in binary; returns false on failure.
bool WriteFileBytes(const std::filesystem::path& path, const std::string& bytes);
// Reads a whole file in binary; empty when it cannot be read.
std::string ReadFileBytes(const std::filesystem::path& path);
// The names in a folder, hidden ones included, sorted.
std::vector<std::string> EntriesOf(const std::filesystem::path& folder);

} // namespace ostrana::test
