#include "platform/shell/ShellItem.h"

#include <cstdlib>
#include <cstring>

#include "platform/base/CodePage.h"
#include "platform/base/LocalPath.h"
#include "platform/shell/ShellMalloc.h"

namespace ostrana::shellns {
namespace {

USHORT ReadSize(const BYTE* at) {
    USHORT size;
    std::memcpy(&size, at, sizeof size);
    return size;
}

bool IsKnownKind(char kind) {
    switch (static_cast<ItemKind>(kind)) {
    case ItemKind::Home:
    case ItemKind::Computer:
    case ItemKind::Internet:
    case ItemKind::Drive:
    case ItemKind::Folder:
    case ItemKind::File:
        return true;
    }
    return false;
}

// One item at `at`; `size` is its size field.
std::optional<ItemView> DecodeView(const BYTE* at, USHORT size) {
    // size field, kind, terminating NUL of the name
    if (size < sizeof(USHORT) + 2) {
        return std::nullopt;
    }
    const char* data = reinterpret_cast<const char*>(at + sizeof(USHORT));
    std::size_t dataSize = size - sizeof(USHORT);
    if (!IsKnownKind(data[0]) || data[dataSize - 1] != '\0') {
        return std::nullopt;
    }
    std::string_view name(data + 1, dataSize - 2);
    if (name.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    return ItemView{static_cast<ItemKind>(data[0]), name};
}

std::optional<ItemRef> DecodeItem(const BYTE* at, USHORT size) {
    std::optional<ItemView> view = DecodeView(at, size);
    if (!view) {
        return std::nullopt;
    }
    return ItemRef{view->kind, std::string(view->name)};
}

std::string JoinHost(const std::string& folder, const std::string& name) {
    return folder.ends_with('/') ? folder + name : folder + "/" + name;
}

std::string JoinLocal(const std::string& folder, const std::string& ansiName) {
    return folder.ends_with('\\') ? folder + ansiName : folder + "\\" + ansiName;
}

std::optional<std::string> HomeHostPath() {
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home != '/') {
        return std::nullopt;
    }
    std::string path = home;
    while (path.size() > 1 && path.ends_with('/')) {
        path.pop_back();
    }
    return path;
}

std::string LastHostName(const std::string& hostPath) {
    std::size_t slash = hostPath.find_last_of('/');
    std::string name = slash == std::string::npos ? hostPath : hostPath.substr(slash + 1);
    return name.empty() ? "/" : name;
}

std::optional<Place> HomePlace(const std::string& name) {
    std::optional<std::string> host = HomeHostPath();
    if (!host || LastHostName(*host) != name) {
        return std::nullopt;
    }
    Place place;
    place.kind = PlaceKind::Directory;
    place.name = name;
    place.hostPath = *host;
    place.localPath = HostToLocalPath(*host);
    place.home = true;
    place.lossy = LocalToHostPath(place.localPath) != host;
    return place;
}

std::optional<Place> DrivePlace(const std::string& letter) {
    if (letter.size() != 1) {
        return std::nullopt;
    }
    for (const DriveMapping& drive : MappedDrives()) {
        if (drive.letter == letter[0]) {
            Place place;
            place.kind = PlaceKind::Directory;
            place.name = letter;
            place.hostPath = drive.root;
            place.localPath = std::string(1, drive.letter) + ":\\";
            place.drive = drive.letter;
            return place;
        }
    }
    return std::nullopt;
}

} // namespace

LPITEMIDLIST MakeIdList(const std::vector<ItemRef>& items) {
    std::size_t total = sizeof(USHORT);
    for (const ItemRef& item : items) {
        std::size_t itemSize = sizeof(USHORT) + 1 + item.name.size() + 1;
        if (itemSize > 0xFFFF) {
            return nullptr;
        }
        total += itemSize;
    }
    auto* bytes = static_cast<BYTE*>(CoTaskMemAlloc(total));
    if (bytes == nullptr) {
        return nullptr;
    }
    BYTE* at = bytes;
    for (const ItemRef& item : items) {
        auto size = static_cast<USHORT>(sizeof(USHORT) + 1 + item.name.size() + 1);
        std::memcpy(at, &size, sizeof size);
        at[sizeof(USHORT)] = static_cast<BYTE>(item.kind);
        std::memcpy(at + sizeof(USHORT) + 1, item.name.data(), item.name.size());
        at[size - 1] = 0;
        at += size;
    }
    std::memset(at, 0, sizeof(USHORT));
    return reinterpret_cast<LPITEMIDLIST>(bytes);
}

LPITEMIDLIST MakeItemId(const ItemRef& item) { return MakeIdList({item}); }

namespace {

struct FirstItemBytes {
    const BYTE* at;
    USHORT size;
};

// The first item of a list; nothing for a missing or empty list.
std::optional<FirstItemBytes> FirstItem(LPCITEMIDLIST list) {
    if (list == nullptr) {
        return std::nullopt;
    }
    const auto* at = reinterpret_cast<const BYTE*>(list);
    USHORT size = ReadSize(at);
    if (size == 0) {
        return std::nullopt;
    }
    return FirstItemBytes{at, size};
}

} // namespace

std::optional<ItemView> ViewItem(LPCITEMIDLIST list) {
    auto first = FirstItem(list);
    return first ? DecodeView(first->at, first->size) : std::nullopt;
}

std::optional<ItemRef> ReadItem(LPCITEMIDLIST list) {
    auto first = FirstItem(list);
    return first ? DecodeItem(first->at, first->size) : std::nullopt;
}

std::optional<std::vector<ItemRef>> ReadItems(LPCITEMIDLIST list) {
    std::vector<ItemRef> items;
    if (list == nullptr) {
        return items;
    }
    const auto* at = reinterpret_cast<const BYTE*>(list);
    for (USHORT size = ReadSize(at); size != 0; size = ReadSize(at)) {
        std::optional<ItemRef> item = DecodeItem(at, size);
        if (!item) {
            return std::nullopt;
        }
        items.push_back(std::move(*item));
        at += size;
    }
    return items;
}

Place PlaceOfKind(PlaceKind kind) {
    Place place;
    place.kind = kind;
    return place;
}

std::optional<ItemRef> HomeItem() {
    std::optional<std::string> host = HomeHostPath();
    if (!host) {
        return std::nullopt;
    }
    return ItemRef{ItemKind::Home, LastHostName(*host)};
}

bool IsPlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\") == std::string::npos;
}

