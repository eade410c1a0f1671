// The control module's resources. AfxGetResourceHandle() is the module's HINSTANCE, through which
// LoadStringA, dialogs, menus, bitmaps, icons and the cursor find them.
#pragma once

#include "platform/base/ModuleResources.h"

HINSTANCE AfxGetResourceHandle();
HINSTANCE AfxGetInstanceHandle();
