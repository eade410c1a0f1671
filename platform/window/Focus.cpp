#include "platform/window/Focus.h"

HWND GetFocus() { return nullptr; }
