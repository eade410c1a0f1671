// Escapes for server text shown on a terminal.
#include "cli/TerminalText.h"

#include <cstdio>

std::string TerminalSafeText(const std::string& utf8) {
    std::string shown;
    shown.reserve(utf8.size());
    for (char c : utf8) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            char escape[5];
            std::snprintf(escape, sizeof(escape), "\\x%02X", byte);
            shown += escape;
        } else {
            shown += c;
        }
    }
    return shown;
}
