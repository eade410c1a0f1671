// Pens, brushes, fonts, bitmaps and icons as handles in one generation-checked table. Stock objects
// live for the process and ignore DeleteObject. Bitmaps are either resource images (known by name
// and size) or off-screen surfaces that record the display list drawn into them.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/base/ResourceTypes.h"
#include "platform/gdi/DisplayList.h"

#define PS_SOLID 0
#define PS_DASH 1
#define PS_DOT 2
#define PS_NULL 5
#define PS_INSIDEFRAME 6

#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define ANSI_VAR_FONT 12
#define SYSTEM_FONT 13
#define DEFAULT_GUI_FONT 17

#define IMAGE_BITMAP 0
#define IMAGE_ICON 1
#define IMAGE_CURSOR 2
#define LR_DEFAULTCOLOR 0x0000
#define LR_LOADFROMFILE 0x0010
#define LR_DEFAULTSIZE 0x0040
#define LR_SHARED 0x8000

#define IDI_APPLICATION MAKEINTRESOURCEA(32512)
#define IDI_HAND MAKEINTRESOURCEA(32513)
#define IDI_QUESTION MAKEINTRESOURCEA(32514)
#define IDI_EXCLAMATION MAKEINTRESOURCEA(32515)
#define IDI_ASTERISK MAKEINTRESOURCEA(32516)
#define IDI_WARNING IDI_EXCLAMATION
#define IDI_ERROR IDI_HAND
#define IDI_INFORMATION IDI_ASTERISK

struct BITMAP {
    LONG bmType = 0;
    LONG bmWidth = 0;
    LONG bmHeight = 0;
    LONG bmWidthBytes = 0;
    WORD bmPlanes = 1;
    WORD bmBitsPixel = 32;
    LPVOID bmBits = nullptr;
};

struct LOGPEN {
    UINT lopnStyle;
    POINT lopnWidth;
    COLORREF lopnColor;
};

struct LOGBRUSH {
    UINT lbStyle;
    COLORREF lbColor;
    ULONG_PTR lbHatch;
};
#define BS_SOLID 0
#define BS_NULL 1
#define BS_HOLLOW BS_NULL

HPEN CreatePen(int style, int width, COLORREF color);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateBrushIndirect(const LOGBRUSH* brush);
HFONT CreateFontIndirectA(const LOGFONTA* font);
#define CreateFontIndirect CreateFontIndirectA
HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                  DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                  DWORD pitchAndFamily, LPCSTR face);
HGDIOBJ GetStockObject(int index);
BOOL DeleteObject(HGDIOBJ object);
// Fills LOGFONTA for a font, BITMAP for a bitmap, LOGPEN for a pen, LOGBRUSH for a brush.
int GetObjectA(HGDIOBJ object, int size, LPVOID buffer);
#define GetObject GetObjectA

#define OBM_CHECK 32760
#define OBM_CHECKBOXES 32759
#define OBM_MNARROW 32739

// With a null instance: a system bitmap (OBM_CHECK...), named "system <id>", 13 by 13.
HBITMAP LoadBitmapA(HINSTANCE instance, LPCSTR name);
#define LoadBitmap LoadBitmapA
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
HICON LoadIconA(HINSTANCE instance, LPCSTR name);
#define LoadIcon LoadIconA
HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags);
#define LoadImage LoadImageA
BOOL DestroyIcon(HICON icon);
HICON CopyIcon(HICON icon);

namespace ostrana {

struct BitmapObject {
    std::string name; // resource name ("UP_U", "#204"), empty for an off-screen surface
    int width = 0;
    int height = 0;
    std::shared_ptr<DisplayList> surface; // drawing recorded into an off-screen bitmap
};

struct IconObject {
    std::string name; // "icon 225", "cursor 1011", "system exclamation"
    int width = 32;
    int height = 32;
};

std::optional<PenInfo> PenOf(HGDIOBJ pen);
std::optional<BrushInfo> BrushOf(HGDIOBJ brush);
std::optional<FontInfo> FontOf(HGDIOBJ font);
std::shared_ptr<BitmapObject> BitmapOf(HGDIOBJ bitmap);
std::shared_ptr<IconObject> IconOf(const void* icon);
enum class GdiKind { None, Pen, Brush, Font, Bitmap, Icon };
GdiKind KindOf(HGDIOBJ object);

HBITMAP CreateSurfaceBitmap(int width, int height);
// An icon or cursor handle for an image the platform draws by name.
HICON CreateNamedIcon(std::string name, int width, int height);
// The platform's dialog font: 굴림 (in the ANSI code page), 12 pixels.
FontInfo DefaultGuiFont();

} // namespace ostrana
