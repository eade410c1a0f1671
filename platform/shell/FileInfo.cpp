// Type icons by kind of file (folder, drive, extension), named by the table the application
// registers; each image is added to both system image lists once under one lock, so that an
// index is the same in the small and the large list.
#include "platform/shell/FileInfo.h"

#include <cctype>
#include <cstring>
#include <map>
#include <mutex>
#include <string>

#include "platform/base/CodePage.h"
#include "platform/base/FileApi.h"
#include "platform/base/FileTypeIcons.h"
#include "platform/shell/ShellFolder.h"
#include "platform/shell/ShellItemInfo.h"

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

// One index per image, so kinds that share an icon share its entry. Must be called under the lock.
int IndexOfImage(std::map<std::string, int>& indexes, const std::string& image) {
    auto found = indexes.find(image);
    if (found != indexes.end()) {
        return found->second;
    }
    int index = ostrana::ImageListAddEntry(ostrana::SystemImageList(true), image);
    ostrana::ImageListAddEntry(ostrana::SystemImageList(false), image);
    indexes.emplace(image, index);
    return index;
}

// Overlay 1 marks shared items, overlay 2 shortcuts (symbolic links), in both lists.
void SetOverlays(std::map<std::string, int>& indexes) {
    constexpr std::pair<const char*, int> kOverlays[] = {{"overlay shared", 1}, {"overlay shortcut", 2}};
    for (const auto& [kind, overlay] : kOverlays) {
        int index = IndexOfImage(indexes, ostrana::FileTypeIconImage(kind));
        ImageList_SetOverlayImage(ostrana::SystemImageList(true), index, overlay);
        ImageList_SetOverlayImage(ostrana::SystemImageList(false), index, overlay);
    }
}

int IndexOfType(const std::string& kind) {
    static std::mutex lock;
    static std::map<std::string, int> indexes;
    static bool overlaysSet = false;
    std::string image = ostrana::FileTypeIconImage(kind);
    std::lock_guard guard(lock);
    if (!overlaysSet) {
        overlaysSet = true;
        SetOverlays(indexes);
    }
    return IndexOfImage(indexes, image);
}

struct KnownType {
    const char* extension;
    const char* name;
};

// The names the shell gives the commonest registered types.
constexpr KnownType kKnownTypes[] = {
    {".txt", "텍스트 문서"},       {".htm", "HTML 문서"},       {".html", "HTML 문서"},
    {".jpg", "JPEG 이미지"},       {".jpeg", "JPEG 이미지"},    {".gif", "GIF 이미지"},
    {".png", "PNG 이미지"},        {".bmp", "비트맵 이미지"},   {".exe", "응용 프로그램"},
    {".zip", "압축(ZIP) 폴더"},    {".pdf", "PDF 문서"},        {".doc", "Microsoft Word 문서"},
    {".xls", "Microsoft Excel 워크시트"}, {".mp3", "MP3 형식 사운드"}, {".avi", "비디오 클립"},
};

std::string Lower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

// UTF-8 in, so that only ASCII letters change, never the second byte of a double-byte character.
std::string TypeNameUtf8(const std::string& kind) {
    if (kind == "folder") {
        return "파일 폴더";
    }
    if (kind == "drive") {
        return "로컬 디스크";
    }
    if (kind == "file") {
        return "파일";
    }
    std::string lower = Lower(kind);
    for (const KnownType& known : kKnownTypes) {
        if (lower == known.extension) {
            return known.name;
        }
    }
    std::string upper = ostrana::AnsiToUtf8(kind.substr(1));
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return upper.empty() ? "파일" : upper + " 파일";
}

constexpr std::size_t kTypeNameCacheLimit = 4096;

// Each kind is converted once: a listing asks for thousands of names of a few kinds.
std::string TypeNameOf(const std::string& kind) {
    static std::mutex lock;
    static std::map<std::string, std::string> names;
    std::lock_guard guard(lock);
    auto found = names.find(kind);
    if (found != names.end()) return found->second;
    std::string name = ostrana::Utf8ToAnsi(TypeNameUtf8(kind));
    // Names chosen by a server can make every kind new; the cache stays small regardless.
    if (names.size() < kTypeNameCacheLimit) names.emplace(kind, name);
    return name;
}

void CopyTypeName(const std::string& name, SHFILEINFOA& info) {
    std::size_t length = std::min(name.size(), sizeof info.szTypeName - 1);
    std::memcpy(info.szTypeName, name.data(), length);
    info.szTypeName[length] = '\0';
}

} // namespace

