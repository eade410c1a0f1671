// Owner-drawn menus: hooks chained on one window, shortcut texts from accelerator resources with
// the keypad names replaced, converting and restoring a menu, mnemonics shared by two items, and
// a golden dump of a converted menu's items (checked, with an image, disabled with an embossed
// image, a separator).
#include <gtest/gtest.h>

#include "platform/base/CodePage.h"
#include "platform/base/ModuleResources.h"
#include "platform/gdi/DisplayList.h"
#include "platform/window/AcceleratorResource.h"
#include "platform/window/VirtualKeys.h"
#include "platform/window/Paint.h"
#include "tests/support/Golden.h"
#include "tests/support/WindowHarness.h"
#include "tests/ui/ListTestSupport.h"
#include "ui/CoolMenuManager.h"

namespace ostrana::test {
namespace {

constexpr UINT kNew = 100, kOpen = 101, kSave = 102, kSend = 103, kQuit = 104;

constexpr AcceleratorEntryResource kAccelerators[] = {
    {FVIRTKEY | FCONTROL, 'N', kNew},
    {FVIRTKEY, VK_INSERT, kNew},
    {FVIRTKEY | FALT | FSHIFT, VK_DELETE, kQuit},
    {0, 'q', kQuit},
};
constexpr AcceleratorResource kAcceleratorTables[] = {{128, kAccelerators}};
constexpr UINT kButtons[] = {kNew, 0, kSave};
constexpr ToolbarResource kToolbars[] = {{129, "TOOLBAR", 16, 15, kButtons}};
constexpr ImageResource kImages[] = {{ImageKind::Bitmap, 0, "TOOLBAR", "toolbar.svg", 32, 15}};
const ModuleResources kModule(ResourceTables{{}, {}, {}, kImages, kAcceleratorTables, kToolbars});

class Recorder : public CSubclassWnd {
public:
    Recorder(std::vector<std::string>& log, std::string name) : m_log(log), m_name(std::move(name)) {}

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_APP) m_log.push_back(m_name);
        return message == WM_APP && m_name == "stop" ? 7 : CSubclassWnd::WindowProc(message, wParam, lParam);
    }

private:
    std::vector<std::string>& m_log;
    std::string m_name;
};

TEST(SubclassHooks, ChainOnOneWindowNewestFirstAndLetGoInAnyOrder) {
    UiThread ui;
    ui.Run([] {
        RecordingParent window(kParentRect);
        std::vector<std::string> log;
        auto first = std::make_unique<Recorder>(log, "first");
        auto second = std::make_unique<Recorder>(log, "second");
        ASSERT_TRUE(first->HookWindow(window.m_hWnd));
        ASSERT_TRUE(second->HookWindow(window.m_hWnd));
        SendMessageA(window.m_hWnd, WM_APP, 0, 0);
        EXPECT_EQ((std::vector<std::string>{"second", "first"}), log);
        EXPECT_EQ((std::vector<std::string>{"parent WM_APP+0"}), window.Take()); // the window's own procedure last
        first.reset(); // the older hook goes first
        log.clear();
        SendMessageA(window.m_hWnd, WM_APP, 0, 0);
        EXPECT_EQ((std::vector<std::string>{"second"}), log);
        EXPECT_EQ(1u, window.Take().size());
        Recorder stop(log, "stop");
        stop.HookWindow(window.m_hWnd);
        EXPECT_EQ(7, SendMessageA(window.m_hWnd, WM_APP, 0, 0));
        EXPECT_TRUE(window.Take().empty());
        stop.HookWindow(nullptr);
        second.reset();
        log.clear();
        SendMessageA(window.m_hWnd, WM_APP, 0, 0);
        EXPECT_TRUE(log.empty());
        EXPECT_EQ(1u, window.Take().size());
        Recorder last(log, "last");
        last.HookWindow(window.m_hWnd);
        window.DestroyWindow();
        EXPECT_FALSE(last.IsHooked());
    });
}

