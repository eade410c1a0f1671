// Keyboard focus, activation and mouse capture. Focus and the active window belong to a thread,
// as on Windows; keys go to the focus of the foreground thread. Capture is one for the desktop.
#pragma once

#include "platform/window/Window.h"

HWND GetFocus();
HWND SetFocus(HWND window);
HWND GetActiveWindow();
HWND SetActiveWindow(HWND window);
HWND GetForegroundWindow();
BOOL SetForegroundWindow(HWND window);
HWND GetCapture();
HWND SetCapture(HWND window);
BOOL ReleaseCapture();

namespace ostrana {
// The window that keyboard input goes to now, whatever thread asks.
HWND KeyboardFocusWindow();
} // namespace ostrana
