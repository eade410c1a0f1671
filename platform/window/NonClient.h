// The non-client area the platform paints itself: borders, client edges, the caption with its
// close button and the window scroll bars. Its layout comes from the styles; WM_NCCALCSIZE decides
// the client area and WM_NCPAINT records the frame as the window's non-client picture, in window
// coordinates, beside the client picture.
#pragma once

#include "platform/gdi/DisplayList.h"
#include "platform/window/ScrollBarState.h"
#include "platform/window/Window.h"

struct WINDOWPOS;
struct NCCALCSIZE_PARAMS {
    RECT rgrc[3];
    WINDOWPOS* lppos;
};

namespace ostrana {
// The timer that repeats a held arrow or track of a window scroll bar, out of the way of
// application timers; each WM_TIMER of it on the window is one repeat.
constexpr UINT_PTR kScrollRepeatTimer = 0xFFFA;
// The insets of borders, caption and shown scroll bars for these styles.
RECT NonClientInsets(DWORD style, DWORD exStyle);
// The window's frame as last painted (window coordinates); empty for a window without one.
DisplayList WindowNonClientPicture(HWND window);
} // namespace ostrana

namespace ostrana::detail {

// What the window record keeps of its frame, under the window system's lock.
struct NonClientState {
    RECT insets{};           // the client area within the window rectangle, as WM_NCCALCSIZE answered
    bool dirty = true;       // the frame must be painted before the client area is
    int reflow = 0;          // nested frame changes from scroll bars appearing and going
    ScrollBarState bars[3];  // SB_HORZ, SB_VERT, SB_CTL
    int pressedBar = -1;     // the bar whose part is held down, for painting it pushed
    ScrollPart pressedPart = ScrollPart::None;
    bool closePressed = false;
};

// Parts of the frame in window coordinates; empty rectangles for parts the window lacks.
struct FrameLayout {
    RECT window{};
    RECT client{};
    RECT caption{};
    RECT close{};
    RECT vertical{};
    RECT horizontal{};
    RECT corner{};
};

struct WindowObject;
FrameLayout FrameLayoutOf(const WindowObject& window); // lock held

// Asks the window for its client area with WM_NCCALCSIZE and keeps the answer; lock not held.
void RecalcFrame(HWND window);
// Paints the frame now when the window is shown, else at its next paint; lock not held.
void RedrawFrame(HWND window);
// Sends WM_NCPAINT when the frame waits to be painted; BeginPaint calls it. Lock not held.
void PaintFrameIfDirty(HWND window);

// The default procedure's share of the non-client messages.
LRESULT DefaultNcCalcSize(HWND window, WPARAM wParam, LPARAM lParam);
LRESULT DefaultNcHitTest(HWND window, POINT screen);
void DefaultNcPaint(HWND window);
LRESULT DefaultNcButtonDown(HWND window, WPARAM hit, POINT screen);
LRESULT DefaultSysCommand(HWND window, WPARAM command, LPARAM lParam);
// Follows a press on a scroll bar (SB_HORZ, SB_VERT or SB_CTL) until the button comes up.
void TrackScrollBar(HWND window, int bar, POINT screen);

} // namespace ostrana::detail
