// The painted dump of a dialog template of the module, shown without its code, for golden tests.
#pragma once

#include <string>

#include "platform/base/WinTypes.h"

namespace ostrana::test {
// A dialog procedure that ends the dialog on OK or Cancel and does nothing else.
INT_PTR CloseOnCommand(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
std::string DumpDialogTemplate(HINSTANCE module, int id);
}
