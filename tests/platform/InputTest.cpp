// Mouse and keyboard injection: targets, client coordinates, cursors, double clicks, capture.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/base/Event.h"
#include "platform/base/KernelObject.h"
#include "platform/window/Cursor.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/VirtualKeys.h"
#include "tests/platform/TestWindows.h"
#include "tests/support/WindowHarness.h"

namespace ostrana::test {
namespace {

POINT g_lastPoint{};
LRESULT PointProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && message != WM_MOUSEWHEEL) {
        g_lastPoint = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(Input, MouseReachesTheDeepestWindowInClientCoordinatesAfterSetCursor) {
    UiThread ui;
    ui.Run([] {
        ResetInputState();
        HWND top = MakeTestWindow("PointTop", PointProcedure, WS_POPUP | WS_VISIBLE, RECT{100, 100, 300, 300});
        HWND child = MakeTestWindow("PointChild", PointProcedure, WS_CHILD | WS_VISIBLE, RECT{20, 30, 80, 90}, top, 1);
        MessageRecorder recorder(child, {WM_SETCURSOR, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_MOUSEMOVE});
        InjectMouseMove(POINT{125, 135});
        InjectMouseMove(POINT{126, 136}); // merged with the first
        InjectClick(MouseButton::Left, POINT{126, 136});
        InjectClick(MouseButton::Left, POINT{127, 136}); // within the double-click distance and time
        PumpUntilIdle();
        EXPECT_TRUE(SameSequence({"WM_SETCURSOR", "WM_MOUSEMOVE", "WM_SETCURSOR", "WM_LBUTTONDOWN", "WM_LBUTTONUP",
                                  "WM_SETCURSOR", "WM_LBUTTONDBLCLK", "WM_LBUTTONUP"},
                                 recorder.Messages()));
        EXPECT_EQ(7, g_lastPoint.x);
        EXPECT_EQ(6, g_lastPoint.y);
        EXPECT_EQ("arrow", CursorName(GetCursor()));
        DestroyWindow(top);
    });
}

TEST(Input, CaptureTakesTheMouseOutsideTheWindowAndDisabledWindowsGetNothing) {
    UiThread ui;
    ui.Run([] {
        ResetInputState();
        HWND top = MakeTestWindow("PointTop", PointProcedure, WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100});
        HWND child = MakeTestWindow("PointChild", PointProcedure, WS_CHILD | WS_VISIBLE, RECT{10, 10, 20, 20}, top, 1);
        MessageRecorder recorder(child, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_CAPTURECHANGED});
        SetCapture(child);
        InjectMouseButton(MouseButton::Left, false, POINT{90, 90});
        PumpUntilIdle();
        EXPECT_EQ(80, g_lastPoint.x);
        ReleaseCapture();
        EnableWindow(child, FALSE);
        InjectClick(MouseButton::Left, POINT{15, 15});
        PumpUntilIdle();
        EXPECT_TRUE(SameSequence({"WM_LBUTTONUP", "WM_CAPTURECHANGED"}, recorder.Messages()));
        DestroyWindow(top);
    });
}

TEST(Input, KeysGoToTheFocusAndKeyStateFollowsThem) {
    UiThread ui;
    ui.Run([] {
        ResetInputState();
        HWND top = MakeTestWindow("PointTop", PointProcedure, WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100});
        HWND child = MakeTestWindow("PointChild", PointProcedure, WS_CHILD | WS_VISIBLE, RECT{10, 10, 20, 20}, top, 1);
        MessageRecorder recorder(child, {WM_KEYDOWN, WM_CHAR, WM_KEYUP});
        SetFocus(child);
        InjectKey(VK_SHIFT, true);
        EXPECT_NE(0, GetAsyncKeyState(VK_SHIFT) & 0x8000);
        InjectKeyPress('B');
        InjectKey(VK_SHIFT, false);
        EXPECT_EQ(0, GetKeyState(VK_SHIFT) & 0x8000);
        PumpUntilIdle();
        EXPECT_TRUE(SameSequence({"WM_KEYDOWN 16", "WM_KEYDOWN 66", "WM_CHAR 66", "WM_KEYUP 66", "WM_KEYUP 16"},
                                 recorder.Messages()));
        DestroyWindow(top);
    });
}

