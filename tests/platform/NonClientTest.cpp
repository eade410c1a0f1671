// The frame the platform paints and answers for: client areas inside borders, captions and
// scroll bars, hit testing, caption drags, the close button, and window scroll bars driven by the
// mouse (clicks, held arrows and track on the timer, thumb drags).
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <future>
#include <memory>
#include <mutex>

#include "platform/gdi/SysColors.h"
#include "platform/window/Controls.h"
#include "platform/window/Cursor.h"
#include "platform/window/DisplayObserver.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/MessageBox.h"
#include "platform/window/MessageBoxWindow.h"
#include "platform/window/NonClient.h"
#include "tests/platform/TestWindows.h"
#include "tests/support/WindowHarness.h"

using namespace ostrana;
using namespace ostrana::test;

namespace {

// Counts the scroll messages the scrolling windows receive, so that a test on another thread can
// wait for the n-th while the window's thread is in its modal loop.
class ScrollCounter {
public:
    void Add() {
        std::lock_guard guard(m_lock);
        ++m_count;
        m_changed.notify_all();
    }
    void Reset() {
        std::lock_guard guard(m_lock);
        m_count = 0;
    }
    bool WaitFor(int count) {
        std::unique_lock lock(m_lock);
        return m_changed.wait_for(lock, std::chrono::seconds(10), [&] { return m_count >= count; });
    }

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    int m_count = 0;
};

ScrollCounter& Scrolls() {
    static ScrollCounter counter;
    return counter;
}

// Scrolls the way an application does: moves its own bar by the code it is sent.
LRESULT ScrollingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_VSCROLL && message != WM_HSCROLL) return DefWindowProcA(window, message, wParam, lParam);
    Scrolls().Add();
    int bar = message == WM_VSCROLL ? SB_VERT : SB_HORZ;
    SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(window, bar, &info);
    int position = info.nPos;
    switch (LOWORD(wParam)) {
    case SB_LINEUP: --position; break;
    case SB_LINEDOWN: ++position; break;
    case SB_PAGEUP: position -= static_cast<int>(info.nPage); break;
    case SB_PAGEDOWN: position += static_cast<int>(info.nPage); break;
    case SB_THUMBTRACK: position = info.nTrackPos; break;
    default: return 0;
    }
    SetScrollPos(window, bar, position, TRUE);
    return 0;
}

// A borderless 200 x 200 window at (100,100) with a vertical bar over 0..99, page 10: the bar
// spans x 284..300 on the screen, its arrows y 100..116 and 284..300, and the 16-pixel thumb
// travels 152 pixels of track from y 116.
HWND ScrollingWindow() {
    HWND window = MakeTestWindow("NcScrolling", ScrollingProcedure, WS_POPUP | WS_VISIBLE, RECT{100, 100, 300, 300});
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 0, 0};
    SetScrollInfo(window, SB_VERT, &info, TRUE);
    return window;
}

constexpr POINT kUpArrow{292, 105};
constexpr POINT kDownArrow{292, 292};

RECT ClientOnScreen(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    OffsetRect(&client, origin.x, origin.y);
    return client;
}

LRESULT HitAt(HWND window, POINT screen) { return SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)); }

LRESULT ReservedTopProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCALCSIZE) {
        reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0].top += 10;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}


bool HasEdgeAt(const DisplayList& picture, RECT rect) {
    for (const DisplayOp& op : picture) {
        if (op.kind == OpKind::Edge && EqualRect(&op.rect, &rect)) return true;
    }
    return false;
}

} // namespace

