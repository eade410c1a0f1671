// The button control's state, shared by its input and paint halves. Internal to platform/window.
#pragma once

#include <atomic>
#include <memory>

#include "platform/window/ControlCommon.h"

namespace ostrana::detail {

struct ButtonData : ControlBase {
    // Atomic: the container's snapshot reads it from its own thread.
    std::atomic<UINT> check = BST_UNCHECKED;
    bool pushed = false;
    bool focused = false;
    bool tracking = false;
    HANDLE image = nullptr;
};

DWORD ButtonType(HWND button);
void PaintButton(HWND button, ButtonData& data);
// The BST_ state of a check box or radio button of that class, style and control data; -1 for any
// other window. Sends nothing, so it may run under the window system's lock on any thread.
int CheckStateOf(const std::string& className, DWORD style, const std::shared_ptr<void>& controlData);

} // namespace ostrana::detail
