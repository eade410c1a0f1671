// Private messages that reach the main window: credentials ready, and the keys the control's
// keyboard hook turns into commands.
#pragma once

#define UWM_LOGIN_READY 8025
#define UWM_KEY_DELETE 8074
#define UWM_KEY_REFRESH 8075
#define UWM_KEY_RENAME 8076
#define UWM_KEY_SELECT_ALL 8077
