#include "ui/CoolMenuManager.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/base/ModuleResources.h"
#include "platform/gdi/SysColors.h"
#include "platform/window/KeyNames.h"
#include "platform/window/Paint.h"
#include "platform/window/SystemMetrics.h"

IMPLEMENT_DYNAMIC(CCoolMenuManager, CSubclassWnd)

namespace {

constexpr int kSlotMargin = 4;   // the image slot is this much wider and higher than the image
constexpr int kTextGap = 6;      // between the slot and the text, and before the shortcut
constexpr int kTextBuffer = 256;
constexpr int kKeyNameBuffer = 64;
constexpr int kHelpTextBuffer = 260;

struct KeypadName {
    const char* system;
    const char* shown;
};
constexpr KeypadName kKeypadNames[] = {{"Num 7", "Home"}, {"Num 1", "End"}, {"Num 9", "PgUp"},
                                       {"Num 3", "PgDn"}, {"Num 0", "Ins"}, {"Num Del", "Del"}};

std::string KeyName(const ACCEL& accelerator) {
    if (!(accelerator.fVirt & FVIRTKEY)) return std::string(1, static_cast<char>(accelerator.key));
    char name[kKeyNameBuffer] = {};
    GetKeyNameTextA(static_cast<LONG>(MapVirtualKeyA(accelerator.key, 0) << 16), name, sizeof name);
    for (const KeypadName& keypad : kKeypadNames) {
        if (std::strcmp(name, keypad.system) == 0) return keypad.shown;
    }
    return name;
}

LRESULT MenuCharAnswer(int position, WORD code) { return static_cast<LRESULT>(MAKELONG(position, code)); }

std::pair<std::string, std::string> SplitAtTab(const std::string& text) {
    std::size_t tab = text.find('\t');
    if (tab == std::string::npos) return {text, {}};
    return {text.substr(0, tab), text.substr(tab + 1)};
}

SIZE TextSize(HFONT font, const std::string& text) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{0, 0};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return size;
}

std::string WithoutPrefixes(const std::string& text) {
    std::string shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) ++i;
        shown += text[i];
    }
    return shown;
}

} // namespace

CCoolMenuManager& TheCoolMenuManager() {
    static CCoolMenuManager manager;
    return manager;
}

CCoolMenuManager::CCoolMenuManager() = default;

CCoolMenuManager::~CCoolMenuManager() {
    for (HMENU menu : std::vector<HMENU>(m_convertedMenus)) RestoreMenu(menu);
    // Records of menus destroyed while converted.
    for (const ItemRecord* record : std::vector<const ItemRecord*>(m_records.begin(), m_records.end())) {
        DeleteRecord(const_cast<ItemRecord*>(record));
    }
    Destroy();
}

void CCoolMenuManager::Install(HWND window) {
    if (window == nullptr) {
        for (HMENU menu : std::vector<HMENU>(m_convertedMenus)) RestoreMenu(menu);
        m_convertedMenus.clear();
        HookWindow(nullptr);
        return;
    }
    HookWindow(window);
    if (m_frame == nullptr) m_frame = GetAncestor(window, GA_ROOT);
}

void CCoolMenuManager::Destroy() {
    m_images.DeleteImageList();
    m_shellImages.DeleteImageList();
    m_commandImages.clear();
    m_commandAccelerators.clear();
    m_accelerators.clear();
    if (m_menuFont != nullptr) DeleteObject(m_menuFont);
    m_menuFont = nullptr;
}

void CCoolMenuManager::Refresh() {
    std::vector<UINT> toolbars = m_toolbarIds;
    std::vector<ACCEL> accelerators = m_accelerators;
    Destroy();
    m_toolbarIds.clear();
    for (UINT id : toolbars) LoadToolbar(id);
    m_accelerators = std::move(accelerators);
    for (std::size_t i = 0; i < m_accelerators.size(); ++i) m_commandAccelerators.emplace(m_accelerators[i].cmd, i);
}

