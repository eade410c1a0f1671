// The painted dump of a dialog template of the module, shown without its code, for golden tests.
#pragma once

#include <string>

#include "platform/base/WinTypes.h"

namespace ostrana::test {
std::string DumpDialogTemplate(HINSTANCE module, int id);
}
