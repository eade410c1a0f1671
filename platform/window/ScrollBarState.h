// The state of one scroll bar (a window's SB_HORZ or SB_VERT bar, or a scroll bar control) and the
// arithmetic of its parts along the bar: two arrows, the track and a thumb sized by the page. The
// window's non-client bars and the scroll bar control share it, so both look and behave alike.
#pragma once

#include "platform/base/WinTypes.h"

namespace ostrana::detail {

struct ScrollBarState {
    int minimum = 0;
    int maximum = 100;
    UINT page = 0;
    int position = 0;
    int trackPosition = 0; // where the thumb is drawn and reported while it is dragged
    bool tracking = false;
    UINT disabled = 0; // ESB_DISABLE_LTUP / ESB_DISABLE_RTDN bits
};

enum class ScrollPart { None, LineUp, PageUp, Thumb, PageDown, LineDown };

// Lengths along the bar, from its top (or left) edge.
struct ScrollBarLayout {
    int length = 0;
    int arrow = 0;
    int thumbStart = 0;
    int thumbLength = 0; // 0 when the track is too short for a thumb
};

// The largest position the range and page allow.
int MaxScrollPosition(const ScrollBarState& state);
int ClampScrollPosition(const ScrollBarState& state, int position);
// The layout of a bar `length` long and `breadth` wide, the thumb at the tracked position while
// dragging.
ScrollBarLayout LayoutScrollBar(const ScrollBarState& state, int length, int breadth);
ScrollPart ScrollPartAt(const ScrollBarLayout& layout, int along);
// The position that puts the thumb's top (or left) edge at `thumbStart`, clamped to the range.
int ScrollPositionForThumb(const ScrollBarState& state, const ScrollBarLayout& layout, int thumbStart);
// The WM_VSCROLL / WM_HSCROLL code a click on a part sends; -1 for the thumb and nothing.
int ScrollCodeOf(ScrollPart part);
// A bar whose range fits in its page has nothing to scroll.
bool ScrollBarNeeded(const ScrollBarState& state);

// Paints the bar into `rect` of the DC: arrows, track and thumb; `pressed` is drawn pushed.
void DrawScrollBar(HDC dc, RECT rect, bool vertical, const ScrollBarState& state, ScrollPart pressed);

} // namespace ostrana::detail