namespace {

void CopyDisplayName(const std::string& name, SHFILEINFOA& info) {
    std::size_t length = std::min(name.size(), sizeof info.szDisplayName - 1);
    std::memcpy(info.szDisplayName, name.data(), length);
    info.szDisplayName[length] = '\0';
}

DWORD_PTR Answer(UINT flags, bool filled) {
    if ((flags & SHGFI_SYSICONINDEX) != 0) {
        return reinterpret_cast<DWORD_PTR>(ostrana::SystemImageList((flags & SHGFI_SMALLICON) != 0));
    }
    return filled ? 1 : 0;
}

constexpr UINT kPlaceFlags = SHGFI_DISPLAYNAME | SHGFI_ATTRIBUTES;

// An item of the namespace, by id list, or by path when names or attributes are asked for.
DWORD_PTR PlaceInfo(const ostrana::shellns::Place& place, SHFILEINFOA* info, bool filled, UINT flags) {
    using namespace ostrana::shellns;
    if (!filled) {
        return (flags & SHGFI_SYSICONINDEX) != 0 ? Answer(flags, false) : 0;
    }
    if ((flags & SHGFI_DISPLAYNAME) != 0) {
        CopyDisplayName(PlaceDisplayName(place, SHGDN_NORMAL, ShowExtensionsNow()), *info);
    }
    if ((flags & SHGFI_ATTRIBUTES) != 0) {
        SFGAOF asked = (flags & SHGFI_ATTR_SPECIFIED) != 0 ? info->dwAttributes : ~static_cast<SFGAOF>(SFGAO_VALIDATE);
        info->dwAttributes = PlaceAttributes(place, asked).value_or(0);
    }
    if ((flags & SHGFI_TYPENAME) != 0) {
        CopyTypeName(PlaceTypeName(place), *info);
    }
    if ((flags & SHGFI_SYSICONINDEX) != 0) {
        info->iIcon = IndexOfType(PlaceIconKind(place, (flags & SHGFI_OPENICON) != 0));
    }
    return Answer(flags, true);
}

std::optional<ostrana::shellns::Place> ParsedPlace(LPCSTR path) {
    IShellFolder* desktop = nullptr;
    if (FAILED(SHGetDesktopFolder(&desktop))) {
        return std::nullopt;
    }
    std::u16string wide = ostrana::ToWide(path);
    LPITEMIDLIST list = nullptr;
    HRESULT parsed = desktop->ParseDisplayName(nullptr, nullptr, wide.data(), nullptr, &list, nullptr);
    desktop->Release();
    if (FAILED(parsed)) {
        return std::nullopt;
    }
    std::optional<ostrana::shellns::Place> place = ostrana::shellns::ResolvePlace(list);
    ILFree(list);
    return place;
}

} // namespace

DWORD_PTR SHGetFileInfoA(LPCSTR path, DWORD attributes, SHFILEINFOA* info, UINT size, UINT flags) {
    bool filled = info != nullptr && size >= sizeof(SHFILEINFOA);
    if (path == nullptr) {
        return 0;
    }
    if ((flags & SHGFI_PIDL) != 0) {
        std::optional<ostrana::shellns::Place> place =
            ostrana::shellns::ResolvePlace(reinterpret_cast<PCIDLIST_ABSOLUTE>(path));
        return place ? PlaceInfo(*place, info, filled, flags) : 0;
    }
    if ((flags & kPlaceFlags) != 0 && (flags & SHGFI_USEFILEATTRIBUTES) == 0) {
        std::optional<ostrana::shellns::Place> place = ParsedPlace(path);
        return place ? PlaceInfo(*place, info, filled, flags) : 0;
    }
    if ((flags & (SHGFI_SYSICONINDEX | SHGFI_TYPENAME | kPlaceFlags)) == 0) {
        return 0;
    }
    std::string kind = TypeOf(path, attributes, flags);
    if (kind == "folder" && (flags & SHGFI_OPENICON) != 0) {
        kind = "openfolder";
    }
    if (filled && (flags & SHGFI_DISPLAYNAME) != 0) {
        std::string text = path;
        while (!text.empty() && IsSeparator(text.back())) {
            text.pop_back();
        }
        std::size_t slash = text.find_last_of("\\/");
        CopyDisplayName(slash == std::string::npos ? text : text.substr(slash + 1), *info);
    }
    if (filled && (flags & SHGFI_ATTRIBUTES) != 0) {
        info->dwAttributes = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? SFGAO_FOLDER | SFGAO_FILESYSTEM : SFGAO_FILESYSTEM;
    }
    if (filled && (flags & SHGFI_TYPENAME) != 0) {
        CopyTypeName(TypeNameOf(kind == "openfolder" ? "folder" : kind), *info);
    }
    if ((flags & SHGFI_SYSICONINDEX) == 0) {
        return filled ? 1 : 0;
    }
    if (filled) {
        info->iIcon = IndexOfType(kind);
    }
    return Answer(flags, filled);
}
