// The integer, text and handle types that code written for the platform's dialect expects.
// Handles are opaque pointers; every table behind them checks a generation number.
#pragma once

#include <cstddef>
#include <cstdint>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using INT = int;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using LONGLONG = std::int64_t;
using ULONGLONG = std::uint64_t;
using DWORD64 = std::uint64_t;
using SHORT = short;
using USHORT = unsigned short;
using BOOL = int;
using BOOLEAN = BYTE;
using CHAR = char;
using UCHAR = unsigned char;
using WCHAR = char16_t;
using LPSTR = char*;
using LPCSTR = const char*;
using LPWSTR = WCHAR*;
using LPCWSTR = const WCHAR*;
using LPVOID = void*;
using LPCVOID = const void*;
using LPBYTE = BYTE*;
using LPDWORD = DWORD*;
using PUINT = UINT*;
using LPINT = int*;
using LPBOOL = BOOL*;
using UINT_PTR = std::uintptr_t;
using INT_PTR = std::intptr_t;
using LONG_PTR = std::intptr_t;
using ULONG_PTR = std::uintptr_t;
using DWORD_PTR = std::uintptr_t;
using PDWORD_PTR = DWORD_PTR*;
using SIZE_T = std::size_t;
using WPARAM = UINT_PTR;
using LPARAM = LONG_PTR;
using LRESULT = LONG_PTR;
using COLORREF = DWORD;
using ATOM = WORD;
using LCID = DWORD;
using LCTYPE = DWORD;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

using HANDLE = void*;
#define DECLARE_OSTRANA_HANDLE(name) \
    struct name##__;                 \
    using name = name##__*
DECLARE_OSTRANA_HANDLE(HWND);
DECLARE_OSTRANA_HANDLE(HINSTANCE);
DECLARE_OSTRANA_HANDLE(HKEY);
DECLARE_OSTRANA_HANDLE(HMENU);
DECLARE_OSTRANA_HANDLE(HDC);
DECLARE_OSTRANA_HANDLE(HICON);
DECLARE_OSTRANA_HANDLE(HCURSOR);
DECLARE_OSTRANA_HANDLE(HBITMAP);
DECLARE_OSTRANA_HANDLE(HBRUSH);
DECLARE_OSTRANA_HANDLE(HPEN);
DECLARE_OSTRANA_HANDLE(HFONT);
DECLARE_OSTRANA_HANDLE(HRGN);
DECLARE_OSTRANA_HANDLE(HHOOK);
DECLARE_OSTRANA_HANDLE(HACCEL);
using HMODULE = HINSTANCE;
using HGDIOBJ = void*;
using HGLOBAL = HANDLE;

#define INVALID_HANDLE_VALUE (reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-1)))
#define MAX_PATH 260

#define LOWORD(l) (static_cast<WORD>(static_cast<DWORD_PTR>(l) & 0xffff))
#define HIWORD(l) (static_cast<WORD>((static_cast<DWORD_PTR>(l) >> 16) & 0xffff))
#define MAKELONG(a, b) \
    (static_cast<LONG>((static_cast<DWORD>(static_cast<WORD>(a))) | (static_cast<DWORD>(static_cast<WORD>(b)) << 16)))

struct LARGE_INTEGER {
    LONGLONG QuadPart;
};
