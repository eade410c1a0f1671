// The private messages of the local tree and list and of their watcher threads.
#pragma once

#include "platform/window/WindowMessages.h"

#define UWM_SELECT_PATH (WM_APP + 1005)    // lParam = path text
#define UWM_FOLDER_SELECTED (WM_APP + 1006) // wParam = absolute id list (to the frame)
#define UWM_SELECT_ID_LIST (WM_APP + 1007) // wParam = absolute id list
#define UWM_GO_PARENT (WM_APP + 1101)
#define UWM_TREE_CHANGED (WM_APP + 4006)
#define UWM_TREE_SELECT_ROOT (WM_APP + 4008)
#define UWM_LIST_REFRESH (WM_APP + 5001)
#define UWM_LIST_GET_WATCH_PATH (WM_APP + 5002) // wParam = buffer of kWatchPathSize characters

inline constexpr int kWatchPathSize = 260;

#ifndef WM_SETMESSAGESTRING
#define WM_SETMESSAGESTRING 0x0362 // status text, passed up to the frame
#endif

#define UWM_WEB_NAVIGATE (WM_APP + 1008) // lParam = the web view's location text (to the frame)
