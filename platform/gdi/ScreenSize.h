// The size of the screen the windows live on: one setting for the whole process. The container
// sets it to the page's control area; until then it is 1920 by 1080.
#pragma once

#include "platform/gdi/GdiTypes.h"

namespace ostrana {

SIZE ScreenSize();
RECT ScreenRect();
// Sizes below one pixel are refused (false) and leave the setting as it was.
bool SetScreenSize(SIZE size);

} // namespace ostrana