std::optional<Place> ChildPlace(const Place& parent, const ItemRef& item) {
    switch (parent.kind) {
    case PlaceKind::Desktop:
        if (item.kind == ItemKind::Home) {
            return HomePlace(item.name);
        }
        if (item.kind == ItemKind::Computer && item.name.empty()) {
            return PlaceOfKind(PlaceKind::Computer);
        }
        if (item.kind == ItemKind::Internet && item.name.empty()) {
            return PlaceOfKind(PlaceKind::Internet);
        }
        return std::nullopt;
    case PlaceKind::Computer:
        return item.kind == ItemKind::Drive ? DrivePlace(item.name) : std::nullopt;
    case PlaceKind::Directory: {
        if ((item.kind != ItemKind::Folder && item.kind != ItemKind::File) || !IsPlainName(item.name)) {
            return std::nullopt;
        }
        Place place;
        place.kind = item.kind == ItemKind::Folder ? PlaceKind::Directory : PlaceKind::File;
        place.name = item.name;
        std::string ansi = Utf8ToAnsi(item.name);
        place.hostPath = JoinHost(parent.hostPath, item.name);
        place.localPath = JoinLocal(parent.localPath, ansi);
        place.lossy = parent.lossy || AnsiToUtf8(ansi) != item.name;
        return place;
    }
    case PlaceKind::Internet:
    case PlaceKind::File:
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<Place> ResolveFrom(const Place& folder, LPCITEMIDLIST relative) {
    std::optional<std::vector<ItemRef>> items = ReadItems(relative);
    if (!items) {
        return std::nullopt;
    }
    std::optional<Place> place = folder;
    for (const ItemRef& item : *items) {
        place = ChildPlace(*place, item);
        if (!place) {
            return std::nullopt;
        }
    }
    return place;
}

std::optional<Place> ResolvePlace(LPCITEMIDLIST absolute) { return ResolveFrom(Place{}, absolute); }

} // namespace ostrana::shellns
