// The dialog manager on a hand-made template: default button changes, Enter on a focused push
// button, disabled and hidden items skipped by Tab, item helpers.
#include <gtest/gtest.h>

#include "platform/window/Dialog.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/MessageBox.h"
#include "platform/window/VirtualKeys.h"
#include "tests/support/WindowHarness.h"

namespace ostrana::test {
namespace {

std::vector<int> g_commands;

INT_PTR RecordCommands(HWND, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        g_commands.push_back(LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

DialogTemplate Form() {
    DialogTemplate dialog;
    dialog.caption = "form";
    dialog.style = WS_POPUP | WS_CAPTION | DS_SETFONT;
    dialog.cx = 200;
    dialog.cy = 100;
    dialog.font = "font";
    DWORD visible = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    auto style = [](auto bits) { return static_cast<DWORD>(bits); };
    dialog.items = {
        {"Edit", "12", 10, style(visible | WS_BORDER), 0, 5, 5, 60, 12},
        {"Edit", "", 11, style(visible | WS_BORDER | WS_DISABLED), 0, 5, 20, 60, 12},
        {"Edit", "", 12, style((visible & ~static_cast<DWORD>(WS_VISIBLE)) | WS_BORDER), 0, 5, 35, 60, 12},
        {"Button", "apply", 20, style(visible | BS_PUSHBUTTON), 0, 80, 5, 50, 14},
        {"Button", "ok", IDOK, style(visible | BS_DEFPUSHBUTTON), 0, 80, 25, 50, 14},
        {"Button", "cancel", IDCANCEL, style(visible | BS_PUSHBUTTON), 0, 80, 45, 50, 14},
    };
    return dialog;
}

void Press(HWND dialog, UINT key) {
    InjectKeyPress(key);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!IsDialogMessageA(dialog, &msg)) DispatchMessageA(&msg);
    }
}

TEST(DialogManager, EnterPressesTheFocusedPushButtonElseTheDefaultOne) {
    UiThread ui;
    ui.Run([] {
        ResetInputState();
        g_commands.clear();
        DialogTemplate form = Form();
        HWND dialog = CreateDialogIndirectParamA(nullptr, &form, nullptr, RecordCommands, 0);
        ShowWindow(dialog, SW_SHOW);
        EXPECT_EQ(GetDlgItem(dialog, 10), GetFocus());
        Press(dialog, VK_RETURN);              // from the edit: the default button
        Press(dialog, VK_TAB);                 // the disabled and the hidden edit are skipped
        EXPECT_EQ(GetDlgItem(dialog, 20), GetFocus());
        Press(dialog, VK_RETURN);              // a focused push button answers for itself
        SendMessageA(dialog, DM_SETDEFID, IDCANCEL, 0);
        EXPECT_EQ(IDCANCEL, LOWORD(SendMessageA(dialog, DM_GETDEFID, 0, 0)));
        EXPECT_EQ(BS_PUSHBUTTON, GetWindowLongPtrA(GetDlgItem(dialog, IDOK), GWL_STYLE) & BS_TYPEMASK);
        EXPECT_EQ(BS_DEFPUSHBUTTON, GetWindowLongPtrA(GetDlgItem(dialog, IDCANCEL), GWL_STYLE) & BS_TYPEMASK);
        SetFocus(GetDlgItem(dialog, 10));
        Press(dialog, VK_RETURN);
        EnableWindow(GetDlgItem(dialog, IDCANCEL), FALSE);
        Press(dialog, VK_RETURN);              // a disabled default button does nothing
        EXPECT_EQ((std::vector<int>{IDOK, 20, IDCANCEL}), g_commands);
        DestroyWindow(dialog);
    });
}

TEST(DialogManager, ItemHelpersReadAndWriteNumbersAndChecks) {
    DialogTemplate form = Form();
    HWND dialog = CreateDialogIndirectParamA(nullptr, &form, nullptr, RecordCommands, 0);
    BOOL translated = FALSE;
    EXPECT_EQ(12u, GetDlgItemInt(dialog, 10, &translated, TRUE));
    EXPECT_TRUE(translated);
    SetDlgItemInt(dialog, 10, static_cast<UINT>(-5), TRUE);
    EXPECT_EQ(-5, static_cast<int>(GetDlgItemInt(dialog, 10, &translated, TRUE)));
    SetDlgItemTextA(dialog, 10, "12a");
    GetDlgItemInt(dialog, 10, &translated, TRUE);
    EXPECT_FALSE(translated);
    char text[8] = {};
    EXPECT_EQ(3u, GetDlgItemTextA(dialog, 10, text, sizeof text));
    EXPECT_STREQ("12a", text);
    EXPECT_EQ(0u, IsDlgButtonChecked(dialog, 99));
    RECT units{0, 0, 8, 8};
    MapDialogRect(dialog, &units); // the template's font has no size of its own: 9 pt
    EXPECT_EQ(12, units.right);
    EXPECT_EQ(12, units.bottom);
    DestroyWindow(dialog);
}

} // namespace
} // namespace ostrana::test
