#include "shell/LocalFileOps.h"

#include <strings.h>

namespace {

constexpr size_t kMaxPath = 260;

std::string ParentOf(const std::string& path) {
    size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string Extension(const std::string& name) {
    size_t dot = name.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? std::string() : name.substr(dot);
}

bool IsPlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find_first_of("\\/") == std::string::npos;
}

std::string WithoutTrailingSeparator(std::string folder) {
    while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
    if (folder.size() == 3 && folder.back() == '\\') folder.pop_back(); // "C:\" -> "C:"
    return folder;
}

} // namespace

std::string NextNewFolderName(const std::vector<LocalRowKind>& rows, const std::string& base,
                              const std::string& folderTypeName) {
    int count = 0;
    for (const auto& row : rows) {
        if (row.typeName == folderTypeName && row.name.compare(0, base.size(), base) == 0) ++count;
    }
    return count > 0 ? base + std::to_string(count) : base;
}

std::optional<std::string> RenameTarget(const std::string& oldPath, const std::string& typed, bool showExtensions) {
    if (!IsPlainName(typed)) return std::nullopt;
    std::string parent = ParentOf(oldPath);
    if (parent.empty()) return std::nullopt;
    std::string name = showExtensions ? typed : typed + Extension(oldPath.substr(parent.size() + 1));
    std::string target = parent + "\\" + name;
    if (target.size() >= kMaxPath) return std::nullopt;
    return target;
}

std::optional<std::string> DeleteBuffer(const std::string& shownFolder, const std::vector<std::string>& paths) {
    if (paths.empty()) return std::nullopt;
    std::string folder = WithoutTrailingSeparator(shownFolder);
    std::string buffer;
    for (const auto& path : paths) {
        if (path.size() >= kMaxPath || ::strcasecmp(WithoutTrailingSeparator(ParentOf(path)).c_str(), folder.c_str()) != 0 ||
            !IsPlainName(path.substr(ParentOf(path).size() + 1))) {
            return std::nullopt;
        }
        buffer += path;
        buffer += '\0';
    }
    buffer += '\0';
    return buffer;
}

bool IsServerDropName(const std::string& firstName) { return firstName.find('/') != std::string::npos; }

std::string WithoutExtension(const std::string& name) {
    size_t dot = name.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}
