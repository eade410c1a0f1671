// Scroll bar arithmetic and painting shared by the window bars and the scroll bar control. The
// thumb never grows shorter than kMinThumb pixels and is left out when the track cannot hold it.
#include <algorithm>
#include <cstdint>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/SysColors.h"
#include "platform/window/Controls.h"
#include "platform/window/ScrollBarState.h"

namespace ostrana::detail {
namespace {

constexpr int kMinThumb = 8;

std::int64_t RangeOf(const ScrollBarState& state) {
    return std::max<std::int64_t>(1, static_cast<std::int64_t>(state.maximum) - state.minimum + 1);
}

// The number of positions the thumb travels over, at least one.
std::int64_t SpanOf(const ScrollBarState& state) {
    return std::max<std::int64_t>(1, RangeOf(state) - std::max<std::int64_t>(1, state.page));
}

// An arrow of four rows pointing along the bar, centred in `box`.
void DrawArrow(HDC dc, RECT box, bool vertical, bool towardsStart, bool enabled) {
    SelectObject(dc, GetStockObject(enabled ? BLACK_PEN : WHITE_PEN));
    int middleX = (box.left + box.right) / 2;
    int middleY = (box.top + box.bottom) / 2;
    for (int row = 0; row < 4; ++row) {
        int offset = towardsStart ? row - 2 : 1 - row;
        if (vertical) {
            MoveToEx(dc, middleX - row, middleY + offset, nullptr);
            LineTo(dc, middleX + row + 1, middleY + offset);
        } else {
            MoveToEx(dc, middleX + offset, middleY - row, nullptr);
            LineTo(dc, middleX + offset, middleY + row + 1);
        }
    }
}

RECT Along(RECT bar, bool vertical, int start, int end) {
    return vertical ? RECT{bar.left, bar.top + start, bar.right, bar.top + end}
                    : RECT{bar.left + start, bar.top, bar.left + end, bar.bottom};
}

void DrawButton(HDC dc, RECT box, bool pressed) {
    FillRect(dc, &box, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(dc, &box, pressed ? EDGE_SUNKEN : EDGE_RAISED, pressed ? (BF_RECT | BF_FLAT) : BF_RECT);
}

} // namespace

int MaxScrollPosition(const ScrollBarState& state) {
    int top = state.maximum - std::max(0, static_cast<int>(state.page) - 1);
    return std::max(state.minimum, top);
}

int ClampScrollPosition(const ScrollBarState& state, int position) {
    return std::clamp(position, state.minimum, MaxScrollPosition(state));
}

bool ScrollBarNeeded(const ScrollBarState& state) {
    if (state.maximum <= state.minimum) return false;
    return state.page == 0 || static_cast<std::int64_t>(state.page) < RangeOf(state);
}

ScrollBarLayout LayoutScrollBar(const ScrollBarState& state, int length, int breadth) {
    ScrollBarLayout layout;
    layout.length = std::max(0, length);
    layout.arrow = std::min(breadth, layout.length / 2);
    int track = layout.length - 2 * layout.arrow;
    int thumb = state.page > 0 ? static_cast<int>(track * static_cast<std::int64_t>(state.page) / RangeOf(state)) : breadth;
    thumb = std::max(kMinThumb, thumb);
    if (thumb > track || !ScrollBarNeeded(state)) {
        layout.thumbStart = layout.arrow;
        layout.thumbLength = 0;
        return layout;
    }
    int position = state.tracking ? state.trackPosition : state.position;
    std::int64_t offset = static_cast<std::int64_t>(track - thumb) * (ClampScrollPosition(state, position) - state.minimum) / SpanOf(state);
    layout.thumbStart = layout.arrow + static_cast<int>(offset);
    layout.thumbLength = thumb;
    return layout;
}

ScrollPart ScrollPartAt(const ScrollBarLayout& layout, int along) {
    if (along < 0 || along >= layout.length) return ScrollPart::None;
    if (along < layout.arrow) return ScrollPart::LineUp;
    if (along >= layout.length - layout.arrow) return ScrollPart::LineDown;
    if (layout.thumbLength == 0) return ScrollPart::None;
    if (along < layout.thumbStart) return ScrollPart::PageUp;
    if (along >= layout.thumbStart + layout.thumbLength) return ScrollPart::PageDown;
    return ScrollPart::Thumb;
}

int ScrollPositionForThumb(const ScrollBarState& state, const ScrollBarLayout& layout, int thumbStart) {
    int travel = layout.length - 2 * layout.arrow - layout.thumbLength;
    if (travel <= 0) return state.minimum;
    std::int64_t moved = std::clamp(thumbStart - layout.arrow, 0, travel);
    std::int64_t position = state.minimum + (moved * SpanOf(state) + travel / 2) / travel;
    return ClampScrollPosition(state, static_cast<int>(position));
}

int ScrollCodeOf(ScrollPart part) {
    switch (part) {
    case ScrollPart::LineUp: return SB_LINEUP;
    case ScrollPart::PageUp: return SB_PAGEUP;
    case ScrollPart::PageDown: return SB_PAGEDOWN;
    case ScrollPart::LineDown: return SB_LINEDOWN;
    default: return -1;
    }
}

void DrawScrollBar(HDC dc, RECT rect, bool vertical, const ScrollBarState& state, ScrollPart pressed) {
    int length = vertical ? rect.bottom - rect.top : rect.right - rect.left;
    int breadth = vertical ? rect.right - rect.left : rect.bottom - rect.top;
    ScrollBarLayout layout = LayoutScrollBar(state, length, breadth);
    FillRect(dc, &rect, GetSysColorBrush(COLOR_SCROLLBAR));
    bool enabled = ScrollBarNeeded(state);
    RECT first = Along(rect, vertical, 0, layout.arrow);
    RECT last = Along(rect, vertical, layout.length - layout.arrow, layout.length);
    DrawButton(dc, first, pressed == ScrollPart::LineUp);
    DrawArrow(dc, first, vertical, true, enabled && !(state.disabled & ESB_DISABLE_LTUP));
    DrawButton(dc, last, pressed == ScrollPart::LineDown);
    DrawArrow(dc, last, vertical, false, enabled && !(state.disabled & ESB_DISABLE_RTDN));
    if (layout.thumbLength == 0 || !enabled) return;
    RECT thumb = Along(rect, vertical, layout.thumbStart, layout.thumbStart + layout.thumbLength);
    DrawButton(dc, thumb, false);
}

} // namespace ostrana::detail
