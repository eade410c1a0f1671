// The keys that toolkit lists and trees turn into the frame's messages before translation.
#pragma once

#include "platform/window/WindowMessages.h"

// The UWM_LIST_ message a WM_KEYDOWN or WM_SYSKEYDOWN of `key` stands for, or 0: Shift+F10,
// Backspace, F2, F5, Delete and Alt+Enter.
UINT UIKeyCommand(UINT message, WPARAM key);
