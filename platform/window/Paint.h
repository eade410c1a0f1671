// Invalidation and painting. BeginPaint/EndPaint record the window's picture as a display list;
// GetDC/ReleaseDC add to the current picture, except inverting figures, which toggle in the
// window's overlay; GetDC(NULL) is the screen DC and its overlay. Stored pictures are clipped to
// the client rectangle and never change once stored.
#pragma once

#include "platform/gdi/DeviceContext.h"
#include "platform/window/Window.h"

#define RDW_INVALIDATE 0x0001
#define RDW_INTERNALPAINT 0x0002
#define RDW_ERASE 0x0004
#define RDW_VALIDATE 0x0008
#define RDW_NOERASE 0x0020
#define RDW_NOCHILDREN 0x0040
#define RDW_ALLCHILDREN 0x0080
#define RDW_UPDATENOW 0x0100
#define RDW_ERASENOW 0x0200
#define RDW_FRAME 0x0400

struct PAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
};
using LPPAINTSTRUCT = PAINTSTRUCT*;

HDC BeginPaint(HWND window, LPPAINTSTRUCT paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);
HDC GetDC(HWND window);
HDC GetWindowDC(HWND window);
int ReleaseDC(HWND window, HDC dc);
HWND WindowFromDC(HDC dc);
BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
BOOL ValidateRect(HWND window, const RECT* rect);
BOOL UpdateWindow(HWND window);
BOOL RedrawWindow(HWND window, const RECT* update, HRGN region, UINT flags);
BOOL GetUpdateRect(HWND window, LPRECT rect, BOOL erase);

namespace ostrana {
// The window's last complete picture (client coordinates); empty before its first paint.
DisplayList WindowPicture(HWND window);
// How many times the window has begun painting.
unsigned PaintCount(HWND window);
} // namespace ostrana
