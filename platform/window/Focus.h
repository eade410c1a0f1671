// Keyboard focus. Until the window table exists no window can hold the focus.
#pragma once

#include "platform/base/WinTypes.h"

HWND GetFocus();
