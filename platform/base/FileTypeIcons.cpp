#include "platform/base/FileTypeIcons.h"

#include <mutex>
#include <strings.h>

namespace ostrana {
namespace {

struct Registered {
    std::mutex lock;
    std::span<const FileTypeIcon> table;
};

Registered& TheTable() {
    static Registered registered;
    return registered;
}

const char* Lookup(std::span<const FileTypeIcon> table, const std::string& kind) {
    for (const FileTypeIcon& entry : table) {
        if (entry.kind != nullptr && entry.image != nullptr && ::strcasecmp(entry.kind, kind.c_str()) == 0) return entry.image;
    }
    return nullptr;
}

// The namespace's own places and the overlays, which have platform images of their own.
bool IsShellKind(const std::string& kind) {
    static const char* const kKinds[] = {"openfolder", "computer", "desktop", "internet", "overlay shared",
                                         "overlay shortcut"};
    for (const char* known : kKinds) {
        if (kind == known) return true;
    }
    return false;
}

} // namespace

void RegisterFileTypeIcons(std::span<const FileTypeIcon> table) {
    std::lock_guard guard(TheTable().lock);
    TheTable().table = table;
}

std::string FileTypeIconImage(const std::string& kind) {
    std::span<const FileTypeIcon> table;
    {
        std::lock_guard guard(TheTable().lock);
        table = TheTable().table;
    }
    if (const char* image = Lookup(table, kind)) return image;
    // An open folder the table leaves out looks like its closed folder.
    if (kind == "openfolder") {
        if (const char* image = Lookup(table, "folder")) return image;
    }
    bool known = kind == "folder" || kind == "drive" || IsShellKind(kind);
    if (!known && kind != "file") {
        if (const char* image = Lookup(table, "file")) return image;
    }
    return known ? "system " + kind : "system file";
}

} // namespace ostrana