struct MenuFixture {
    CCoolMenuManager manager;
    HACCEL accelerators = LoadAcceleratorsA(kModule.Handle(), MAKEINTRESOURCEA(128));
    HMENU menu = CreatePopupMenu();
    MenuFixture() {
        manager.SetResourceModule(kModule.Handle());
        manager.SetAccelerators(accelerators);
        manager.LoadToolbar(129);
        AppendMenuA(menu, MF_STRING, kNew, "&New\told text");
        AppendMenuA(menu, MF_STRING | MF_CHECKED, kOpen, "&Open");
        AppendMenuA(menu, MF_STRING | MF_GRAYED, kSave, "&Save");
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(menu, MF_STRING, kSend, "S&end");
        AppendMenuA(menu, MF_STRING, kQuit, "&Quit");
    }
    ~MenuFixture() {
        manager.RestoreMenu(menu);
        DestroyMenu(menu);
        DestroyAcceleratorTable(accelerators);
    }
    const CCoolMenuManager::ItemRecord* Record(int position) const {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_DATA;
        GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info);
        return manager.RecordOf(info.dwItemData);
    }
};

TEST(CoolMenu, ShortcutsComeFromTheAcceleratorsWithKeypadNamesReplaced) {
    MenuFixture fixture;
    ASSERT_NE(nullptr, fixture.accelerators);
    EXPECT_EQ("\tCtrl+N, Ins", fixture.manager.GetShortcutText(kNew));
    EXPECT_EQ("\tAlt+Shift+Del, q", fixture.manager.GetShortcutText(kQuit));
    EXPECT_EQ("", fixture.manager.GetShortcutText(kOpen));
    fixture.manager.SetAccelerators(nullptr);
    EXPECT_EQ("", fixture.manager.GetShortcutText(kNew));
    EXPECT_EQ(nullptr, LoadAcceleratorsA(kModule.Handle(), MAKEINTRESOURCEA(5)));
}

