#include "ui/UIKeys.h"

#include "platform/window/Input.h"
#include "platform/window/VirtualKeys.h"
#include "ui/UIMessages.h"

UINT UIKeyCommand(UINT message, WPARAM key) {
    if (message != WM_KEYDOWN && message != WM_SYSKEYDOWN) return 0;
    switch (key) {
    case VK_F10: return GetKeyState(VK_SHIFT) < 0 ? UWM_LIST_CONTEXT_MENU : 0;
    case VK_BACK: return UWM_LIST_ACTIVATE;
    case VK_F2: return UWM_LIST_EDIT_LABEL;
    case VK_F5: return UWM_LIST_REFRESH_VIEW;
    case VK_DELETE: return UWM_LIST_DELETE;
    case VK_RETURN: return message == WM_SYSKEYDOWN ? UWM_LIST_PROPERTIES : 0;
    default: return 0;
    }
}
