// Code-page conversion between the ANSI code page, UTF-8 and UTF-16, as the "A" functions do it.
// The ANSI code page is 949 unless OSTRANA_ACP names another (65001 for UTF-8); it is read once.
// Characters the target code page cannot hold become "?" (U+FFFD when decoding broken input).
#pragma once

#include <string>
#include <string_view>

#include "platform/base/WinTypes.h"

#define CP_ACP 0
#define CP_OEMCP 1
#define CP_UTF8 65001
#define CP_UTF16LE 1200

#define MB_PRECOMPOSED 0x00000001
#define MB_ERR_INVALID_CHARS 0x00000008
#define WC_NO_BEST_FIT_CHARS 0x00000400

UINT GetACP();

// Windows contract: cbMultiByte / cchWideChar of -1 means "NUL-terminated, terminator included";
// a zero output size asks for the size needed. Returns 0 on failure (see GetLastError).
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR multiByte, int cbMultiByte, LPWSTR wideChar,
                        int cchWideChar);
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wideChar, int cchWideChar, LPSTR multiByte,
                        int cbMultiByte, LPCSTR defaultChar, LPBOOL usedDefaultChar);

namespace ostrana {

// Whole-string conveniences over the two functions above.
std::u16string ToWide(std::string_view text, UINT codePage = CP_ACP);
std::string FromWide(std::u16string_view text, UINT codePage = CP_ACP);

// ANSI code page <-> UTF-8 (the OS's encoding for file names and terminal text).
std::string AnsiToUtf8(std::string_view ansi);
std::string Utf8ToAnsi(std::string_view utf8);

// Length of the longest prefix of `bytes` that ends on a whole UTF-8 character.
std::size_t CompleteUtf8Prefix(std::string_view bytes);

} // namespace ostrana
