// Change events for the container, batched per turn of the message loop. Every change to what a
// snapshot shows is recorded as it happens (window, kind); the batch collected so far is handed to
// the listeners when a thread's message loop comes round again (GetMessage, PeekMessage,
// WaitMessage) or when FlushDisplayChanges is called.
//
// A batch lists each (event, window) once, in the order of first occurrence; a window created and
// destroyed within one turn is listed with both. Events name what changed, not its new state: a
// listener reads the state from a snapshot taken after the batch (TakeDesktopSnapshot), and every
// change a snapshot shows is announced by a batch already delivered or by one still to come.
//
// Events and their window:
//   Created, Destroyed, Moved (window or client rectangle, also a new parent), Shown, Hidden,
//   ZOrder (place among siblings, also a new parent), Text, Enabled: the window concerned.
//   Focus: the new keyboard focus or active window (null when none).
//   Cursor: null; the current cursor changed.
//   Caret: the caret's window.
//   Picture: a window whose client or non-client picture was replaced.
//   Overlay: a window whose overlay changed, or null for the screen overlay.
//   Clipboard: null; the clipboard's text changed.
//   Checked: a check box or radio button whose check state changed.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/window/Window.h"

namespace ostrana {

enum class DisplayEvent { Created, Destroyed, Moved, Shown, Hidden, ZOrder, Text, Enabled, Focus, Cursor, Caret, Picture, Overlay, Clipboard, Checked };

struct DisplayChange {
    DisplayEvent event = DisplayEvent::Created;
    HWND window = nullptr;
    bool operator==(const DisplayChange&) const = default;
};

struct DisplayChangeBatch {
    std::uint64_t sequence = 0; // 1 for the first batch, then one more for each
    std::vector<DisplayChange> changes;
};

// Called on the thread that flushes, outside every lock of the window system, one batch at a
// time and in sequence order.
class DisplayChangeListener {
public:
    virtual ~DisplayChangeListener() = default;
    virtual void OnDisplayChanges(const DisplayChangeBatch& batch) = 0;
};

// Changes are recorded only while at least one listener is registered.
void AddDisplayChangeListener(DisplayChangeListener* listener);
// Returns once no call to the listener is running, unless the caller is that call.
void RemoveDisplayChangeListener(DisplayChangeListener* listener);
// Delivers the batch collected so far (nothing when it is empty). A flush that finds another
// thread delivering leaves its changes to that thread, which delivers until nothing is left.
void FlushDisplayChanges();
// For changes the window system does not see itself (the clipboard's text).
void RecordDisplayChange(DisplayEvent event, HWND window);
// Whether changes wait for a flush; cheap, for the message loop.
bool DisplayChangesPending();
// The sequence number of the batch being collected now.
std::uint64_t PendingDisplayBatch();

const char* DisplayEventName(DisplayEvent event);

} // namespace ostrana
