// The pane splitter bar: orientation and thickness from the rectangle, the clamped drag with its
// tracking line on the screen overlay, the notification with the distance, and the edge helpers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mainwnd/PaneSplitter.h"
#include "platform/gdi/ScreenOverlay.h"
#include "platform/window/Cursor.h"
#include "platform/window/DisplayObserver.h"
#include "tests/platform/TestWindows.h"

namespace {

struct Notice {
    UINT_PTR id;
    UINT code;
    int delta;
};
std::vector<Notice> g_notices;

LRESULT ParentProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        auto* notice = reinterpret_cast<NMSPLITTER*>(lParam);
        g_notices.push_back({notice->hdr.idFrom, notice->hdr.code, notice->delta});
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

std::string Text(const RECT& r) {
    return std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) + ", " + std::to_string(r.bottom);
}

RECT InParent(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<LPPOINT>(&rect), 2);
    return rect;
}

LPARAM ClientPoint(HWND window, POINT parentPoint) {
    MapWindowPoints(GetParent(window), window, &parentPoint, 1);
    return MAKELPARAM(parentPoint.x, parentPoint.y);
}

class PaneSplitterTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_notices.clear();
        ostrana::ClearScreenOverlay();
        m_parent = ostrana::test::MakeTestWindow("SplitterParent", ParentProcedure, WS_POPUP | WS_VISIBLE, {100, 100, 900, 700});
    }
    void TearDown() override { DestroyWindow(m_parent); }

    // Presses at `from`, moves to each point, releases at the last (parent client coordinates).
    void Drag(CPaneSplitter& bar, POINT from, std::vector<POINT> path) {
        SendMessageA(bar.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(bar.m_hWnd, from));
        for (POINT point : path) SendMessageA(bar.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(bar.m_hWnd, point));
        POINT last = path.empty() ? from : path.back();
        SendMessageA(bar.m_hWnd, WM_LBUTTONUP, 0, ClientPoint(bar.m_hWnd, last));
    }

    HWND m_parent = nullptr;
};

TEST_F(PaneSplitterTest, OrientationAndThicknessComeFromTheRectangle) {
    CPaneSplitter tall;
    ASSERT_TRUE(tall.Create(WS_CHILD | WS_VISIBLE, {200, 10, 240, 400}, CWnd::FromHandle(m_parent), 11));
    EXPECT_EQ(CPaneSplitter::kVertical, tall.GetOrientation());
    RECT rect = InParent(tall.m_hWnd);
    EXPECT_EQ("200, 10, 205, 400", Text(rect));
    EXPECT_TRUE(GetWindowLongA(tall.m_hWnd, GWL_STYLE) & SS_NOTIFY);

    CPaneSplitter square;
    ASSERT_TRUE(square.Create(WS_CHILD | WS_VISIBLE, {10, 10, 60, 60}, CWnd::FromHandle(m_parent), 12));
    EXPECT_EQ(CPaneSplitter::kHorizontal, square.GetOrientation());
    EXPECT_EQ("10, 10, 60, 15", Text(InParent(square.m_hWnd)));
    EXPECT_EQ(CPaneSplitter::kHorizontal, square.SetOrientation(CPaneSplitter::kVertical));
    EXPECT_EQ(CPaneSplitter::kVertical, square.GetOrientation());
}