TEST(CoolMenu, ConvertingMarksTheItemsAndRestoringPutsThemBack) {
    MenuFixture fixture;
    fixture.manager.ConvertMenu(fixture.menu);
    const auto* first = fixture.Record(0);
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(0x3064696Du, first->signature);
    EXPECT_EQ("&New\tCtrl+N, Ins", first->text);
    EXPECT_EQ(0, first->image);
    EXPECT_EQ(-1, fixture.Record(1)->image);
    EXPECT_EQ(1, fixture.Record(2)->image);
    EXPECT_EQ(nullptr, fixture.Record(3)); // separators stay as they are
    EXPECT_TRUE(GetMenuState(fixture.menu, 0, MF_BYPOSITION) & MF_OWNERDRAW);
    fixture.manager.ConvertMenu(fixture.menu); // twice changes nothing
    EXPECT_EQ("&New\tCtrl+N, Ins", fixture.Record(0)->text);

    fixture.manager.RestoreMenu(fixture.menu);
    EXPECT_EQ(nullptr, fixture.Record(0));
    EXPECT_FALSE(GetMenuState(fixture.menu, 0, MF_BYPOSITION) & MF_OWNERDRAW);
    char text[64] = {};
    GetMenuStringA(fixture.menu, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ("&New\told text", text);
    EXPECT_TRUE(GetMenuState(fixture.menu, 1, MF_BYPOSITION) & MF_CHECKED);
}

TEST(CoolMenu, SharedMnemonicSelectsTheNextItemAndAUniqueOneExecutes) {
    UiThread ui;
    ui.Run([] {
        RecordingParent window(kParentRect);
        MenuFixture fixture;
        fixture.manager.Install(window.m_hWnd);
        SendMessageA(window.m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(fixture.menu), 0);
        ASSERT_NE(nullptr, fixture.Record(0));
        auto menuChar = [&](char c) {
            return SendMessageA(window.m_hWnd, WM_MENUCHAR, MAKEWPARAM(c, MF_POPUP), reinterpret_cast<LPARAM>(fixture.menu));
        };
        // "&Save" and "S&end" do not share "s": only "&Save" has it as its mnemonic.
        EXPECT_EQ(MAKELONG(2, MNC_EXECUTE), menuChar('s'));
        EXPECT_EQ(MAKELONG(5, MNC_EXECUTE), menuChar('Q'));
        EXPECT_EQ(0, menuChar('x'));
        ModifyMenuA(fixture.menu, 4, MF_BYPOSITION | MF_STRING, kSend, "&Send");
        fixture.manager.RestoreMenu(fixture.menu);
        fixture.manager.ConvertMenu(fixture.menu);
        EXPECT_EQ(MAKELONG(2, MNC_SELECT), menuChar('s'));
        SendMessageA(window.m_hWnd, WM_MENUSELECT, MAKEWPARAM(kSave, MF_HILITE), reinterpret_cast<LPARAM>(fixture.menu));
        EXPECT_EQ(MAKELONG(4, MNC_SELECT), menuChar('s'));
        SendMessageA(window.m_hWnd, WM_MENUSELECT, MAKEWPARAM(kSend, MF_HILITE), reinterpret_cast<LPARAM>(fixture.menu));
        EXPECT_EQ(MAKELONG(2, MNC_SELECT), menuChar('S')); // wraps to the first
        fixture.manager.Install(nullptr);
        EXPECT_EQ(nullptr, fixture.Record(0));
    });
}

TEST(CoolMenu, ConvertedItemsDrawTheirFramesImagesAndShortcuts) {
    UiThread ui;
    ui.Run([] {
        RecordingParent window(kParentRect);
        MenuFixture fixture;
        fixture.manager.Install(window.m_hWnd);
        fixture.manager.ConvertMenu(fixture.menu);
        HDC dc = GetDC(window.m_hWnd);
        int top = 0;
        std::string sizes;
        const UINT states[] = {ODS_SELECTED, ODS_CHECKED, ODS_GRAYED, 0, 0, 0};
        for (int position = 0; position < 6; ++position) {
            MENUITEMINFOA info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_DATA | MIIM_ID | MIIM_TYPE;
            GetMenuItemInfoA(fixture.menu, static_cast<UINT>(position), TRUE, &info);
            MEASUREITEMSTRUCT measure{ODT_MENU, 0, info.wID, 0, 0, info.dwItemData};
            int height = 8;
            if (SendMessageA(window.m_hWnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure))) {
                height = static_cast<int>(measure.itemHeight);
                sizes += std::to_string(measure.itemWidth) + "x" + std::to_string(measure.itemHeight) + " ";
            }
            RECT rect{0, top, 200, top + height};
            if (info.fType & MFT_SEPARATOR) {
                DrawEdge(dc, &rect, EDGE_ETCHED, BF_TOP); // not converted: the platform's menu draws it
            } else {
                DRAWITEMSTRUCT draw{ODT_MENU, 0, info.wID, ODA_DRAWENTIRE, states[position],
                                    reinterpret_cast<HWND>(fixture.menu), dc, rect, info.dwItemData};
                EXPECT_TRUE(SendMessageA(window.m_hWnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw)));
            }
            top += height;
        }
        ReleaseDC(window.m_hWnd, dc);
        std::string dump = "sizes " + sizes + "\n";
        DumpDisplayList(WindowPicture(window.m_hWnd), 0, dump);
        EXPECT_TRUE(MatchesGolden(OSTRANA_GOLDEN_DIR, "cool_menu_items", dump));
        fixture.manager.Install(nullptr);
    });
}