BOOL CCoolMenuManager::LoadToolbar(UINT id) {
    HINSTANCE instance = m_module != nullptr ? m_module : ostrana::DefaultResourceModule();
    auto* module = ostrana::ModuleResources::FromHandle(instance);
    const ostrana::ToolbarResource* toolbar = module != nullptr ? module->Toolbar(MAKEINTRESOURCEA(id)) : nullptr;
    if (toolbar == nullptr) return FALSE;
    if (m_images.GetSafeHandle() == nullptr) {
        if (toolbar->buttonWidth > 0 && toolbar->buttonHeight > 0) m_buttonSize = SIZE{toolbar->buttonWidth, toolbar->buttonHeight};
        m_images.Create(m_buttonSize.cx, m_buttonSize.cy, ILC_MASK, 8, 8);
        m_images.SetBkColor(GetSysColor(COLOR_MENU));
    }
    HBITMAP bitmap = LoadBitmapA(instance, toolbar->bitmapName);
    if (bitmap == nullptr) return FALSE;
    int first = m_images.Add(bitmap, GetSysColor(COLOR_BTNFACE));
    if (first < 0) return FALSE;
    int index = first;
    for (UINT command : toolbar->commands) {
        if (command == 0) continue;
        m_commandImages[command] = index++;
    }
    m_toolbarIds.push_back(id);
    return TRUE;
}

BOOL CCoolMenuManager::LoadToolbars(const UINT* ids, int count) {
    BOOL all = TRUE;
    for (int i = 0; i < count; ++i) all = LoadToolbar(ids[i]) && all;
    return all;
}

void CCoolMenuManager::SetAccelerators(HACCEL table) {
    m_accelerators.clear();
    m_commandAccelerators.clear();
    if (table == nullptr) return;
    int count = CopyAcceleratorTableA(table, nullptr, 0);
    if (count <= 0) return;
    m_accelerators.resize(static_cast<std::size_t>(count));
    CopyAcceleratorTableA(table, m_accelerators.data(), count);
    for (std::size_t i = 0; i < m_accelerators.size(); ++i) m_commandAccelerators.emplace(m_accelerators[i].cmd, i);
}

void CCoolMenuManager::SetShellRange(IContextMenu* menu, UINT first, UINT last) {
    m_shellMenu = menu;
    m_shellFirst = first;
    m_shellLast = last;
}

void CCoolMenuManager::SetCommandIcon(UINT_PTR command, HICON icon) {
    if (m_shellImages.GetSafeHandle() == nullptr) {
        m_shellImages.Create(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), ILC_MASK, 8, 8);
    }
    int index = m_shellImages.Add(icon);
    if (index >= 0) m_commandImages[command] = -1000 - index;
}

std::string CCoolMenuManager::GetShortcutText(UINT command) const {
    std::string text;
    auto [first, last] = m_commandAccelerators.equal_range(command);
    for (auto entry = first; entry != last; ++entry) {
        const ACCEL& accelerator = m_accelerators[entry->second];
        text += text.empty() ? "\t" : ", ";
        if (accelerator.fVirt & FALT) text += "Alt+";
        if (accelerator.fVirt & FCONTROL) text += "Ctrl+";
        if (accelerator.fVirt & FSHIFT) text += "Shift+";
        text += KeyName(accelerator);
    }
    return text;
}

int CCoolMenuManager::ImageOf(UINT_PTR command) const {
    if (!m_bShowButtons) return -1;
    auto found = m_commandImages.find(command);
    return found != m_commandImages.end() ? found->second : -1;
}

const CCoolMenuManager::ItemRecord* CCoolMenuManager::RecordOf(ULONG_PTR itemData) const {
    const auto* record = reinterpret_cast<const ItemRecord*>(itemData);
    if (record == nullptr || m_records.count(record) == 0) return nullptr;
    return record->signature == kSignature ? record : nullptr;
}

void CCoolMenuManager::DeleteRecord(ItemRecord* record) {
    m_records.erase(record);
    if (record->shellMenu != nullptr) record->shellMenu->Release();
    delete record;
}

void CCoolMenuManager::ConvertMenu(HMENU menu, bool submenus) {
    if (!IsMenu(menu)) return;
    int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        ConvertItem(menu, position);
        if (HMENU sub = GetSubMenu(menu, position); submenus && sub != nullptr) ConvertMenu(sub, true);
    }
    if (std::find(m_convertedMenus.begin(), m_convertedMenus.end(), menu) == m_convertedMenus.end()) m_convertedMenus.push_back(menu);
}

void CCoolMenuManager::RestoreMenu(HMENU menu, bool submenus) {
    m_convertedMenus.erase(std::remove(m_convertedMenus.begin(), m_convertedMenus.end(), menu), m_convertedMenus.end());
    if (!IsMenu(menu)) return;
    int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        RestoreItem(menu, position);
        if (HMENU sub = GetSubMenu(menu, position); submenus && sub != nullptr) RestoreMenu(sub, true);
    }
}

