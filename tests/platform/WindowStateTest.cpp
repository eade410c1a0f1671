// Window state that callers lean on: parents and navigation, properties and extra bytes, redraw
// control, visibility and focus, enabled state and the mouse.
#include <gtest/gtest.h>

#include "platform/base/LastError.h"
#include "platform/window/Dialog.h"
#include "platform/window/DisplayObserver.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/Paint.h"
#include "tests/platform/TestWindows.h"
#include "tests/support/WindowHarness.h"

namespace ostrana::test {
namespace {

BOOL CountChild(HWND, LPARAM counter) {
    ++*reinterpret_cast<int*>(counter);
    return TRUE;
}

TEST(WindowState, NavigationAndReparenting) {
    HWND top = MakeTestWindow("StatePlain", DefWindowProcA, WS_POPUP, RECT{0, 0, 100, 100});
    HWND other = MakeTestWindow("StatePlain", DefWindowProcA, WS_POPUP, RECT{0, 0, 100, 100});
    HWND a = MakeTestWindow("StatePlain", DefWindowProcA, WS_CHILD, RECT{0, 0, 10, 10}, top, 1);
    HWND b = MakeTestWindow("StatePlain", DefWindowProcA, WS_CHILD, RECT{0, 0, 10, 10}, top, 2);
    HWND grandchild = MakeTestWindow("StatePlain", DefWindowProcA, WS_CHILD, RECT{0, 0, 5, 5}, b, 3);
    EXPECT_EQ(a, GetWindow(top, GW_CHILD));
    EXPECT_EQ(b, GetWindow(a, GW_HWNDNEXT));
    EXPECT_EQ(a, GetWindow(b, GW_HWNDPREV));
    EXPECT_EQ(top, GetAncestor(grandchild, GA_ROOT));
    EXPECT_TRUE(IsChild(top, grandchild));
    int count = 0;
    EnumChildWindows(top, CountChild, reinterpret_cast<LPARAM>(&count));
    EXPECT_EQ(3, count);
    EXPECT_EQ(top, SetParent(b, other));
    EXPECT_FALSE(IsChild(top, grandchild));
    EXPECT_EQ(other, GetAncestor(grandchild, GA_ROOT));
    EXPECT_EQ(nullptr, GetDlgItem(top, 2));
    DestroyWindow(top);
    DestroyWindow(other);
    EXPECT_FALSE(IsWindow(grandchild));
}

TEST(WindowState, PropertiesUserDataAndExtraBytes) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "WithExtra";
    windowClass.cbWndExtra = 16;
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "WithExtra", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    EXPECT_TRUE(SetPropA(window, "slot", reinterpret_cast<HANDLE>(7)));
    EXPECT_EQ(reinterpret_cast<HANDLE>(7), GetPropA(window, "slot"));
    EXPECT_EQ(reinterpret_cast<HANDLE>(7), RemovePropA(window, "slot"));
    EXPECT_EQ(nullptr, GetPropA(window, "slot"));
    SetWindowLongPtrA(window, GWLP_USERDATA, 42);
    EXPECT_EQ(42, GetWindowLongPtrA(window, GWLP_USERDATA));
    SetWindowLongPtrA(window, DWLP_USER + 8, 9); // the first of the class's extra bytes
    EXPECT_EQ(9, GetWindowLongPtrA(window, DWLP_USER + 8));
    EXPECT_EQ(0, SetWindowLongPtrA(window, 4000, 1)); // beyond the extra bytes
    DestroyWindow(window);
}

int g_paints = 0;
LRESULT CountingPaint(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) ++g_paints;
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(WindowState, RedrawOffHoldsPaintingBackAndRedrawWindowReachesChildren) {
    UiThread ui;
    ui.Run([] {
        g_paints = 0;
        HWND top = MakeTestWindow("Counting", CountingPaint, WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100});
        MakeTestWindow("Counting", CountingPaint, WS_CHILD | WS_VISIBLE, RECT{0, 0, 10, 10}, top, 1);
        PumpUntilIdle();
        EXPECT_EQ(2, g_paints);
        SendMessageA(top, WM_SETREDRAW, FALSE, 0);
        InvalidateRect(top, nullptr, TRUE);
        PumpUntilIdle();
        EXPECT_EQ(2, g_paints);
        SendMessageA(top, WM_SETREDRAW, TRUE, 0);
        PumpUntilIdle();
        EXPECT_EQ(3, g_paints);
        RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        EXPECT_EQ(5, g_paints); // at once, without the loop
        PumpUntilIdle();
        EXPECT_EQ(5, g_paints);
        DestroyWindow(top);
    });
}

