// Standard controls driven by injected input: the edit (double-byte characters typed as two
// bytes, Backspace, Shift selection, the limit, read-only), the drop-down combo box and buttons.
#include <gtest/gtest.h>

#include "platform/base/CodePage.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/window/Controls.h"
#include "platform/window/Dialog.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/NonClient.h"
#include "platform/window/VirtualKeys.h"
#include "tests/platform/TestWindows.h"
#include "tests/support/WindowHarness.h"

namespace ostrana::test {
namespace {

struct Parent {
    HWND window = MakeTestWindow("ControlParent", DefWindowProcA, WS_POPUP | WS_VISIBLE, RECT{100, 100, 500, 400});
    ~Parent() { DestroyWindow(window); }
    HWND Child(const char* className, DWORD style, RECT rect, int id, const char* text = "") const {
        return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, rect.left, rect.top, rect.right - rect.left,
                               rect.bottom - rect.top, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr,
                               nullptr);
    }
};

TEST(EditControl, TypesDoubleByteCharactersWholeAndHonoursTheLimit) {
    UiThread ui;
    ui.Run([] {
        ResetInputState();
        Parent parent;
        HWND edit = parent.Child(WC_EDITA, WS_BORDER | ES_AUTOHSCROLL, RECT{10, 10, 200, 30}, 5);
        MessageRecorder recorder(parent.window, {WM_COMMAND});
        SetFocus(edit);
        InjectText(Utf8ToAnsi("가나"));
        PumpUntilIdle();
        EXPECT_EQ(Utf8ToAnsi("가나"), WindowText(edit));
        InjectKeyPress(VK_BACK);
        PumpUntilIdle();
        EXPECT_EQ(Utf8ToAnsi("가"), WindowText(edit));
        InjectKey(VK_SHIFT, true);
        InjectKeyPress(VK_LEFT);
        InjectKey(VK_SHIFT, false);
        PumpUntilIdle();
        DWORD start = 9;
        DWORD end = 9;
        SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(0u, start);
        EXPECT_EQ(2u, end);
        SendMessageA(edit, EM_LIMITTEXT, 3, 0);
        InjectText("x" + Utf8ToAnsi("가나"));
        PumpUntilIdle();
        EXPECT_EQ("x" + Utf8ToAnsi("가"), WindowText(edit));
        std::vector<std::string> seen = recorder.Messages();
        EXPECT_EQ("WM_COMMAND 5 256", seen.front()); // EN_SETFOCUS
        EXPECT_EQ("WM_COMMAND 5 1281", seen.back()); // EN_MAXTEXT for the character that did not fit
        SendMessageA(edit, EM_SETREADONLY, TRUE, 0);
        InjectKeyPress(VK_BACK);
        InjectText("z");
        PumpUntilIdle();
        EXPECT_EQ("x" + Utf8ToAnsi("가"), WindowText(edit));
    });
}

TEST(ComboBox, DropsDownOnAClickAndTakesTheClickedRow) {
    UiThread ui;
    ui.Run([] {
        ResetInputState();
        Parent parent;
        HWND combo = parent.Child(WC_COMBOBOXA, CBS_DROPDOWN | WS_TABSTOP, RECT{10, 10, 160, 100}, 1019);
        for (const char* text : {"alpha", "beta", "gamma"}) SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        MessageRecorder recorder(parent.window, {WM_COMMAND});
        RECT box;
        GetWindowRect(combo, &box);
        InjectClick(MouseButton::Left, POINT{box.right - 5, box.top + 5});
        PumpUntilIdle();
        ASSERT_TRUE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
        InjectMouseMove(POINT{box.left + 10, box.bottom + 1 + 14 + 7});
        InjectClick(MouseButton::Left, POINT{box.left + 10, box.bottom + 1 + 14 + 7});
        PumpUntilIdle();
        EXPECT_FALSE(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0));
        EXPECT_EQ(1, SendMessageA(combo, CB_GETCURSEL, 0, 0));
        EXPECT_EQ("beta", WindowText(combo));
        std::vector<std::string> seen = recorder.Messages();
        std::vector<std::string> notifications;
        for (const std::string& entry : seen) {
            if (entry != "WM_COMMAND 1019 3" && entry != "WM_COMMAND 1019 4") notifications.push_back(entry); // focus
        }
        EXPECT_TRUE(SameSequence({"WM_COMMAND 1019 7", "WM_COMMAND 1019 1", "WM_COMMAND 1019 9", "WM_COMMAND 1019 8"},
                                 notifications));
        InjectKeyPress(VK_DOWN); // keys reach the combo through its edit
        PumpUntilIdle();
        EXPECT_EQ("gamma", WindowText(combo));
        EXPECT_EQ(CB_ERR, SendMessageA(combo, CB_SETCURSEL, 7, 0));
        EXPECT_EQ("", WindowText(combo));
    });
}

