// Text from the server on its way to a terminal: a name may hold any byte the server likes, and
// an escape sequence in it would drive the user's terminal, so control characters are shown as
// visible escapes instead.
#pragma once

#include <string>

// Control characters (0x00-0x1F and 0x7F) become "\xNN"; every other byte (UTF-8 included) is
// kept, so ordinary names look as they are.
std::string TerminalSafeText(const std::string& utf8);
