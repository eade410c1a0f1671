// The shell context menu of local items; see ShellContextMenu.h.
#include "shell/ShellContextMenu.h"

#include "platform/window/Menu.h"
#include "platform/window/WindowMessages.h"
#include "ui/CoolMenuManager.h"

int ShellContextMenu::Show(HWND owner, IShellFolder* folder, const std::vector<LPCITEMIDLIST>& items, POINT screen, IContextMenu2** open) {
    if (folder == nullptr || items.empty()) return -1;
    ShellPtr<IContextMenu> menu;
    std::vector<LPCITEMIDLIST> ids = items;
    if (FAILED(folder->GetUIObjectOf(owner, static_cast<UINT>(ids.size()), ids.data(), IID_IContextMenu, nullptr, menu.OutVoid())) || !menu) {
        return -1;
    }
    HMENU popup = CreatePopupMenu();
    if (popup == nullptr) return -1;
    int chosen = -1;
    if (SUCCEEDED(menu->QueryContextMenu(popup, 0, kFirstCommand, kLastCommand, CMF_EXPLORE))) {
        ShellPtr<IContextMenu2> drawn;
        if (FAILED(menu->QueryInterface(IID_IContextMenu2, drawn.OutVoid()))) drawn.Reset();
        CCoolMenuManager cool;
        cool.Install(owner);
        cool.SetShellRange(menu.Get(), kFirstCommand, kLastCommand);
        if (open != nullptr) *open = drawn.Get();
        auto command = static_cast<UINT>(
            TrackPopupMenu(popup, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, screen.x, screen.y, 0, owner, nullptr));
        if (open != nullptr) *open = nullptr;
        cool.Install(nullptr);
        if (command >= kFirstCommand && command <= kLastCommand) {
            chosen = static_cast<int>(command - kFirstCommand);
            CMINVOKECOMMANDINFO invoke{};
            invoke.cbSize = sizeof invoke;
            invoke.hwnd = owner;
            invoke.lpVerb = MAKEINTRESOURCEA(chosen);
            invoke.nShow = SW_SHOWNORMAL;
            menu->InvokeCommand(&invoke);
        }
    }
    DestroyMenu(popup);
    return chosen;
}

bool ShellContextMenu::Forward(IContextMenu2* open, UINT message, WPARAM wParam, LPARAM lParam) {
    if (open == nullptr) return false;
    if (message == WM_DRAWITEM && wParam != 0) return false;
    if (message != WM_DRAWITEM && message != WM_MEASUREITEM && message != WM_INITMENUPOPUP) return false;
    return SUCCEEDED(open->HandleMenuMsg(message, wParam, lParam));
}