TEST(Frame, ClientAreaLiesInsideBordersCaptionsAndBars) {
    UiThread ui;
    ui.Run([] {
        struct Case {
            DWORD style;
            DWORD exStyle;
            RECT client; // on the screen, the window being (100,100)-(300,200)
        };
        const Case cases[] = {
            {WS_POPUP | WS_BORDER, 0, RECT{101, 101, 299, 199}},
            {WS_POPUP, WS_EX_CLIENTEDGE, RECT{102, 102, 298, 198}},
            {WS_POPUP | WS_BORDER, WS_EX_CLIENTEDGE, RECT{103, 103, 297, 197}},
            {WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, RECT{103, 121, 297, 197}},
            {WS_POPUP | WS_VSCROLL | WS_HSCROLL, 0, RECT{100, 100, 284, 184}},
        };
        DestroyWindow(MakeTestWindow("NcFrame", DefWindowProcA, WS_POPUP, RECT{0, 0, 10, 10}));
        for (const Case& c : cases) {
            HWND window = CreateWindowExA(c.exStyle, "NcFrame", "", c.style, 100, 100, 200, 100, nullptr, nullptr, nullptr, nullptr);
            RECT client = ClientOnScreen(window);
            EXPECT_TRUE(EqualRect(&c.client, &client)) << std::hex << c.style << " " << c.exStyle;
            DestroyWindow(window);
        }
        HWND reserved = MakeTestWindow("NcReserved", ReservedTopProcedure, WS_POPUP, RECT{100, 100, 300, 200});
        EXPECT_EQ(110, ClientOnScreen(reserved).top);
        EXPECT_EQ(HTBORDER, HitAt(reserved, POINT{150, 105}));
        SetWindowLongPtrA(reserved, GWL_STYLE, GetWindowLongPtrA(reserved, GWL_STYLE) | WS_TABSTOP); // not a frame style
        EXPECT_EQ(110, ClientOnScreen(reserved).top);
        SetWindowLongPtrA(reserved, GWL_STYLE, GetWindowLongPtrA(reserved, GWL_STYLE) | WS_BORDER);
        EXPECT_EQ(101, ClientOnScreen(reserved).top); // the styles' frame, until the window is asked again
        SetWindowPos(reserved, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
        EXPECT_EQ(110, ClientOnScreen(reserved).top); // its own answer again
        DestroyWindow(reserved);

        HWND captioned = CreateWindowExA(0, "NcFrame", "t", WS_POPUP | WS_CAPTION | WS_SYSMENU, 100, 100, 200, 100, nullptr,
                                         nullptr, nullptr, nullptr);
        EXPECT_EQ(HTCAPTION, HitAt(captioned, POINT{120, 110}));
        EXPECT_EQ(HTCLOSE, HitAt(captioned, POINT{287, 110}));
        EXPECT_EQ(HTBORDER, HitAt(captioned, POINT{101, 150}));
        EXPECT_EQ(HTCLIENT, HitAt(captioned, POINT{150, 150}));
        EXPECT_EQ(HTNOWHERE, HitAt(captioned, POINT{350, 150}));
        DestroyWindow(captioned);
        HWND barred = CreateWindowExA(0, "NcFrame", "", WS_POPUP | WS_VSCROLL | WS_HSCROLL, 100, 100, 200, 100, nullptr,
                                      nullptr, nullptr, nullptr);
        EXPECT_EQ(HTVSCROLL, HitAt(barred, POINT{290, 150}));
        EXPECT_EQ(HTHSCROLL, HitAt(barred, POINT{150, 190}));
        EXPECT_EQ(HTBORDER, HitAt(barred, POINT{290, 190})); // the corner between the bars
        DestroyWindow(barred);
    });
}

TEST(Frame, TheCaptionShowsWhetherItsWindowIsActiveAndItsText) {
    UiThread ui;
    ui.Run([] {
        auto captionFill = [](HWND window) {
            for (const DisplayOp& op : WindowNonClientPicture(window)) {
                if (op.kind == OpKind::FillRect && op.rect.top == 3 && op.rect.left == 3) return op.brush.color;
            }
            return static_cast<COLORREF>(0xFFFFFFFF);
        };
        auto captionText = [](HWND window) {
            for (const DisplayOp& op : WindowNonClientPicture(window)) {
                if (op.kind == OpKind::Text) return op.text;
            }
            return std::string();
        };
        DWORD style = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU;
        HWND first = MakeTestWindow("NcActive", DefWindowProcA, style, RECT{100, 100, 300, 200});
        HWND second = MakeTestWindow("NcActive", DefWindowProcA, style, RECT{400, 100, 600, 200});
        SetActiveWindow(first);
        PumpUntilIdle();
        EXPECT_EQ(GetSysColor(COLOR_ACTIVECAPTION), captionFill(first));
        EXPECT_EQ(GetSysColor(COLOR_INACTIVECAPTION), captionFill(second));
        SetActiveWindow(second);
        EXPECT_EQ(GetSysColor(COLOR_INACTIVECAPTION), captionFill(first));
        EXPECT_EQ(GetSysColor(COLOR_ACTIVECAPTION), captionFill(second));
        SetWindowTextA(first, "renamed");
        EXPECT_EQ("renamed", captionText(first));
        DestroyWindow(first);
        DestroyWindow(second);
    });
}

TEST(Frame, MouseOutsideTheClientAreaArrivesAsNonClientMessages) {
    UiThread ui;
    ui.Run([] {
        ResetInputState();
        HWND window = MakeTestWindow("NcMouse", DefWindowProcA, WS_POPUP | WS_VISIBLE | WS_CAPTION, RECT{100, 100, 300, 200});
        SetClassLongPtrA(window, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(LoadCursorA(nullptr, IDC_IBEAM)));
        MessageRecorder recorder(window, {WM_NCMOUSEMOVE, WM_MOUSEMOVE, WM_NCLBUTTONDOWN, WM_NCLBUTTONUP, WM_LBUTTONDOWN});
        InjectMouseMove(POINT{101, 150});
        PumpUntilIdle();
        EXPECT_EQ("arrow", CursorName(GetCursor())); // the frame keeps the arrow
        InjectMouseMove(POINT{150, 150});
        PumpUntilIdle();
        EXPECT_EQ("ibeam", CursorName(GetCursor()));
        EXPECT_TRUE(SameSequence({"WM_NCMOUSEMOVE HTBORDER", "WM_MOUSEMOVE"}, recorder.Messages()));
        DestroyWindow(window);
    });
}

TEST(Frame, DraggingTheCaptionMovesTheWindow) {
    UiThread ui;
    WindowWaiter waiter;
    HWND window = nullptr;
    std::unique_ptr<MessageRecorder> recorder;
    ui.Run([&] {
        ResetInputState();
        window = MakeTestWindow("NcDrag", DefWindowProcA, WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU, RECT{100, 100, 300, 250});
        recorder = std::make_unique<MessageRecorder>(
            window, std::vector<UINT>{WM_NCLBUTTONDOWN, WM_SYSCOMMAND, WM_ENTERSIZEMOVE, WM_MOVING, WM_MOVE, WM_EXITSIZEMOVE,
                                      WM_LBUTTONUP});
        PumpUntilIdle();
    });
    auto at = [&](LONG left, LONG top) {
        return waiter.WaitUntil([&] {
            RECT rect{};
            GetWindowRect(window, &rect);
            return rect.left == left && rect.top == top && rect.right - rect.left == 200;
        });
    };
    InjectMouseButton(MouseButton::Left, true, POINT{150, 110});
    InjectMouseMove(POINT{160, 130});
    EXPECT_TRUE(at(110, 120));
    InjectMouseButton(MouseButton::Left, false, POINT{180, 150});
    EXPECT_TRUE(at(130, 140));
    ui.Run([&] {
        EXPECT_TRUE(SameSequence({"WM_NCLBUTTONDOWN HTCAPTION", "WM_SYSCOMMAND SC_MOVE", "WM_ENTERSIZEMOVE", "WM_MOVING", "WM_MOVE",
                                  "WM_MOVING", "WM_MOVE", "WM_EXITSIZEMOVE"},
                                 recorder->Messages()));
        EXPECT_EQ(nullptr, GetCapture());
        recorder.reset();
        DestroyWindow(window);
    });
}

TEST(Frame, TheCloseButtonClosesOnlyWhenReleasedOverIt) {
    UiThread ui;
    ui.Run([] {
        ResetInputState();
        HWND window = MakeTestWindow("NcClose", DefWindowProcA, WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU, RECT{100, 100, 300, 200});
        MessageRecorder recorder(window, {WM_NCLBUTTONDOWN, WM_SYSCOMMAND, WM_CLOSE});
        InjectMouseButton(MouseButton::Left, true, POINT{287, 110});
        InjectMouseButton(MouseButton::Left, false, POINT{200, 150}); // slipped off the button
        PumpUntilIdle();
        EXPECT_TRUE(IsWindow(window));
        EXPECT_TRUE(SameSequence({"WM_NCLBUTTONDOWN HTCLOSE"}, recorder.Messages()));
        recorder.Clear();
        ResetInputState(); // not a double click
        InjectClick(MouseButton::Left, POINT{287, 110});
        PumpUntilIdle();
        EXPECT_TRUE(SameSequence({"WM_NCLBUTTONDOWN HTCLOSE", "WM_SYSCOMMAND SC_CLOSE", "WM_CLOSE"}, recorder.Messages()));
        EXPECT_FALSE(IsWindow(window));
    });
}

TEST(Frame, TheCloseButtonEndsAMessageBoxAsCancelDoes) {
    SetMessageBoxPresenter(std::make_shared<WindowMessageBoxPresenter>());
    UiThread ui;
    WindowWaiter waiter;
    auto worker = std::async(std::launch::async, [] { return MessageBoxA(nullptr, "text", "closing", MB_OKCANCEL); });
    HWND box = waiter.WaitForTopLevel("#32770", "closing");
    ASSERT_NE(nullptr, box);
    RunOnWindowThread(box, [] { PumpUntilIdle(); });
    RECT rect{};
    GetWindowRect(box, &rect);
    POINT close{rect.right - 13, rect.top + 10};
    EXPECT_EQ(HTCLOSE, HitAt(box, close));
    InjectClick(MouseButton::Left, close);
    EXPECT_EQ(IDCANCEL, AwaitModal(worker));
    SetMessageBoxPresenter(nullptr);
}

TEST(WindowScrollBar, ClicksOnArrowsAndTrackSendTheirCodes) {
    UiThread ui;
    ui.Run([] {
        ResetInputState();
        HWND window = ScrollingWindow();
        EXPECT_TRUE(GetWindowLongPtrA(window, GWL_STYLE) & WS_VSCROLL);
        MessageRecorder recorder(window, {WM_VSCROLL});
        InjectClick(MouseButton::Left, kDownArrow);
        PumpUntilIdle();
        InjectClick(MouseButton::Left, POINT{292, 250}); // the track below the thumb
        PumpUntilIdle();
        EXPECT_EQ(11, GetScrollPos(window, SB_VERT));
        InjectClick(MouseButton::Left, POINT{292, 120}); // the track above it, the thumb being at 134
        PumpUntilIdle();
        InjectClick(MouseButton::Left, kUpArrow);
        PumpUntilIdle();
        EXPECT_TRUE(SameSequence({"WM_VSCROLL SB_LINEDOWN", "WM_VSCROLL SB_ENDSCROLL", "WM_VSCROLL SB_PAGEDOWN",
                                  "WM_VSCROLL SB_ENDSCROLL", "WM_VSCROLL SB_PAGEUP", "WM_VSCROLL SB_ENDSCROLL",
                                  "WM_VSCROLL SB_LINEUP", "WM_VSCROLL SB_ENDSCROLL"},
                                 recorder.Messages()));
        EXPECT_EQ(0, GetScrollPos(window, SB_VERT));
        recorder.Clear();
        EnableScrollBar(window, SB_VERT, ESB_DISABLE_RTDN);
        InjectClick(MouseButton::Left, kDownArrow);
        PumpUntilIdle();
        EXPECT_TRUE(recorder.Messages().empty());
        EnableScrollBar(window, SB_VERT, ESB_ENABLE_BOTH);
        InjectClick(MouseButton::Left, kDownArrow);
        PumpUntilIdle();
        EXPECT_EQ(1, GetScrollPos(window, SB_VERT));
        DestroyWindow(window);
    });
}

TEST(WindowScrollBar, BarsComeAndGoWithTheirRangeAndStayWithTheirWindow) {
    UiThread ui;
    ui.Run([] {
        HWND window = MakeTestWindow("NcRange", DefWindowProcA, WS_POPUP | WS_VISIBLE, RECT{100, 100, 300, 300});
        MessageRecorder recorder(window, {WM_SIZE});
        SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE, 0, 99, 10, 0, 0};
        SetScrollInfo(window, SB_VERT, &info, TRUE);
        RECT client{};
        GetClientRect(window, &client);
        EXPECT_EQ(184, client.right);
        info.nPage = 100; // the whole range fits: nothing to scroll
        SetScrollInfo(window, SB_VERT, &info, TRUE);
        GetClientRect(window, &client);
        EXPECT_EQ(200, client.right);
        EXPECT_FALSE(GetWindowLongPtrA(window, GWL_STYLE) & WS_VSCROLL);
        EXPECT_TRUE(SameSequence({"WM_SIZE", "WM_SIZE"}, recorder.Messages()));
        info.fMask |= SIF_DISABLENOSCROLL;
        ShowScrollBar(window, SB_VERT, TRUE);
        SetScrollInfo(window, SB_VERT, &info, TRUE);
        EXPECT_TRUE(GetWindowLongPtrA(window, GWL_STYLE) & WS_VSCROLL); // kept, drawn without a thumb
        SCROLLINFO across{sizeof across, SIF_RANGE | SIF_POS, 0, 50, 0, 30, 0}; // the other bar has its own state
        SetScrollInfo(window, SB_HORZ, &across, TRUE);
        EXPECT_EQ(30, GetScrollPos(window, SB_HORZ));
        EXPECT_EQ(0, GetScrollPos(window, SB_VERT));
        EXPECT_TRUE(GetWindowLongPtrA(window, GWL_STYLE) & WS_HSCROLL);
        ShowScrollBar(window, SB_BOTH, FALSE);
        EXPECT_FALSE(GetWindowLongPtrA(window, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL));
        DestroyWindow(window);
        EXPECT_FALSE(GetScrollInfo(window, SB_VERT, &info));
        EXPECT_EQ(0, SetScrollInfo(window, SB_VERT, &info, TRUE));
    });
}

