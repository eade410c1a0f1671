// The control module's resources. AfxGetResourceHandle() is the module's HINSTANCE, through which
// LoadStringA (and, as they arrive, dialogs, menus and bitmaps) find them.
#pragma once

#include "platform/base/ModuleResources.h"

HINSTANCE AfxGetResourceHandle();
HINSTANCE AfxGetInstanceHandle();
