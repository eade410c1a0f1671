// Dynamic loading of the few system libraries the program looks up by name. Only the platform's
// own table answers: "shell32.dll" with "SHGetSettings".
#pragma once

#include "platform/base/WinTypes.h"

using FARPROC = void (*)();

HMODULE LoadLibraryA(LPCSTR fileName);
FARPROC GetProcAddress(HMODULE module, LPCSTR procName);
BOOL FreeLibrary(HMODULE module);
#define LoadLibrary LoadLibraryA
