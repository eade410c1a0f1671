#include "platform/base/LocalPath.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>

#include "platform/base/CodePage.h"

namespace ostrana {
namespace {

std::string TrimTrailingSlash(std::string root) {
    while (root.size() > 1 && root.back() == '/') {
        root.pop_back();
    }
    return root;
}

std::string JoinHost(const std::string& root, const std::string& rest) {
    if (rest.empty()) {
        return root;
    }
    if (root == "/") {
        return "/" + rest;
    }
    return root + "/" + rest;
}

// Turns backslashes into slashes and folds runs of separators.
std::string ToSlashes(std::string_view path) {
    std::string out;
    out.reserve(path.size());
    for (char c : path) {
        char s = c == '\\' ? '/' : c;
        if (s == '/' && !out.empty() && out.back() == '/') {
            continue;
        }
        out.push_back(s);
    }
    return out;
}

} // namespace

std::vector<DriveMapping> MappedDrives() {
    std::vector<DriveMapping> drives{{'C', "/"}};
    const char* env = std::getenv("OSTRANA_DRIVES");
    if (env == nullptr) {
        return drives;
    }
    std::string_view rest(env);
    while (!rest.empty()) {
        std::size_t end = rest.find(';');
        std::string_view item = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (item.size() < 3 || item[1] != '=' || !std::isalpha(static_cast<unsigned char>(item[0]))) {
            continue;
        }
        char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(item[0])));
        if (letter == 'C' || item[2] != '/') {
            continue;
        }
        drives.push_back({letter, TrimTrailingSlash(std::string(item.substr(2)))});
    }
    return drives;
}

namespace {

bool StartsWithDrive(std::string_view text) {
    return text.size() >= 2 && text[1] == ':' && std::isalpha(static_cast<unsigned char>(text[0]));
}

// A UTF-8 path that starts with a drive; empty when the drive is not mapped.
std::optional<std::string> DrivePathToHost(std::string_view utf8, const std::vector<DriveMapping>& drives) {
    char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(utf8[0])));
    std::string rest = ToSlashes(utf8.substr(2));
    while (!rest.empty() && rest.front() == '/') {
        rest.erase(rest.begin());
    }
    for (const DriveMapping& drive : drives) {
        if (drive.letter == letter) {
            return JoinHost(drive.root, rest);
        }
    }
    return std::nullopt;
}

// Where a path inside a display text ends: texts put a path in brackets or quotes, or end it
// with the line. Spaces belong to the path, since names may hold them.
bool EndsEmbeddedPath(char c) {
    return c == ')' || c == ']' || c == '"' || c == '\'' || c == '\n' || c == '\r' || c == '\t';
}

} // namespace

std::optional<std::string> LocalToHostPath(std::string_view localPath) {
    std::string utf8 = AnsiToUtf8(localPath);
    if (StartsWithDrive(utf8)) {
        return DrivePathToHost(utf8, MappedDrives());
    }
    return ToSlashes(utf8);
}

std::string HostPathsInText(std::string_view text) {
    std::vector<DriveMapping> drives = MappedDrives();
    std::string out;
    out.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        bool wordStart = at == 0 || !std::isalnum(static_cast<unsigned char>(text[at - 1]));
        std::string_view rest = text.substr(at);
        if (wordStart && StartsWithDrive(rest) && rest.size() >= 3 && rest[2] == '\\') {
            std::size_t end = 3;
            while (end < rest.size() && !EndsEmbeddedPath(rest[end])) {
                ++end;
            }
            if (std::optional<std::string> host = DrivePathToHost(rest.substr(0, end), drives)) {
                out += *host;
                at += end;
                continue;
            }
        }
        out.push_back(text[at]);
        ++at;
    }
    return out;
}

std::string HostToLocalPath(std::string_view hostPath) {
    std::string absolute(hostPath);
    if (absolute.empty() || absolute.front() != '/') {
        std::error_code ignored;
        absolute = (std::filesystem::current_path(ignored) / absolute).lexically_normal().string();
    }
    const DriveMapping* best = nullptr;
    std::vector<DriveMapping> drives = MappedDrives();
    for (const DriveMapping& drive : drives) {
        bool matches = drive.root == "/" ||
                       (absolute.compare(0, drive.root.size(), drive.root) == 0 &&
                        (absolute.size() == drive.root.size() || absolute[drive.root.size()] == '/'));
        if (matches && (best == nullptr || drive.root.size() > best->root.size())) {
            best = &drive;
        }
    }
    std::string rest = best->root == "/" ? absolute : absolute.substr(best->root.size());
    std::string local(1, best->letter);
    local += ':';
    for (char c : rest) {
        local.push_back(c == '/' ? '\\' : c);
    }
    if (local.size() == 2) {
        local.push_back('\\');
    }
    return Utf8ToAnsi(local);
}

} // namespace ostrana
