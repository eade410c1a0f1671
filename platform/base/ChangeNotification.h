// Folder change notifications as waitable handles over inotify. A handle is signalled once a
// change of the watched kinds happened since the last re-arm (FindNextChangeNotification).
#pragma once

#include "platform/base/KernelObject.h"

#define FILE_NOTIFY_CHANGE_FILE_NAME 0x00000001
#define FILE_NOTIFY_CHANGE_DIR_NAME 0x00000002
#define FILE_NOTIFY_CHANGE_ATTRIBUTES 0x00000004
#define FILE_NOTIFY_CHANGE_SIZE 0x00000008
#define FILE_NOTIFY_CHANGE_LAST_WRITE 0x00000010

#define WAIT_ABANDONED_0 WAIT_ABANDONED

// A subtree watch covers at most this many folders, taken breadth-first from the root.
inline constexpr int kChangeWatchFolderLimit = 4096;

// INVALID_HANDLE_VALUE when the path is not a folder or cannot be watched.
HANDLE FindFirstChangeNotificationA(LPCSTR pathName, BOOL watchSubtree, DWORD notifyFilter);
BOOL FindNextChangeNotification(HANDLE changeHandle);
BOOL FindCloseChangeNotification(HANDLE changeHandle);
#define FindFirstChangeNotification FindFirstChangeNotificationA
