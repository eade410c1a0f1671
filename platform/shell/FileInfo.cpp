// Type icons by extension, each added to both system image lists once under one lock, so that an
// index is the same in the small and the large list.
#include "platform/shell/FileInfo.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <mutex>
#include <string>

#include "platform/base/FileApi.h"

namespace {

struct TypeOfExtension {
    const char* extension;
    const char* type;
};

constexpr TypeOfExtension kTypes[] = {
    {"txt", "text"},       {"log", "text"},        {"ini", "text"},        {"csv", "text"},
    {"jpg", "image"},      {"jpeg", "image"},      {"png", "image"},       {"gif", "image"},
    {"bmp", "image"},      {"mp3", "audio"},       {"wav", "audio"},       {"wma", "audio"},
    {"avi", "video"},      {"mpg", "video"},       {"mpeg", "video"},      {"mp4", "video"},
    {"wmv", "video"},      {"zip", "archive"},     {"rar", "archive"},     {"7z", "archive"},
    {"gz", "archive"},     {"tar", "archive"},     {"alz", "archive"},     {"doc", "document"},
    {"hwp", "document"},   {"xls", "document"},    {"ppt", "document"},    {"pdf", "document"},
    {"exe", "program_file"}, {"com", "program_file"}, {"bat", "program_file"},
};

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::string TypeOf(const std::string& path, DWORD attributes, UINT flags) {
    if (path.size() == 3 && path[1] == ':' && IsSeparator(path[2])) {
        return "drive";
    }
    bool folder = !path.empty() && IsSeparator(path.back());
    if (flags & SHGFI_USEFILEATTRIBUTES) {
        folder = folder || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    } else {
        DWORD found = GetFileAttributesA(path.c_str());
        folder = folder || (found != INVALID_FILE_ATTRIBUTES && (found & FILE_ATTRIBUTE_DIRECTORY) != 0);
    }
    if (folder) {
        return "folder";
    }
    std::size_t name = path.find_last_of("\\/");
    std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (name != std::string::npos && dot < name)) {
        return "file";
    }
    std::string extension = path.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const TypeOfExtension& known : kTypes) {
        if (extension == known.extension) {
            return known.type;
        }
    }
    return "file";
}

int IndexOfType(const std::string& type) {
    static std::mutex lock;
    static std::map<std::string, int> indexes;
    std::lock_guard guard(lock);
    auto found = indexes.find(type);
    if (found != indexes.end()) {
        return found->second;
    }
    std::string entry = "icon filetype_" + type;
    int index = ostrana::ImageListAddEntry(ostrana::SystemImageList(true), entry);
    ostrana::ImageListAddEntry(ostrana::SystemImageList(false), entry);
    indexes.emplace(type, index);
    return index;
}

} // namespace

DWORD_PTR SHGetFileInfoA(LPCSTR path, DWORD attributes, SHFILEINFOA* info, UINT size, UINT flags) {
    if ((flags & SHGFI_SYSICONINDEX) == 0 || path == nullptr) {
        return 0;
    }
    if (info != nullptr && size >= sizeof(SHFILEINFOA)) {
        info->iIcon = IndexOfType(TypeOf(path, attributes, flags));
    }
    return reinterpret_cast<DWORD_PTR>(ostrana::SystemImageList((flags & SHGFI_SMALLICON) != 0));
}
