#include "platform/window/AfxMenu.h"

#include <map>

#include "platform/base/ModuleResources.h"
#include "platform/window/AfxWnd.h"

IMPLEMENT_DYNCREATE(CMenu, CObject)

namespace {
thread_local std::map<HMENU, std::unique_ptr<CMenu>> t_temporary;
}

CMenu::~CMenu() {
    if (m_owned) DestroyMenu();
}

CMenu* CMenu::FromHandle(HMENU menu) {
    if (menu == nullptr) return nullptr;
    std::erase_if(t_temporary, [](const auto& entry) { return !::IsMenu(entry.first); });
    auto& temporary = t_temporary[menu];
    if (!temporary) {
        temporary = std::make_unique<CMenu>();
        temporary->m_hMenu = menu;
    }
    return temporary.get();
}

BOOL CMenu::LoadMenu(UINT id) {
    return Attach(::LoadMenuA(ostrana::DefaultResourceModule(), MAKEINTRESOURCEA(id)));
}

BOOL CMenu::CreatePopupMenu() { return Attach(::CreatePopupMenu()); }
BOOL CMenu::CreateMenu() { return Attach(::CreateMenu()); }

BOOL CMenu::DestroyMenu() {
    m_submenus.clear();
    if (m_hMenu == nullptr) return FALSE;
    BOOL destroyed = ::DestroyMenu(m_hMenu);
    m_hMenu = nullptr;
    m_owned = false;
    return destroyed;
}

BOOL CMenu::Attach(HMENU menu) {
    if (menu == nullptr) return FALSE;
    if (m_owned) DestroyMenu();
    m_hMenu = menu;
    m_owned = true;
    return TRUE;
}

HMENU CMenu::Detach() {
    HMENU menu = m_hMenu;
    m_hMenu = nullptr;
    m_owned = false;
    m_submenus.clear();
    return menu;
}

CMenu* CMenu::GetSubMenu(int position) const {
    HMENU submenu = ::GetSubMenu(m_hMenu, position);
    if (submenu == nullptr) return nullptr;
    for (const auto& known : m_submenus) {
        if (known->m_hMenu == submenu) return known.get();
    }
    auto wrapper = std::make_unique<CMenu>();
    wrapper->m_hMenu = submenu;
    m_submenus.push_back(std::move(wrapper));
    return m_submenus.back().get();
}

int CMenu::GetMenuString(UINT item, std::string& text, UINT flags) const {
    int length = ::GetMenuStringA(m_hMenu, item, nullptr, 0, flags);
    text.assign(static_cast<std::size_t>(length) + 1, '\0');
    int copied = ::GetMenuStringA(m_hMenu, item, text.data(), length + 1, flags);
    text.resize(static_cast<std::size_t>(copied));
    return copied;
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, const RECT* rect) {
    return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, owner != nullptr ? owner->m_hWnd : nullptr, rect);
}