// Each key message as "<message> <wParam> <L|R> <generic><left><right>": the side the key data names
// (right Shift by its scan code, right Ctrl and Alt by the extended bit) and, as 0 or 1, what
// GetKeyState answers for the generic key and its two sides of the message's key while it is handled.
std::vector<std::string> g_keys;
LRESULT SideProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN || message == WM_SYSKEYUP) {
        auto data = static_cast<DWORD>(lParam);
        bool right = ((data >> 16) & 0xFF) == 0x36 || (data & (1u << 24)) != 0;
        int left = wParam == VK_SHIFT ? VK_LSHIFT : wParam == VK_CONTROL ? VK_LCONTROL : VK_LMENU;
        auto held = [](int vk) { return (GetKeyState(vk) & 0x8000) ? '1' : '0'; };
        std::string name = message == WM_KEYDOWN ? "down" : message == WM_KEYUP ? "up" : message == WM_SYSKEYDOWN ? "sysdown" : "sysup";
        g_keys.push_back(name + " " + std::to_string(wParam) + " " + (right ? "R " : "L ") + held(static_cast<int>(wParam)) + held(left) +
                         held(left + 1));
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool AsyncDown(int vk) { return (GetAsyncKeyState(vk) & 0x8000) != 0; }

TEST(Input, SideModifiersArriveAsTheGenericKeyWhichStaysDownWhileEitherSideIs) {
    UiThread ui;
    ui.Run([] {
        ResetInputState();
        g_keys.clear();
        HWND top = MakeTestWindow("SideTop", SideProcedure, WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100});
        SetFocus(top);
        InjectKey(VK_RSHIFT, true);
        EXPECT_TRUE(AsyncDown(VK_SHIFT) && AsyncDown(VK_RSHIFT) && !AsyncDown(VK_LSHIFT));
        InjectKey(VK_LCONTROL, true);
        InjectKey(VK_RCONTROL, true);
        InjectKey(VK_LCONTROL, false); // the right Ctrl is still held
        EXPECT_TRUE(AsyncDown(VK_CONTROL));
        InjectKey(VK_RSHIFT, false);
        InjectKey(VK_RCONTROL, false);
        EXPECT_FALSE(AsyncDown(VK_CONTROL) || AsyncDown(VK_SHIFT));
        PumpUntilIdle();
        EXPECT_TRUE(SameSequence({"down 16 R 101", "down 17 L 110", "down 17 R 111", "up 17 L 101", "up 16 R 000", "up 17 R 000"}, g_keys));
        DestroyWindow(top);
    });
}

TEST(Input, AltHeldOnOneSideKeepsLaterKeysSystemKeysAfterTheOtherSideGoesUp) {
    UiThread ui;
    ui.Run([] {
        ResetInputState();
        g_keys.clear();
        HWND top = MakeTestWindow("SideTop", SideProcedure, WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100});
        SetFocus(top);
        InjectKey(VK_LMENU, true);
        InjectKey(VK_RMENU, true);
        InjectKey(VK_LMENU, false);
        EXPECT_TRUE(AsyncDown(VK_MENU) && AsyncDown(VK_RMENU) && !AsyncDown(VK_LMENU));
        InjectKey(VK_SHIFT, true); // the generic key alone is the left one
        EXPECT_TRUE(AsyncDown(VK_LSHIFT));
        InjectKey(VK_SHIFT, false);
        InjectKey(VK_RMENU, false);
        EXPECT_FALSE(AsyncDown(VK_MENU));
        PumpUntilIdle();
        EXPECT_TRUE(SameSequence({"sysdown 18 L 110", "sysdown 18 R 111", "sysup 18 L 101", "sysdown 16 L 110", "sysup 16 L 000",
                                  "sysup 18 R 000"},
                                 g_keys));
        DestroyWindow(top);
    });
}

// Takes the mouse on a button going down and the focus when it comes up; the down is slow, so that
// later events are injected while it is being handled.
HANDLE g_downTaken = nullptr;
HANDLE g_proceed = nullptr;
LRESULT SlowGrabProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONDOWN) {
        SetCapture(window);
        SetEvent(g_downTaken);
        WaitForSingleObject(g_proceed, 10000);
    } else if (message == WM_LBUTTONUP) {
        ReleaseCapture();
        SetFocus(window);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(Input, EventsFromAnotherThreadGoWhereTheEventsBeforeThemLeftCaptureAndFocus) {
    UiThread ui;
    g_downTaken = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    g_proceed = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HWND top = nullptr;
    HWND grab = nullptr;
    HWND other = nullptr;
    std::unique_ptr<MessageRecorder> grabRecorder;
    std::unique_ptr<MessageRecorder> otherRecorder;
    ui.Run([&] {
        ResetInputState();
        top = MakeTestWindow("GrabTop", DefWindowProcA, WS_POPUP | WS_VISIBLE, RECT{0, 0, 200, 100});
        grab = MakeTestWindow("GrabChild", SlowGrabProcedure, WS_CHILD | WS_VISIBLE, RECT{10, 10, 60, 60}, top, 1);
        other = MakeTestWindow("GrabOther", DefWindowProcA, WS_CHILD | WS_VISIBLE, RECT{100, 10, 150, 60}, top, 2);
        SetFocus(top);
        std::vector<UINT> only{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_KEYDOWN, WM_CHAR, WM_KEYUP};
        grabRecorder = std::make_unique<MessageRecorder>(grab, only);
        otherRecorder = std::make_unique<MessageRecorder>(other, only);
    });
    InjectClick(MouseButton::Left, POINT{20, 20});
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(g_downTaken, 10000));
    // The first button is still down and its release not yet handled.
    InjectClick(MouseButton::Left, POINT{120, 20});
    InjectKeyPress('X');
    SetEvent(g_proceed);
    ui.WaitIdle();
    EXPECT_TRUE(SameSequence({"WM_LBUTTONDOWN", "WM_LBUTTONUP", "WM_KEYDOWN 88", "WM_CHAR 120", "WM_KEYUP 88"},
                             grabRecorder->Messages()));
    EXPECT_TRUE(SameSequence({"WM_LBUTTONDOWN", "WM_LBUTTONUP"}, otherRecorder->Messages()));
    ui.Run([&] {
        grabRecorder.reset();
        otherRecorder.reset();
        DestroyWindow(top);
    });
    CloseHandle(g_downTaken);
    CloseHandle(g_proceed);
}

} // namespace
} // namespace ostrana::test
