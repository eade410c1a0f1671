// The transfer engine's user-visible texts: string-table entries in the ANSI code page, formatted
// printf-style, and the size text of the overwrite prompt.
#pragma once

#include <string>

#include "platform/base/WinTypes.h"

// String-table id -> text; empty when the id is missing.
std::string LoadText(UINT id);
// printf-style formatting of a text loaded from the string table.
std::string FormatText(UINT id, ...);
// "999 Byte", "1 KByte", "1,024 KByte": bytes below 1000 as they are, else kilobytes rounded up.
std::string FormatFileSize(ULONGLONG size);
