// Overlays: figures drawn in an inverting raster mode (R2_NOT, R2_NOTXORPEN, R2_XORPEN, InvertRect,
// DrawFocusRect) on the screen DC (screen coordinates) or on a window DC from GetDC (that window's
// client coordinates). Drawing a figure that is already there removes it, so tracking lines and
// drag outlines drawn twice leave the screen and the window as they were.
#pragma once

#include <functional>
#include <memory>

#include "platform/gdi/DisplayList.h"

namespace ostrana {

DisplayList ScreenOverlay();
void ToggleOverlayFigure(const DisplayOp& figure);
void ClearScreenOverlay();

// A window's overlay, keyed by its handle; empty for a window that has none.
std::shared_ptr<const DisplayList> WindowOverlay(const void* window);
void ToggleWindowOverlayFigure(const void* window, const DisplayOp& figure);
// The window system forgets a destroyed window's overlay through this.
void ClearWindowOverlay(const void* window);

// Called (outside the overlay's lock) after every change, with the window whose overlay changed
// or null for the screen's; one listener, the display observer's.
void SetOverlayListener(std::function<void(const void* window)> listener);

} // namespace ostrana
