// The input injection interface: mouse and keys in screen pixels, callable from any thread. An
// event goes to the window it reaches (the capture window, else the deepest visible enabled window
// under the point; the focus of the foreground thread for keys) as things stand when its thread
// takes it, so the capture or focus a click sets counts for the events injected after it even
// when they were injected before it was handled. WM_SETCURSOR comes before mouse messages; double
// clicks within 500 ms at the same point.
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
// Characters composed by the input method: one WM_IME_CHAR per character of the ANSI text, with the
// double-byte code (lead byte high) of a double-byte character. A character longer than two bytes
// (UTF-8 as the ANSI code page) arrives as WM_CHAR bytes instead.
void InjectImeText(std::string_view ansi);
// Forgets pressed keys, buttons and the double-click memory (between tests).
void ResetInputState();

} // namespace ostrana
