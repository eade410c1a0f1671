// File information from the shell: the system image list and the index of a path's type icon in
// it. Both system lists (small and large) get the same type icons at the same indexes, added the
// first time a type is asked for.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/gdi/ImageList.h"

#define SHGFI_LARGEICON 0x000000000
#define SHGFI_SMALLICON 0x000000001
#define SHGFI_USEFILEATTRIBUTES 0x000000010
#define SHGFI_TYPENAME 0x000000400
#define SHGFI_SYSICONINDEX 0x000004000

struct SHFILEINFOA {
    HICON hIcon = nullptr;
    int iIcon = 0;
    DWORD dwAttributes = 0;
    char szDisplayName[MAX_PATH] = {};
    char szTypeName[80] = {};
};

// With SHGFI_SYSICONINDEX: fills iIcon and returns the system image list (small with
// SHGFI_SMALLICON). A path that names an existing folder, or ends in a separator, or
// `attributes` with FILE_ATTRIBUTE_DIRECTORY under SHGFI_USEFILEATTRIBUTES, is a folder; a drive
// root ("C:\") is a drive; other paths go by their extension. With SHGFI_TYPENAME: fills
// szTypeName by the same kinds ("파일 폴더" for a folder, a known extension's name, otherwise the
// extension in capitals and " 파일"). Without either flag: 0.
DWORD_PTR SHGetFileInfoA(LPCSTR path, DWORD attributes, SHFILEINFOA* info, UINT size, UINT flags);
#define SHGetFileInfo SHGetFileInfoA
#define SHFILEINFO SHFILEINFOA
