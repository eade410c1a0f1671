// Global memory belongs to the base layer (the clipboard of the window layer uses it too); OLE code
// keeps including it from here.
#pragma once

#include "platform/base/GlobalMemory.h"
