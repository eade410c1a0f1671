// Syntax of a storage path as it arrives from the network. A valid path is relative, "/"-separated,
// valid UTF-8, and holds no ".", ".." or empty segment, no backslash, quote, NUL or control character.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ostrana::service {

enum class PathError {
    None,
    Empty,
    TooLong,
    Absolute,
    Backslash,
    ControlCharacter,
    Quote,
    BadEncoding,
    DotSegment,
    EmptySegment,
    NameTooLong,
    UnknownArea,
    Denied,
};

// The first segment names the area ("myfolder", "html", "@club"...); the rest are names below it.
struct ProtocolPath {
    std::string area;
    std::vector<std::string> names;
};

inline constexpr std::size_t kMaxPathBytes = 4096;
inline constexpr std::size_t kMaxNameBytes = 255;

// Fills `out` and returns PathError::None, or returns why the text is not a usable path.
// One trailing "/" is allowed: folder paths are sent that way.
PathError ParseProtocolPath(std::string_view text, ProtocolPath& out);

// One segment: what a file or folder name must satisfy to be created or renamed to.
PathError CheckName(std::string_view name);

bool IsValidUtf8(std::string_view text);

// A short English reason for ".ERR" replies and the log.
const char* DescribePathError(PathError error);

} // namespace ostrana::service
