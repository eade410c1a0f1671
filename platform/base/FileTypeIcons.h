// The icons the shell shows for kinds of files: a table the application registers, naming for each
// kind the image drawn for it. Kinds are "folder", "drive", "file" (anything not listed) and
// extensions with their dot (".txt"), compared without case, and the namespace's "openfolder",
// "computer", "desktop", "internet", "overlay shared" and "overlay shortcut". Without a table, or
// for a kind the table leaves out, the platform's own images stand: "system folder", "system
// drive", "system computer", ..., "system file"; an open folder left out looks like "folder".
#pragma once

#include <span>
#include <string>

namespace ostrana {

struct FileTypeIcon {
    const char* kind;
    const char* image; // an image description ("icon filetype_text")
};

// Replaces the table; the entries must live as long as the process (a constant table does).
void RegisterFileTypeIcons(std::span<const FileTypeIcon> table);
// The image for a kind, by the rules above.
std::string FileTypeIconImage(const std::string& kind);

} // namespace ostrana
