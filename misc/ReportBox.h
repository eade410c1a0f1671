// Throwing the program's error from the string table, and showing warnings in the report box.
// Texts come from the string table by id with printf-style arguments, in the ANSI code page.
#pragma once

#include <string>

#include "misc/ExceptionEx.h"

#define OSTRANA_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))

// String `id` of the module as it stands, unformatted; an empty text when it is missing.
std::string LoadResourceString(UINT id);
// Loads string `id` (an empty text when it is missing) and formats it with the arguments.
std::string LoadAndFormat(UINT id, ...);
// Throws CExceptionEx with LoadAndFormat's text.
[[noreturn]] void ThrowExceptionEx(UINT id, ...);
// MessageBoxA owned by the focus window with the caption "Quorel Report" (plus the suffix).
int ReportBox(const char* text, UINT type, const char* captionSuffix = nullptr);
// Loads, formats and shows in the report box as an exclamation that stays on top.
int WarnById(UINT id, ...);
int WarnByFormat(const char* format, ...) OSTRANA_PRINTF(1, 2);
