#include "tests/support/TemplateDump.h"

#include "platform/window/Dialog.h"
#include "platform/window/DisplayObserver.h"
#include "platform/window/MessageBox.h"
#include "tests/support/WindowHarness.h"

namespace ostrana::test {

INT_PTR CloseOnCommand(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

std::string DumpDialogTemplate(HINSTANCE module, int id) {
    UiThread ui;
    std::string dump;
    ui.Run([&] {
        HWND dialog = CreateDialogParamA(module, MAKEINTRESOURCEA(id), nullptr, CloseOnCommand, 0);
        if (dialog == nullptr) return;
        ShowWindow(dialog, SW_SHOW);
        PumpUntilIdle();
        dump = DumpWindowTree(dialog);
        DestroyWindow(dialog);
    });
    return dump;
}

} // namespace ostrana::test
