// The file descriptor of virtual-file drags ("FileGroupDescriptor"): 332 bytes per file, the
// group being a 32-bit count followed by the descriptors.
#pragma once

#include <cstddef>

#include "platform/base/FileTime.h"
#include "platform/com/Unknown.h"

#define FD_CLSID 0x00000001
#define FD_SIZEPOINT 0x00000002
#define FD_ATTRIBUTES 0x00000004
#define FD_CREATETIME 0x00000008
#define FD_ACCESSTIME 0x00000010
#define FD_WRITESTIME 0x00000020
#define FD_FILESIZE 0x00000040
#define FD_PROGRESSUI 0x00004000
#define FD_LINKUI 0x00008000

struct FILEDESCRIPTORA {
    DWORD dwFlags;
    CLSID clsid;
    struct {
        LONG cx;
        LONG cy;
    } sizel;
    struct {
        LONG x;
        LONG y;
    } pointl;
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    CHAR cFileName[MAX_PATH];
};
static_assert(sizeof(FILEDESCRIPTORA) == 332);
static_assert(offsetof(FILEDESCRIPTORA, nFileSizeLow) == 68);
static_assert(offsetof(FILEDESCRIPTORA, cFileName) == 72);

struct FILEGROUPDESCRIPTORA {
    UINT cItems;
    FILEDESCRIPTORA fgd[1];
};
