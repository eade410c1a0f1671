// The menu functions as owner-drawn menu code uses them: item information with type, state, data
// and text; inserting, modifying, removing and deleting; radio checks and pop-up states.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/window/Menu.h"

namespace ostrana::test {
namespace {

TEST(MenuItems, ItemInformationRoundTripsAsOwnerDrawnConversionNeedsIt) {
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 10, "&Open\tCtrl+O");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    char text[64] = {};
    MENUITEMINFOA info{sizeof info, MIIM_FTYPE | MIIM_STRING | MIIM_DATA | MIIM_ID | MIIM_STATE, 0, 0, 0, nullptr,
                       nullptr, nullptr, 0, text, sizeof text, nullptr};
    ASSERT_TRUE(GetMenuItemInfoA(menu, 0, TRUE, &info));
    EXPECT_STREQ("&Open\tCtrl+O", text);
    EXPECT_EQ(12u, info.cch);
    EXPECT_EQ(10u, info.wID);
    MENUITEMINFOA converted{sizeof converted, MIIM_FTYPE | MIIM_DATA, MFT_OWNERDRAW, 0, 0, nullptr, nullptr, nullptr,
                            0x3064696D, nullptr, 0, nullptr};
    ASSERT_TRUE(SetMenuItemInfoA(menu, 10, FALSE, &converted));
    MENUITEMINFOA read{sizeof read, MIIM_FTYPE | MIIM_DATA, 0, 0, 0, nullptr, nullptr, nullptr, 0, nullptr, 0, nullptr};
    GetMenuItemInfoA(menu, 0, TRUE, &read);
    EXPECT_EQ(static_cast<UINT>(MFT_OWNERDRAW), read.fType & MFT_OWNERDRAW);
    EXPECT_EQ(0x3064696Du, read.dwItemData);
    EXPECT_NE(0u, GetMenuState(menu, 1, MF_BYPOSITION) & MF_SEPARATOR);
    DestroyMenu(menu);
}

TEST(MenuItems, InsertModifyRemoveAndDeleteKeepPositionsAndSubmenus) {
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 1, "one");
    AppendMenuA(menu, MF_STRING, 3, "three");
    InsertMenuA(menu, 3, MF_BYCOMMAND | MF_STRING, 2, "two");
    EXPECT_EQ(2u, GetMenuItemID(menu, 1));
    MENUITEMINFOA info{sizeof info, MIIM_ID | MIIM_STRING, 0, 0, 4, nullptr, nullptr, nullptr, 0, const_cast<LPSTR>("four"), 0, nullptr};
    InsertMenuItemA(menu, 1, TRUE, &info);
    EXPECT_EQ(4u, GetMenuItemID(menu, 1));
    EXPECT_EQ(2u, GetMenuItemID(menu, 2));
    ModifyMenuA(menu, 2, MF_BYCOMMAND | MF_STRING | MF_GRAYED, 22, "two'");
    EXPECT_EQ(22u, GetMenuItemID(menu, 2));
    EXPECT_NE(0u, GetMenuState(menu, 22, MF_BYCOMMAND) & MF_GRAYED);
    HMENU kept = CreatePopupMenu();
    HMENU dropped = CreatePopupMenu();
    AppendMenuA(kept, MF_STRING, 7, "x");
    AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(kept), "kept");
    AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(dropped), "dropped");
    EXPECT_EQ(static_cast<UINT>(MF_POPUP) | (1u << 8), GetMenuState(menu, 4, MF_BYPOSITION)); // one item
    EXPECT_EQ(static_cast<UINT>(-1), GetMenuItemID(menu, 4));
    EXPECT_TRUE(RemoveMenu(menu, 4, MF_BYPOSITION));
    EXPECT_TRUE(IsMenu(kept));
    EXPECT_TRUE(DeleteMenu(menu, 4, MF_BYPOSITION));
    EXPECT_FALSE(IsMenu(dropped));
    EXPECT_EQ(4, GetMenuItemCount(menu));
    DestroyMenu(menu);
    DestroyMenu(kept);
}

TEST(MenuItems, RadioChecksAreExclusiveWithinTheRange) {
    HMENU menu = CreatePopupMenu();
    for (UINT id = 42771; id <= 42774; ++id) AppendMenuA(menu, MF_STRING, id, "view");
    CheckMenuRadioItem(menu, 42771, 42774, 42773, MF_BYCOMMAND);
    CheckMenuRadioItem(menu, 42771, 42774, 42772, MF_BYCOMMAND);
    EXPECT_EQ(0u, GetMenuState(menu, 42773, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_NE(0u, GetMenuState(menu, 42772, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ(static_cast<DWORD>(MF_CHECKED), CheckMenuItem(menu, 42772, MF_BYCOMMAND | MF_UNCHECKED));
    EXPECT_EQ(static_cast<DWORD>(-1), CheckMenuItem(menu, 1, MF_BYCOMMAND | MF_CHECKED));
    DestroyMenu(menu);
    EXPECT_EQ(-1, GetMenuItemCount(menu)); // a destroyed menu is refused
}

} // namespace
} // namespace ostrana::test
