// Menus as handles: items with type, state, id, text, submenu and item data; building from the
// module's menu resources; the item functions of the Windows menu API.
#include "platform/window/MenuModel.h"

#include <cstring>

#include "platform/base/CodePage.h"
#include "platform/base/ModuleResources.h"
#include "platform/base/HandleTable.h"

namespace ostrana::detail {
namespace {

HandleTable<MenuObject>& Table() {
    static HandleTable<MenuObject> table(4);
    return table;
}

constexpr UINT kStateBits = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT;
constexpr UINT kTypeBits = MF_SEPARATOR | MF_OWNERDRAW | MF_BITMAP | MF_MENUBREAK | MF_MENUBARBREAK | MFT_RADIOCHECK;

MenuItem ItemFrom(UINT flags, UINT_PTR id, LPCSTR item) {
    MenuItem made;
    made.type = flags & kTypeBits;
    made.state = flags & kStateBits;
    if (flags & MF_POPUP) made.submenu = reinterpret_cast<HMENU>(id);
    else made.id = static_cast<UINT>(id);
    if (flags & MF_OWNERDRAW) made.data = reinterpret_cast<ULONG_PTR>(item);
    else if (flags & MF_BITMAP) made.bitmap = reinterpret_cast<HBITMAP>(const_cast<char*>(item));
    else if (!(flags & MF_SEPARATOR) && item != nullptr) made.text = item;
    return made;
}

std::size_t Build(HMENU menu, std::span<const MenuItemResource> items, std::size_t index, int level) {
    auto object = MenuOf(menu);
    while (index < items.size() && items[index].level >= level) {
        const MenuItemResource& resource = items[index];
        if (resource.level > level) {
            ++index;
            continue;
        }
        MenuItem item = ItemFrom(resource.flags & ~static_cast<UINT>(MF_POPUP), resource.id, nullptr);
        item.text = (resource.flags & MF_SEPARATOR) ? "" : Utf8ToAnsi(resource.textUtf8 != nullptr ? resource.textUtf8 : "");
        ++index;
        if (resource.flags & MF_POPUP) {
            item.submenu = CreatePopupMenu();
            item.id = 0;
            index = Build(item.submenu, items, index, level + 1);
        }
        object->items.push_back(std::move(item));
    }
    return index;
}

} // namespace

std::shared_ptr<MenuObject> MenuOf(HMENU menu) { return Table().Lookup(menu); }

bool LocateItem(HMENU menu, UINT item, UINT flags, HMENU& holder, std::size_t& position) {
    auto object = MenuOf(menu);
    if (!object) return false;
    if (flags & MF_BYPOSITION) {
        if (item >= object->items.size()) return false;
        holder = menu;
        position = item;
        return true;
    }
    for (std::size_t i = 0; i < object->items.size(); ++i) {
        const MenuItem& entry = object->items[i];
        if (entry.submenu == nullptr && entry.id == item && !(entry.type & MF_SEPARATOR)) {
            holder = menu;
            position = i;
            return true;
        }
        if (entry.submenu != nullptr && LocateItem(entry.submenu, item, flags, holder, position)) return true;
    }
    return false;
}

bool IsSelectable(const MenuItem& item) { return !(item.type & MF_SEPARATOR); }
bool IsEnabled(const MenuItem& item) { return !(item.state & (MF_GRAYED | MF_DISABLED)); }

} // namespace ostrana::detail

using namespace ostrana;
using namespace ostrana::detail;

namespace {

MenuItem* ItemAt(HMENU menu, UINT item, UINT flags) {
    HMENU holder = nullptr;
    std::size_t position = 0;
    if (!LocateItem(menu, item, flags, holder, position)) return nullptr;
    return &MenuOf(holder)->items[position];
}

} // namespace

HMENU CreateMenu() { return static_cast<HMENU>(Table().Insert(std::make_shared<MenuObject>())); }
HMENU CreatePopupMenu() { return CreateMenu(); }

HMENU LoadMenuA(HINSTANCE instance, LPCSTR name) {
    auto* module = ModuleResources::FromHandle(instance);
    const MenuResource* resource = module != nullptr ? module->Menu(name) : nullptr;
    if (resource == nullptr) return nullptr;
    HMENU menu = CreateMenu();
    Build(menu, resource->items, 0, 0);
    return menu;
}