TEST(WindowScrollBar, HeldArrowAndTrackRepeatOnTheirTimerUntilReleased) {
    UseManualMessageClock(true); // only the ticks posted below repeat
    UiThread ui;
    HWND window = nullptr;
    std::unique_ptr<MessageRecorder> recorder;
    ui.Run([&] {
        ResetInputState();
        window = ScrollingWindow();
        recorder = std::make_unique<MessageRecorder>(window, std::vector<UINT>{WM_VSCROLL});
        PumpUntilIdle();
    });
    ScrollCounter& scrolls = Scrolls();
    auto tick = [&] { PostMessageA(window, WM_TIMER, kScrollRepeatTimer, 0); };
    scrolls.Reset();
    InjectMouseButton(MouseButton::Left, true, kDownArrow);
    EXPECT_TRUE(scrolls.WaitFor(1));
    tick();
    EXPECT_TRUE(scrolls.WaitFor(2));
    tick();
    EXPECT_TRUE(scrolls.WaitFor(3));
    InjectMouseButton(MouseButton::Left, false, kDownArrow);
    EXPECT_TRUE(scrolls.WaitFor(4));
    tick(); // after the release: nobody repeats
    ui.Run([] {});
    EXPECT_TRUE(SameSequence({"WM_VSCROLL SB_LINEDOWN", "WM_VSCROLL SB_LINEDOWN", "WM_VSCROLL SB_LINEDOWN", "WM_VSCROLL SB_ENDSCROLL"},
                             recorder->Messages()));
    EXPECT_EQ(3, GetScrollPos(window, SB_VERT));

    // Held in the track, the page repeats until the thumb reaches the cursor: 0, 10, ... 50.
    ui.Run([&] {
        SetScrollPos(window, SB_VERT, 0, TRUE);
        recorder->Clear();
    });
    scrolls.Reset();
    InjectMouseButton(MouseButton::Left, true, POINT{292, 200});
    for (int count = 1; count <= 5; ++count) {
        EXPECT_TRUE(scrolls.WaitFor(count));
        tick();
    }
    tick();
    InjectMouseButton(MouseButton::Left, false, POINT{292, 200});
    EXPECT_TRUE(scrolls.WaitFor(6));
    std::vector<std::string> expected(5, "WM_VSCROLL SB_PAGEDOWN");
    expected.push_back("WM_VSCROLL SB_ENDSCROLL");
    EXPECT_TRUE(SameSequence(expected, recorder->Messages()));
    EXPECT_EQ(50, GetScrollPos(window, SB_VERT));
    ui.Run([&] {
        recorder.reset();
        DestroyWindow(window);
    });
    UseManualMessageClock(false);
}

