// Local paths are Windows paths in the ANSI code page. Drive C: is the POSIX root; more drives
// come from OSTRANA_DRIVES="D=/mnt/data;E=/media/usb". Doubled backslashes are accepted.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ostrana {

struct DriveMapping {
    char letter; // upper case
    std::string root; // POSIX folder, UTF-8, no trailing slash except for "/"
};

// C: first, then the drives of OSTRANA_DRIVES in the order given (read on each call).
std::vector<DriveMapping> MappedDrives();

// "C:\home\ana\a.txt" -> "/home/ana/a.txt" (UTF-8). A path without a drive is taken relative to
// the current folder with its separators turned. Empty when the drive is not mapped.
std::optional<std::string> LocalToHostPath(std::string_view localPath);

// A display text (UTF-8) with every local path in it written as this machine's path, for
// programs that talk to a terminal: "(C:\tmp\work\)" -> "(/tmp/work/)". A path starts with a
// mapped drive and ends at a closing bracket, a quote or the end of the line.
std::string HostPathsInText(std::string_view text);

// "/home/ana/a.txt" -> "C:\home\ana\a.txt" (ANSI code page); the mapped drive with the longest
// matching root wins. Relative host paths are made absolute first.
std::string HostToLocalPath(std::string_view hostPath);

} // namespace ostrana
