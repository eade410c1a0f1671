// Conversions between the wire's UTF-8 and the ANSI code page in which the client holds its texts.
// Both are unbounded: a request or reply is never cut, whatever its length.
#pragma once

#include <string>
#include <string_view>

// UTF-8 bytes -> ANSI code page; characters the code page cannot hold become "?".
std::string Utf8ToLocal(std::string_view utf8);
// ANSI code page -> UTF-8 bytes.
std::string LocalToUtf8(std::string_view local);
// True when the text holds a carriage return or a line feed, which no inserted text may carry.
bool HasLineBreak(std::string_view text);
