// The private messages of the toolkit controls: the commands that the frame, toolbars and menus
// send to the focused list or tree, the notification to the parent, and the five drag-and-drop
// messages (wParam = CDD_OleDropTargetInfo*), each sent to the control first and then, when it
// answers 0, to its parent.
#pragma once

#include "platform/window/WindowMessages.h"

#define UWM_UI_NOTIFY (WM_APP + 1001)
#define UWM_LIST_CONTEXT_MENU (WM_APP + 1100)
#define UWM_LIST_ACTIVATE (WM_APP + 1101)
#define UWM_LIST_EDIT_LABEL (WM_APP + 1102)
#define UWM_LIST_REFRESH_VIEW (WM_APP + 1103)
#define UWM_LIST_DELETE (WM_APP + 1104)
#define UWM_LIST_PROPERTIES (WM_APP + 1105)

#define UWM_DD_DRAGENTER (WM_APP + 2001)
#define UWM_DD_DRAGLEAVE (WM_APP + 2002)
#define UWM_DD_DROP (WM_APP + 2003)
#define UWM_DD_DRAGOVER (WM_APP + 2004)
#define UWM_DD_BEGINDRAG (WM_APP + 2005) // lParam = the control's COleDataSource*

#define UWM_TREE_DELAYED_SELECT (WM_APP + 4007)

// wParam values of UWM_UI_NOTIFY.
#define UI_NOTIFY_FOLDER_SELECTED 1001
