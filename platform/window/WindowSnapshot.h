// The container's view of the system: one call, under the window system's lock, returns a
// consistent snapshot of the whole window tree and the desktop state. Pictures are shared, never
// copied: the lists in a snapshot stay as they were however the windows paint afterwards.
//
// DesktopSnapshot
//   changeBatch    the display change batch being collected when the snapshot was taken: every
//                  change it shows is in an earlier batch or in this one (DisplayChanges.h)
//   screen         the screen size (ScreenSize.h)
//   windows        every window, in painting order: top-level windows from the bottom of the
//                  z-order up, each followed by its children from the bottom up, so a parent
//                  always comes before its children and drawing in list order is correct
//   focus          the window keys go to (the foreground thread's focus, else its active window)
//   active         the foreground thread's active window
//   capture        the mouse capture window
//   cursor         the current cursor: its name ("arrow", "cursor 1011") and structured reference
//   cursorPos      the mouse position, screen coordinates
//   caret          window (null when there is no caret), rectangle in the window's client
//                  coordinates, visible, blink time in milliseconds
//   screenOverlay  inverting figures on the screen DC, screen coordinates
// WindowState, per window
//   handle, parent (null for top-level), owner, depth (0 for top-level), zOrder (0 = top of its
//   siblings), className, id (control id of a child), style, exStyle,
//   windowRect, clientRect (screen coordinates), text (ANSI code page),
//   visible (WS_VISIBLE of it and every ancestor), shownFlag (its own WS_VISIBLE), enabled (its own
//   WS_DISABLED clear), enabledInTree (it and every ancestor enabled),
//   check             check boxes and radio buttons: BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE;
//                     -1 for every other window
//   picture           client coordinates, clipped to the client rectangle
//   nonClientPicture  window coordinates (frames, captions, scroll bars), clipped to the window
//                     rectangle; empty for a window without a painted frame
//   overlay           inverting figures drawn through GetDC, client coordinates
// Image operations in the lists carry structured references (DisplayOp::ref, ImageRef.h); the
// manifest of every image they may name is ImageManifest (ImageManifest.h).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/DisplayList.h"
#include "platform/window/Window.h"

namespace ostrana {

using SharedDisplayList = std::shared_ptr<const DisplayList>;

struct WindowState {
    HWND handle = nullptr;
    HWND parent = nullptr;
    HWND owner = nullptr;
    int depth = 0;
    int zOrder = 0;
    std::string className;
    LONG_PTR id = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT windowRect{};
    RECT clientRect{};
    std::string text;
    bool visible = false;
    bool shownFlag = false;
    bool enabled = false;
    bool enabledInTree = false;
    int check = -1;
    SharedDisplayList picture;
    SharedDisplayList nonClientPicture;
    SharedDisplayList overlay;
};

struct CaretState {
    HWND window = nullptr;
    RECT rect{};
    bool visible = false;
    UINT blinkMs = 0;
};

struct DesktopSnapshot {
    std::uint64_t changeBatch = 0;
    SIZE screen{};
    std::vector<WindowState> windows;
    HWND focus = nullptr;
    HWND active = nullptr;
    HWND capture = nullptr;
    std::string cursor;
    ImageRef cursorRef;
    POINT cursorPos{};
    CaretState caret;
    SharedDisplayList screenOverlay;

    // Null when the window is not in the snapshot.
    const WindowState* Find(HWND window) const;
};

DesktopSnapshot TakeDesktopSnapshot();

} // namespace ostrana
