// The names and path buffers of the local list's own file operations: the next new folder name,
// the target of a rename, the buffer of a delete. Each keeps the operation inside the folder the
// list shows: a typed name cannot reach another folder, a path elsewhere is refused.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct LocalRowKind {
    std::string name;
    std::string typeName;
};

// base, or base and the count of folders whose name begins with it ("새폴더", "새폴더1", ...).
std::string NextNewFolderName(const std::vector<LocalRowKind>& rows, const std::string& base,
                              const std::string& folderTypeName);
// The new path for a row renamed to `typed`. With extensions hidden the old extension is kept.
// Nothing when the typed text is empty, names a folder step ("." or "..") or holds a separator.
std::optional<std::string> RenameTarget(const std::string& oldPath, const std::string& typed, bool showExtensions);
// The paths one after another, each NUL-terminated, with a closing NUL; nothing when any path is
// not directly inside `shownFolder` or is longer than a path may be.
std::optional<std::string> DeleteBuffer(const std::string& shownFolder, const std::vector<std::string>& paths);
// Dropped names from the server pane are server paths; local paths never hold a "/".
bool IsServerDropName(const std::string& firstName);
// The text cut at its last "." (a leading dot stays: ".profile" has no extension).
std::string WithoutExtension(const std::string& name);
