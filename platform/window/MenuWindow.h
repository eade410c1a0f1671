// The window that shows one open pop-up menu: item layout (owner-drawn items measured by the
// owner with WM_MEASUREITEM), painting (WM_DRAWITEM for owner-drawn items) and hit testing.
// Internal to platform/window.
#pragma once

#include <vector>

#include "platform/window/MenuModel.h"
#include "platform/window/Messages.h"

namespace ostrana::detail {

struct MenuWindowData {
    HMENU menu = nullptr;
    HWND owner = nullptr;
    std::vector<RECT> items; // client coordinates
    int hot = -1;
};

constexpr char kMenuClass[] = "#32768";

// Creates the (hidden) window for `menu` at a screen point, measured and laid out.
HWND CreateMenuWindow(HMENU menu, HWND owner, POINT at, UINT flags);
std::shared_ptr<MenuWindowData> MenuWindowDataOf(HWND window);
// The item under a client point, or -1.
int MenuItemAt(const MenuWindowData& data, POINT client);
void SetMenuHot(HWND window, int item);

} // namespace ostrana::detail
