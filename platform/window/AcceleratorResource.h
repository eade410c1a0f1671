// Accelerator tables from a module's resources.
#pragma once

#include "platform/window/Menu.h"

// A new table (destroy it with DestroyAcceleratorTable), or null when the module has no table of
// that number.
HACCEL LoadAcceleratorsA(HINSTANCE instance, LPCSTR name);
#define LoadAccelerators LoadAcceleratorsA
