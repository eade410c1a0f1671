#include "tests/support/ShellSandbox.h"

#include <cstdlib>

namespace ostrana::test {

ShellSandbox::ShellSandbox()
    : m_savedHome(Save("HOME")), m_savedDrives(Save("OSTRANA_DRIVES")), m_savedDataHome(Save("XDG_DATA_HOME")),
      m_home(m_dir / "ana"), m_drive(m_dir / "d") {
    std::filesystem::create_directories(m_home);
    std::filesystem::create_directories(m_drive);
    setenv("HOME", m_home.c_str(), 1);
    setenv("OSTRANA_DRIVES", ("D=" + m_drive.string()).c_str(), 1);
    unsetenv("XDG_DATA_HOME");
}

ShellSandbox::~ShellSandbox() {
    Restore(m_savedDataHome);
    Restore(m_savedDrives);
    Restore(m_savedHome);
}

std::string ShellSandbox::LocalD(const std::string& relative) const {
    std::string local = "D:\\" + relative;
    for (char& c : local) {
        if (c == '/') {
            c = '\\';
        }
    }
    return local;
}

std::filesystem::path ShellSandbox::MakeFile(const std::filesystem::path& path, const std::string& bytes) const {
    std::filesystem::create_directories(path.parent_path());
    WriteFileBytes(path, bytes);
    return path;
}

std::filesystem::path ShellSandbox::MakeFolder(const std::filesystem::path& path) const {
    std::filesystem::create_directories(path);
    return path;
}

ShellSandbox::SavedVariable ShellSandbox::Save(const char* name) {
    const char* value = std::getenv(name);
    return {name, value != nullptr ? std::optional<std::string>(value) : std::nullopt};
}

void ShellSandbox::Restore(const SavedVariable& saved) {
    if (saved.value) {
        setenv(saved.name.c_str(), saved.value->c_str(), 1);
    } else {
        unsetenv(saved.name.c_str());
    }
}

} // namespace ostrana::test
