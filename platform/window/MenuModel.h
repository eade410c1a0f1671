// The menu table and its items, shared by the menu functions, the tracker and the menu window.
// Internal to platform/window.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/window/Menu.h"

namespace ostrana::detail {

struct MenuItem {
    UINT type = MFT_STRING; // MFT_SEPARATOR, MFT_OWNERDRAW, MFT_BITMAP, MF_MENUBREAK...
    UINT state = 0;         // MFS_GRAYED, MFS_CHECKED, MFS_DEFAULT, MFS_HILITE
    UINT id = 0;
    HMENU submenu = nullptr;
    std::string text; // ANSI
    ULONG_PTR data = 0;
    HBITMAP bitmap = nullptr;
};

struct MenuObject {
    std::vector<MenuItem> items;
};

std::shared_ptr<MenuObject> MenuOf(HMENU menu);
// The menu holding an item and its position: by position in `menu`, or by command anywhere below it.
bool LocateItem(HMENU menu, UINT item, UINT flags, HMENU& holder, std::size_t& position);
bool IsSelectable(const MenuItem& item);
bool IsEnabled(const MenuItem& item);

} // namespace ostrana::detail
