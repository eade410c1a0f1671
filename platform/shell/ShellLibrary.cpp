#include "platform/shell/ShellLibrary.h"

#include <cstring>
#include <strings.h>

#include "platform/base/LastError.h"
#include "platform/shell/ShellFlags.h"

namespace {

#define ERROR_MOD_NOT_FOUND_CODE 126L
#define ERROR_PROC_NOT_FOUND_CODE 127L

struct Export {
    const char* name;
    FARPROC address;
};

struct Library {
    const char* name;
    const Export* exports;
    size_t exportCount;
};

const Export kShell32Exports[] = {
    {"SHGetSettings", reinterpret_cast<FARPROC>(&SHGetSettings)},
};

const Library kLibraries[] = {
    {"shell32.dll", kShell32Exports, sizeof kShell32Exports / sizeof kShell32Exports[0]},
};

// "C:\WINDOWS\system32\SHELL32.DLL" and "shell32" name the same library.
bool SameLibrary(const char* asked, const char* known) {
    const char* base = asked;
    for (const char* at = asked; *at != '\0'; ++at) {
        if (*at == '\\' || *at == '/') base = at + 1;
    }
    size_t knownStem = std::strlen(known) - 4; // without ".dll"
    return ::strcasecmp(base, known) == 0 || (std::strlen(base) == knownStem && ::strncasecmp(base, known, knownStem) == 0);
}

const Library* FromHandle(HMODULE module) {
    for (const auto& library : kLibraries) {
        if (reinterpret_cast<HMODULE>(const_cast<Library*>(&library)) == module) return &library;
    }
    return nullptr;
}

} // namespace

HMODULE LoadLibraryA(LPCSTR fileName) {
    if (fileName != nullptr) {
        for (const auto& library : kLibraries) {
            if (SameLibrary(fileName, library.name)) return reinterpret_cast<HMODULE>(const_cast<Library*>(&library));
        }
    }
    SetLastError(ERROR_MOD_NOT_FOUND_CODE);
    return nullptr;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR procName) {
    const Library* library = FromHandle(module);
    if (library != nullptr && procName != nullptr) {
        for (size_t i = 0; i < library->exportCount; ++i) {
            if (std::strcmp(library->exports[i].name, procName) == 0) return library->exports[i].address;
        }
    }
    SetLastError(library == nullptr ? ERROR_INVALID_HANDLE : ERROR_PROC_NOT_FOUND_CODE);
    return nullptr;
}

// The table's libraries stay loaded; freeing only checks the handle.
BOOL FreeLibrary(HMODULE module) {
    if (FromHandle(module) != nullptr) return TRUE;
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
}
