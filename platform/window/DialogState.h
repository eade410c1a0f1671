// What the dialog manager keeps per dialog window (its control data). Internal to platform/window.
#pragma once

#include "platform/window/Dialog.h"

namespace ostrana::detail {

struct DialogState {
    bool ended = false;
    INT_PTR result = 0;
    HWND savedFocus = nullptr;
    int defaultId = 0; // 0: the BS_DEFPUSHBUTTON item, else IDOK
    HFONT font = nullptr;
    SIZE baseUnits{6, 12};
};

std::shared_ptr<DialogState> DialogStateOf(HWND dialog);
// The direct child of `dialog` that holds `window` (a combo box for its edit), or null.
HWND DialogChildOf(HWND dialog, HWND window);
void RegisterDialogClass();

} // namespace ostrana::detail
