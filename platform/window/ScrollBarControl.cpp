// Scroll bars: the ranges and positions of window scroll bars (SB_HORZ, SB_VERT), kept with the
// window and drawn in its frame, and the scroll bar control (SB_CTL): arrows, page areas and a
// thumb that send WM_HSCROLL / WM_VSCROLL to its parent, tracked as the window bars are. A window bar whose range fits in its page
// goes away (or is disabled with SIF_DISABLENOSCROLL) and comes back when it no longer fits.
#include "platform/window/ControlCommon.h"
#include "platform/window/Cursor.h"
#include "platform/window/WindowGeometry.h"
#include "platform/window/WindowSystem.h"

namespace ostrana::detail {
namespace {

// Frame changes from bars coming and going may nest through WM_SIZE; beyond this depth a bar keeps
// its state, so that two bars that each make the other needed cannot recurse without end.
constexpr int kMaxReflow = 2;

bool ValidBar(int bar) { return bar == SB_HORZ || bar == SB_VERT || bar == SB_CTL; }

DWORD StyleOfBar(int bar) { return bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL; }

bool Vertical(HWND bar) { return (GetWindowLongPtrA(bar, GWL_STYLE) & SBS_VERT) != 0; }

ScrollBarState ControlState(HWND bar) {
    Lock lock = LockSystem();
    auto window = Find(bar);
    return window ? window->nonClient.bars[SB_CTL] : ScrollBarState{};
}

ScrollPart PressedPart(HWND bar) {
    Lock lock = LockSystem();
    auto window = Find(bar);
    return window && window->nonClient.pressedBar == SB_CTL ? window->nonClient.pressedPart : ScrollPart::None;
}

void Paint(HWND bar) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(bar, &paint);
    RECT client;
    GetClientRect(bar, &client);
    DrawScrollBar(dc, client, Vertical(bar), ControlState(bar), PressedPart(bar));
    EndPaint(bar, &paint);
}

void Press(HWND bar, POINT client) {
    ClientToScreen(bar, &client);
    TrackScrollBar(bar, SB_CTL, client);
}

LRESULT ScrollBarProcedure(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: Paint(bar); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: Press(bar, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    default: return DefWindowProcA(bar, message, wParam, lParam);
    }
}

// Shows or hides a window bar by its style bit; true when the frame changed.
bool ShowBarLocked(WindowObject& window, int bar, bool show) {
    DWORD flag = StyleOfBar(bar);
    if (((window.style & flag) != 0) == show || window.nonClient.reflow >= kMaxReflow) return false;
    if (show) window.style |= flag;
    else window.style &= ~flag;
    return true;
}

// Lets the window find its new client area after bars came or went; lock not held.
void ApplyFrameChange(HWND window) {
    {
        Lock lock = LockSystem();
        auto object = Find(window);
        if (!object) return;
        ++object->nonClient.reflow;
    }
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    Lock lock = LockSystem();
    if (auto object = Find(window)) --object->nonClient.reflow;
}

} // namespace

void RegisterScrollBarClass() {
    RegisterSystemClass(WC_SCROLLBARA, ScrollBarProcedure, CS_DBLCLKS, LoadCursorA(nullptr, IDC_ARROW), nullptr);
}

} // namespace ostrana::detail

using namespace ostrana::detail;

int SetScrollInfo(HWND window, int bar, const SCROLLINFO* info, BOOL redraw) {
    if (info == nullptr || !ValidBar(bar)) return 0;
    int position = 0;
    bool frameChanged = false;
    {
        Lock lock = LockSystem();
        auto object = Find(window);
        if (!object) return 0;
        ScrollBarState& state = object->nonClient.bars[bar];
        if (info->fMask & SIF_RANGE) {
            state.minimum = info->nMin;
            state.maximum = info->nMax;
        }
        if (info->fMask & SIF_PAGE) state.page = info->nPage;
        if (info->fMask & SIF_POS) state.position = info->nPos;
        state.position = ClampScrollPosition(state, state.position);
        if (!state.tracking) state.trackPosition = state.position;
        position = state.position;
        if (bar != SB_CTL) {
            bool needed = ScrollBarNeeded(state);
            bool keep = !needed && (info->fMask & SIF_DISABLENOSCROLL);
            if (!keep) frameChanged = ShowBarLocked(*object, bar, needed);
            object->nonClient.dirty = true;
        }
    }
    if (bar == SB_CTL) {
        if (redraw) InvalidateRect(window, nullptr, TRUE);
    } else if (frameChanged) {
        ApplyFrameChange(window);
    } else if (redraw) {
        RedrawFrame(window);
    }
    return position;
}

BOOL GetScrollInfo(HWND window, int bar, LPSCROLLINFO info) {
    if (info == nullptr || !ValidBar(bar)) return FALSE;
    Lock lock = LockSystem();
    auto object = Find(window);
    if (!object) return FALSE;
    const ScrollBarState& state = object->nonClient.bars[bar];
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
    if (!IsWindow(window) || !ValidBar(bar)) return FALSE;
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE, minimum, maximum, 0, 0, 0};
    SetScrollInfo(window, bar, &info, redraw);
    return TRUE;
}

BOOL GetScrollRange(HWND window, int bar, LPINT minimum, LPINT maximum) {
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE, 0, 0, 0, 0, 0};
    if (!GetScrollInfo(window, bar, &info)) return FALSE;
    if (minimum != nullptr) *minimum = info.nMin;
    if (maximum != nullptr) *maximum = info.nMax;
    return TRUE;
}

BOOL ShowScrollBar(HWND window, int bar, BOOL show) {
    if (bar == SB_CTL) {
        if (!IsWindow(window)) return FALSE;
        ShowWindow(window, show ? SW_SHOWNA : SW_HIDE);
        return TRUE;
    }
    if (bar != SB_HORZ && bar != SB_VERT && bar != SB_BOTH) return FALSE;
    bool changed = false;
    {
        Lock lock = LockSystem();
        auto object = Find(window);
        if (!object) return FALSE;
        if (bar != SB_VERT) changed = ShowBarLocked(*object, SB_HORZ, show != 0) || changed;
        if (bar != SB_HORZ) changed = ShowBarLocked(*object, SB_VERT, show != 0) || changed;
    }
    if (changed) ApplyFrameChange(window);
    return TRUE;
}

BOOL EnableScrollBar(HWND window, UINT bar, UINT arrows) {
    if (bar > SB_BOTH) return FALSE;
    bool changed = false;
    {
        Lock lock = LockSystem();
        auto object = Find(window);
        if (!object) return FALSE;
        auto apply = [&](int which) {
            changed = changed || object->nonClient.bars[which].disabled != (arrows & ESB_DISABLE_BOTH);
            object->nonClient.bars[which].disabled = arrows & ESB_DISABLE_BOTH;
        };
        if (bar == SB_BOTH) {
            apply(SB_HORZ);
            apply(SB_VERT);
        } else {
            apply(static_cast<int>(bar));
        }
    }
    if (!changed) return FALSE;
    if (bar == SB_CTL) InvalidateRect(window, nullptr, TRUE);
    else RedrawFrame(window);
    return TRUE;
}
