// The screen overlay: figures drawn on the screen DC in an inverting raster mode (R2_NOT,
// R2_NOTXORPEN, R2_XORPEN). Drawing a figure that is already there removes it, so tracking lines
// drawn twice leave the screen as it was.
#pragma once

#include <functional>

#include "platform/gdi/DisplayList.h"

namespace ostrana {

DisplayList ScreenOverlay();
void ToggleOverlayFigure(const DisplayOp& figure);
void ClearScreenOverlay();
// Called (outside the overlay's lock) after every change; one listener, the display observer's.
void SetOverlayListener(std::function<void()> listener);

} // namespace ostrana