void CCoolMenuManager::ConvertItem(HMENU menu, int position) {
    char text[kTextBuffer] = {};
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_TYPE | MIIM_DATA | MIIM_ID | MIIM_SUBMENU;
    info.dwTypeData = text;
    info.cch = sizeof text;
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info)) return;
    if ((info.fType & MFT_SEPARATOR) || RecordOf(info.dwItemData) != nullptr) return;
    auto* record = new ItemRecord;
    m_records.insert(record);
    record->previousType = info.fType;
    record->previousData = info.dwItemData;
    record->previousText = (info.fType & MFT_OWNERDRAW) ? std::string() : std::string(text);
    record->text = record->previousText;
    UINT_PTR command = info.hSubMenu != nullptr ? reinterpret_cast<UINT_PTR>(info.hSubMenu) : info.wID;
    record->image = ImageOf(command);
    if (info.hSubMenu == nullptr && IsShellCommand(info.wID) && (info.fType & MFT_OWNERDRAW) && m_shellMenu != nullptr) {
        void* shell = nullptr;
        if (SUCCEEDED(m_shellMenu->QueryInterface(IID_IContextMenu2, &shell))) record->shellMenu = static_cast<IContextMenu2*>(shell);
    }
    if (m_bAutoAccel && info.hSubMenu == nullptr) {
        if (std::string shortcut = GetShortcutText(info.wID); !shortcut.empty()) record->text = SplitAtTab(record->text).first + shortcut;
    }
    MENUITEMINFOA change{};
    change.cbSize = sizeof change;
    change.fMask = MIIM_TYPE | MIIM_DATA;
    change.fType = info.fType | MFT_OWNERDRAW;
    change.dwItemData = reinterpret_cast<ULONG_PTR>(record);
    if (!SetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &change)) DeleteRecord(record);
}

void CCoolMenuManager::RestoreItem(HMENU menu, int position) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA | MIIM_TYPE;
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info)) return;
    auto* record = const_cast<ItemRecord*>(RecordOf(info.dwItemData));
    if (record == nullptr) return;
    MENUITEMINFOA change{};
    change.cbSize = sizeof change;
    change.fMask = MIIM_TYPE | MIIM_DATA;
    change.fType = record->previousType;
    change.dwItemData = record->previousData;
    change.dwTypeData = (record->previousType & MFT_OWNERDRAW) ? nullptr : record->previousText.data();
    change.cch = static_cast<UINT>(record->previousText.size());
    SetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &change);
    DeleteRecord(record);
}

void CCoolMenuManager::ConvertPopup(HMENU menu, bool systemMenu) {
    if (!systemMenu) ConvertMenu(menu);
}

HFONT CCoolMenuManager::MenuFont() {
    if (m_menuFont == nullptr) {
        NONCLIENTMETRICSA metrics{};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        m_menuFont = CreateFontIndirectA(&metrics.lfMenuFont);
    }
    return m_menuFont;
}

SIZE CCoolMenuManager::ImageSlot() const { return SIZE{m_buttonSize.cx + kSlotMargin, m_buttonSize.cy + kSlotMargin}; }

std::vector<std::pair<int, CCoolMenuManager::ItemRecord*>> CCoolMenuManager::ConvertedItems(HMENU menu) const {
    std::vector<std::pair<int, ItemRecord*>> items;
    int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_DATA;
        if (!GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info)) continue;
        if (const ItemRecord* record = RecordOf(info.dwItemData); record != nullptr) items.emplace_back(position, const_cast<ItemRecord*>(record));
    }
    return items;
}

void CCoolMenuManager::SetItemData(HMENU menu, int position, ULONG_PTR data) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    info.dwItemData = data;
    SetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info);
}

// A shell submenu answers its own menu characters, seeing its own item data meanwhile.
bool CCoolMenuManager::ShellMenuChar(HMENU menu, UINT character, LRESULT& answer) {
    auto items = ConvertedItems(menu);
    auto shell = std::find_if(items.begin(), items.end(), [](const auto& item) { return item.second->shellMenu != nullptr; });
    if (shell == items.end()) return false;
    void* interface3 = nullptr;
    if (FAILED(shell->second->shellMenu->QueryInterface(IID_IContextMenu3, &interface3))) return false;
    auto* menu3 = static_cast<IContextMenu3*>(interface3);
    for (const auto& [position, record] : items) SetItemData(menu, position, record->previousData);
    answer = 0;
    menu3->HandleMenuMsg2(WM_MENUCHAR, MAKEWPARAM(character, MF_POPUP), reinterpret_cast<LPARAM>(menu), &answer);
    for (const auto& [position, record] : items) SetItemData(menu, position, reinterpret_cast<ULONG_PTR>(record));
    menu3->Release();
    return true;
}

