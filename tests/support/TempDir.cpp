#include "tests/support/TempDir.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <unistd.h>

namespace ostrana::test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ostrana-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    m_path = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

ScopedRegistryFile::ScopedRegistryFile() {
    if (const char* old = std::getenv("OSTRANA_REGISTRY")) {
        m_previous = old;
        m_hadPrevious = true;
    }
    setenv("OSTRANA_REGISTRY", FilePath().c_str(), 1);
}

ScopedRegistryFile::~ScopedRegistryFile() {
    if (m_hadPrevious) {
        setenv("OSTRANA_REGISTRY", m_previous.c_str(), 1);
    } else {
        unsetenv("OSTRANA_REGISTRY");
    }
}

bool WriteFileBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::string ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> EntriesOf(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace ostrana::test
