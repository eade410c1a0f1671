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

// The hook procedure (public for the tests, which feed it keys directly).
LRESULT OstranaKeyboardProc(int code, WPARAM key, LPARAM keyData);

// The main-window command for a key, 0 for keys the main window does not take.
UINT KeyCommand(WPARAM key);
// Keys whose meaning to an edit box is the character they type; the message loop delivers those.
bool TypesCharacter(WPARAM key);
