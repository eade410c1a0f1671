// Path syntax checks. Every rule here rejects; nothing is repaired, so a path that passes is used
// exactly as sent.
#include "service/ProtocolPath.h"

namespace ostrana::service {

bool IsValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        char32_t value = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            value = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            value = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            value = lead & 0x07;
        } else {
            return false;
        }
        if (i + length > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            value = (value << 6) | (next & 0x3F);
        }
        const bool overlong = (length == 2 && value < 0x80) || (length == 3 && value < 0x800) ||
                              (length == 4 && value < 0x10000);
        if (overlong || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
            return false;
        }
        i += length;
    }
    return true;
}

namespace {

PathError CheckCharacters(std::string_view text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            return PathError::ControlCharacter;
        }
        if (c == '\\') {
            return PathError::Backslash;
        }
        if (c == '"') {
            return PathError::Quote;
        }
    }
    return IsValidUtf8(text) ? PathError::None : PathError::BadEncoding;
}

} // namespace

PathError CheckName(std::string_view name) {
    if (name.empty()) {
        return PathError::EmptySegment;
    }
    if (name.size() > kMaxNameBytes) {
        return PathError::NameTooLong;
    }
    if (name.find('/') != std::string_view::npos) {
        return PathError::Denied;
    }
    if (name == "." || name == "..") {
        return PathError::DotSegment;
    }
    return CheckCharacters(name);
}

PathError ParseProtocolPath(std::string_view text, ProtocolPath& out) {
    out = ProtocolPath{};
    if (text.empty()) {
        return PathError::Empty;
    }
    if (text.size() > kMaxPathBytes) {
        return PathError::TooLong;
    }
    if (text.front() == '/') {
        return PathError::Absolute;
    }
    if (const PathError error = CheckCharacters(text); error != PathError::None) {
        return error;
    }
    // A drive letter is an absolute path to a Windows peer; refuse it as such.
    if (text.size() >= 2 && text[1] == ':') {
        return PathError::Absolute;
    }
    if (text.back() == '/') {
        text.remove_suffix(1);
    }
    std::vector<std::string> segments;
    std::size_t start = 0;
    while (true) {
        const std::size_t slash = text.find('/', start);
        const std::string_view segment =
            text.substr(start, slash == std::string_view::npos ? std::string_view::npos : slash - start);
        if (const PathError error = CheckName(segment); error != PathError::None) {
            return error;
        }
        segments.emplace_back(segment);
        if (slash == std::string_view::npos) {
            break;
        }
        start = slash + 1;
    }
    out.area = std::move(segments.front());
    out.names.assign(std::make_move_iterator(segments.begin() + 1), std::make_move_iterator(segments.end()));
    return PathError::None;
}

const char* DescribePathError(PathError error) {
    switch (error) {
    case PathError::None: return "ok";
    case PathError::Empty: return "empty path";
    case PathError::TooLong: return "path too long";
    case PathError::Absolute: return "absolute path";
    case PathError::Backslash: return "backslash in path";
    case PathError::ControlCharacter: return "control character in path";
    case PathError::Quote: return "quote in path";
    case PathError::BadEncoding: return "path is not UTF-8";
    case PathError::DotSegment: return "dot segment in path";
    case PathError::EmptySegment: return "empty segment in path";
    case PathError::NameTooLong: return "name too long";
    case PathError::UnknownArea: return "unknown area";
    case PathError::Denied: return "access denied";
    }
    return "bad path";
}

} // namespace ostrana::service
