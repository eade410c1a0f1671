// The caret: one for the desktop, owned by a window and moved and shown by that window's thread.
// The platform only keeps its state; the renderer draws and blinks it (and shows the input
// method's composition there), so no picture ever holds a caret.
#pragma once

#include "platform/window/Window.h"

BOOL CreateCaret(HWND window, HBITMAP bitmap, int width, int height);
BOOL DestroyCaret();
BOOL SetCaretPos(int x, int y);
BOOL GetCaretPos(LPPOINT point);
// Hiding nests: a caret hidden twice shows again after two ShowCaret calls. A new caret is hidden.
BOOL ShowCaret(HWND window);
BOOL HideCaret(HWND window);
UINT GetCaretBlinkTime();
BOOL SetCaretBlinkTime(UINT milliseconds);

namespace ostrana {

struct CaretInfo {
    HWND window = nullptr; // null: no caret
    POINT position{};      // in the window's client coordinates
    int width = 0;
    int height = 0;
    bool shown = false;
};

// The caret as it stands now, for snapshots; observers hear WindowChange::Caret on the owner.
CaretInfo CurrentCaret();

} // namespace ostrana
