// What an item id of the namespace stands for. An item is [size][kind][name][NUL]: the kind says
// home folder, "내 컴퓨터", Internet folder, drive, folder or file, the name is the entry's host
// (UTF-8) file name or the drive letter. Nothing else goes into an id, so ids of the same entry
// made by enumeration and by parsing are byte for byte equal.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/shell/ItemIdList.h"

namespace ostrana::shellns {

enum class ItemKind : char { Home = 'H', Computer = 'C', Internet = 'I', Drive = 'D', Folder = 'F', File = 'f' };

struct ItemRef {
    ItemKind kind;
    std::string name;
};

// A one-item list from the shell allocator.
LPITEMIDLIST MakeItemId(const ItemRef& item);
// A list of the items in order.
LPITEMIDLIST MakeIdList(const std::vector<ItemRef>& items);
// The first item of a list; nothing when it is the terminator or malformed.
std::optional<ItemRef> ReadItem(LPCITEMIDLIST list);
// The first item's kind and name, pointing into the list; for comparisons, which must not allocate.
struct ItemView {
    ItemKind kind;
    std::string_view name;
};
std::optional<ItemView> ViewItem(LPCITEMIDLIST list);
// Every item; nothing when any is malformed.
std::optional<std::vector<ItemRef>> ReadItems(LPCITEMIDLIST list);

enum class PlaceKind { Desktop, Computer, Internet, Directory, File };

// A node of the namespace reached from the Desktop.
struct Place {
    PlaceKind kind = PlaceKind::Desktop;
    std::string name; // own name (UTF-8): entry name, home folder name, drive letter
    std::string hostPath; // directories and files
    std::string localPath; // ANSI, "C:\home\ana"; directories and files
    char drive = 0; // set for a drive root
    bool home = false; // the home folder under the Desktop
    // Some name on the way has characters the ANSI code page cannot hold, so localPath does not
    // lead back here and must not be handed to anything that acts on files.
    bool lossy = false;

    bool HasPath() const { return kind == PlaceKind::Directory || kind == PlaceKind::File; }
    // A local path that names this very entry.
    bool HasExactPath() const { return HasPath() && !lossy; }
};

// The home folder's item under the Desktop; nothing without a home folder (HOME absolute).
std::optional<ItemRef> HomeItem();

// A place with only its kind set (the Desktop, "내 컴퓨터", the Internet folder).
Place PlaceOfKind(PlaceKind kind);

// A file name that stays inside its folder: not empty, no separator of either kind, not a folder step.
bool IsPlainName(const std::string& name);

// The child `item` of `parent`; nothing when that kind of item cannot stand there, the name is not
// plain, or the drive is not mapped. The file system is not consulted.
std::optional<Place> ChildPlace(const Place& parent, const ItemRef& item);
// The place of an absolute list (empty list: the Desktop).
std::optional<Place> ResolvePlace(LPCITEMIDLIST absolute);
// The place a child list leads to from `folder`.
std::optional<Place> ResolveFrom(const Place& folder, LPCITEMIDLIST relative);

} // namespace ostrana::shellns
