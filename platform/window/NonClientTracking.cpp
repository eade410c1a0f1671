// What a press in the frame starts: a caption drag that moves the window, the close button that
// closes it when released over it, and scroll bar tracking (arrows and track repeating on a timer
// while held, the thumb dragged), which the scroll bar control shares. Each runs a modal loop with the mouse captured, as Windows does,
// until the button comes up or the capture is taken away.
#include <functional>

#include "platform/window/Controls.h"
#include "platform/window/Focus.h"
#include "platform/window/Paint.h"
#include "platform/window/VirtualKeys.h"
#include "platform/window/WindowGeometry.h"
#include "platform/window/WindowSystem.h"

namespace ostrana::detail {
namespace {

constexpr UINT kScrollFirstDelay = 400;
constexpr UINT kScrollRepeat = 100;

POINT PointOf(LPARAM lParam) { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

// Runs the loop until `handle(msg)` says it is done, the button was released (given to `handle`
// first) or the capture went elsewhere. Messages `handle` does not take are dispatched.
void TrackWithCapture(HWND window, const std::function<bool(const MSG&, bool& done)>& handle) {
    SetCapture(window);
    MSG msg{};
    for (;;) {
        if (!IsWindow(window) || GetCapture() != window) break;
        if (!GetMessageA(&msg, nullptr, 0, 0)) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        bool done = false;
        bool taken = handle(msg, done);
        if (done || msg.message == WM_LBUTTONUP) break;
        if (taken) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (GetCapture() == window) ReleaseCapture();
}

void SetWindowOrigin(HWND window, POINT screen) {
    HWND parent = (GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD) ? GetParent(window) : nullptr;
    if (parent != nullptr) ScreenToClient(parent, &screen);
    SetWindowPos(window, nullptr, screen.x, screen.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MoveWithCaption(HWND window, POINT grab) {
    RECT start{};
    GetWindowRect(window, &start);
    auto follow = [&](POINT cursor) {
        RECT rect = start;
        OffsetRect(&rect, cursor.x - grab.x, cursor.y - grab.y);
        SendMessageA(window, WM_MOVING, 0, reinterpret_cast<LPARAM>(&rect));
        SetWindowOrigin(window, POINT{rect.left, rect.top});
    };
    SendMessageA(window, WM_ENTERSIZEMOVE, 0, 0);
    TrackWithCapture(window, [&](const MSG& msg, bool& done) {
        switch (msg.message) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP: follow(msg.pt); return true;
        case WM_KEYDOWN:
            if (msg.wParam != VK_ESCAPE) return false;
            SetWindowOrigin(window, POINT{start.left, start.top});
            done = true;
            return true;
        default: return false;
        }
    });
    if (IsWindow(window)) SendMessageA(window, WM_EXITSIZEMOVE, 0, 0);
}

void SetClosePressed(HWND window, bool pressed) {
    {
        Lock lock = LockSystem();
        auto object = Find(window);
        if (!object || object->nonClient.closePressed == pressed) return;
        object->nonClient.closePressed = pressed;
    }
    RedrawFrame(window);
}

bool OverClose(HWND window, POINT screen) {
    return SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)) == HTCLOSE;
}

void TrackCloseButton(HWND window) {
    bool over = true;
    SetClosePressed(window, true);
    POINT released{};
    TrackWithCapture(window, [&](const MSG& msg, bool&) {
        if (msg.message != WM_MOUSEMOVE && msg.message != WM_LBUTTONUP) return false;
        over = OverClose(window, msg.pt);
        released = msg.pt;
        SetClosePressed(window, over && msg.message == WM_MOUSEMOVE);
        return true;
    });
    SetClosePressed(window, false);
    if (over && IsWindow(window)) SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, MAKELPARAM(released.x, released.y));
}

// A scroll bar as it stands (a window's bar in its frame, or a scroll bar control filling its
// client area): where it is on the screen and where its parts lie.
struct BarGeometry {
    RECT rect{};
    bool vertical = true;
    ScrollBarState state;
    ScrollBarLayout layout;
    int Along(POINT screen) const { return vertical ? screen.y - rect.top : screen.x - rect.left; }
};

bool GeometryOf(HWND window, int bar, BarGeometry& out) {
    Lock lock = LockSystem();
    auto object = Find(window);
    if (!object) return false;
    POINT origin = ClientOriginOnScreen(*object);
    if (bar == SB_CTL) {
        out.vertical = (object->style & SBS_VERT) != 0;
        out.rect = ClientRectOf(*object);
        OffsetRect(&out.rect, origin.x, origin.y);
    } else {
        FrameLayout layout = FrameLayoutOf(*object);
        out.vertical = bar == SB_VERT;
        out.rect = out.vertical ? layout.vertical : layout.horizontal;
        if (IsRectEmpty(&out.rect)) return false;
        OffsetRect(&out.rect, origin.x - layout.client.left, origin.y - layout.client.top);
    }
    out.state = object->nonClient.bars[bar];
    int length = out.vertical ? Height(out.rect) : Width(out.rect);
    int breadth = out.vertical ? Width(out.rect) : Height(out.rect);
    out.layout = LayoutScrollBar(out.state, length, breadth);
    return true;
}

template <typename Change> void ChangeBar(HWND window, int bar, Change change) {
    {
        Lock lock = LockSystem();
        auto object = Find(window);
        if (!object) return;
        change(object->nonClient);
    }
    if (bar != SB_CTL) {
        RedrawFrame(window);
        return;
    }
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
}

bool PartDisabled(const ScrollBarState& state, ScrollPart part) {
    if (!ScrollBarNeeded(state)) return true;
    bool towardsStart = part == ScrollPart::LineUp || part == ScrollPart::PageUp;
    bool towardsEnd = part == ScrollPart::LineDown || part == ScrollPart::PageDown;
    return (towardsStart && (state.disabled & ESB_DISABLE_LTUP)) || (towardsEnd && (state.disabled & ESB_DISABLE_RTDN));
}

} // namespace

void TrackScrollBar(HWND window, int bar, POINT press) {
    BarGeometry geometry;
    if (!GeometryOf(window, bar, geometry)) return;
    ScrollPart part = ScrollPartAt(geometry.layout, geometry.Along(press));
    if (part == ScrollPart::None || PartDisabled(geometry.state, part)) return;
    UINT message = geometry.vertical ? WM_VSCROLL : WM_HSCROLL;
    // A control tells its parent and names itself; a window's own bar tells the window.
    HWND target = bar == SB_CTL ? GetParent(window) : window;
    LPARAM from = bar == SB_CTL ? reinterpret_cast<LPARAM>(window) : 0;
    auto send = [&](int code, int position) {
        if (IsWindow(window) && IsWindow(target)) SendMessageA(target, message, MAKEWPARAM(code, position & 0xFFFF), from);
    };
    int grab = geometry.Along(press) - geometry.layout.thumbStart;
    int tracked = geometry.state.position;
    ChangeBar(window, bar, [&](NonClientState& state) {
        state.pressedBar = bar;
        state.pressedPart = part;
        state.bars[bar].tracking = part == ScrollPart::Thumb;
        state.bars[bar].trackPosition = state.bars[bar].position;
    });
    bool thumb = part == ScrollPart::Thumb;
    if (!thumb) {
        send(ScrollCodeOf(part), 0);
        SetTimer(window, kScrollRepeatTimer, kScrollFirstDelay, nullptr);
    }
    POINT cursor = press;
    TrackWithCapture(window, [&](const MSG& msg, bool&) {
        if (msg.message == WM_TIMER && msg.hwnd == window && msg.wParam == kScrollRepeatTimer) {
            // The track repeats only while the thumb has not reached the cursor.
            if (GeometryOf(window, bar, geometry) && ScrollPartAt(geometry.layout, geometry.Along(cursor)) == part) {
                send(ScrollCodeOf(part), 0);
            }
            SetTimer(window, kScrollRepeatTimer, kScrollRepeat, nullptr);
            return true;
        }
        if (msg.message != WM_MOUSEMOVE && msg.message != WM_LBUTTONUP) return false;
        cursor = msg.pt;
        if (!thumb || !GeometryOf(window, bar, geometry)) return true;
        int position = ScrollPositionForThumb(geometry.state, geometry.layout, geometry.Along(cursor) - grab);
        if (position == tracked) return true;
        tracked = position;
        ChangeBar(window, bar, [&](NonClientState& state) { state.bars[bar].trackPosition = position; });
        send(SB_THUMBTRACK, position);
        return true;
    });
    KillTimer(window, kScrollRepeatTimer);
    if (thumb) send(SB_THUMBPOSITION, tracked);
    ChangeBar(window, bar, [&](NonClientState& state) {
        state.pressedBar = -1;
        state.pressedPart = ScrollPart::None;
        state.bars[bar].tracking = false;
        state.bars[bar].trackPosition = state.bars[bar].position;
    });
    send(SB_ENDSCROLL, 0);
}

LRESULT DefaultNcButtonDown(HWND window, WPARAM hit, POINT screen) {
    switch (hit) {
    case HTCAPTION:
        SendMessageA(window, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, MAKELPARAM(screen.x, screen.y));
        return 0;
    case HTCLOSE: TrackCloseButton(window); return 0;
    case HTVSCROLL: TrackScrollBar(window, SB_VERT, screen); return 0;
    case HTHSCROLL: TrackScrollBar(window, SB_HORZ, screen); return 0;
    default: return 0;
    }
}

LRESULT DefaultSysCommand(HWND window, WPARAM command, LPARAM lParam) {
    switch (command & 0xFFF0) {
    case SC_MOVE: MoveWithCaption(window, PointOf(lParam)); return 0;
    case SC_CLOSE: SendMessageA(window, WM_CLOSE, 0, 0); return 0;
    default: return 0;
    }
}

} // namespace ostrana::detail
