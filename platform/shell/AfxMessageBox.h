// The framework's message box of the application: its caption is the application's name (the
// module's when there is no application object), the owner the active window.
#pragma once

#include "platform/base/WinTypes.h"

int AfxMessageBox(LPCSTR text, UINT type = 0, UINT helpId = 0);
// The text is string `promptId` of the default resource module.
int AfxMessageBox(UINT promptId, UINT type = 0, UINT helpId = 0);
