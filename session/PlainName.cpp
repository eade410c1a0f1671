// Bytes are judged one at a time: in the ANSI code page no trail byte of a double-byte character
// equals "/", "\" or a control character, so a Korean name is never refused for its bytes.
#include "session/PlainName.h"

#include <cctype>

namespace {

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

bool StartsWithDrive(std::string_view name) {
    return name.size() >= 2 && name[1] == ':' && std::isalpha(static_cast<unsigned char>(name[0]));
}

} // namespace

bool IsPlainName(std::string_view name) {
    if (name.empty() || name == "." || name == ".." || StartsWithDrive(name)) {
        return false;
    }
    for (char c : name) {
        if (c == '/' || c == '\\' || IsControl(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    return true;
}

bool LiesUnderFolder(std::string_view path, std::string_view folder) {
    if (folder.empty() || !path.starts_with(folder)) {
        return false;
    }
    std::string_view rest = path.substr(folder.size());
    if (folder.back() != '\\' && !rest.empty() && rest.front() != '\\') {
        return false;
    }
    while (!rest.empty()) {
        std::size_t cut = rest.find('\\');
        std::string_view component = rest.substr(0, cut);
        if (!component.empty() && !IsPlainName(component)) {
            return false;
        }
        if (component.empty() && cut == std::string_view::npos) {
            break;
        }
        rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
    }
    return true;
}
