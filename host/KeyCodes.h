// The browser's physical key names (KeyboardEvent.code) as virtual keys, left and right kept apart.
#pragma once

#include <string_view>

#include "platform/base/WinTypes.h"

namespace ostrana::host {

inline constexpr UINT kVkProcessKey = 0xE5; // a key the input method takes

// 0 for a key the system has no virtual key for.
UINT VirtualKeyOfCode(std::string_view code);

} // namespace ostrana::host
