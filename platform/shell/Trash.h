// The user's trash as freedesktop.org lays it out: the item under files/, and under info/ a
// .trashinfo record of the same name with its original path and the time it was deleted.
#pragma once

#include <filesystem>
#include <string>

#include "platform/base/WinTypes.h"

namespace ostrana {

// $XDG_DATA_HOME/Trash, else $HOME/.local/share/Trash; empty when neither is an absolute path.
std::filesystem::path UserTrashFolder();

// Moves the entry at `hostPath` into the trash; 0 or a Windows error code. A name already in the
// trash makes the new one "name.2", "name.3", ...
DWORD MoveToTrash(const std::filesystem::path& hostPath);

// The Path= value of a record: the absolute path with every byte outside the unreserved set and
// "/" written as %XX.
std::string TrashInfoPath(const std::string& hostPath);

} // namespace ostrana
