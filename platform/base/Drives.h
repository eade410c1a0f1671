// The drive letters of this machine: C: is the POSIX root, more come from OSTRANA_DRIVES. A drive's
// kind is read from the file system that holds its root.
#pragma once

#include "platform/base/WinTypes.h"

#define DRIVE_UNKNOWN 0
#define DRIVE_NO_ROOT_DIR 1
#define DRIVE_REMOVABLE 2
#define DRIVE_FIXED 3
#define DRIVE_REMOTE 4
#define DRIVE_CDROM 5
#define DRIVE_RAMDISK 6

// Fills "C:\", NUL, "D:\", NUL, ..., NUL. Returns the characters written without the last NUL, or
// the size needed (with it) when the buffer is too small.
DWORD GetLogicalDriveStringsA(DWORD bufferLength, LPSTR buffer);
UINT GetDriveTypeA(LPCSTR rootPathName);
#define GetLogicalDriveStrings GetLogicalDriveStringsA
#define GetDriveType GetDriveTypeA
