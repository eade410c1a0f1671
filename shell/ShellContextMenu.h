// The shell's own context menu of some items of one folder, in a pop-up drawn through the cool
// menu manager, and the chosen command run by the same menu object. While the menu is open its
// IContextMenu2 is handed to the owner, which passes owner-drawn item messages to it.
#pragma once

#include <vector>

#include "shell/ShellNamespace.h"

class ShellContextMenu {
public:
    static constexpr UINT kFirstCommand = 20000;
    static constexpr UINT kLastCommand = 29999;

    // `open` is set while the menu is tracked and cleared before this returns. The chosen
    // command's offset from the first command, or -1 when nothing was chosen.
    static int Show(HWND owner, IShellFolder* folder, const std::vector<LPCITEMIDLIST>& items, POINT screen, IContextMenu2** open);
    // Passes a menu message to the open menu; true when it took it.
    static bool Forward(IContextMenu2* open, UINT message, WPARAM wParam, LPARAM lParam);
};
