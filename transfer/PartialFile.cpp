#include "transfer/PartialFile.h"

#include "platform/base/CodePage.h"
#include "platform/base/LastError.h"

namespace {

constexpr const char* kSuffix = ".ostrana-part";
// Leftovers of earlier runs are stepped over; past this many something else is wrong.
constexpr int kAttempts = 100;
// The name part of a temporary name, in UTF-8 bytes: with the dot, a number and the suffix it
// stays well inside the 255 a file name may have, so a long name can still be downloaded.
constexpr std::size_t kNameBudget = 200;

std::string ShortenedName(const std::string& name) {
    std::string utf8 = ostrana::AnsiToUtf8(name);
    if (utf8.size() <= kNameBudget) {
        return name;
    }
    utf8.resize(ostrana::CompleteUtf8Prefix(std::string_view(utf8).substr(0, kNameBudget)));
    return ostrana::Utf8ToAnsi(utf8);
}

} // namespace

std::string PartialPathOf(const std::string& localFolder, const std::string& name, int attempt) {
    std::string numbered = attempt == 0 ? "" : "." + std::to_string(attempt);
    return localFolder + "\\." + ShortenedName(name) + numbered + kSuffix;
}

PartialFile::PartialFile(const std::string& localFolder, const std::string& name)
    : m_target(localFolder + "\\" + name) {
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        std::string path = PartialPathOf(localFolder, name, attempt);
        m_file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr);
        if (m_file != INVALID_HANDLE_VALUE) {
            m_path = path;
            return;
        }
        DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            return;
        }
    }
}

PartialFile::~PartialFile() {
    Close();
    if (!m_finished && !m_path.empty()) {
        DeleteFileA(m_path.c_str());
    }
}

bool PartialFile::Commit() {
    if (!IsOpen()) {
        return false;
    }
    // Flushed before the rename, so the target never names a file whose bytes are not on disk.
    bool flushed = FlushFileBuffers(m_file) != FALSE;
    Close();
    bool replaced = flushed && MoveFileExA(m_path.c_str(), m_target.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
    if (!replaced) {
        DeleteFileA(m_path.c_str());
    }
    m_finished = true;
    return replaced;
}

void PartialFile::Close() {
    if (m_file != INVALID_HANDLE_VALUE) {
        CloseHandle(m_file);
        m_file = INVALID_HANDLE_VALUE;
    }
}