TEST(WindowState, HidingTheFocusMovesItToTheParentAndDisabledWindowsLoseIt) {
    UiThread ui;
    ui.Run([] {
        HWND top = MakeTestWindow("StatePlain", DefWindowProcA, WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100});
        HWND child = MakeTestWindow("StatePlain", DefWindowProcA, WS_CHILD | WS_VISIBLE, RECT{0, 0, 10, 10}, top, 1);
        SetFocus(child);
        EXPECT_EQ(top, GetActiveWindow());
        ShowWindow(child, SW_HIDE);
        EXPECT_EQ(top, GetFocus());
        ShowWindow(child, SW_SHOW);
        SetFocus(child);
        EnableWindow(child, FALSE);
        EXPECT_EQ(nullptr, GetFocus());
        EXPECT_FALSE(IsWindowEnabled(child));
        EXPECT_TRUE(IsWindowVisible(child));
        ShowWindow(top, SW_HIDE);
        EXPECT_FALSE(IsWindowVisible(child)); // hidden with its parent
        DestroyWindow(top);
    });
}

struct ChangeList : DisplayObserver {
    std::vector<WindowChange> changes;
    void OnWindowChanged(HWND, WindowChange change) override { changes.push_back(change); }
};

TEST(WindowState, SetParentRefusesACycleAndTellsTheObserverOfAMove) {
    HWND top = MakeTestWindow("StatePlain", DefWindowProcA, WS_POPUP, RECT{0, 0, 100, 100});
    HWND child = MakeTestWindow("StatePlain", DefWindowProcA, WS_CHILD, RECT{0, 0, 10, 10}, top, 1);
    HWND grandchild = MakeTestWindow("StatePlain", DefWindowProcA, WS_CHILD, RECT{0, 0, 5, 5}, child, 2);
    ChangeList observer;
    AddDisplayObserver(&observer);
    EXPECT_EQ(nullptr, SetParent(top, grandchild));
    EXPECT_EQ(nullptr, SetParent(child, child));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
    EXPECT_TRUE(observer.changes.empty());
    EXPECT_EQ(top, GetAncestor(grandchild, GA_ROOT));
    EXPECT_EQ(child, SetParent(grandchild, top));
    RemoveDisplayObserver(&observer);
    EXPECT_EQ((std::vector<WindowChange>{WindowChange::ZOrder, WindowChange::Moved}), observer.changes);
    DestroyWindow(top);
}

TEST(WindowState, StyleChangesThroughSetWindowLongReportHiddenShownAndEnabled) {
    HWND window = MakeTestWindow("StatePlain", DefWindowProcA, WS_POPUP | WS_VISIBLE, RECT{0, 0, 10, 10});
    ChangeList observer;
    AddDisplayObserver(&observer);
    LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    SetWindowLongPtrA(window, GWL_STYLE, style & ~WS_VISIBLE);
    SetWindowLongPtrA(window, GWL_STYLE, style | WS_DISABLED);
    SetWindowLongPtrA(window, GWL_STYLE, style | WS_DISABLED | WS_BORDER);
    RemoveDisplayObserver(&observer);
    EXPECT_EQ((std::vector<WindowChange>{WindowChange::Hidden, WindowChange::Shown, WindowChange::Enabled}), observer.changes);
    DestroyWindow(window);
}

LRESULT EraseAnswer(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) return GetWindowLongPtrA(window, GWLP_USERDATA);
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(WindowState, BeginPaintLeavesTheErasingToThePainterOnlyWhenAnEraseWasAskedAndNotDone) {
    HWND window = MakeTestWindow("StateErase", EraseAnswer, WS_POPUP | WS_VISIBLE, RECT{0, 0, 10, 10});
    auto paintAfter = [&](BOOL erase, LONG_PTR erased) {
        SetWindowLongPtrA(window, GWLP_USERDATA, erased);
        ValidateRect(window, nullptr);
        InvalidateRect(window, nullptr, erase);
        PAINTSTRUCT paint{};
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        return paint.fErase;
    };
    EXPECT_FALSE(paintAfter(FALSE, 0));
    EXPECT_TRUE(paintAfter(TRUE, 0));
    EXPECT_FALSE(paintAfter(TRUE, 1));
    DestroyWindow(window);
}

} // namespace
} // namespace ostrana::test