TEST(ComboBox, AScrollBarStyleFromTheTemplateLeavesTheBoxWithItsButtonAlone) {
    UiThread ui;
    ui.Run([] {
        Parent parent;
        for (DWORD type : {DWORD{CBS_DROPDOWN}, DWORD{CBS_DROPDOWNLIST}}) {
            HWND combo = parent.Child(WC_COMBOBOXA, type | WS_VSCROLL | WS_TABSTOP, RECT{10, 10, 160, 100}, 1019 + type);
            RECT window;
            RECT client;
            GetWindowRect(combo, &window);
            GetClientRect(combo, &client);
            EXPECT_EQ(window.right - window.left, client.right) << type;
            EXPECT_EQ(window.bottom - window.top, client.bottom) << type;
            EXPECT_TRUE(WindowNonClientPicture(combo).empty()) << type;
        }
    });
}

// A template's dialog units rarely give a bitmap's exact pixels; the picture must not be cut off.
TEST(StaticControl, ABitmapStaticTakesItsBitmapsSizeUnlessItKeepsTheTemplatesSize) {
    UiThread ui;
    ui.Run([] {
        Parent parent;
        HBITMAP bitmap = CreateBitmap(202, 11, 1, 32, nullptr);
        auto sizeAfterSetting = [&](DWORD style) {
            HWND image = parent.Child(WC_STATICA, SS_BITMAP | style, RECT{10, 10, 210, 20}, 224);
            SendMessageA(image, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
            RECT rect{};
            GetWindowRect(image, &rect);
            DestroyWindow(image);
            return SIZE{rect.right - rect.left, rect.bottom - rect.top};
        };
        const SIZE natural = sizeAfterSetting(0);
        EXPECT_EQ(202, natural.cx);
        EXPECT_EQ(11, natural.cy);
        const SIZE centred = sizeAfterSetting(SS_CENTERIMAGE);
        EXPECT_EQ(200, centred.cx);
        EXPECT_EQ(10, centred.cy);
        DeleteObject(bitmap);
    });
}

TEST(Buttons, CheckBoxesToggleAndAutoRadioButtonsUncheckTheirGroup) {
    UiThread ui;
    ui.Run([] {
        ResetInputState();
        Parent parent;
        HWND check = parent.Child(WC_BUTTONA, BS_AUTOCHECKBOX | WS_TABSTOP, RECT{10, 10, 100, 24}, 1, "check");
        HWND first = parent.Child(WC_BUTTONA, BS_AUTORADIOBUTTON | WS_GROUP, RECT{10, 30, 100, 44}, 2, "one");
        HWND second = parent.Child(WC_BUTTONA, BS_AUTORADIOBUTTON, RECT{10, 50, 100, 64}, 3, "two");
        HWND other = parent.Child(WC_BUTTONA, BS_AUTORADIOBUTTON | WS_GROUP, RECT{10, 70, 100, 84}, 4, "other");
        MessageRecorder recorder(parent.window, {WM_COMMAND});
        SendMessageA(first, BM_SETCHECK, BST_CHECKED, 0);
        SendMessageA(other, BM_SETCHECK, BST_CHECKED, 0);
        InjectClick(MouseButton::Left, POINT{115, 115});
        InjectClick(MouseButton::Left, POINT{115, 155});
        PumpUntilIdle(); // the clicks move the focus; Space must follow it to the check box
        SetFocus(check);
        InjectKeyPress(VK_SPACE);
        PumpUntilIdle();
        EXPECT_EQ(BST_CHECKED, SendMessageA(second, BM_GETCHECK, 0, 0));
        EXPECT_EQ(BST_UNCHECKED, SendMessageA(first, BM_GETCHECK, 0, 0));
        EXPECT_EQ(BST_CHECKED, SendMessageA(other, BM_GETCHECK, 0, 0)); // another group
        EXPECT_EQ(BST_UNCHECKED, SendMessageA(check, BM_GETCHECK, 0, 0)); // clicked, then toggled back by Space
        EXPECT_TRUE(SameSequence({"WM_COMMAND 1 0", "WM_COMMAND 3 0", "WM_COMMAND 1 0"}, recorder.Messages()));
    });
}

TEST(ScrollBar, KeepsThePositionInRangeAndReportsArrowClicksAndThumbDrags) {
    UiThread ui;
    ui.Run([] {
        ResetInputState();
        Parent parent;
        HWND bar = parent.Child(WC_SCROLLBARA, SBS_VERT, RECT{10, 10, 26, 210}, 9);
        SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 10, 500, 0};
        EXPECT_EQ(90, SetScrollInfo(bar, SB_CTL, &info, TRUE));
        EXPECT_EQ(90, GetScrollPos(bar, SB_CTL));
        MessageRecorder recorder(parent.window, {WM_VSCROLL});
        InjectClick(MouseButton::Left, POINT{115, 305}); // the lower arrow, in screen pixels
        PumpUntilIdle();
        EXPECT_TRUE(SameSequence({"WM_VSCROLL SB_LINEDOWN", "WM_VSCROLL SB_ENDSCROLL"}, recorder.Messages()));
        recorder.Clear();
        // The thumb of position 90 lies at 278..294 on the screen; dragged up by 76 of its 152
        // pixels of travel it reports 45, and the position stays the owner's to set.
        InjectMouseButton(MouseButton::Left, true, POINT{115, 280});
        InjectMouseMove(POINT{115, 204});
        InjectMouseButton(MouseButton::Left, false, POINT{115, 204});
        PumpUntilIdle();
        EXPECT_TRUE(SameSequence({"WM_VSCROLL SB_THUMBTRACK 45", "WM_VSCROLL SB_THUMBPOSITION 45", "WM_VSCROLL SB_ENDSCROLL"},
                                 recorder.Messages()));
        EXPECT_EQ(90, GetScrollPos(bar, SB_CTL));
    });
}

