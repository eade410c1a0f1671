// The window presenter of MessageBoxA: a real modal dialog window built from the request (icon,
// text, the buttons of the box type, the default button, topmost), run on the calling thread.
#pragma once

#include "platform/window/Dialog.h"
#include "platform/window/MessageBox.h"

namespace ostrana {

class WindowMessageBoxPresenter : public MessageBoxPresenter {
public:
    int Present(const MessageBoxRequest& request) override;
};

// The template the presenter shows for a request; public so that layouts can be checked.
DialogTemplate MessageBoxTemplate(const MessageBoxRequest& request);

} // namespace ostrana