BOOL CCoolMenuManager::OnMeasureItem(MEASUREITEMSTRUCT* measure) {
    const ItemRecord* record = measure->CtlType == ODT_MENU ? RecordOf(measure->itemData) : nullptr;
    if (record == nullptr) return FALSE;
    if (record->shellMenu != nullptr) {
        ULONG_PTR ours = measure->itemData;
        measure->itemData = record->previousData;
        record->shellMenu->HandleMenuMsg(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(measure));
        measure->itemData = ours;
        return TRUE;
    }
    if (record->previousType & MFT_SEPARATOR) {
        measure->itemWidth = 0;
        measure->itemHeight = static_cast<UINT>(GetSystemMetrics(SM_CYMENU) / 2);
        return TRUE;
    }
    auto [left, right] = SplitAtTab(record->text);
    SIZE slot = ImageSlot();
    SIZE leftSize = TextSize(MenuFont(), WithoutPrefixes(left));
    SIZE rightSize = right.empty() ? SIZE{0, 0} : TextSize(MenuFont(), right);
    int width = slot.cx + kTextGap + leftSize.cx + (right.empty() ? 0 : kTextGap * 2 + rightSize.cx) + kTextGap;
    measure->itemWidth = static_cast<UINT>(width);
    measure->itemHeight = static_cast<UINT>(std::max<LONG>({slot.cy, leftSize.cy + 4, GetSystemMetrics(SM_CYMENU)}));
    return TRUE;
}

BOOL CCoolMenuManager::OnDrawItem(DRAWITEMSTRUCT* draw) {
    const ItemRecord* record = draw->CtlType == ODT_MENU ? RecordOf(draw->itemData) : nullptr;
    if (record == nullptr) return FALSE;
    if (record->shellMenu != nullptr) {
        ULONG_PTR ours = draw->itemData;
        draw->itemData = record->previousData;
        record->shellMenu->HandleMenuMsg(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(draw));
        draw->itemData = ours;
        return TRUE;
    }
    HDC dc = draw->hDC;
    RECT rect = draw->rcItem;
    if (record->previousType & MFT_SEPARATOR) {
        RECT line{rect.left, (rect.top + rect.bottom) / 2, rect.right, rect.bottom};
        DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return TRUE;
    }
    SIZE slot = ImageSlot();
    int slotTop = rect.top + (rect.bottom - rect.top - slot.cy) / 2;
    RECT slotRect{rect.left, slotTop, rect.left + slot.cx, slotTop + slot.cy};
    DrawSlot(dc, *record, slotRect, draw->itemState);
    RECT textRect{slotRect.right, rect.top, rect.right, rect.bottom};
    DrawText(dc, *record, textRect, draw->itemState);
    return TRUE;
}

void CCoolMenuManager::DrawSlot(HDC dc, const ItemRecord& record, const RECT& slot, UINT state) {
    bool checked = (state & ODS_CHECKED) != 0;
    bool selected = (state & ODS_SELECTED) != 0;
    bool disabled = (state & (ODS_GRAYED | ODS_DISABLED)) != 0;
    bool hasImage = record.image != -1;
    HBRUSH brush = GetSysColorBrush(checked && !selected ? COLOR_3DLIGHT : COLOR_MENU);
    FillRect(dc, &slot, brush);
    int x = slot.left + (slot.right - slot.left - m_buttonSize.cx) / 2;
    int y = slot.top + (slot.bottom - slot.top - m_buttonSize.cy) / 2;
    if (hasImage) {
        if ((checked || selected) && !disabled) {
            RECT frame = slot;
            DrawEdge(dc, &frame, checked ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
        }
        if (disabled) {
            DrawEmbossed(dc, record, x, y);
        } else if (record.image <= -1000) {
            m_shellImages.Draw(dc, -1000 - record.image, POINT{x, y}, ILD_TRANSPARENT);
        } else if (record.image == -2 && record.icon != nullptr) {
            DrawIconEx(dc, x, y, record.icon, m_buttonSize.cx, m_buttonSize.cy, 0, nullptr, 0);
        } else {
            m_images.Draw(dc, record.image, POINT{x, y}, ILD_TRANSPARENT);
        }
    } else if (checked) {
        RECT frame = slot;
        DrawEdge(dc, &frame, BDR_SUNKENOUTER, BF_RECT);
        HBITMAP mark = LoadBitmapA(nullptr, MAKEINTRESOURCEA(OBM_CHECK));
        int cx = GetSystemMetrics(SM_CXMENUCHECK), cy = GetSystemMetrics(SM_CYMENUCHECK);
        DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(mark), 0, slot.left + (slot.right - slot.left - cx) / 2,
                   slot.top + (slot.bottom - slot.top - cy) / 2, cx, cy, DST_BITMAP | (disabled ? DSS_DISABLED : 0));
    }
}

