// File information from the shell: the system image list and the index of a path's type icon in
// it. Both system lists (small and large) get the same type icons at the same indexes, added the
// first time a type is asked for.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/gdi/ImageList.h"

#define SHGFI_LARGEICON 0x000000000
#define SHGFI_SMALLICON 0x000000001
#define SHGFI_OPENICON 0x000000002
#define SHGFI_SHELLICONSIZE 0x000000004
#define SHGFI_PIDL 0x000000008
#define SHGFI_USEFILEATTRIBUTES 0x000000010
#define SHGFI_ADDOVERLAYS 0x000000020
#define SHGFI_OVERLAYINDEX 0x000000040
#define SHGFI_ICON 0x000000100
#define SHGFI_DISPLAYNAME 0x000000200
#define SHGFI_TYPENAME 0x000000400
#define SHGFI_ATTRIBUTES 0x000000800
#define SHGFI_ICONLOCATION 0x000001000
#define SHGFI_EXETYPE 0x000002000
#define SHGFI_SYSICONINDEX 0x000004000
#define SHGFI_LINKOVERLAY 0x000008000
#define SHGFI_SELECTED 0x000010000
#define SHGFI_ATTR_SPECIFIED 0x000020000

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
// extension in capitals and " 파일"). With SHGFI_PIDL `path` is an absolute item id list
// (PCIDLIST_ABSOLUTE) instead of a text; SHGFI_DISPLAYNAME fills szDisplayName with its normal
// display name, SHGFI_ATTRIBUTES dwAttributes with its SFGAO_ bits, SHGFI_OPENICON picks the open
// folder image. Answers non-zero on success when no image list is asked for; 0 on failure.
DWORD_PTR SHGetFileInfoA(LPCSTR path, DWORD attributes, SHFILEINFOA* info, UINT size, UINT flags);
#define SHGetFileInfo SHGetFileInfoA
#define SHFILEINFO SHFILEINFOA
