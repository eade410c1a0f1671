// Clipboard formats belong to the window layer with the clipboard itself; OLE code keeps including
// them from here.
#pragma once

#include "platform/window/ClipboardFormat.h"
