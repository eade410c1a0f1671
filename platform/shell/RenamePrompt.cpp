#include "platform/shell/RenamePrompt.h"

#include <vector>

#include "platform/base/CodePage.h"
#include "platform/window/Dialog.h"
#include "platform/window/MessageBox.h"
#include "platform/window/Window.h"
#include "platform/window/WindowMessages.h"
#include "platform/window/WindowStyles.h"

namespace ostrana {
namespace {

struct PromptState {
    std::string name;
};

INT_PTR PromptProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, GWLP_USERDATA, lParam);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            auto* state = reinterpret_cast<PromptState*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
            HWND edit = GetDlgItem(dialog, IDC_RENAME_EDIT);
            std::vector<char> text(static_cast<std::size_t>(GetWindowTextLengthA(edit)) + 1);
            GetWindowTextA(edit, text.data(), static_cast<int>(text.size()));
            state->name = text.data();
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

std::optional<std::string> AskNewName(HWND owner, const std::string& oldName) {
    DialogTemplate prompt;
    prompt.caption = Utf8ToAnsi("이름 바꾸기");
    prompt.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    prompt.cx = 200;
    prompt.cy = 62;
    prompt.font = Utf8ToAnsi("굴림");
    constexpr DWORD kVisible = WS_CHILD | WS_VISIBLE;
    prompt.items = {
        {"Static", Utf8ToAnsi("새 이름:"), -1, kVisible | SS_LEFT, 0, 8, 8, 184, 10},
        {"Edit", oldName, IDC_RENAME_EDIT, kVisible | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 0, 8, 20, 184, 12},
        {"Button", Utf8ToAnsi("확인"), IDOK, kVisible | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 88, 40, 50, 14},
        {"Button", Utf8ToAnsi("취소"), IDCANCEL, kVisible | WS_TABSTOP | BS_PUSHBUTTON, 0, 142, 40, 50, 14},
    };
    PromptState state;
    INT_PTR answer = DialogBoxIndirectParamA(nullptr, &prompt, owner, PromptProcedure, reinterpret_cast<LPARAM>(&state));
    if (answer != IDOK) {
        return std::nullopt;
    }
    return state.name;
}

} // namespace ostrana