// The platform's image lists record the drawing state of an image in the picture: the disabled
// state stands for the embossed, colourless drawing.
void CCoolMenuManager::DrawEmbossed(HDC dc, const ItemRecord& record, int x, int y) {
    if (record.image == -2 && record.icon != nullptr) {
        DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(record.icon), 0, x, y, m_buttonSize.cx, m_buttonSize.cy,
                   DST_ICON | DSS_DISABLED);
        return;
    }
    CImageList& list = record.image <= -1000 ? m_shellImages : m_images;
    int index = record.image <= -1000 ? -1000 - record.image : record.image;
    ImageList_DrawEx(list.GetSafeHandle(), index, dc, x, y, 0, 0, CLR_NONE, CLR_NONE, ILD_TRANSPARENT | DSS_DISABLED);
}

void CCoolMenuManager::DrawText(HDC dc, const ItemRecord& record, RECT rect, UINT state) {
    bool selected = (state & ODS_SELECTED) != 0;
    bool disabled = (state & (ODS_GRAYED | ODS_DISABLED)) != 0;
    FillRect(dc, &rect, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    HGDIOBJ oldFont = SelectObject(dc, MenuFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    auto [left, right] = SplitAtTab(record.text);
    RECT textRect{rect.left + kTextGap, rect.top, rect.right - kTextGap, rect.bottom};
    ::DrawTextA(dc, left.c_str(), -1, &textRect, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    if (!right.empty()) ::DrawTextA(dc, right.c_str(), -1, &textRect, DT_RIGHT | DT_SINGLELINE | DT_VCENTER);
    SelectObject(dc, oldFont);
}

LRESULT CCoolMenuManager::OnMenuChar(UINT character, UINT, HMENU menu) {
    if (LRESULT answer = 0; ShellMenuChar(menu, character, answer)) return answer;
    int hot = -1;
    int count = GetMenuItemCount(menu);
    for (int position = 0; position < count && hot < 0; ++position) {
        UINT state = GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION);
        if ((state & MF_HILITE) || (menu == m_hotMenu && GetMenuItemID(menu, position) == m_hotItem)) hot = position;
    }
    const auto typed = std::toupper(static_cast<unsigned char>(character));
    std::vector<int> matches;
    for (const auto& [position, record] : ConvertedItems(menu)) {
        std::string text = SplitAtTab(record->text).first;
        for (std::size_t i = 0; i + 1 < text.size(); ++i) {
            if (text[i] != '&') continue;
            if (text[i + 1] == '&') {
                ++i;
                continue;
            }
            if (std::toupper(static_cast<unsigned char>(text[i + 1])) == typed) matches.push_back(position);
            break;
        }
    }
    if (matches.empty()) return Default();
    if (matches.size() == 1) return MenuCharAnswer(matches.front(), MNC_EXECUTE);
    auto next = std::find_if(matches.begin(), matches.end(), [&](int position) { return position > hot; });
    return MenuCharAnswer(next != matches.end() ? *next : matches.front(), MNC_SELECT);
}

void CCoolMenuManager::OnMenuSelect(UINT item, UINT flags, HMENU menu) {
    m_hotMenu = menu;
    m_hotItem = item;
    if ((flags & (MF_POPUP | MF_SYSMENU)) || !IsShellCommand(item) || m_shellMenu == nullptr) return;
    char help[kHelpTextBuffer] = {};
    if (FAILED(m_shellMenu->GetCommandString(item - m_shellFirst, GCS_HELPTEXTA, nullptr, help, sizeof help))) return;
    if (m_frame != nullptr) SendMessageA(m_frame, WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(help));
}

LRESULT CCoolMenuManager::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
        Refresh();
        return Default();
    case WM_MEASUREITEM:
        if (OnMeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) return TRUE;
        return Default();
    case WM_DRAWITEM:
        if (OnDrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam))) return TRUE;
        return Default();
    case WM_INITMENUPOPUP: {
        LRESULT result = Default();
        ConvertPopup(reinterpret_cast<HMENU>(wParam), HIWORD(lParam) != 0);
        return result;
    }
    case WM_MENUSELECT:
        OnMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
        return Default();
    case WM_MENUCHAR: return OnMenuChar(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
    default: return Default();
    }
}