TEST(WindowScrollBar, DraggingTheThumbTracksThenSetsThePosition) {
    UiThread ui;
    HWND window = nullptr;
    std::unique_ptr<MessageRecorder> recorder;
    ui.Run([&] {
        ResetInputState();
        window = ScrollingWindow();
        recorder = std::make_unique<MessageRecorder>(window, std::vector<UINT>{WM_VSCROLL});
        PumpUntilIdle();
    });
    ScrollCounter& scrolls = Scrolls();
    scrolls.Reset();
    InjectMouseButton(MouseButton::Left, true, POINT{292, 120}); // 4 pixels into the thumb
    InjectMouseMove(POINT{292, 196});                             // its top moves 76 of its 152 pixels
    EXPECT_TRUE(scrolls.WaitFor(1));
    SCROLLINFO info{sizeof info, SIF_POS | SIF_TRACKPOS, 0, 0, 0, 0, 0};
    GetScrollInfo(window, SB_VERT, &info);
    EXPECT_EQ(45, info.nTrackPos);
    EXPECT_TRUE(HasEdgeAt(WindowNonClientPicture(window), RECT{184, 92, 200, 108}));
    InjectMouseMove(POINT{292, 400}); // far below: the end of the range
    EXPECT_TRUE(scrolls.WaitFor(2));
    InjectMouseButton(MouseButton::Left, false, POINT{292, 400});
    EXPECT_TRUE(scrolls.WaitFor(4));
    EXPECT_TRUE(SameSequence({"WM_VSCROLL SB_THUMBTRACK 45", "WM_VSCROLL SB_THUMBTRACK 90", "WM_VSCROLL SB_THUMBPOSITION 90",
                              "WM_VSCROLL SB_ENDSCROLL"},
                             recorder->Messages()));
    ui.Run([&] {
        EXPECT_EQ(90, GetScrollPos(window, SB_VERT));
        EXPECT_TRUE(HasEdgeAt(WindowNonClientPicture(window), RECT{184, 168, 200, 184}));
        recorder.reset();
        DestroyWindow(window);
    });
}
