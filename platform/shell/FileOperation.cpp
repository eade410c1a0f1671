// The shell's file operations over local paths. Every path must name its drive and may hold no
// "." or ".." step; drive roots are never moved, renamed or deleted; a folder is never copied or
// moved into itself; a rename stays in its folder.
#include "platform/shell/FileOperation.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/CodePage.h"
#include "platform/base/LastError.h"
#include "platform/base/LocalPath.h"
#include "platform/shell/Trash.h"
#include "platform/window/MessageBox.h"

namespace {

namespace fs = std::filesystem;

struct Item {
    std::string local; // ANSI, as the caller gave it
    fs::path host;
};

class Operation {
public:
    explicit Operation(SHFILEOPSTRUCTA& request) : m_request(request) {}
    int Run();

private:
    bool Confirm(const std::string& utf8Text, const char* utf8Caption) const;
    DWORD Fail(const Item& item, const char* utf8Verb, DWORD error);
    int Finish(DWORD error);

    DWORD Delete(const std::vector<Item>& sources);
    DWORD Rename(const Item& source, const std::string& target);
    DWORD Transfer(const std::vector<Item>& sources, const std::vector<std::string>& targets);
    DWORD TransferOne(const Item& source, const fs::path& destination, const std::string& destinationLocal);
    bool Allows(FILEOP_FLAGS flag) const { return (m_request.fFlags & flag) != 0; }

