// Scroll bars: the ranges and positions of window scroll bars (SB_HORZ, SB_VERT) and of the
// scroll bar control (SB_CTL), and the control itself: arrows, page areas and a thumb that send
// WM_HSCROLL / WM_VSCROLL to its parent.
#include <algorithm>
#include <map>
#include <mutex>

#include "platform/window/ControlCommon.h"
#include "platform/window/Cursor.h"
#include "platform/window/WindowSystem.h"

namespace ostrana::detail {
namespace {

struct ScrollState {
    int minimum = 0;
    int maximum = 100;
    UINT page = 0;
    int position = 0;
    int trackPosition = 0;
    bool shown = true;
};

std::mutex& StateLock() {
    static std::mutex lock;
    return lock;
}

std::map<std::pair<HWND, int>, ScrollState>& States() {
    static std::map<std::pair<HWND, int>, ScrollState> states;
    return states;
}

int Clamp(const ScrollState& state, int position) {
    int top = state.maximum - std::max(0, static_cast<int>(state.page) - 1);
    return std::clamp(position, state.minimum, std::max(state.minimum, top));
}

bool Vertical(HWND bar) { return (GetWindowLongPtrA(bar, GWL_STYLE) & SBS_VERT) != 0; }

RECT ThumbRect(HWND bar, const ScrollState& state) {
    RECT client;
    GetClientRect(bar, &client);
    bool vertical = Vertical(bar);
    int length = vertical ? client.bottom : client.right;
    int arrow = vertical ? client.right : client.bottom;
    int track = std::max(0, length - 2 * arrow);
    int range = std::max(1, state.maximum - state.minimum + 1);
    int thumb = state.page > 0 ? std::max(8, track * static_cast<int>(state.page) / range) : arrow;
    thumb = std::min(thumb, track);
    int span = std::max(1, range - std::max(1, static_cast<int>(state.page)));
    int offset = arrow + (track - thumb) * (state.position - state.minimum) / span;
    return vertical ? RECT{0, offset, client.right, offset + thumb} : RECT{offset, 0, offset + thumb, client.bottom};
}

void Paint(HWND bar) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(bar, &paint);
    RECT client;
    GetClientRect(bar, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_SCROLLBAR));
    ScrollState state;
    {
        std::lock_guard guard(StateLock());
        state = States()[{bar, SB_CTL}];
    }
    bool vertical = Vertical(bar);
    int arrow = vertical ? client.right : client.bottom;
    RECT first = vertical ? RECT{0, 0, client.right, arrow} : RECT{0, 0, arrow, client.bottom};
    RECT last = vertical ? RECT{0, client.bottom - arrow, client.right, client.bottom}
                         : RECT{client.right - arrow, 0, client.right, client.bottom};
    RECT thumb = ThumbRect(bar, state);
    for (RECT* part : {&first, &last, &thumb}) {
        FillRect(dc, part, GetSysColorBrush(COLOR_BTNFACE));
        DrawEdge(dc, part, EDGE_RAISED, BF_RECT);
    }
    EndPaint(bar, &paint);
}

void Scroll(HWND bar, WORD code, int position) {
    UINT message = Vertical(bar) ? WM_VSCROLL : WM_HSCROLL;
    SendMessageA(GetParent(bar), message, MAKEWPARAM(code, position), reinterpret_cast<LPARAM>(bar));
}

void Click(HWND bar, POINT point) {
    RECT client;
    GetClientRect(bar, &client);
    ScrollState state;
    {
        std::lock_guard guard(StateLock());
        state = States()[{bar, SB_CTL}];
    }
    bool vertical = Vertical(bar);
    int along = vertical ? point.y : point.x;
    int arrow = vertical ? client.right : client.bottom;
    int length = vertical ? client.bottom : client.right;
    RECT thumb = ThumbRect(bar, state);
    int thumbStart = vertical ? thumb.top : thumb.left;
    int thumbEnd = vertical ? thumb.bottom : thumb.right;
    if (along < arrow) Scroll(bar, SB_LINEUP, 0);
    else if (along >= length - arrow) Scroll(bar, SB_LINEDOWN, 0);
    else if (along < thumbStart) Scroll(bar, SB_PAGEUP, 0);
    else if (along >= thumbEnd) Scroll(bar, SB_PAGEDOWN, 0);
    else return;
    Scroll(bar, SB_ENDSCROLL, 0);
}

LRESULT ScrollBarProcedure(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: Paint(bar); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: Click(bar, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_NCDESTROY: {
        std::lock_guard guard(StateLock());
        States().erase({bar, SB_CTL});
        return 0;
    }
    default: return DefWindowProcA(bar, message, wParam, lParam);
    }
}

} // namespace

void RegisterScrollBarClass() {
    RegisterSystemClass(WC_SCROLLBARA, ScrollBarProcedure, CS_DBLCLKS, LoadCursorA(nullptr, IDC_ARROW), nullptr);
}

} // namespace ostrana::detail

using namespace ostrana::detail;

int SetScrollInfo(HWND window, int bar, const SCROLLINFO* info, BOOL redraw) {
    if (!IsWindow(window) || info == nullptr) return 0;
    int position = 0;
    {
        std::lock_guard guard(StateLock());
        ScrollState& state = States()[{window, bar}];
        if (info->fMask & SIF_RANGE) {
            state.minimum = info->nMin;
            state.maximum = info->nMax;
        }
        if (info->fMask & SIF_PAGE) state.page = info->nPage;
        if (info->fMask & SIF_POS) state.position = info->nPos;
        state.position = Clamp(state, state.position);
        position = state.position;
    }
    if (redraw) InvalidateRect(window, nullptr, TRUE);
    return position;
}

BOOL GetScrollInfo(HWND window, int bar, LPSCROLLINFO info) {
    if (!IsWindow(window) || info == nullptr) return FALSE;
    std::lock_guard guard(StateLock());
    const ScrollState& state = States()[{window, bar}];
    if (info->fMask & SIF_RANGE) {
        info->nMin = state.minimum;
        info->nMax = state.maximum;
    }
    if (info->fMask & SIF_PAGE) info->nPage = state.page;
    if (info->fMask & SIF_POS) info->nPos = state.position;
    if (info->fMask & SIF_TRACKPOS) info->nTrackPos = state.trackPosition;
    return TRUE;
}

int SetScrollPos(HWND window, int bar, int position, BOOL redraw) {
    int previous = GetScrollPos(window, bar);
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, position, 0};
    SetScrollInfo(window, bar, &info, redraw);
    return previous;
}

int GetScrollPos(HWND window, int bar) {
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 0, 0};
    GetScrollInfo(window, bar, &info);
    return info.nPos;
}

BOOL SetScrollRange(HWND window, int bar, int minimum, int maximum, BOOL redraw) {
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE, minimum, maximum, 0, 0, 0};
    return SetScrollInfo(window, bar, &info, redraw) >= 0 && IsWindow(window);
}

BOOL GetScrollRange(HWND window, int bar, LPINT minimum, LPINT maximum) {
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE, 0, 0, 0, 0, 0};
    if (!GetScrollInfo(window, bar, &info)) return FALSE;
    if (minimum != nullptr) *minimum = info.nMin;
    if (maximum != nullptr) *maximum = info.nMax;
    return TRUE;
}

BOOL ShowScrollBar(HWND window, int bar, BOOL show) {
    if (!IsWindow(window)) return FALSE;
    std::lock_guard guard(StateLock());
    States()[{window, bar}].shown = show != 0;
    return TRUE;
}
