// Points of the screen and of client areas.
#pragma once

#include "platform/base/WinTypes.h"

struct POINT {
    LONG x = 0;
    LONG y = 0;
};
using LPPOINT = POINT*;
