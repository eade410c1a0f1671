// Moving, copying, renaming and deleting files as the shell does. Sources and targets are lists
// of paths, each NUL-terminated, ended by an extra NUL. With FOF_ALLOWUNDO deleted items go to the
// trash (~/.local/share/Trash, with a .trashinfo record each); without it they are removed.
// Failures are shown in a message box unless FOF_NOERRORUI is given.
#pragma once

#include "platform/base/WinTypes.h"

#define FO_MOVE 0x0001
#define FO_COPY 0x0002
#define FO_DELETE 0x0003
#define FO_RENAME 0x0004

using FILEOP_FLAGS = WORD;
#define FOF_MULTIDESTFILES 0x0001
#define FOF_CONFIRMMOUSE 0x0002
#define FOF_SILENT 0x0004
#define FOF_RENAMEONCOLLISION 0x0008
#define FOF_NOCONFIRMATION 0x0010
#define FOF_WANTMAPPINGHANDLE 0x0020
#define FOF_ALLOWUNDO 0x0040
#define FOF_FILESONLY 0x0080
#define FOF_SIMPLEPROGRESS 0x0100
#define FOF_NOCONFIRMMKDIR 0x0200
#define FOF_NOERRORUI 0x0400
#define FOF_NOCOPYSECURITYATTRIBS 0x0800

struct SHFILEOPSTRUCTA {
    HWND hwnd;
    UINT wFunc;
    LPCSTR pFrom;
    LPCSTR pTo;
    FILEOP_FLAGS fFlags;
    BOOL fAnyOperationsAborted;
    LPVOID hNameMappings;
    LPCSTR lpszProgressTitle;
};
using LPSHFILEOPSTRUCTA = SHFILEOPSTRUCTA*;
#define SHFILEOPSTRUCT SHFILEOPSTRUCTA

// 0 when every item was handled; otherwise an error number (the first failure's).
int SHFileOperationA(LPSHFILEOPSTRUCTA operation);
#define SHFileOperation SHFileOperationA
