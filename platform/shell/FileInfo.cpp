// Type icons by kind of file (folder, drive, extension), named by the table the application
// registers; each image is added to both system image lists once under one lock, so that an
// index is the same in the small and the large list.
#include "platform/shell/FileInfo.h"

#include <map>
#include <mutex>
#include <string>

#include "platform/base/FileApi.h"
#include "platform/base/FileTypeIcons.h"

namespace {

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
    return path.substr(dot);
}

// One index per image, so kinds that share an icon share its entry.
int IndexOfType(const std::string& kind) {
    static std::mutex lock;
    static std::map<std::string, int> indexes;
    std::string image = ostrana::FileTypeIconImage(kind);
    std::lock_guard guard(lock);
    auto found = indexes.find(image);
    if (found != indexes.end()) {
        return found->second;
    }
    int index = ostrana::ImageListAddEntry(ostrana::SystemImageList(true), image);
    ostrana::ImageListAddEntry(ostrana::SystemImageList(false), image);
    indexes.emplace(image, index);
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
