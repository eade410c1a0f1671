// The control's keyboard hook: Delete, F6, F2 and A become commands for the main window, and
// while a server label is being edited the other keys go straight to the focused edit box.
// Every control of the process shares one hook: the first installs it, the last removes it, so a
// key never reaches the main window twice.
#pragma once

#include "platform/window/Messages.h"

class KeyboardHookUse {
public:
    KeyboardHookUse();
    ~KeyboardHookUse();
    KeyboardHookUse(const KeyboardHookUse&) = delete;
    KeyboardHookUse& operator=(const KeyboardHookUse&) = delete;
};

// The installed hook, or null while no control lives.
HHOOK OstranaKeyboardHook();

// The hook procedure the shared hook runs.
LRESULT OstranaKeyboardProc(int code, WPARAM key, LPARAM keyData);
