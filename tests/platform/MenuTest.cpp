// Menus from the module's resources, item state, tracking by keyboard (shared mnemonics, owner
// drawn items answered through WM_MENUCHAR) and by mouse, accelerators and key names.
#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "platform/base/CodePage.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/KeyNames.h"
#include "platform/window/Menu.h"
#include "platform/window/VirtualKeys.h"
#include "tests/platform/TestResources.h"
#include "tests/platform/TestWindows.h"
#include "tests/support/WindowHarness.h"

namespace ostrana::test {
namespace {

std::string ItemText(HMENU menu, int position) {
    char text[128] = {};
    GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    return AnsiToUtf8(text);
}

TEST(MenuResource, ServerTreeMenuHasItsCommandsAndStates) {
    HMENU menu = LoadMenuA(TestResourceHandle(), MAKEINTRESOURCEA(IDR_TEST_TREE_MENU));
    ASSERT_NE(nullptr, menu);
    HMENU popup = GetSubMenu(menu, 0);
    ASSERT_NE(nullptr, popup);
    EXPECT_EQ("나무", ItemText(menu, 0));
    std::vector<UINT> ids;
    for (int i = 0; i < GetMenuItemCount(popup); ++i) {
        if (!(GetMenuState(popup, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR)) ids.push_back(GetMenuItemID(popup, i));
    }
    EXPECT_EQ((std::vector<UINT>{32779, 32778, 32777, 32781, 32901, 32784}), ids);
    EXPECT_EQ("삭제(&Delete)", ItemText(popup, 4));
    EXPECT_EQ(static_cast<BOOL>(MF_ENABLED), EnableMenuItem(popup, 32777, MF_BYCOMMAND | MF_GRAYED));
    EXPECT_EQ(static_cast<UINT>(MF_GRAYED), GetMenuState(popup, 32777, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_EQ(-1, EnableMenuItem(popup, 4242, MF_BYCOMMAND | MF_GRAYED));
    CheckMenuItem(menu, 32784, MF_BYCOMMAND | MF_CHECKED); // found below the top menu, by command
    EXPECT_NE(0u, GetMenuState(popup, 32784, MF_BYCOMMAND) & MF_CHECKED);
    DestroyMenu(menu);
    EXPECT_FALSE(IsMenu(popup));
}

TEST(MenuResource, DragMenuTakesItsDefaultItem) {
    HMENU menu = LoadMenuA(TestResourceHandle(), MAKEINTRESOURCEA(IDR_TEST_DRAG_MENU));
    HMENU popup = GetSubMenu(menu, 0);
    EXPECT_TRUE(SetMenuDefaultItem(popup, 42768, FALSE));
    EXPECT_EQ(42768u, GetMenuDefaultItem(popup, FALSE, 0));
    EXPECT_EQ(0u, GetMenuDefaultItem(popup, TRUE, 0));
    DestroyMenu(menu);
}

struct Tracking {
    UiThread ui;
    WindowWaiter waiter;
    HWND owner = nullptr;

    explicit Tracking(const char* className = "MenuOwner", WNDPROC procedure = DefWindowProcA) {
        ui.Run([&] {
            ResetInputState();
            owner = MakeTestWindow(className, procedure, WS_POPUP | WS_VISIBLE, RECT{0, 0, 200, 200});
            SetFocus(owner);
        });
    }
    ~Tracking() {
        ui.Run([] { EndMenu(); }); // a failed test must not leave a menu open
        for (std::thread& thread : threads) thread.join();
        ui.Run([&] { DestroyWindow(owner); });
    }
    std::future<BOOL> Track(HMENU menu, UINT flags, POINT at) {
        std::packaged_task<BOOL()> task([=, this] {
            BOOL result = FALSE;
            ui.Run([&] { result = TrackPopupMenuEx(menu, flags, at.x, at.y, owner, nullptr); });
            return result;
        });
        std::future<BOOL> result = task.get_future();
        threads.emplace_back(std::move(task));
        return result;
    }
    std::vector<std::thread> threads;
    HWND WaitForMenuWindow(HWND other = nullptr) {
        HWND found = nullptr;
        waiter.WaitUntil([&] {
            found = TrackedMenuWindow();
            return found != nullptr && found != other && IsWindowVisible(found);
        });
        return found;
    }
};

HMENU SharedMnemonicMenu() {
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 100, "&Copy");
    AppendMenuA(menu, MF_STRING, 101, "&Cut");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, 102, "&Paste");
    AppendMenuA(menu, MF_STRING | MF_GRAYED, 103, "&Delete");
    return menu;
}

TEST(MenuTracking, SharedMnemonicSelectsTheNextItemAndEnterRunsIt) {
    Tracking tracking;
    HMENU menu = SharedMnemonicMenu();
    auto result = tracking.Track(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, POINT{50, 50});
    ASSERT_NE(nullptr, tracking.WaitForMenuWindow());
    InjectKeyPress('C'); // Copy, highlighted only: Cut shares the letter
    InjectKeyPress('C'); // Cut
    InjectKeyPress(VK_RETURN);
    EXPECT_EQ(101, result.get());
    DestroyMenu(menu);
}

TEST(MenuTracking, UniqueMnemonicRunsAtOnceAndArrowsSkipSeparators) {
    Tracking tracking;
    HMENU menu = SharedMnemonicMenu();
    auto unique = tracking.Track(menu, TPM_RETURNCMD, POINT{50, 50});
    ASSERT_NE(nullptr, tracking.WaitForMenuWindow());
    InjectKeyPress('P');
    EXPECT_EQ(102, unique.get());
    auto arrows = tracking.Track(menu, TPM_RETURNCMD, POINT{50, 50});
    ASSERT_NE(nullptr, tracking.WaitForMenuWindow());
    InjectKeyPress(VK_UP);   // wraps to the grayed Delete
    InjectKeyPress(VK_RETURN); // a grayed item does nothing
    InjectKeyPress(VK_UP);   // Paste, the separator skipped on the way down
    InjectKeyPress(VK_RETURN);
    EXPECT_EQ(102, arrows.get());
    auto cancelled = tracking.Track(menu, TPM_RETURNCMD, POINT{50, 50});
    ASSERT_NE(nullptr, tracking.WaitForMenuWindow());
    InjectKeyPress(VK_ESCAPE);
    EXPECT_EQ(0, cancelled.get());
    DestroyMenu(menu);
}

std::vector<std::string> g_ownerLog;
LRESULT OwnerDrawOwner(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITMENUPOPUP:
    case WM_UNINITMENUPOPUP:
    case WM_EXITMENULOOP: g_ownerLog.push_back(MessageName(message)); break;
    case WM_MEASUREITEM: {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        measure->itemWidth = 120;
        measure->itemHeight = 20;
        return TRUE;
    }
    case WM_MENUCHAR:
        g_ownerLog.push_back("WM_MENUCHAR " + std::string(1, static_cast<char>(LOWORD(wParam))));
        return MAKELRESULT(1, MNC_EXECUTE);
    default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(MenuTracking, OwnerDrawnItemsAreMeasuredByTheOwnerAndAnswerMenuCharacters) {
    g_ownerLog.clear();
    Tracking tracking("OwnerDrawOwner", OwnerDrawOwner);
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_OWNERDRAW, 200, reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(0x3064696D)));
    AppendMenuA(menu, MF_OWNERDRAW, 201, nullptr);
    auto result = tracking.Track(menu, TPM_RETURNCMD | TPM_NONOTIFY, POINT{10, 10});
    HWND window = tracking.WaitForMenuWindow();
    ASSERT_NE(nullptr, window);
    RECT rect;
    GetClientRect(window, &rect);
    EXPECT_EQ(120, rect.right);
    EXPECT_EQ(40, rect.bottom);
    InjectKeyPress('X');
    EXPECT_EQ(201, result.get());
    EXPECT_TRUE(SameSequence({"WM_INITMENUPOPUP", "WM_MENUCHAR x", "WM_UNINITMENUPOPUP", "WM_EXITMENULOOP"}, g_ownerLog));
    DestroyMenu(menu);
}

TEST(MenuTracking, MouseOpensTheSubmenuAndClicksItsItem) {
    Tracking tracking;
    HMENU menu = LoadMenuA(TestResourceHandle(), MAKEINTRESOURCEA(IDR_TEST_LIST_MENU));
    auto result = tracking.Track(GetSubMenu(menu, 0), TPM_RETURNCMD | TPM_RIGHTBUTTON, POINT{300, 300});
    HWND top = tracking.WaitForMenuWindow();
    ASSERT_NE(nullptr, top);
    POINT origin{0, 0};
    ClientToScreen(top, &origin);
    InjectMouseButton(MouseButton::Right, false, POINT{305, 295}); // the release of the opening click: ignored
    InjectMouseMove(POINT{origin.x + 20, origin.y + 6 * 18 + 3 * 8 + 9}); // 보기, after six items and three separators
    HWND sub = tracking.WaitForMenuWindow(top);
    ASSERT_NE(nullptr, sub);
    POINT subOrigin{0, 0};
    ClientToScreen(sub, &subOrigin);
    InjectClick(MouseButton::Right, POINT{subOrigin.x + 20, subOrigin.y + 3 * 18 + 9}); // 자세히
    EXPECT_EQ(42773, result.get());
    auto outside = tracking.Track(GetSubMenu(menu, 0), TPM_RETURNCMD, POINT{300, 300});
    ASSERT_NE(nullptr, tracking.WaitForMenuWindow());
    InjectClick(MouseButton::Left, POINT{5, 5});
    EXPECT_EQ(0, outside.get());
    DestroyMenu(menu);
}

TEST(Accelerators, CopyGivesSixByteEntriesAndKeyNamesUseTheKeypadNames) {
    ACCEL entries[] = {{FVIRTKEY | FCONTROL, 'N', 32778}, {FVIRTKEY, VK_INSERT, 32778}};
    HACCEL table = CreateAcceleratorTableA(entries, 2);
    EXPECT_EQ(2, CopyAcceleratorTableA(table, nullptr, 0));
    ACCEL copy[2] = {};
    EXPECT_EQ(2, CopyAcceleratorTableA(table, copy, 2));
    EXPECT_EQ(VK_INSERT, copy[1].key);
    DestroyAcceleratorTable(table);
    char name[64];
    GetKeyNameTextA(static_cast<LONG>(MapVirtualKeyA('N', 0) << 16), name, sizeof name);
    EXPECT_STREQ("N", name);
    GetKeyNameTextA(static_cast<LONG>(MapVirtualKeyA(VK_INSERT, 0) << 16), name, sizeof name);
    EXPECT_STREQ("Num 0", name);
    GetKeyNameTextA(static_cast<LONG>(MapVirtualKeyA(VK_DELETE, 0) << 16), name, sizeof name);
    EXPECT_STREQ("Num Del", name);
    GetKeyNameTextA(static_cast<LONG>((MapVirtualKeyA(VK_HOME, 0) << 16) | (1 << 24)), name, sizeof name);
    EXPECT_STREQ("Home", name);
    GetKeyNameTextA(static_cast<LONG>(MapVirtualKeyA(VK_F6, 0) << 16), name, sizeof name);
    EXPECT_STREQ("F6", name);
}

} // namespace
} // namespace ostrana::test
