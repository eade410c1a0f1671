// Locale comparison of ANSI texts. Texts are compared by their UTF-16 code points after the
// foldings the flags ask for, so digits come before Latin letters and Latin before Hangul, and
// Hangul syllables sort in their alphabetical order whatever their code-page bytes.
#pragma once

#include "platform/base/WinTypes.h"

#define NORM_IGNORECASE 0x00000001
#define NORM_IGNORENONSPACE 0x00000002
#define NORM_IGNORESYMBOLS 0x00000004
#define NORM_IGNOREKANATYPE 0x00010000
#define NORM_IGNOREWIDTH 0x00020000

#define CSTR_LESS_THAN 1
#define CSTR_EQUAL 2
#define CSTR_GREATER_THAN 3

// A length of -1 means up to the terminating zero. Answers CSTR_LESS_THAN, CSTR_EQUAL or
// CSTR_GREATER_THAN; 0 (ERROR_INVALID_PARAMETER) for a null text.
int CompareStringA(LCID locale, DWORD flags, LPCSTR first, int firstLength, LPCSTR second, int secondLength);
