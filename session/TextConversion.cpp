// Thin wrappers over the platform's code-page conversion, named as the session's callers know them.
#include "session/TextConversion.h"

#include "platform/base/CodePage.h"

std::string Utf8ToLocal(std::string_view utf8) { return ostrana::Utf8ToAnsi(utf8); }

std::string LocalToUtf8(std::string_view local) { return ostrana::AnsiToUtf8(local); }

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }
