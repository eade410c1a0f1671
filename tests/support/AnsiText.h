// Tests write their texts in UTF-8; windows, the shell and the service's listings hold the ANSI
// code page.
#pragma once

#include <string>

#include "platform/base/CodePage.h"

namespace ostrana::test {

inline std::string Ansi(const std::string& utf8) { return Utf8ToAnsi(utf8); }
inline std::string Utf8(const std::string& ansi) { return AnsiToUtf8(ansi); }

} // namespace ostrana::test