HBRUSH g_white = nullptr;
LRESULT WhiteControls(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CTLCOLORSTATIC || message == WM_CTLCOLOREDIT || message == WM_CTLCOLORBTN) {
        SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(g_white);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(StaticControl, PaintsWithTheParentsBrushAndReportsClicksWithNotify) {
    UiThread ui;
    ui.Run([] {
        ResetInputState();
        g_white = CreateSolidBrush(RGB(255, 255, 255));
        HWND parent = MakeTestWindow("WhiteParent", WhiteControls, WS_POPUP | WS_VISIBLE, RECT{0, 0, 300, 300});
        HWND label = CreateWindowExA(0, WC_STATICA, "link", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 10, 10, 100, 20, parent,
                                     reinterpret_cast<HMENU>(1014), nullptr, nullptr);
        HWND plain = CreateWindowExA(0, WC_STATICA, "plain", WS_CHILD | WS_VISIBLE, 10, 40, 100, 20, parent,
                                     reinterpret_cast<HMENU>(1015), nullptr, nullptr);
        MessageRecorder recorder(parent, {WM_COMMAND});
        InjectClick(MouseButton::Left, POINT{20, 15});
        InjectClick(MouseButton::Left, POINT{20, 45});
        PumpUntilIdle();
        EXPECT_TRUE(SameSequence({"WM_COMMAND 1014 0"}, recorder.Messages()));
        EXPECT_NE(std::string::npos, DumpWindowTree(label).find("fill (0,0)-(100,20) #FFFFFF"));
        EXPECT_NE(std::string::npos, DumpWindowTree(plain).find("\"plain\" font=굴림/12"));
        DestroyWindow(parent);
        DeleteObject(g_white);
    });
}

} // namespace
} // namespace ostrana::test
