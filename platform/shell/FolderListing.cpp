#include "platform/shell/FolderListing.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <memory>

#include "platform/base/LastError.h"
#include "platform/base/LocalPath.h"
#include "platform/shell/ShellItemInfo.h"

namespace ostrana::shellns {
namespace {

void ListDesktop(SHCONTF flags, std::vector<ItemRef>& items) {
    if ((flags & SHCONTF_FOLDERS) == 0) {
        return;
    }
    if (std::optional<ItemRef> home = HomeItem()) {
        std::optional<Place> place = ChildPlace(Place{}, *home);
        std::optional<EntryStat> stat = place ? StatHostPath(place->hostPath) : std::nullopt;
        if (stat && stat->directory) {
            items.push_back(std::move(*home));
        }
    }
    items.push_back({ItemKind::Computer, ""});
    items.push_back({ItemKind::Internet, ""});
}

void ListComputer(SHCONTF flags, std::vector<ItemRef>& items) {
    if ((flags & SHCONTF_FOLDERS) == 0) {
        return;
    }
    for (const DriveMapping& drive : MappedDrives()) {
        items.push_back({ItemKind::Drive, std::string(1, drive.letter)});
    }
}

bool EntryIsFolder(const std::string& folder, const dirent& entry) {
    if (entry.d_type == DT_DIR) {
        return true;
    }
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) {
        return false;
    }
    struct stat target {};
    std::string path = folder.ends_with('/') ? folder + entry.d_name : folder + "/" + entry.d_name;
    return ::stat(path.c_str(), &target) == 0 && S_ISDIR(target.st_mode);
}

HRESULT ListDirectory(const std::string& hostPath, SHCONTF flags, std::vector<ItemRef>& items) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(hostPath.c_str()), ::closedir);
    if (!dir) {
        return HRESULT_FROM_WIN32(ErrorFromErrno(errno));
    }
    bool folders = (flags & SHCONTF_FOLDERS) != 0;
    bool files = (flags & SHCONTF_NONFOLDERS) != 0;
    bool hidden = (flags & SHCONTF_INCLUDEHIDDEN) != 0;
    while (const dirent* entry = ::readdir(dir.get())) {
        std::string name = entry->d_name;
        // A backslash in a name cannot be written in a local path, so such entries are not offered.
        if (!IsPlainName(name) || (!hidden && name.starts_with('.'))) {
            continue;
        }
        bool folder = EntryIsFolder(hostPath, *entry);
        if (folder ? folders : files) {
            items.push_back({folder ? ItemKind::Folder : ItemKind::File, std::move(name)});
        }
    }
    return S_OK;
}

} // namespace

HRESULT ListChildren(const Place& place, SHCONTF flags, std::vector<ItemRef>& items) {
    switch (place.kind) {
    case PlaceKind::Desktop:
        ListDesktop(flags, items);
        return S_OK;
    case PlaceKind::Computer:
        ListComputer(flags, items);
        return S_OK;
    case PlaceKind::Directory:
        return ListDirectory(place.hostPath, flags, items);
    case PlaceKind::Internet:
    case PlaceKind::File:
        return S_OK;
    }
    return S_OK;
}

} // namespace ostrana::shellns