// A shell context menu that draws its own items and records what it was handed.
class FakeShellMenu : public IContextMenu3 {
public:
    std::vector<std::string> log;
    HRESULT QueryInterface(REFIID riid, void** object) override {
        if (riid == IID_IUnknown || riid == IID_IContextMenu || riid == IID_IContextMenu2 || riid == IID_IContextMenu3) {
            *object = this;
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return ++m_references; }
    ULONG Release() override { return --m_references; }
    HRESULT QueryContextMenu(HMENU, UINT, UINT, UINT, UINT) override { return S_OK; }
    HRESULT InvokeCommand(LPCMINVOKECOMMANDINFO) override { return S_OK; }
    HRESULT GetCommandString(UINT_PTR command, UINT type, UINT*, LPSTR name, UINT size) override {
        if (type != GCS_HELPTEXTA) return E_INVALIDARG;
        std::snprintf(name, size, "help %u", static_cast<unsigned>(command));
        return S_OK;
    }
    HRESULT HandleMenuMsg(UINT message, WPARAM, LPARAM lParam) override {
        ULONG_PTR data = message == WM_DRAWITEM ? reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->itemData
                                                : reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemData;
        log.push_back(MessageName(message) + " data " + std::to_string(data));
        return S_OK;
    }
    HRESULT HandleMenuMsg2(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_DATA;
        GetMenuItemInfoA(reinterpret_cast<HMENU>(lParam), 0, TRUE, &info);
        log.push_back(MessageName(message) + " " + std::string(1, static_cast<char>(LOWORD(wParam))) + " data " +
                      std::to_string(info.dwItemData));
        *result = MAKELONG(0, MNC_EXECUTE);
        return S_OK;
    }
    ULONG References() const { return m_references; }

private:
    ULONG m_references = 1;
};

class StatusRecorder : public CSubclassWnd {
public:
    std::vector<std::string> texts;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_SETMESSAGESTRING) texts.emplace_back(reinterpret_cast<LPCSTR>(lParam));
        return CSubclassWnd::WindowProc(message, wParam, lParam);
    }
};

TEST(CoolMenu, ShellItemsAreDrawnByTheShellAndItsHelpTextReachesTheFrame) {
    UiThread ui;
    ui.Run([] {
        RecordingParent frame(kParentRect);
        StatusRecorder status;
        status.HookWindow(frame.m_hWnd);
        CCoolMenuManager manager;
        FakeShellMenu shell;
        manager.Install(frame.m_hWnd);
        manager.SetShellRange(&shell, 20000, 29999);
        HMENU menu = CreatePopupMenu();
        AppendMenuA(menu, MF_OWNERDRAW, 20003, reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(555)));
        AppendMenuA(menu, MF_STRING, 20004, "&Open");
        SendMessageA(frame.m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_DATA;
        GetMenuItemInfoA(menu, 0, TRUE, &info);
        ASSERT_NE(nullptr, manager.RecordOf(info.dwItemData));
        MEASUREITEMSTRUCT measure{ODT_MENU, 0, 20003, 0, 0, info.dwItemData};
        SendMessageA(frame.m_hWnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
        DRAWITEMSTRUCT draw{ODT_MENU, 0, 20003, ODA_DRAWENTIRE, 0, reinterpret_cast<HWND>(menu), nullptr, RECT{0, 0, 100, 18}, info.dwItemData};
        SendMessageA(frame.m_hWnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
        EXPECT_EQ(info.dwItemData, draw.itemData); // our record is back after the shell's call
        EXPECT_EQ(MAKELONG(0, MNC_EXECUTE),
                  SendMessageA(frame.m_hWnd, WM_MENUCHAR, MAKEWPARAM('o', MF_POPUP), reinterpret_cast<LPARAM>(menu)));
        EXPECT_EQ((std::vector<std::string>{"WM_MEASUREITEM data 555", "WM_DRAWITEM data 555", "WM_MENUCHAR o data 555"}), shell.log);
        frame.Take();
        SendMessageA(frame.m_hWnd, WM_MENUSELECT, MAKEWPARAM(20004, MF_HILITE), reinterpret_cast<LPARAM>(menu));
        EXPECT_EQ((std::vector<std::string>{"help 4"}), status.texts);
        SendMessageA(frame.m_hWnd, WM_MENUSELECT, MAKEWPARAM(kOpen, MF_HILITE), reinterpret_cast<LPARAM>(menu));
        EXPECT_EQ(1u, status.texts.size()); // outside the shell range
        manager.RestoreMenu(menu);
        DestroyMenu(menu);
        manager.Install(nullptr);
        EXPECT_EQ(1u, shell.References());
    });
}

} // namespace
} // namespace ostrana::test
