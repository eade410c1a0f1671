// The shapes of a module's compiled-in resources: dialog templates, menus and images. Texts are
// UTF-8 in the source and reach callers in the ANSI code page. An id below 0x10000 passed where a
// name is expected is an integer resource (MAKEINTRESOURCE), as on Windows.
#pragma once

#include <span>

#include "platform/base/WinTypes.h"

#define MAKEINTRESOURCEA(i) (reinterpret_cast<LPSTR>(static_cast<ULONG_PTR>(static_cast<WORD>(i))))
#define MAKEINTRESOURCE MAKEINTRESOURCEA
#define IS_INTRESOURCE(p) ((reinterpret_cast<ULONG_PTR>(p) >> 16) == 0)

namespace ostrana {

// One control of a dialog template; rectangle in dialog units. For bitmap and icon statics the text
// names the image: "#204" for a numbered one, otherwise its name.
struct DialogItemResource {
    const char* className;
    const char* textUtf8;
    int id;
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;
};

struct DialogResource {
    UINT id;
    const char* captionUtf8;
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;
    const char* fontUtf8;
    WORD pointSize;
    std::span<const DialogItemResource> items;
};

// A menu as a flat list: a popup item (flags hold MF_POPUP) is followed by its items one level deeper.
struct MenuItemResource {
    int level;
    const char* textUtf8;
    UINT id;
    UINT flags;
};

struct MenuResource {
    UINT id;
    std::span<const MenuItemResource> items;
};

enum class ImageKind { Bitmap, Icon, Cursor, Animation };

// An image is found by number (id != 0) or by name; `file` is the artwork below the resource folder.
struct ImageResource {
    ImageKind kind;
    UINT id;
    const char* name;
    const char* file;
    int width;
    int height;
};

// One accelerator of a table: flags (FVIRTKEY, FSHIFT, FCONTROL, FALT), key and command.
struct AcceleratorEntryResource {
    BYTE flags;
    WORD key;
    WORD command;
};

struct AcceleratorResource {
    UINT id;
    std::span<const AcceleratorEntryResource> entries;
};

// A toolbar: the bitmap resource (by name) that holds its button images side by side, the button
// size, and the command of each button in order (0 is a separator and has no image).
struct ToolbarResource {
    UINT id;
    const char* bitmapName;
    int buttonWidth;
    int buttonHeight;
    std::span<const UINT> commands;
};

} // namespace ostrana