BOOL DestroyMenu(HMENU menu) {
    auto object = Table().Remove(menu);
    if (!object) return FALSE;
    for (const MenuItem& item : object->items) {
        if (item.submenu != nullptr) DestroyMenu(item.submenu);
    }
    return TRUE;
}

BOOL IsMenu(HMENU menu) { return MenuOf(menu) != nullptr; }

HMENU GetSubMenu(HMENU menu, int position) {
    auto object = MenuOf(menu);
    if (!object || position < 0 || static_cast<std::size_t>(position) >= object->items.size()) return nullptr;
    return object->items[static_cast<std::size_t>(position)].submenu;
}

int GetMenuItemCount(HMENU menu) {
    auto object = MenuOf(menu);
    return object ? static_cast<int>(object->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
    auto object = MenuOf(menu);
    if (!object || position < 0 || static_cast<std::size_t>(position) >= object->items.size()) return static_cast<UINT>(-1);
    const MenuItem& item = object->items[static_cast<std::size_t>(position)];
    return item.submenu != nullptr ? static_cast<UINT>(-1) : item.id;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
    MenuItem* found = ItemAt(menu, item, flags);
    if (found == nullptr) return static_cast<UINT>(-1);
    UINT state = found->state | found->type;
    if (found->submenu != nullptr) return ((state | MF_POPUP) & 0xFF) | (static_cast<UINT>(GetMenuItemCount(found->submenu)) << 8);
    return state;
}

int GetMenuStringA(HMENU menu, UINT item, LPSTR buffer, int bufferMax, UINT flags) {
    MenuItem* found = ItemAt(menu, item, flags);
    if (found == nullptr) return 0;
    if (buffer == nullptr || bufferMax <= 0) return static_cast<int>(found->text.size());
    std::size_t length = std::min(found->text.size(), static_cast<std::size_t>(bufferMax - 1));
    std::memcpy(buffer, found->text.data(), length);
    buffer[length] = '\0';
    return static_cast<int>(length);
}

BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCSTR item) {
    HMENU holder = menu;
    std::size_t at = 0;
    if (!LocateItem(menu, position, flags, holder, at)) {
        auto object = MenuOf(menu);
        if (!object) return FALSE;
        holder = menu;
        at = object->items.size();
    }
    auto object = MenuOf(holder);
    object->items.insert(object->items.begin() + static_cast<long>(at), ItemFrom(flags, id, item));
    return TRUE;
}

BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR item) {
    auto object = MenuOf(menu);
    if (!object) return FALSE;
    object->items.push_back(ItemFrom(flags, id, item));
    return TRUE;
}

BOOL ModifyMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCSTR item) {
    MenuItem* found = ItemAt(menu, position, flags);
    if (found == nullptr) return FALSE;
    *found = ItemFrom(flags, id, item);
    return TRUE;
}

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) {
    HMENU holder = nullptr;
    std::size_t at = 0;
    if (!LocateItem(menu, position, flags, holder, at)) return FALSE;
    auto object = MenuOf(holder);
    object->items.erase(object->items.begin() + static_cast<long>(at));
    return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) {
    MenuItem* found = ItemAt(menu, position, flags);
    if (found == nullptr) return FALSE;
    HMENU submenu = found->submenu;
    RemoveMenu(menu, position, flags);
    if (submenu != nullptr) DestroyMenu(submenu);
    return TRUE;
}

BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable) {
    MenuItem* found = ItemAt(menu, item, enable);
    if (found == nullptr) return -1;
    UINT previous = found->state & (MF_GRAYED | MF_DISABLED);
    found->state = (found->state & ~static_cast<UINT>(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
    return static_cast<BOOL>(previous);
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT check) {
    MenuItem* found = ItemAt(menu, item, check);
    if (found == nullptr) return static_cast<DWORD>(-1);
    DWORD previous = found->state & MF_CHECKED;
    found->state = (found->state & ~static_cast<UINT>(MF_CHECKED)) | (check & MF_CHECKED);
    return previous;
}

BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags) {
    for (UINT item = first; item <= last; ++item) {
        if (MenuItem* found = ItemAt(menu, item, flags)) {
            found->state = item == check ? (found->state | MF_CHECKED) : (found->state & ~static_cast<UINT>(MF_CHECKED));
            found->type |= MFT_RADIOCHECK;
        }
    }
    return TRUE;
}

BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition) {
    auto object = MenuOf(menu);
    if (!object) return FALSE;
    for (MenuItem& entry : object->items) entry.state &= ~static_cast<UINT>(MF_DEFAULT);
    if (item == static_cast<UINT>(-1)) return TRUE;
    for (std::size_t i = 0; i < object->items.size(); ++i) {
        MenuItem& entry = object->items[i];
        if (byPosition ? i == item : (entry.id == item && entry.submenu == nullptr)) {
            entry.state |= MF_DEFAULT;
            return TRUE;
        }
    }
    return FALSE;
}

UINT GetMenuDefaultItem(HMENU menu, UINT byPosition, UINT) {
    auto object = MenuOf(menu);
    if (!object) return static_cast<UINT>(-1);
    for (std::size_t i = 0; i < object->items.size(); ++i) {
        if (object->items[i].state & MF_DEFAULT) return byPosition ? static_cast<UINT>(i) : object->items[i].id;
    }
    return static_cast<UINT>(-1);
}

BOOL GetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, LPMENUITEMINFOA info) {
    MenuItem* found = ItemAt(menu, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND);
    if (found == nullptr || info == nullptr) return FALSE;
    if (info->fMask & (MIIM_FTYPE | MIIM_TYPE)) info->fType = found->type;
    if (info->fMask & MIIM_STATE) info->fState = found->state;
    if (info->fMask & MIIM_ID) info->wID = found->id;
    if (info->fMask & MIIM_SUBMENU) info->hSubMenu = found->submenu;
    if (info->fMask & MIIM_DATA) info->dwItemData = found->data;
    if (info->fMask & MIIM_BITMAP) info->hbmpItem = found->bitmap;
    if (info->fMask & (MIIM_STRING | MIIM_TYPE)) {
        if (info->dwTypeData != nullptr && info->cch > 0 && !(found->type & (MF_OWNERDRAW | MF_SEPARATOR))) {
            std::size_t length = std::min<std::size_t>(found->text.size(), info->cch - 1);
            std::memcpy(info->dwTypeData, found->text.data(), length);
            info->dwTypeData[length] = '\0';
            info->cch = static_cast<UINT>(length);
        } else {
            info->cch = static_cast<UINT>(found->text.size());
        }
    }
    return TRUE;
}

BOOL SetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA* info) {
    MenuItem* found = ItemAt(menu, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND);
    if (found == nullptr || info == nullptr) return FALSE;
    if (info->fMask & (MIIM_FTYPE | MIIM_TYPE)) found->type = info->fType;
    if (info->fMask & MIIM_STATE) found->state = info->fState;
    if (info->fMask & MIIM_ID) found->id = info->wID;
    if (info->fMask & MIIM_SUBMENU) found->submenu = info->hSubMenu;
    if (info->fMask & MIIM_DATA) found->data = info->dwItemData;
    if (info->fMask & MIIM_BITMAP) found->bitmap = info->hbmpItem;
    bool textual = (info->fMask & MIIM_STRING) || ((info->fMask & MIIM_TYPE) && !(info->fType & (MF_OWNERDRAW | MF_SEPARATOR | MF_BITMAP)));
    if (textual && info->dwTypeData != nullptr) found->text = info->dwTypeData;
    return TRUE;
}

BOOL InsertMenuItemA(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA* info) {
    if (info == nullptr) return FALSE;
    HMENU holder = menu;
    std::size_t at = 0;
    if (!LocateItem(menu, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND, holder, at)) {
        auto object = MenuOf(menu);
        if (!object) return FALSE;
        holder = menu;
        at = object->items.size();
    }
    auto object = MenuOf(holder);
    object->items.insert(object->items.begin() + static_cast<long>(at), MenuItem{});
    return SetMenuItemInfoA(holder, static_cast<UINT>(at), TRUE, info);
}
