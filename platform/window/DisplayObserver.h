// Watching the screen: observers hear of window changes and new pictures (tests read them, the
// container streams them to the browser), and a window tree can be dumped as readable text with
// its display lists for golden tests.
#pragma once

#include <string>

#include "platform/window/Window.h"

namespace ostrana {

// Focus names the new keyboard focus or active window (null when none), Cursor and a null window
// the current cursor, Caret the caret's window, Overlay a window's overlay (the screen's is
// OnOverlayChanged), Checked a check box's or radio button's check state.
enum class WindowChange { Created, Destroyed, Moved, Shown, Hidden, ZOrder, Text, Enabled, Focus, Cursor, Caret, Overlay, Checked };

// Called on the thread that made the change, outside the window system's lock.
class DisplayObserver {
public:
    virtual ~DisplayObserver() = default;
    virtual void OnWindowChanged(HWND, WindowChange) {}
    virtual void OnPicture(HWND) {}
    virtual void OnOverlayChanged() {}
};

void AddDisplayObserver(DisplayObserver* observer);
// Returns once no callback of the observer runs any more (other than the caller's own, when it
// removes itself from inside one), so the observer may be destroyed right after.
void RemoveDisplayObserver(DisplayObserver* observer);

// The window, its picture and its children (top of the z-order first), indented by depth. Hidden
// windows are listed with "hidden" and without their picture unless `includeHidden`. A window with
// a frame lists its non-client picture (window coordinates) under "frame", then its client picture
// under "client".
std::string DumpWindowTree(HWND root, bool includeHidden = false);
// Every top-level window of the desktop, then the screen overlay.
std::string DumpDesktop();

} // namespace ostrana