TEST_F(PaneSplitterTest, ShowsTheResizeCursorOfItsOrientationOverItsClientArea) {
    CPaneSplitter vertical, horizontal;
    vertical.Create(WS_CHILD | WS_VISIBLE, {200, 10, 205, 400}, CWnd::FromHandle(m_parent), 11);
    horizontal.Create(WS_CHILD | WS_VISIBLE, {10, 450, 700, 455}, CWnd::FromHandle(m_parent), 12);
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(FALSE, SendMessageA(vertical.m_hWnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(vertical.m_hWnd), MAKELPARAM(HTNOWHERE, WM_MOUSEMOVE)));
    EXPECT_EQ("arrow", ostrana::CursorName(GetCursor()));
    EXPECT_EQ(TRUE, SendMessageA(vertical.m_hWnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(vertical.m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ("sizewe", ostrana::CursorName(GetCursor()));
    SendMessageA(horizontal.m_hWnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(horizontal.m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ("sizens", ostrana::CursorName(GetCursor()));
}

TEST_F(PaneSplitterTest, PaintsAShadowFrameAroundAFlatGreyBar) {
    CPaneSplitter bar;
    bar.Create(WS_CHILD | WS_VISIBLE, {200, 10, 205, 400}, CWnd::FromHandle(m_parent), 11);
    UpdateWindow(bar.m_hWnd);
    std::string dump = ostrana::DumpWindowTree(bar.m_hWnd);
    EXPECT_NE(std::string::npos, dump.find("rectangle (1,1)-(4,389) pen=#EFEFEF/1 brush=#EFEFEF")) << dump;
    EXPECT_NE(std::string::npos, dump.find("frame (0,0)-(5,390) #808080")) << dump;
}

TEST_F(PaneSplitterTest, ADragWithoutMovementReportsZero) {
    CPaneSplitter bar;
    bar.Create(WS_CHILD | WS_VISIBLE, {200, 10, 205, 400}, CWnd::FromHandle(m_parent), 11);
    bar.SetRange(50, 700);
    Drag(bar, {202, 100}, {});
    ASSERT_EQ(1u, g_notices.size());
    EXPECT_EQ(11u, g_notices[0].id);
    EXPECT_EQ(static_cast<UINT>(SPN_MOVED), g_notices[0].code);
    EXPECT_EQ(0, g_notices[0].delta);
    EXPECT_EQ("200, 10, 205, 400", Text(InParent(bar.m_hWnd)));
    EXPECT_EQ(nullptr, GetCapture());
}

TEST_F(PaneSplitterTest, TheTrackingLineFollowsTheClampedPointAndLeavesTheScreenAsItWas) {
    CPaneSplitter bar;
    bar.Create(WS_CHILD | WS_VISIBLE, {200, 10, 205, 400}, CWnd::FromHandle(m_parent), 11);
    bar.SetRange(50, 700);
    SendMessageA(bar.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(bar.m_hWnd, {202, 100}));
    EXPECT_EQ(bar.m_hWnd, GetCapture());
    EXPECT_EQ(2u, ostrana::ScreenOverlay().size()); // two lines, x - 1 and x + 1
    SendMessageA(bar.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(bar.m_hWnd, {-30, 100}));
    std::string overlay;
    ostrana::DumpDisplayList(ostrana::ScreenOverlay(), 0, overlay);
    EXPECT_EQ(2u, ostrana::ScreenOverlay().size()) << overlay;
    // Clamped at the minimum 50, parent client x 50 is screen x 150.
    EXPECT_NE(std::string::npos, overlay.find("149")) << overlay;
    EXPECT_NE(std::string::npos, overlay.find("151")) << overlay;
    SendMessageA(bar.m_hWnd, WM_LBUTTONUP, 0, ClientPoint(bar.m_hWnd, {-30, 100}));
    EXPECT_TRUE(ostrana::ScreenOverlay().empty());
    ASSERT_EQ(1u, g_notices.size());
    EXPECT_EQ(50 - 202, g_notices[0].delta);
    EXPECT_EQ("48, 10, 53, 400", Text(InParent(bar.m_hWnd)));
}

TEST_F(PaneSplitterTest, AHorizontalBarUsesOnlyItsVerticalCoordinate) {
    CPaneSplitter bar;
    bar.Create(WS_CHILD | WS_VISIBLE, {10, 300, 700, 305}, CWnd::FromHandle(m_parent), 12);
    bar.SetRange(100, 500);
    // x is clamped into the range as well, but a horizontal bar neither moves nor reports along x.
    Drag(bar, {350, 302}, {{600, 380}, {900, 420}});
    ASSERT_EQ(1u, g_notices.size());
    EXPECT_EQ(420 - 302, g_notices[0].delta);
    EXPECT_EQ("10, 418, 700, 423", Text(InParent(bar.m_hWnd)));
    g_notices.clear();
    Drag(bar, {350, 420}, {{350, 0}});
    ASSERT_EQ(1u, g_notices.size());
    EXPECT_EQ(100 - 420, g_notices[0].delta);
}

TEST_F(PaneSplitterTest, EdgeHelpersMoveOneEdgeAndIgnoreOtherSides) {
    HWND pane = ostrana::test::MakeTestWindow("SplitterPane", DefWindowProcA, WS_CHILD | WS_VISIBLE, {100, 100, 300, 200}, m_parent);
    CWnd* window = CWnd::FromHandle(pane);
    ChangeWidth(window, 10, 1);
    EXPECT_EQ("100, 100, 310, 200", Text(InParent(pane)));
    ChangeWidth(window, -10, 2); // the neighbour's left edge follows a bar moved right by 10
    EXPECT_EQ("110, 100, 310, 200", Text(InParent(pane)));
    ChangeHeight(window, 5, 3);
    ChangeHeight(window, 5, 4);
    EXPECT_EQ("110, 95, 310, 205", Text(InParent(pane)));
    ChangeWidth(window, 5, 3);
    ChangeHeight(window, 5, 1);
    EXPECT_EQ("110, 95, 310, 205", Text(InParent(pane)));

    HWND topLevel = ostrana::test::MakeTestWindow("SplitterTop", DefWindowProcA, WS_POPUP, {0, 0, 50, 50});
    ChangeWidth(CWnd::FromHandle(topLevel), 10, 1); // no parent: nothing happens
    RECT rect{};
    GetWindowRect(topLevel, &rect);
    EXPECT_EQ(50, rect.right);
    DestroyWindow(topLevel);
}

} // namespace
