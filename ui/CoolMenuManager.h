// Owner-drawn pop-up menus for one hooked window: each converted item shows the image of its
// command (from toolbar resources or a shell icon), the system menu font, a check or image frame
// and its shortcut from an accelerator table. Items of a shell context menu in the shell command
// range are handed back to that menu to draw, measure and answer menu characters.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/controls/AfxCmnCtrls.h"
#include "platform/shell/ContextMenu.h"
#include "platform/window/Menu.h"
#include "ui/SubclassWnd.h"

#ifndef WM_SETMESSAGESTRING
#define WM_SETMESSAGESTRING 0x0362
#endif

class CCoolMenuManager : public CSubclassWnd {
    DECLARE_DYNAMIC(CCoolMenuManager)

public:
    static constexpr DWORD kSignature = 0x3064696D; // "mid0"

    // The record kept in the item data of a converted item.
    struct ItemRecord {
        DWORD signature = kSignature;
        std::string text;
        std::string previousText;
        UINT previousType = 0;
        int image = -1; // -1 none, -2 the icon below
        HICON icon = nullptr;
        ULONG_PTR previousData = 0;
        IContextMenu2* shellMenu = nullptr;
    };

    CCoolMenuManager();
    ~CCoolMenuManager() override;

    // Hooks the window (null uninstalls). Status texts go to the frame, the window's top-level
    // parent unless set.
    void Install(HWND window);
    void SetFrame(HWND frame) { m_frame = frame; }
    // Toolbars and their bitmaps come from this module (the default resource module unless set).
    void SetResourceModule(HINSTANCE module) { m_module = module; }
    BOOL LoadToolbar(UINT id);
    BOOL LoadToolbars(const UINT* ids, int count);
    // Rebuilds the command-to-shortcut map from a copy of the table; null clears it.
    void SetAccelerators(HACCEL table);
    void SetShellRange(IContextMenu* menu, UINT first, UINT last);
    // The image slot of a command (or a submenu) from an icon, for shell items.
    void SetCommandIcon(UINT_PTR command, HICON icon);

    void ConvertMenu(HMENU menu, bool submenus = false);
    void RestoreMenu(HMENU menu, bool submenus = false);
    // The shortcut text of a command: "\t" and its accelerators separated by ", ", or empty.
    std::string GetShortcutText(UINT command) const;
    // The record of a converted item, or null. Item data is only read as a record when it is one of
    // this manager's, so foreign data (a shell extension's own) is never taken for one.
    const ItemRecord* RecordOf(ULONG_PTR itemData) const;

    bool m_bShowButtons = true;
    bool m_bAutoAccel = true;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    virtual void Destroy();
    virtual void Refresh();
    virtual void ConvertPopup(HMENU menu, bool systemMenu);
    virtual BOOL OnMeasureItem(MEASUREITEMSTRUCT* measure);
    virtual BOOL OnDrawItem(DRAWITEMSTRUCT* draw);
    virtual LRESULT OnMenuChar(UINT character, UINT flags, HMENU menu);
    virtual void OnMenuSelect(UINT item, UINT flags, HMENU menu);

private:
    void ConvertItem(HMENU menu, int position);
    void RestoreItem(HMENU menu, int position);
    int ImageOf(UINT_PTR command) const;
    HFONT MenuFont();
    SIZE ImageSlot() const;
    void DrawSlot(HDC dc, const ItemRecord& record, const RECT& slot, UINT state);
    void DrawText(HDC dc, const ItemRecord& record, RECT rect, UINT state);
    void DrawEmbossed(HDC dc, const ItemRecord& record, int x, int y);
    bool IsShellCommand(UINT command) const { return m_shellMenu != nullptr && command >= m_shellFirst && command <= m_shellLast; }
    std::vector<std::pair<int, ItemRecord*>> ConvertedItems(HMENU menu) const;
    static void SetItemData(HMENU menu, int position, ULONG_PTR data);
    void DeleteRecord(ItemRecord* record);
    bool ShellMenuChar(HMENU menu, UINT character, LRESULT& answer);

    HWND m_frame = nullptr;
    HINSTANCE m_module = nullptr;
    CImageList m_images;
    CImageList m_shellImages;
    SIZE m_buttonSize{16, 15};
    std::map<UINT_PTR, int> m_commandImages;
    std::vector<UINT> m_toolbarIds;
    std::vector<ACCEL> m_accelerators;
    std::multimap<UINT, std::size_t> m_commandAccelerators;
    HFONT m_menuFont = nullptr;
    IContextMenu* m_shellMenu = nullptr;
    UINT m_shellFirst = 0;
    UINT m_shellLast = 0;
    std::vector<HMENU> m_convertedMenus;
    std::unordered_set<const ItemRecord*> m_records;
    HMENU m_hotMenu = nullptr;
    UINT m_hotItem = 0;
};

// The process-wide menu manager, made on first use and gone when the module unloads.
CCoolMenuManager& TheCoolMenuManager();
