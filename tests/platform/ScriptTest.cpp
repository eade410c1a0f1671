// Modal windows answered from a script: a message box with an owner, a dialog's radio button and
// OK, a pop-up menu by keys.
#include <gtest/gtest.h>

#include "platform/base/CodePage.h"
#include "platform/window/AfxDialog.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/Menu.h"
#include "platform/window/MessageBoxWindow.h"
#include "platform/window/VirtualKeys.h"
#include "tests/platform/TestResources.h"
#include "tests/platform/TestWindows.h"
#include "tests/support/ModalScript.h"
#include "tests/support/WindowHarness.h"

namespace ostrana::test {
namespace {

class ChoiceDialog : public CDialog {
public:
    ChoiceDialog() : CDialog(IDD_TEST_CHOICE) {}
    int m_choice = 0;
    void DoDataExchange(CDataExchange* dx) override { DDX_Radio(dx, 234, m_choice); }
};

TEST(ModalScript, AnswersAMessageBoxADialogAndAMenuInTurn) {
    TestResourceHandle();
    SetMessageBoxPresenter(std::make_shared<WindowMessageBoxPresenter>());
    ModalScript script;
    script.AnswerDialog("Quorel Report", {IDNO});
    script.AnswerDialog(Utf8ToAnsi("바꾸기 확인"), {236, IDOK});
    script.AnswerMenu({VK_DOWN, VK_DOWN, VK_RETURN});
    UiThread ui;
    ui.Run([] {
        ResetInputState();
        HWND owner = MakeTestWindow("ScriptOwner", DefWindowProcA, WS_POPUP | WS_VISIBLE, RECT{0, 0, 300, 300});
        SetFocus(owner);
        EXPECT_EQ(IDNO, MessageBoxA(owner, "?", "Quorel Report", MB_YESNO | MB_ICONQUESTION));
        EXPECT_TRUE(IsWindowEnabled(owner));
        EXPECT_EQ(owner, GetActiveWindow());
        ChoiceDialog dialog;
        EXPECT_EQ(IDOK, dialog.DoModal());
        EXPECT_EQ(2, dialog.m_choice);
        SetFocus(owner);
        HMENU menu = LoadMenuA(TestResourceHandle(), MAKEINTRESOURCEA(IDR_TEST_DRAG_MENU));
        EXPECT_EQ(42769, TrackPopupMenuEx(GetSubMenu(menu, 0), TPM_RETURNCMD, 10, 10, owner, nullptr));
        DestroyMenu(menu);
        DestroyWindow(owner);
    });
    EXPECT_EQ(0u, script.Pending());
    EXPECT_EQ((std::vector<std::string>{"Quorel Report", Utf8ToAnsi("바꾸기 확인")}), script.Answered());
    SetMessageBoxPresenter(nullptr);
}

} // namespace
} // namespace ostrana::test
