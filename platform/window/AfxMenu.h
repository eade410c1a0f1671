// The framework's menu class: owns the menu it loads or creates (destroyed with the object);
// GetSubMenu answers a temporary object that does not own its menu.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/base/Object.h"
#include "platform/window/Menu.h"

class CWnd;

class CMenu : public CObject {
    DECLARE_DYNCREATE(CMenu)

public:
    CMenu() = default;
    ~CMenu() override;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    HMENU m_hMenu = nullptr;
    operator HMENU() const { return m_hMenu; }
    HMENU GetSafeHmenu() const { return m_hMenu; }
    static CMenu* FromHandle(HMENU menu);

    // From the default resource module.
    BOOL LoadMenu(UINT id);
    BOOL CreatePopupMenu();
    BOOL CreateMenu();
    BOOL DestroyMenu();
    BOOL Attach(HMENU menu);
    HMENU Detach();

    CMenu* GetSubMenu(int position) const;
    UINT GetMenuItemCount() const { return static_cast<UINT>(::GetMenuItemCount(m_hMenu)); }
    UINT GetMenuItemID(int position) const { return ::GetMenuItemID(m_hMenu, position); }
    UINT GetMenuState(UINT item, UINT flags) const { return ::GetMenuState(m_hMenu, item, flags); }
    int GetMenuString(UINT item, std::string& text, UINT flags) const;
    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, LPCSTR item = nullptr) { return ::AppendMenuA(m_hMenu, flags, id, item); }
    BOOL InsertMenu(UINT position, UINT flags, UINT_PTR id = 0, LPCSTR item = nullptr) { return ::InsertMenuA(m_hMenu, position, flags, id, item); }
    BOOL ModifyMenu(UINT position, UINT flags, UINT_PTR id = 0, LPCSTR item = nullptr) { return ::ModifyMenuA(m_hMenu, position, flags, id, item); }
    BOOL RemoveMenu(UINT position, UINT flags) { return ::RemoveMenu(m_hMenu, position, flags); }
    BOOL DeleteMenu(UINT position, UINT flags) { return ::DeleteMenu(m_hMenu, position, flags); }
    UINT EnableMenuItem(UINT item, UINT enable) { return static_cast<UINT>(::EnableMenuItem(m_hMenu, item, enable)); }
    UINT CheckMenuItem(UINT item, UINT check) { return ::CheckMenuItem(m_hMenu, item, check); }
    BOOL SetDefaultItem(UINT item, BOOL byPosition = FALSE) { return ::SetMenuDefaultItem(m_hMenu, item, byPosition); }
    UINT GetDefaultItem(UINT flags, BOOL byPosition = FALSE) const { return ::GetMenuDefaultItem(m_hMenu, byPosition, flags); }
    BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, const RECT* rect = nullptr);

private:
    bool m_owned = false;
    mutable std::vector<std::unique_ptr<CMenu>> m_submenus;
};
