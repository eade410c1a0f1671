// The button control's state, shared by its input and paint halves. Internal to platform/window.
#pragma once

#include "platform/window/ControlCommon.h"

namespace ostrana::detail {

struct ButtonData : ControlBase {
    UINT check = BST_UNCHECKED;
    bool pushed = false;
    bool focused = false;
    bool tracking = false;
    HANDLE image = nullptr;
};

DWORD ButtonType(HWND button);
// Check boxes and radio buttons, the buttons that have a check state.
bool IsCheckButtonStyle(DWORD style);
void PaintButton(HWND button, ButtonData& data);

} // namespace ostrana::detail
