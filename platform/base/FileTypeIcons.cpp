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
    bool known = kind == "folder" || kind == "drive";
    if (!known && kind != "file") {
        if (const char* image = Lookup(table, "file")) return image;
    }
    return known ? "system " + kind : "system file";
}

} // namespace ostrana
