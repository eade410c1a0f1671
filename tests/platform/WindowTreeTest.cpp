// The window table: stale handles, destruction order, subclassing, rectangles and mapping.
#include <gtest/gtest.h>

#include "platform/window/Focus.h"
#include "platform/window/Messages.h"
#include "platform/window/WindowGeometry.h"
#include "tests/platform/TestWindows.h"
#include "tests/support/WindowHarness.h"

namespace ostrana::test {
namespace {

std::vector<std::string> g_log;

LRESULT LoggingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY || message == WM_NCDESTROY) {
        g_log.push_back(WindowText(window) + " " + MessageName(message));
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(WindowTable, StaleHandleIsRefusedAndNeverReachesANewWindow) {
    HWND old = MakeTestWindow("Plain", DefWindowProcA, WS_POPUP, RECT{0, 0, 10, 10});
    ASSERT_TRUE(DestroyWindow(old));
    HWND fresh = MakeTestWindow("Plain", DefWindowProcA, WS_POPUP, RECT{0, 0, 10, 10});
    ASSERT_NE(old, fresh);
    SetWindowTextA(fresh, "fresh");
    EXPECT_FALSE(IsWindow(old));
    EXPECT_FALSE(SetWindowTextA(old, "stale"));
    EXPECT_EQ(0, SendMessageA(old, WM_GETTEXTLENGTH, 0, 0));
    EXPECT_FALSE(DestroyWindow(old));
    RECT rect;
    EXPECT_FALSE(GetWindowRect(old, &rect));
    EXPECT_EQ("fresh", WindowText(fresh));
    DestroyWindow(fresh);
}

TEST(WindowTable, DestroyWindowTakesChildrenDownBeforeTheParentEnds) {
    g_log.clear();
    HWND parent = MakeTestWindow("Logging", LoggingProcedure, WS_POPUP, RECT{0, 0, 100, 100});
    SetWindowTextA(parent, "parent");
    HWND child = MakeTestWindow("Logging", LoggingProcedure, WS_CHILD, RECT{0, 0, 10, 10}, parent, 5);
    SetWindowTextA(child, "child");
    HWND owned = MakeTestWindow("Logging", LoggingProcedure, WS_POPUP, RECT{0, 0, 10, 10}, parent);
    SetWindowTextA(owned, "owned");
    EXPECT_EQ(parent, GetParent(owned));
    DestroyWindow(parent);
    EXPECT_TRUE(SameSequence({"owned WM_DESTROY", "owned WM_NCDESTROY", "parent WM_DESTROY", "child WM_DESTROY",
                              "child WM_NCDESTROY", "parent WM_NCDESTROY"},
                             g_log));
    EXPECT_FALSE(IsWindow(child));
    EXPECT_FALSE(IsWindow(owned));
}

WNDPROC g_previous = nullptr;
LRESULT Subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) return 42;
    return CallWindowProcA(g_previous, window, message, wParam, lParam);
}

TEST(WindowTable, SubclassPassesWhatItDoesNotConsume) {
    HWND window = MakeTestWindow("Plain", DefWindowProcA, WS_POPUP, RECT{0, 0, 10, 10});
    g_previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Subclass)));
    EXPECT_EQ(reinterpret_cast<WNDPROC>(DefWindowProcA), g_previous);
    EXPECT_EQ(42, SendMessageA(window, WM_APP, 0, 0));
    SetWindowTextA(window, "through");
    EXPECT_EQ("through", WindowText(window));
    DestroyWindow(window);
}

TEST(WindowGeometry, ClientAreaAndMappingFollowTheFrame) {
    HWND top = MakeTestWindow("Plain", DefWindowProcA, WS_POPUP | WS_CAPTION, RECT{100, 50, 300, 250});
    HWND child = MakeTestWindow("Plain", DefWindowProcA, WS_CHILD | WS_BORDER, RECT{10, 20, 60, 40}, top, 9);
    RECT client;
    GetClientRect(top, &client);
    EXPECT_EQ(200 - 6, client.right);
    EXPECT_EQ(200 - 6 - 18, client.bottom);
    POINT point{0, 0};
    ClientToScreen(child, &point);
    EXPECT_EQ(100 + 3 + 10 + 1, point.x);
    EXPECT_EQ(50 + 21 + 20 + 1, point.y);
    POINT mapped{5, 5};
    MapWindowPoints(child, top, &mapped, 1);
    EXPECT_EQ(16, mapped.x);
    EXPECT_EQ(26, mapped.y);
    EXPECT_EQ(child, GetDlgItem(top, 9));
    EXPECT_EQ(9, GetDlgCtrlID(child));
    MoveWindow(child, 0, 0, 30, 30, TRUE);
    RECT rect;
    GetWindowRect(child, &rect);
    EXPECT_EQ(100 + 3, rect.left);
    EXPECT_EQ(30, rect.right - rect.left);
    DestroyWindow(top);
}

TEST(WindowGeometry, ZOrderDecidesWhichSiblingIsHit) {
    HWND top = MakeTestWindow("Plain", DefWindowProcA, WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100});
    HWND below = MakeTestWindow("Plain", DefWindowProcA, WS_CHILD | WS_VISIBLE, RECT{0, 0, 50, 50}, top, 1);
    HWND above = MakeTestWindow("Plain", DefWindowProcA, WS_CHILD | WS_VISIBLE, RECT{0, 0, 50, 50}, top, 2);
    EXPECT_EQ(below, WindowFromPoint(POINT{10, 10})); // children are created below their elder siblings
    SetWindowPos(above, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(above, WindowFromPoint(POINT{10, 10}));
    ShowWindow(above, SW_HIDE);
    EXPECT_EQ(below, WindowFromPoint(POINT{10, 10}));
    EXPECT_EQ(top, WindowFromPoint(POINT{70, 70}));
    DestroyWindow(top);
}

} // namespace
} // namespace ostrana::test
