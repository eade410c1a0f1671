// Image lists: numbered images of one size, drawn into display lists by their entry. An entry
// remembers where it came from (an icon's name, or a bitmap and its slot), which is what a picture
// shows for it.
#pragma once

#include <string>

#include "platform/gdi/DeviceContext.h"

struct IMAGELIST__;
using HIMAGELIST = IMAGELIST__*;

#define ILC_MASK 0x0001
#define ILC_COLOR 0x0000
#define ILC_COLOR4 0x0004
#define ILC_COLOR8 0x0008
#define ILC_COLOR16 0x0010
#define ILC_COLOR24 0x0018
#define ILC_COLOR32 0x0020

#define ILD_NORMAL 0x0000
#define ILD_TRANSPARENT 0x0001
#define ILD_BLEND25 0x0002
#define ILD_FOCUS 0x0002
#define ILD_BLEND50 0x0004
#define ILD_SELECTED 0x0004
#define ILD_OVERLAYMASK 0x0F00
#define INDEXTOOVERLAYMASK(i) (static_cast<UINT>(i) << 8)

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
BOOL ImageList_Destroy(HIMAGELIST list);
// Adds as many images as the bitmap is wide (in image widths); returns the first index or -1.
int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask);
int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF mask);
// index -1 appends; returns the index replaced or added, -1 on failure.
int ImageList_ReplaceIcon(HIMAGELIST list, int index, HICON icon);
#define ImageList_AddIcon(list, icon) ImageList_ReplaceIcon(list, -1, icon)
BOOL ImageList_Remove(HIMAGELIST list, int index);
int ImageList_GetImageCount(HIMAGELIST list);
BOOL ImageList_SetImageCount(HIMAGELIST list, UINT count);
BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy);
COLORREF ImageList_SetBkColor(HIMAGELIST list, COLORREF color);
COLORREF ImageList_GetBkColor(HIMAGELIST list);
BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style);
// Overlay `overlay` (1..15) draws image `image` over any entry drawn with INDEXTOOVERLAYMASK(overlay).
BOOL ImageList_SetOverlayImage(HIMAGELIST list, int image, int overlay);
HIMAGELIST ImageList_Duplicate(HIMAGELIST list);
BOOL ImageList_DrawEx(HIMAGELIST list, int index, HDC dc, int x, int y, int cx, int cy, COLORREF bk, COLORREF fg,
                      UINT style);

namespace ostrana {
// What entry `index` shows ("icon 225", "bitmap toolbar[3]"), empty when out of range.
std::string ImageListEntry(HIMAGELIST list, int index);
// Appends an entry the platform draws by its description (drag images); returns its index or -1.
int ImageListAddEntry(HIMAGELIST list, std::string description);
// The process-wide system image lists of small (16) and large (32) icons, made on first use.
// They live as long as the process: ImageList_Destroy refuses them, so a control that only
// borrows one can never take it from the others.
HIMAGELIST SystemImageList(bool small);
} // namespace ostrana
