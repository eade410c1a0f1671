// Left and right modifier keys. Key messages carry the generic key (VK_SHIFT, VK_CONTROL, VK_MENU)
// and tell the side by the key data, as Windows does; the key state holds both sides and the
// generic key, which is down while either side is.
#pragma once

#include "platform/base/WinTypes.h"

namespace ostrana::detail {

// VK_SHIFT for VK_LSHIFT and VK_RSHIFT, likewise Ctrl and Alt; any other key is itself.
UINT GenericKeyOf(UINT virtualKey);
// The side key a key message means: the right one by the scan code of right Shift or the extended
// bit for Ctrl and Alt, else the left one. Any other key is itself.
UINT SideKeyOf(UINT virtualKey, LPARAM keyData);
// Records `sideKey` (a side key or any other key) going down or up in a 256-entry key state.
void SetKeyDown(bool* keys, UINT sideKey, bool down);

} // namespace ostrana::detail
