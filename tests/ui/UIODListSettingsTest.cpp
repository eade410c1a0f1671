// The toolkit list's columns and their settings in the profile: headings, defaults without
// stored columns, a change of headings, hiding and restoring a column, and the stored values
// after a change of view and widths.
#include <gtest/gtest.h>

#include "platform/base/CodePage.h"
#include "platform/window/Input.h"
#include "platform/window/VirtualKeys.h"
#include "tests/support/WindowHarness.h"
#include "tests/ui/ListTestSupport.h"

namespace ostrana::test {
namespace {

const std::string kHeadings = Utf8ToAnsi("이름|크기|종류|수정한날짜");
constexpr const char* kSection = "UIODListControl\\TestList";

std::vector<int> Widths(CUIODListCtrl& list) {
    std::vector<int> widths;
    for (int column = 0; column < list.GetColumnCount(); ++column) widths.push_back(list.GetColumnWidth(column));
    return widths;
}

TEST(ListSettings, WithoutStoredColumnsEveryColumnIsOneHundredWide) {
    UiThread ui;
    ui.Run([] {
        ProfileFixture profile;
        profile.app.WriteProfileString(kSection, "Headings", kHeadings.c_str()); // no "Columns"
        profile.app.WriteProfileInt(kSection, "ColumnWidths1", 300);
        RecordingParent parent(kParentRect);
        CUIODListCtrl list;
        ASSERT_TRUE(CreateList(list, parent));
        ASSERT_TRUE(list.InitListCtrl(kHeadings.c_str(), "TestList"));
        EXPECT_EQ(4, list.GetColumnCount());
        EXPECT_EQ((std::vector<int>{100, 100, 100, 100}), Widths(list));
        EXPECT_EQ(4u, profile.app.GetProfileInt(kSection, "Columns", 0));
        list.DestroyWindow();
    });
}

TEST(ListSettings, StoredOrderAndWidthsComeBackAndNewHeadingsDiscardThem) {
    UiThread ui;
    ui.Run([] {
        ProfileFixture profile;
        RecordingParent parent(kParentRect);
        {
            CUIODListCtrl list;
            ASSERT_TRUE(CreateList(list, parent));
            list.InitListCtrl(kHeadings.c_str(), "TestList");
            list.SetColumnWidth(0, 180);
            list.SetColumnWidth(3, 140);
            int order[4] = {1, 0, 2, 3};
            list.SetColumnOrderArray(4, order);
            list.DestroyWindow(); // saves
        }
        {
            CUIODListCtrl list;
            ASSERT_TRUE(CreateList(list, parent));
            list.InitListCtrl(kHeadings.c_str(), "TestList");
            EXPECT_EQ((std::vector<int>{180, 100, 100, 140}), Widths(list));
            int order[4] = {};
            list.GetColumnOrderArray(order, 4);
            EXPECT_EQ(1, order[0]);
            EXPECT_EQ(0, order[1]);
            list.DestroyWindow();
        }
        const std::string english = "Name|Size|Type|Modified";
        CUIODListCtrl list;
        ASSERT_TRUE(CreateList(list, parent));
        list.InitListCtrl(english.c_str(), "TestList");
        EXPECT_EQ((std::vector<int>{100, 100, 100, 100}), Widths(list));
        int order[4] = {};
        list.GetColumnOrderArray(order, 4);
        EXPECT_EQ(0, order[0]);
        EXPECT_EQ(english, profile.app.GetProfileString(kSection, "Headings"));
        EXPECT_EQ(100u, profile.app.GetProfileInt(kSection, "ColumnWidths1", 0));
        // The same headings again change nothing.
        list.SetColumnWidth(2, 60);
        EXPECT_TRUE(list.InitListCtrl(english.c_str()));
        EXPECT_EQ(60, list.GetColumnWidth(2));
        list.DestroyWindow();
    });
}

TEST(ListSettings, HiddenColumnComesBackAfterResetHeader) {
    UiThread ui;
    ui.Run([] {
        ProfileFixture profile;
        RecordingParent parent(kParentRect);
        RecordingList list;
        ASSERT_TRUE(CreateList(list, parent));
        list.InitListCtrl(kHeadings.c_str(), "TestList");
        list.SetColumnWidth(1, 75);
        HWND header = reinterpret_cast<HWND>(list.SendMessage(LVM_GETHEADER));
        POINT point = HeaderPoint(1);
        point.x = kParentRect.left + 100 + 30;
        list.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(header), MAKELPARAM(point.x, point.y));
        EXPECT_EQ((std::vector<std::string>{"header menu 1"}), list.log);
        list.SendMessage(WM_COMMAND, ID_HEADER_REMOVE_COL);
        EXPECT_EQ(0, list.GetColumnWidth(1));
        list.DestroyWindow();
        EXPECT_EQ(75u, profile.app.GetProfileInt(kSection, "ColumnWidths2", 0)); // the hidden column keeps its width
    });
    ui.Run([] {
        ProfileFixture profile;
        RecordingParent parent(kParentRect);
        RecordingList list;
        ASSERT_TRUE(CreateList(list, parent));
        list.InitListCtrl(kHeadings.c_str(), "TestList");
        list.SetColumnWidth(2, 90);
        list.SendMessage(WM_CONTEXTMENU, static_cast<WPARAM>(list.SendMessage(LVM_GETHEADER)),
                         MAKELPARAM(kParentRect.left + 250, kParentRect.top + 5));
        list.SendMessage(WM_COMMAND, ID_HEADER_REMOVE_COL);
        EXPECT_EQ(0, list.GetColumnWidth(2));
        list.SendMessage(WM_COMMAND, ID_HEADER_RESET);
        EXPECT_EQ(90, list.GetColumnWidth(2));
        list.DestroyWindow();
    });
}

TEST(ListSettings, StoredValuesAfterAChangeOfViewAndWidthsReadBackExactly) {
    UiThread ui;
    ui.Run([] {
        ProfileFixture profile;
        RecordingParent parent(kParentRect);
        CUIODListCtrl list;
        ASSERT_TRUE(CreateList(list, parent));
        list.InitListCtrl("A|B|C", "TestList");
        list.SetColumnWidth(1, 150);
        list.SendMessage(WM_COMMAND, ID_UI_GRIDLINES);
        list.SendMessage(WM_COMMAND, ID_UI_VIEW_LIST); // saves
        std::string file = ReadFileBytes(profile.registry.FilePath());
        std::string section = "[HKEY_CURRENT_USER\\SoftWare\\Zelkor\\Ostrana\\UIODListControl\\TestList]\n";
        std::size_t at = file.find(section);
        ASSERT_NE(std::string::npos, at) << file;
        std::string values = file.substr(at + section.size());
        values = values.substr(0, values.find("\n\n") + 1);
        // Report-view widths survive the change to the list view, whose columns are another width.
        EXPECT_EQ("\"ColumnOrder1\"=dword:00000000\n"
                  "\"ColumnOrder2\"=dword:00000001\n"
                  "\"ColumnOrder3\"=dword:00000002\n"
                  "\"Columns\"=dword:00000003\n"
                  "\"ColumnSizing\"=dword:00000001\n"
                  "\"ColumnWidths1\"=dword:00000064\n"
                  "\"ColumnWidths2\"=dword:00000096\n"
                  "\"ColumnWidths3\"=dword:00000064\n"
                  "\"Headings\"=\"A|B|C\"\n"
                  "\"RowSelection\"=dword:00000000\n"
                  "\"SortColumn\"=dword:ffffffff\n"
                  "\"Style\"=dword:00000001\n"
                  "\"ViewType\"=dword:00000003\n",
                  values);
        list.DestroyWindow();
        EXPECT_EQ(file, ReadFileBytes(profile.registry.FilePath())) << "saving unchanged settings rewrote them";
    });
}

TEST(ListSettings, RenameFromTheHeaderMenuEditsTheTitleInPlace) {
    UiThread ui;
    struct Window {
        RecordingParent parent{kParentRect};
        RecordingList list;
    };
    auto* window = ui.Get<Window*>([] {
        auto* made = new Window;
        CreateList(made->list, made->parent);
        return made;
    });
    RecordingList* list = &window->list;
    ui.Run([&] {
        RecordingList* made = list;
        made->InitListCtrl("Name|Size");
        made->SendMessage(WM_CONTEXTMENU, static_cast<WPARAM>(made->SendMessage(LVM_GETHEADER)),
                          MAKELPARAM(kParentRect.left + 130, kParentRect.top + 5));
        made->SendMessage(WM_COMMAND, ID_HEADER_EDIT_TEXT);
    });
    ui.WaitIdle();
    HWND edit = ui.Get<HWND>([&] { return GetFocus(); });
    ASSERT_NE(list->m_hWnd, edit);
    EXPECT_EQ(list->m_hWnd, GetParent(edit));
    EXPECT_EQ("Size", ui.Get<std::string>([&] {
        char text[32] = {};
        GetWindowTextA(edit, text, sizeof text);
        return std::string(text);
    }));
    ui.Run([&] { SetWindowTextA(edit, "Bytes"); });
    InjectKeyPress(VK_RETURN);
    ui.WaitIdle();
    ui.Run([&] {
        EXPECT_FALSE(IsWindow(edit));
        char title[32] = {};
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT;
        column.pszText = title;
        column.cchTextMax = sizeof title;
        list->GetColumn(1, &column);
        EXPECT_STREQ("Bytes", title);
        EXPECT_EQ("Name|Size", list->GetHeadings()); // the stored layout still belongs to the headings
        delete window;
    });
}

} // namespace
} // namespace ostrana::test
