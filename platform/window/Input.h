// The input injection interface: mouse and keys in screen pixels, callable from any thread. Events
// wait in one desktop-wide queue and go, one at a time and in order, to the thread of the window
// they reach (the capture window, else the deepest visible enabled window under the point; the
// focus of the foreground thread for keys). That window is chosen once the thread that took the
// previous event is back at its queue, so a click's capture or focus counts for the events after
// it. WM_SETCURSOR comes before mouse messages; double clicks within 500 ms at the same point.
#pragma once

#include <string_view>

#include "platform/window/Window.h"

// The key as injected, now.
SHORT GetAsyncKeyState(int virtualKey);
// The key as of the last input message the calling thread took, as on Windows.
SHORT GetKeyState(int virtualKey);
BOOL GetCursorPos(LPPOINT point);
BOOL SetCursorPos(int x, int y);

namespace ostrana {

enum class MouseButton { Left, Right, Middle };

void InjectMouseMove(POINT screen);
void InjectMouseButton(MouseButton button, bool down, POINT screen);
void InjectClick(MouseButton button, POINT screen);
// delta in WHEEL_DELTA units of 120 per notch
void InjectMouseWheel(int delta, POINT screen);
// A key going down or up; `character` is what the key types (0: derived from the key and Shift).
void InjectKey(UINT virtualKey, bool down, char character = 0);
// Down and up.
void InjectKeyPress(UINT virtualKey, char character = 0);
// Text typed through the input method: WM_CHAR per byte of the ANSI text.
void InjectText(std::string_view ansi);
// Forgets pressed keys, buttons and the double-click memory (between tests).
void ResetInputState();

} // namespace ostrana