    SHFILEOPSTRUCTA& m_request;
    DWORD m_firstError = ERROR_SUCCESS;
};

std::vector<std::string> SplitList(LPCSTR list) {
    std::vector<std::string> paths;
    if (list == nullptr) {
        return paths;
    }
    for (const char* at = list; *at != '\0'; at += std::char_traits<char>::length(at) + 1) {
        paths.emplace_back(at);
    }
    return paths;
}

bool NamesDrive(const std::string& local) {
    return local.size() >= 3 && std::isalpha(static_cast<unsigned char>(local[0])) && local[1] == ':' && local[2] == '\\';
}

bool HasDotStep(const std::string& local) {
    std::size_t start = 0;
    while (start <= local.size()) {
        std::size_t end = local.find('\\', start);
        if (end == std::string::npos) {
            end = local.size();
        }
        std::string step = local.substr(start, end - start);
        if (step == "." || step == "..") {
            return true;
        }
        start = end + 1;
    }
    return false;
}

std::optional<Item> ToItem(const std::string& local) {
    if (!NamesDrive(local) || HasDotStep(local) || local.find('/') != std::string::npos) {
        return std::nullopt;
    }
    std::optional<std::string> host = ostrana::LocalToHostPath(local);
    if (!host) {
        return std::nullopt;
    }
    fs::path path = fs::path(*host).lexically_normal();
    if (path.has_filename() == false && path.has_parent_path()) {
        path = path.parent_path();
    }
    return Item{local, path};
}

bool IsDriveRoot(const Item& item) {
    std::string trimmed = item.local;
    while (trimmed.size() > 3 && trimmed.back() == '\\') {
        trimmed.pop_back();
    }
    if (trimmed.size() <= 3) {
        return true;
    }
    for (const ostrana::DriveMapping& drive : ostrana::MappedDrives()) {
        if (fs::path(drive.root).lexically_normal() == item.host) {
            return true;
        }
    }
    return false;
}

bool Exists(const fs::path& path) {
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

bool IsDirectory(const fs::path& path) {
    std::error_code error;
    return fs::is_directory(fs::status(path, error));
}

// Whether `inner` is `outer` or lies below it.
bool IsWithin(const fs::path& inner, const fs::path& outer) {
    auto [outerEnd, innerAt] = std::mismatch(outer.begin(), outer.end(), inner.begin(), inner.end());
    return outerEnd == outer.end();
}

std::string Format(const std::string& utf8Pattern, const std::string& ansiArgument) {
    std::string pattern = ostrana::Utf8ToAnsi(utf8Pattern);
    std::vector<char> text(pattern.size() + ansiArgument.size() + 1);
    std::snprintf(text.data(), text.size(), pattern.c_str(), ansiArgument.c_str());
    return text.data();
}

DWORD FromErrorCode(const std::error_code& error) { return error ? ErrorFromErrno(error.value()) : ERROR_SUCCESS; }

std::string LastLocalName(const std::string& local) {
    std::size_t slash = local.find_last_of('\\');
    return slash == std::string::npos ? local : local.substr(slash + 1);
}

std::string LocalFolderOf(const std::string& local) {
    std::size_t slash = local.find_last_of('\\');
    return slash == std::string::npos ? std::string() : local.substr(0, slash);
}

// "a - 복사본.txt", then "a - 복사본 (2).txt", ...: a free name beside `destination`. A folder's
// name has no extension.
fs::path CopyName(const fs::path& destination, bool folder) {
    std::string stem = folder ? destination.filename().string() : destination.stem().string();
    std::string extension = folder ? std::string() : destination.extension().string();
    if (stem.empty()) {
        stem = extension;
        extension.clear();
    }
    for (int n = 1; n < 10000; ++n) {
        std::string suffix = n == 1 ? " - 복사본" : " - 복사본 (" + std::to_string(n) + ")";
        fs::path candidate = destination.parent_path() / (stem + suffix + extension);
        if (!Exists(candidate)) {
            return candidate;
        }
    }
    return destination;
}

int Operation::Run() {
    m_request.fAnyOperationsAborted = FALSE;
    std::vector<std::string> fromList = SplitList(m_request.pFrom);
    if (fromList.empty()) {
        return Finish(ERROR_INVALID_PARAMETER);
    }
    std::vector<Item> sources;
    for (const std::string& local : fromList) {
        std::optional<Item> item = ToItem(local);
        if (!item) {
            return Finish(Fail(Item{local, {}}, "찾을", ERROR_INVALID_NAME));
        }
        if (IsDriveRoot(*item) && m_request.wFunc != FO_COPY) {
            return Finish(Fail(*item, m_request.wFunc == FO_DELETE ? "삭제할" : "옮길", ERROR_ACCESS_DENIED));
        }
        sources.push_back(std::move(*item));
    }
    switch (m_request.wFunc) {
    case FO_DELETE:
        return Finish(Delete(sources));
    case FO_RENAME: {
        std::vector<std::string> targets = SplitList(m_request.pTo);
        if (sources.size() != 1 || targets.size() != 1) {
            return Finish(ERROR_INVALID_PARAMETER);
        }
        return Finish(Rename(sources[0], targets[0]));
    }
    case FO_MOVE:
    case FO_COPY:
        return Finish(Transfer(sources, SplitList(m_request.pTo)));
    default:
        return Finish(ERROR_INVALID_PARAMETER);
    }
}

int Operation::Finish(DWORD error) {
    if (error == ERROR_CANCELLED) {
        m_request.fAnyOperationsAborted = TRUE;
    }
    DWORD result = m_firstError != ERROR_SUCCESS ? m_firstError : error;
    return static_cast<int>(result);
}

bool Operation::Confirm(const std::string& ansiText, const char* utf8Caption) const {
    if (Allows(FOF_NOCONFIRMATION)) {
        return true;
    }
    std::string caption = ostrana::Utf8ToAnsi(utf8Caption);
    return MessageBoxA(m_request.hwnd, ansiText.c_str(), caption.c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

DWORD Operation::Fail(const Item& item, const char* utf8Verb, DWORD error) {
    if (error == ERROR_SUCCESS || error == ERROR_CANCELLED) {
        return error;
    }
    if (m_firstError == ERROR_SUCCESS) {
        m_firstError = error;
    }
    if (!Allows(FOF_NOERRORUI)) {
        std::string text = Format(std::string("'%s'을(를) ") + utf8Verb + " 수 없습니다.", item.local);
        std::string caption = ostrana::Utf8ToAnsi("오류");
        MessageBoxA(m_request.hwnd, text.c_str(), caption.c_str(), MB_OK | MB_ICONHAND);
    }
    return error;
}

DWORD Operation::Delete(const std::vector<Item>& sources) {
    bool toTrash = Allows(FOF_ALLOWUNDO);
    std::string question;
    if (sources.size() == 1) {
        question = Format(toTrash ? "'%s'을(를) 휴지통으로 보내시겠습니까?" : "'%s'을(를) 삭제하시겠습니까?",
                          LastLocalName(sources[0].local));
    } else {
        question = Format(toTrash ? "이 %s개 항목을 휴지통으로 보내시겠습니까?" : "이 %s개 항목을 삭제하시겠습니까?",
                          std::to_string(sources.size()));
    }
    if (!Confirm(question, "파일 삭제 확인")) {
        return ERROR_CANCELLED;
    }
    for (const Item& item : sources) {
        if (!Exists(item.host)) {
            Fail(item, "삭제할", ERROR_FILE_NOT_FOUND);
            continue;
        }
        DWORD error = ERROR_SUCCESS;
        if (toTrash) {
            error = ostrana::MoveToTrash(item.host);
        } else {
            std::error_code removed;
            fs::remove_all(item.host, removed);
            error = FromErrorCode(removed);
        }
        Fail(item, "삭제할", error);
    }
    return ERROR_SUCCESS;
}

DWORD Operation::Rename(const Item& source, const std::string& target) {
    std::string targetLocal = target.find('\\') == std::string::npos ? LocalFolderOf(source.local) + "\\" + target : target;
    std::optional<Item> destination = ToItem(targetLocal);
    if (!destination || destination->host.parent_path() != source.host.parent_path() ||
        !destination->host.has_filename()) {
        return Fail(source, "이름을 바꿀", ERROR_INVALID_NAME);
    }
    if (!Exists(source.host)) {
        return Fail(source, "이름을 바꿀", ERROR_FILE_NOT_FOUND);
    }
    if (destination->host == source.host) {
        return ERROR_SUCCESS;
    }
    if (Exists(destination->host)) {
        return Fail(source, "이름을 바꿀", ERROR_ALREADY_EXISTS);
    }
    std::error_code error;
    fs::rename(source.host, destination->host, error);
    return Fail(source, "이름을 바꿀", FromErrorCode(error));
}

DWORD Operation::Transfer(const std::vector<Item>& sources, const std::vector<std::string>& targets) {
    bool perItem = Allows(FOF_MULTIDESTFILES) && targets.size() == sources.size();
    if (targets.empty() || (!perItem && targets.size() != 1)) {
        return ERROR_INVALID_PARAMETER;
    }
    for (std::size_t i = 0; i < sources.size(); ++i) {
        const Item& source = sources[i];
        std::optional<Item> target = ToItem(perItem ? targets[i] : targets[0]);
        if (!target) {
            Fail(source, m_request.wFunc == FO_MOVE ? "이동할" : "복사할", ERROR_INVALID_NAME);
            continue;
        }
        fs::path destination = target->host;
        std::string destinationLocal = target->local;
        // Into an existing folder, or, for one source, to the name given; several sources make
        // the target folder first.
        if (IsDirectory(target->host)) {
            destination = target->host / source.host.filename();
            destinationLocal = target->local + (target->local.ends_with('\\') ? "" : "\\") + LastLocalName(source.local);
        } else if (!perItem && sources.size() > 1) {
            std::error_code made;
            fs::create_directories(target->host, made);
            destination = target->host / source.host.filename();
        }
        DWORD error = TransferOne(source, destination, destinationLocal);
        if (error == ERROR_CANCELLED) {
            m_request.fAnyOperationsAborted = TRUE;
        }
    }
    return ERROR_SUCCESS;
}

DWORD Operation::TransferOne(const Item& source, const fs::path& given, const std::string& destinationLocal) {
    bool move = m_request.wFunc == FO_MOVE;
    const char* verb = move ? "이동할" : "복사할";
    if (!Exists(source.host)) {
        return Fail(source, verb, ERROR_FILE_NOT_FOUND);
    }
    fs::path destination = given;
    if (destination == source.host) {
        if (move) {
            return ERROR_SUCCESS;
        }
        destination = CopyName(destination, IsDirectory(source.host));
    } else if (IsDirectory(source.host) && IsWithin(destination, source.host)) {
        return Fail(source, verb, ERROR_INVALID_PARAMETER);
    }
    if (Exists(destination)) {
        // A file never replaces a folder, nor a folder a file: that would lose what is there.
        if (IsDirectory(source.host) != IsDirectory(destination)) {
            return Fail(source, verb, ERROR_ALREADY_EXISTS);
        }
        if (Allows(FOF_RENAMEONCOLLISION)) {
            destination = CopyName(destination, IsDirectory(source.host));
        } else {
            std::string question = Format("이 위치에 '%s'이(가) 이미 있습니다.\n바꾸시겠습니까?", LastLocalName(destinationLocal));
            if (!Confirm(question, "파일 바꾸기 확인")) {
                return ERROR_CANCELLED;
            }
            // A folder onto a folder merges; a file replaces the file.
            if (!IsDirectory(destination)) {
                std::error_code removed;
                fs::remove_all(destination, removed);
            }
        }
    }
    std::error_code error;
    if (move && !Exists(destination)) {
        fs::rename(source.host, destination, error);
        if (error != std::errc::cross_device_link) {
            return Fail(source, verb, FromErrorCode(error));
        }
        error.clear();
    }
    fs::copy(source.host, destination,
             fs::copy_options::recursive | fs::copy_options::copy_symlinks | fs::copy_options::overwrite_existing, error);
    if (!error && move) {
        fs::remove_all(source.host, error);
    }
    return Fail(source, verb, FromErrorCode(error));
}

} // namespace

int SHFileOperationA(LPSHFILEOPSTRUCTA operation) {
    if (operation == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    return Operation(*operation).Run();
}
