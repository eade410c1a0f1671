// The list view: notifications and their order for clicks, Shift and Ctrl clicks, keys, label
// editing, sorting, deletion, column clicks and drags; a golden dump of a painted report view;
// the window scroll bar a long list shows and follows, down to a 100,000-row list moved by its thumb.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <functional>
#include <mutex>

#include "platform/base/CodePage.h"
#include "platform/controls/CommCtrl.h"
#include "platform/window/Controls.h"
#include "platform/window/Focus.h"
#include "platform/window/Paint.h"
#include "platform/window/WindowGeometry.h"
#include "platform/window/Input.h"
#include "platform/window/VirtualKeys.h"
#include "platform/window/DisplayObserver.h"
#include "tests/platform/ControlTestSupport.h"
#include "tests/support/Golden.h"
#include "tests/support/WindowHarness.h"

namespace ostrana::test {
namespace {

constexpr int kHeaderHeight = 20;
constexpr int kRowHeight = 18;
constexpr POINT kOrigin{100, 100};

// Screen point on the label of row `item` of a report view at the parent's origin.
POINT RowPoint(int item, int x = 50) { return POINT{kOrigin.x + x, kOrigin.y + kHeaderHeight + kRowHeight * item + 9}; }

struct ListFixture {
    NotifyParent parent{RECT{kOrigin.x, kOrigin.y, kOrigin.x + 400, kOrigin.y + 300}};
    HWND list = nullptr;

    explicit ListFixture(int rows = 10, DWORD style = LVS_REPORT | LVS_SHOWSELALWAYS) {
        InitCommonControls();
        ResetInputState();
        list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | style, 0, 0, 300, 200, parent.Window(),
                               reinterpret_cast<HMENU>(7), nullptr, nullptr);
        AddColumn(0, "Name", 100);
        AddColumn(1, "Size", 80);
        for (int i = 0; i < rows; ++i) {
            std::string name = "item" + std::to_string(i);
            LVITEMA item{};
            item.mask = LVIF_TEXT | LVIF_PARAM;
            item.iItem = i;
            item.pszText = name.data();
            item.lParam = i;
            SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
            std::string size = std::to_string(i * 10) + "KB";
            item.mask = LVIF_TEXT;
            item.iSubItem = 1;
            item.pszText = size.data();
            SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        }
        SetFocus(list);
        PumpUntilIdle();
        parent.Take();
    }

    void AddColumn(int index, const char* title, int width) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<LPSTR>(title);
        column.cx = width;
        SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
    }

    std::string Text(int item, int subItem = 0) const {
        char buffer[64] = {};
        LVITEMA query{};
        query.iSubItem = subItem;
        query.pszText = buffer;
        query.cchTextMax = sizeof buffer;
        SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&query));
        return buffer;
    }

    std::vector<int> Selected() const {
        std::vector<int> rows;
        for (int i = ListView_GetNextItem(list, -1, LVNI_SELECTED); i >= 0; i = ListView_GetNextItem(list, i, LVNI_SELECTED)) rows.push_back(i);
        return rows;
    }

    void Click(POINT point) {
        InjectClick(MouseButton::Left, point);
        PumpUntilIdle();
    }
};

TEST(ListView, ClickShiftClickAndCtrlClickSelectAndAnnounceInOrder) {
    UiThread ui;
    ui.Run([] {
        ListFixture f;
        f.Click(RowPoint(2));
        EXPECT_TRUE(SameSequence({"LVN_ITEMCHANGED 2 +selected +focused", "NM_CLICK 2"}, f.parent.Take()));

        InjectKey(VK_CONTROL, true);
        f.Click(RowPoint(5));
        InjectKey(VK_CONTROL, false);
        EXPECT_TRUE(SameSequence({"LVN_KEYDOWN 17", "LVN_ITEMCHANGED 5 +selected", "LVN_ITEMCHANGED 2 -focused", "LVN_ITEMCHANGED 5 +focused", "NM_CLICK 5"},
                                 f.parent.Take()));
        EXPECT_EQ((std::vector<int>{2, 5}), f.Selected());

        InjectKey(VK_SHIFT, true);
        f.Click(RowPoint(8));
        InjectKey(VK_SHIFT, false);
        EXPECT_TRUE(SameSequence({"LVN_KEYDOWN 16", "LVN_ITEMCHANGED 2 -selected", "LVN_ITEMCHANGED -1 +selected", "LVN_ITEMCHANGED 5 -focused",
                                  "LVN_ITEMCHANGED 8 +focused", "NM_CLICK 8"},
                                 f.parent.Take()));
        EXPECT_EQ((std::vector<int>{5, 6, 7, 8}), f.Selected());
        EXPECT_EQ(4, ListView_GetSelectedCount(f.list));

        // A plain click inside a multiple selection narrows it only when the button comes up.
        InjectMouseButton(MouseButton::Left, true, RowPoint(6));
        PumpUntilIdle();
        EXPECT_EQ(4u, f.Selected().size());
        InjectMouseButton(MouseButton::Left, false, RowPoint(6));
        PumpUntilIdle();
        EXPECT_EQ((std::vector<int>{6}), f.Selected());

        f.Click(RowPoint(3, 250)); // beside the label, outside any item
        EXPECT_TRUE(f.Selected().empty());
        EXPECT_EQ(6, ListView_GetNextItem(f.list, -1, LVNI_FOCUSED));
    });
}

TEST(ListView, KeysMoveTheFocusAndShiftExtendsFromTheAnchor) {
    UiThread ui;
    ui.Run([] {
        ListFixture f;
        f.Click(RowPoint(1));
        f.parent.Take();
        InjectKeyPress(VK_DOWN);
        PumpUntilIdle();
        EXPECT_TRUE(SameSequence({"LVN_KEYDOWN 40", "LVN_ITEMCHANGED 1 -selected", "LVN_ITEMCHANGED 1 -focused",
                                  "LVN_ITEMCHANGED 2 +selected +focused"},
                                 f.parent.Take()));
        InjectKey(VK_SHIFT, true);
        InjectKeyPress(VK_DOWN);
        InjectKeyPress(VK_DOWN);
        PumpUntilIdle();
        InjectKey(VK_SHIFT, false);
        EXPECT_EQ((std::vector<int>{2, 3, 4}), f.Selected());
        InjectKey(VK_CONTROL, true);
        InjectKeyPress(VK_END);
        PumpUntilIdle();
        InjectKey(VK_CONTROL, false);
        EXPECT_EQ((std::vector<int>{2, 3, 4}), f.Selected());
        EXPECT_EQ(9, ListView_GetNextItem(f.list, -1, LVNI_FOCUSED));
        f.parent.Take();
        InjectKeyPress(VK_RETURN);
        PumpUntilIdle();
        EXPECT_TRUE(SameSequence({"LVN_KEYDOWN 13", "NM_RETURN", "LVN_ITEMACTIVATE 9"}, f.parent.Take()));
    });
}

TEST(ListView, HomeAndEndScrollSoTheFocusIsVisible) {
    UiThread ui;
    ui.Run([] {
        ListFixture f(1000);
        f.Click(RowPoint(0));
        InjectKeyPress(VK_END);
        PumpUntilIdle();
        int perPage = static_cast<int>(SendMessageA(f.list, LVM_GETCOUNTPERPAGE, 0, 0));
        EXPECT_EQ(10, perPage); // (200 - 20) / 18 rows
        EXPECT_EQ(1000 - perPage, SendMessageA(f.list, LVM_GETTOPINDEX, 0, 0));
        InjectMouseWheel(WHEEL_DELTA, RowPoint(2));
        PumpUntilIdle();
        EXPECT_EQ(1000 - perPage - 3, SendMessageA(f.list, LVM_GETTOPINDEX, 0, 0));
        SendMessageA(f.list, WM_VSCROLL, SB_TOP, 0);
        EXPECT_EQ(0, SendMessageA(f.list, LVM_GETTOPINDEX, 0, 0));
        SendMessageA(f.list, LVM_ENSUREVISIBLE, 500, FALSE);
        LVHITTESTINFO hit{};
        hit.pt = POINT{50, kHeaderHeight + kRowHeight * (perPage - 1) + 2};
        EXPECT_EQ(500, SendMessageA(f.list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        EXPECT_EQ(static_cast<UINT>(LVHT_ONITEMLABEL), hit.flags);
    });
}

TEST(ListView, LabelEditingIsAcceptedOrRefusedByTheParent) {
    UiThread ui;
    ui.Run([] {
        ListFixture f;
        bool accept = true;
        f.parent.answer = [&](NMHDR* header) -> LRESULT { return header->code == LVN_ENDLABELEDITA && accept ? TRUE : 0; };
        HWND edit = reinterpret_cast<HWND>(SendMessageA(f.list, LVM_EDITLABELA, 1, 0));
        ASSERT_NE(nullptr, edit);
        EXPECT_EQ(edit, reinterpret_cast<HWND>(SendMessageA(f.list, LVM_GETEDITCONTROL, 0, 0)));
        EXPECT_EQ(edit, GetFocus());
        SetWindowTextA(edit, "renamed");
        InjectKeyPress(VK_RETURN);
        PumpUntilIdle();
        EXPECT_FALSE(IsWindow(edit));
        EXPECT_EQ("renamed", f.Text(1));
        EXPECT_EQ(f.list, GetFocus());

        accept = false;
        edit = reinterpret_cast<HWND>(SendMessageA(f.list, LVM_EDITLABELA, 2, 0));
        SetWindowTextA(edit, "refused");
        InjectKeyPress(VK_RETURN);
        PumpUntilIdle();
        EXPECT_EQ("item2", f.Text(2));

        edit = reinterpret_cast<HWND>(SendMessageA(f.list, LVM_EDITLABELA, 3, 0));
        SetWindowTextA(edit, "cancelled");
        InjectKeyPress(VK_ESCAPE);
        PumpUntilIdle();
        EXPECT_EQ("item3", f.Text(3));
        EXPECT_TRUE(SameSequence({"LVN_BEGINLABELEDIT 1 item1", "LVN_ENDLABELEDIT 1 renamed", "LVN_BEGINLABELEDIT 2 item2",
                                  "LVN_ENDLABELEDIT 2 refused", "LVN_BEGINLABELEDIT 3 item3", "LVN_ENDLABELEDIT 3 (null)"},
                                 f.parent.Take()));

        f.parent.answer = [](NMHDR* header) -> LRESULT { return header->code == LVN_BEGINLABELEDITA ? TRUE : 0; };
        EXPECT_EQ(0, SendMessageA(f.list, LVM_EDITLABELA, 4, 0));
    });
}

TEST(ListView, KoreanLabelTypedThroughTheInputMethodComesBackByteExact) {
    UiThread ui;
    ui.Run([] {
        ListFixture f(3, LVS_REPORT | LVS_EDITLABELS);
        f.parent.answer = [](NMHDR* header) -> LRESULT { return header->code == LVN_ENDLABELEDITA ? TRUE : 0; };
        HWND edit = reinterpret_cast<HWND>(SendMessageA(f.list, LVM_EDITLABELA, 1, 0));
        ASSERT_NE(nullptr, edit);
        SendMessageA(edit, EM_SETSEL, 0, -1);
        InjectImeText(Utf8ToAnsi("새 폴더다"));
        InjectKeyPress(VK_BACK);
        PumpUntilIdle();
        std::string expected = Utf8ToAnsi("새 폴더");
        ASSERT_EQ(7u, expected.size());
        char buffer[64] = {};
        EXPECT_EQ(7, GetWindowTextA(edit, buffer, sizeof buffer));
        EXPECT_EQ(expected, std::string(buffer));
        // A buffer that ends inside a double-byte character gets the characters before it whole.
        EXPECT_EQ(5, GetWindowTextA(edit, buffer, 7));
        EXPECT_EQ(expected.substr(0, 5), std::string(buffer));
        EXPECT_EQ(edit, GetFocus());
        InjectKeyPress(VK_RETURN);
        PumpUntilIdle();
        EXPECT_EQ(expected, f.Text(1));
        EXPECT_TRUE(SameSequence({"LVN_BEGINLABELEDIT 1 item1", "LVN_ENDLABELEDIT 1 " + expected}, f.parent.Take()));
    });
}

int CALLBACK_Descending(LPARAM left, LPARAM right, LPARAM) { return static_cast<int>(right - left); }

TEST(ListView, SortingWithACallbackCarriesSelectionAndFocusWithTheRows) {
    UiThread ui;
    ui.Run([] {
        ListFixture f;
        f.Click(RowPoint(2));
        SendMessageA(f.list, LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(&CALLBACK_Descending));
        EXPECT_EQ("item9", f.Text(0));
        EXPECT_EQ("90KB", f.Text(0, 1));
        EXPECT_EQ("item0", f.Text(9));
        EXPECT_EQ((std::vector<int>{7}), f.Selected());
        EXPECT_EQ(7, ListView_GetNextItem(f.list, -1, LVNI_FOCUSED));
        LVFINDINFOA find{};
        find.flags = LVFI_PARAM;
        find.lParam = 4;
        EXPECT_EQ(5, SendMessageA(f.list, LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
        find.flags = LVFI_STRING | LVFI_PARTIAL;
        find.psz = "ITEM1";
        EXPECT_EQ(8, SendMessageA(f.list, LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
    });
}

TEST(ListView, DeletionAnnouncesEveryRowAndKeepsTheSelectionInStep) {
    UiThread ui;
    ui.Run([] {
        ListFixture f(4);
        InjectKey(VK_CONTROL, true);
        f.Click(RowPoint(1));
        f.Click(RowPoint(3));
        InjectKey(VK_CONTROL, false);
        f.parent.Take();
        SendMessageA(f.list, LVM_DELETEITEM, 0, 0);
        EXPECT_EQ((std::vector<int>{0, 2}), f.Selected());
        EXPECT_EQ(2, ListView_GetNextItem(f.list, -1, LVNI_FOCUSED));
        SendMessageA(f.list, LVM_DELETEALLITEMS, 0, 0);
        EXPECT_TRUE(SameSequence({"LVN_DELETEITEM 0", "LVN_DELETEALLITEMS", "LVN_DELETEITEM 0", "LVN_DELETEITEM 1",
                                  "LVN_DELETEITEM 2"},
                                 f.parent.Take()));
        EXPECT_EQ(0, ListView_GetItemCount(f.list));
        EXPECT_EQ(0u, ListView_GetSelectedCount(f.list));
    });
}

TEST(ListView, SelectAllIsOneRangeAndOneNotification) {
    UiThread ui;
    ui.Run([] {
        ListFixture f(100000);
        LVITEMA state{};
        state.state = LVIS_SELECTED;
        state.stateMask = LVIS_SELECTED;
        SendMessageA(f.list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
        EXPECT_EQ(100000u, ListView_GetSelectedCount(f.list));
        EXPECT_TRUE(SameSequence({"LVN_ITEMCHANGED -1 +selected"}, f.parent.Take()));
        EXPECT_EQ(LVIS_SELECTED, SendMessageA(f.list, LVM_GETITEMSTATE, 99999, LVIS_SELECTED));
    });
}

TEST(ListView, HeaderClicksBecomeColumnClicksAndDragsStartFromARow) {
    UiThread ui;
    ui.Run([] {
        ListFixture f;
        f.Click(POINT{kOrigin.x + 150, kOrigin.y + 10});
        EXPECT_TRUE(SameSequence({"HDN_ITEMCLICK", "LVN_COLUMNCLICK 1"}, f.parent.Take()));
        InjectMouseButton(MouseButton::Left, true, RowPoint(4));
        InjectMouseMove(POINT{RowPoint(4).x + 20, RowPoint(4).y + 30});
        PumpUntilIdle();
        InjectMouseButton(MouseButton::Left, false, POINT{RowPoint(4).x + 20, RowPoint(4).y + 30});
        PumpUntilIdle();
        EXPECT_TRUE(SameSequence({"LVN_ITEMCHANGED 4 +selected +focused", "LVN_BEGINDRAG 4"}, f.parent.Take()));

        InjectClick(MouseButton::Right, RowPoint(6));
        PumpUntilIdle();
        EXPECT_TRUE(SameSequence({"LVN_ITEMCHANGED 4 -selected", "LVN_ITEMCHANGED 4 -focused",
                                  "LVN_ITEMCHANGED 6 +selected +focused", "NM_RCLICK 6"},
                                 f.parent.Take()));
    });
}

TEST(ListView, DividerDragResizesTheColumnUnlessTheParentRefuses) {
    UiThread ui;
    ui.Run([] {
        ListFixture f;
        InjectMouseButton(MouseButton::Left, true, POINT{kOrigin.x + 100, kOrigin.y + 10});
        InjectMouseMove(POINT{kOrigin.x + 140, kOrigin.y + 10});
        PumpUntilIdle();
        InjectMouseButton(MouseButton::Left, false, POINT{kOrigin.x + 140, kOrigin.y + 10});
        PumpUntilIdle();
        EXPECT_EQ(140, SendMessageA(f.list, LVM_GETCOLUMNWIDTH, 0, 0));
        EXPECT_TRUE(SameSequence({"HDN_BEGINTRACK", "HDN_TRACK", "HDN_ENDTRACK"}, f.parent.Take()));
        f.parent.answer = [](NMHDR* header) -> LRESULT { return header->code == HDN_BEGINTRACKA ? TRUE : 0; };
        InjectMouseButton(MouseButton::Left, true, POINT{kOrigin.x + 140, kOrigin.y + 10});
        InjectMouseMove(POINT{kOrigin.x + 60, kOrigin.y + 10});
        InjectMouseButton(MouseButton::Left, false, POINT{kOrigin.x + 60, kOrigin.y + 10});
        PumpUntilIdle();
        EXPECT_EQ(140, SendMessageA(f.list, LVM_GETCOLUMNWIDTH, 0, 0));
        int order[2] = {1, 0};
        EXPECT_TRUE(SendMessageA(f.list, LVM_SETCOLUMNORDERARRAY, 2, reinterpret_cast<LPARAM>(order)));
        int read[2] = {};
        SendMessageA(f.list, LVM_GETCOLUMNORDERARRAY, 2, reinterpret_cast<LPARAM>(read));
        EXPECT_EQ(1, read[0]);
        EXPECT_EQ(0, read[1]);
    });
}

} // namespace
} // namespace ostrana::test

namespace ostrana::test {
namespace {

WNDPROC g_listProcedure = nullptr;

// Paints over the control's own picture as an owner of an empty list does.
LRESULT OwnerPaintingList(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        // The owner paints the empty list's text over the control's own picture.
        LRESULT result = CallWindowProcA(g_listProcedure, list, message, wParam, lParam);
        if (ListView_GetItemCount(list) == 0) {
            HDC dc = GetDC(list);
            RECT area{0, 30, 300, 200};
            DrawTextA(dc, "empty", -1, &area, DT_CENTER | DT_WORDBREAK | DT_NOCLIP | DT_NOPREFIX);
            ReleaseDC(list, dc);
        }
        return result;
    }
    return CallWindowProcA(g_listProcedure, list, message, wParam, lParam);
}

TEST(ListView, CellTipsAreAskedOfTheOwnerByItemAndSubItem) {
    UiThread ui;
    ui.Run([] {
        ListFixture f;
        std::vector<std::string> requests;
        f.parent.answer = [&](NMHDR* header) -> LRESULT {
            if (header->code != LVN_GETINFOTIPA) return 0;
            auto* record = reinterpret_cast<NMLVGETINFOTIPA*>(header);
            requests.push_back(std::to_string(record->iItem) + "," + std::to_string(record->iSubItem));
            std::snprintf(record->pszText, static_cast<std::size_t>(record->cchTextMax), "tip %d", record->iItem);
            return 0;
        };
        UseManualMessageClock(true);
        InjectMouseMove(RowPoint(3, 150)); // row 3, sub-item 1
        PumpUntilIdle();
        AdvanceMessageClock(600);
        PumpUntilIdle();
        UseManualMessageClock(false);
        EXPECT_EQ((std::vector<std::string>{"3,1"}), requests);
        HWND tip = reinterpret_cast<HWND>(SendMessageA(f.list, LVM_GETTOOLTIPS, 0, 0));
        ASSERT_NE(nullptr, tip);
        EXPECT_TRUE(IsWindowVisible(tip));
        EXPECT_EQ("tip 3", WindowText(tip));
        f.Click(RowPoint(3, 150));
        EXPECT_FALSE(IsWindowVisible(tip));
        f.parent.answer = nullptr;
    });
}

TEST(ListView, TheOwnerPaintsTheEmptyAreaOverTheControlsPicture) {
    UiThread ui;
    ui.Run([] {
        ListFixture f(0);
        g_listProcedure = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(f.list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OwnerPaintingList)));
        InvalidateRect(f.list, nullptr, TRUE);
        PumpUntilIdle();
        std::string dump = DumpWindowTree(f.list);
        EXPECT_NE(std::string::npos, dump.find("\"empty\"")) << dump;
        SetWindowLongPtrA(f.list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_listProcedure));
    });
}

TEST(ListView, TrackSelectionSelectsTheRowTheMouseRestsOn) {
    UiThread ui;
    ui.Run([] {
        ListFixture f;
        SendMessageA(f.list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_TRACKSELECT | LVS_EX_UNDERLINEHOT | LVS_EX_ONECLICKACTIVATE);
        UseManualMessageClock(true);
        InjectMouseMove(RowPoint(4));
        PumpUntilIdle();
        EXPECT_EQ(4, SendMessageA(f.list, LVM_GETHOTITEM, 0, 0));
        AdvanceMessageClock(500);
        PumpUntilIdle();
        UseManualMessageClock(false);
        EXPECT_EQ((std::vector<int>{4}), f.Selected());
        f.parent.Take();
        f.Click(RowPoint(4));
        EXPECT_TRUE(SameSequence({"NM_CLICK 4", "LVN_ITEMACTIVATE 4"}, f.parent.Take()));
    });
}

} // namespace
} // namespace ostrana::test

namespace ostrana::test {
namespace {

TEST(ListView, HeaderItemsReorderByDragOnlyWithHeaderDragDrop) {
    UiThread ui;
    ui.Run([] {
        ListFixture f;
        auto drag = [&] {
            ResetInputState(); // no double click from the drag before
            InjectMouseButton(MouseButton::Left, true, POINT{kOrigin.x + 30, kOrigin.y + 10});
            InjectMouseMove(POINT{kOrigin.x + 170, kOrigin.y + 10});
            PumpUntilIdle();
            InjectMouseButton(MouseButton::Left, false, POINT{kOrigin.x + 170, kOrigin.y + 10});
            PumpUntilIdle();
        };
        auto order = [&] {
            int read[2] = {};
            SendMessageA(f.list, LVM_GETCOLUMNORDERARRAY, 2, reinterpret_cast<LPARAM>(read));
            return std::vector<int>{read[0], read[1]};
        };
        drag();
        EXPECT_EQ((std::vector<int>{0, 1}), order());
        SendMessageA(f.list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_HEADERDRAGDROP, LVS_EX_HEADERDRAGDROP);
        f.parent.Take();
        drag();
        EXPECT_EQ((std::vector<int>{1, 0}), order());
        EXPECT_TRUE(SameSequence({"HDN_BEGINDRAG", "HDN_ENDDRAG"}, f.parent.Take()));
    });
}

} // namespace
} // namespace ostrana::test

namespace ostrana::test {
namespace {

TEST(ListView, ASlowSecondClickOnTheSelectedLabelStartsEditingAndADoubleClickDoesNot) {
    UiThread ui;
    ui.Run([] {
        ListFixture f(10, LVS_REPORT | LVS_EDITLABELS);
        UseManualMessageClock(true);
        f.Click(RowPoint(2));
        AdvanceMessageClock(1000);
        f.Click(RowPoint(2));
        EXPECT_EQ(0, SendMessageA(f.list, LVM_GETEDITCONTROL, 0, 0)); // not before the double-click time
        AdvanceMessageClock(1000);
        PumpUntilIdle();
        EXPECT_NE(0, SendMessageA(f.list, LVM_GETEDITCONTROL, 0, 0));
        SendMessageA(f.list, LVM_EDITLABELA, static_cast<WPARAM>(-1), 0);
        AdvanceMessageClock(1000);
        f.Click(RowPoint(3));
        AdvanceMessageClock(1000);
        f.Click(RowPoint(3));
        AdvanceMessageClock(100);
        f.Click(RowPoint(3)); // the second click of a double click
        AdvanceMessageClock(1000);
        PumpUntilIdle();
        UseManualMessageClock(false);
        EXPECT_EQ(0, SendMessageA(f.list, LVM_GETEDITCONTROL, 0, 0));
        EXPECT_TRUE(SameSequence({"LVN_BEGINLABELEDIT 2 item2", "LVN_ENDLABELEDIT 2 (null)"},
                                 [&] {
                                     std::vector<std::string> edits;
                                     for (const std::string& line : f.parent.Take()) {
                                         if (line.find("LABELEDIT") != std::string::npos) edits.push_back(line);
                                     }
                                     return edits;
                                 }()));
    });
}

} // namespace
} // namespace ostrana::test

namespace ostrana::test {
namespace {

TEST(ListView, TypingSelectsTheNextRowThatStartsWithWhatWasTyped) {
    UiThread ui;
    ui.Run([] {
        ListFixture f;
        UseManualMessageClock(true);
        f.Click(RowPoint(1));
        InjectText("ITEM5");
        PumpUntilIdle();
        EXPECT_EQ((std::vector<int>{5}), f.Selected());
        AdvanceMessageClock(2000);
        InjectText("i");
        PumpUntilIdle();
        UseManualMessageClock(false);
        EXPECT_EQ((std::vector<int>{6}), f.Selected());
    });
}

} // namespace
} // namespace ostrana::test

namespace ostrana::test {
namespace {

RECT ItemRect(HWND list, int item, int code) {
    RECT rect{};
    rect.left = code;
    SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&rect));
    return rect;
}

int HitItem(HWND list, POINT point) {
    LVHITTESTINFO info{};
    info.pt = point;
    return static_cast<int>(SendMessageA(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
}

TEST(ListView, ListSmallIconAndIconViewsLayRowsOutByTheirIndex) {
    UiThread ui;
    ui.Run([] {
        ListFixture f(30, LVS_LIST);
        // Three columns overflow the width, so the horizontal bar takes 16 of the 200 pixels and
        // (200 - 16) / 18 = 10 rows flow into each column of 120 pixels.
        EXPECT_TRUE(GetWindowLongPtrA(f.list, GWL_STYLE) & WS_HSCROLL);
        RECT second = ItemRect(f.list, 10, LVIR_BOUNDS);
        EXPECT_EQ(120, second.left);
        EXPECT_EQ(0, second.top);
        EXPECT_EQ(10, HitItem(f.list, POINT{125 + 20, 5}));
        f.Click(POINT{kOrigin.x + 22, kOrigin.y + 9});
        InjectKeyPress(VK_RIGHT);
        PumpUntilIdle();
        EXPECT_EQ(10, ListView_GetNextItem(f.list, -1, LVNI_FOCUSED));
        EXPECT_EQ(20, ListView_GetNextItem(f.list, 10, LVNI_TORIGHT));

        SetWindowLongPtrA(f.list, GWL_STYLE, (GetWindowLongPtrA(f.list, GWL_STYLE) & ~LVS_TYPEMASK) | LVS_SMALLICON);
        RECT small = ItemRect(f.list, 3, LVIR_BOUNDS);
        EXPECT_EQ(120, small.left); // two cells of 120 pixels per line
        EXPECT_EQ(18, small.top);
        EXPECT_EQ(5, ListView_GetNextItem(f.list, 3, LVNI_BELOW));

        SetWindowLongPtrA(f.list, GWL_STYLE, (GetWindowLongPtrA(f.list, GWL_STYLE) & ~LVS_TYPEMASK) | LVS_ICON);
        RECT icon = ItemRect(f.list, 4, LVIR_ICON);
        EXPECT_EQ(76 + 22, icon.left); // three cells of 76 per line, the 32-pixel icon centred
        EXPECT_EQ(66 + 2, icon.top);
        EXPECT_EQ(4, HitItem(f.list, POINT{icon.left + 5, icon.top + 5}));

        SetWindowLongPtrA(f.list, GWL_STYLE, (GetWindowLongPtrA(f.list, GWL_STYLE) & ~LVS_TYPEMASK) | LVS_REPORT);
        InvalidateRect(f.list, nullptr, TRUE);
        PumpUntilIdle();
        HWND header = reinterpret_cast<HWND>(SendMessageA(f.list, LVM_GETHEADER, 0, 0));
        EXPECT_TRUE(IsWindowVisible(header));
        EXPECT_EQ(20 + 18 * 4, ItemRect(f.list, 4, LVIR_BOUNDS).top);
    });
}

// Wakes a test thread whenever a window changes or paints, to wait for what a modal loop on the
// window's thread brings about.
class PaintWaiter : public DisplayObserver {
public:
    PaintWaiter() { AddDisplayObserver(this); }
    ~PaintWaiter() override { RemoveDisplayObserver(this); }
    PaintWaiter(const PaintWaiter&) = delete;
    PaintWaiter& operator=(const PaintWaiter&) = delete;
    void OnWindowChanged(HWND, WindowChange) override { Wake(); }
    void OnPicture(HWND) override { Wake(); }
    bool WaitUntil(const std::function<bool()>& condition) {
        std::unique_lock lock(m_lock);
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        for (;;) {
            unsigned seen = m_generation;
            lock.unlock();
            if (condition()) return true;
            lock.lock();
            if (!m_changed.wait_until(lock, deadline, [&] { return m_generation != seen; })) return false;
        }
    }

private:
    void Wake() {
        std::lock_guard guard(m_lock);
        ++m_generation;
        m_changed.notify_all();
    }
    std::mutex m_lock;
    std::condition_variable m_changed;
    unsigned m_generation = 0;
};

bool PictureHasText(HWND window, const std::string& text) {
    for (const DisplayOp& op : WindowPicture(window)) {
        if (op.kind == OpKind::Text && op.text == text) return true;
    }
    return false;
}

TEST(ListView, ALongListShowsAVerticalBarThatItsArrowsAndTrackScroll) {
    UiThread ui;
    std::string dump;
    ui.Run([&] {
        ListFixture f(30);
        EXPECT_TRUE(GetWindowLongPtrA(f.list, GWL_STYLE) & WS_VSCROLL);
        EXPECT_FALSE(GetWindowLongPtrA(f.list, GWL_STYLE) & WS_HSCROLL); // 180 pixels of columns fit in 284
        dump = DumpWindowTree(f.list);
        f.Click(POINT{kOrigin.x + 292, kOrigin.y + 192}); // the lower arrow
        EXPECT_EQ(1, SendMessageA(f.list, LVM_GETTOPINDEX, 0, 0));
        f.Click(POINT{kOrigin.x + 292, kOrigin.y + 150}); // the track below the thumb: a page of 10 rows
        EXPECT_EQ(11, SendMessageA(f.list, LVM_GETTOPINDEX, 0, 0));
        EXPECT_EQ(11, GetScrollPos(f.list, SB_VERT));
        for (int i = 29; i >= 5; --i) SendMessageA(f.list, LVM_DELETEITEM, static_cast<WPARAM>(i), 0);
        EXPECT_FALSE(GetWindowLongPtrA(f.list, GWL_STYLE) & WS_VSCROLL); // five rows need no bar
        EXPECT_EQ(0, SendMessageA(f.list, LVM_GETTOPINDEX, 0, 0));
    });
    EXPECT_TRUE(MatchesGolden(OSTRANA_GOLDEN_DIR, "listview_scrollbar", dump));
}

TEST(ListView, DraggingTheThumbOfAHundredThousandRowsShowsTheMiddleRows) {
    UiThread ui;
    PaintWaiter waiter;
    std::unique_ptr<ListFixture> f;
    ui.Run([&] { f = std::make_unique<ListFixture>(100000); });
    HWND list = f->list;
    // The bar spans the list's 200 pixels beside its rows; between the arrows 168 pixels of track,
    // in which the 8-pixel thumb travels 160 over the 99,990 top rows the 10 visible rows allow.
    InjectMouseButton(MouseButton::Left, true, POINT{kOrigin.x + 292, kOrigin.y + 19});
    InjectMouseMove(POINT{kOrigin.x + 292, kOrigin.y + 19 + 80});
    EXPECT_TRUE(waiter.WaitUntil([&] { return GetScrollPos(list, SB_VERT) == 49995; }));
    EXPECT_TRUE(waiter.WaitUntil([&] { return PictureHasText(list, "item49995") && PictureHasText(list, "item50004"); }));
    InjectMouseButton(MouseButton::Left, false, POINT{kOrigin.x + 292, kOrigin.y + 19 + 80});
    ui.Run([&] {
        PumpUntilIdle();
        EXPECT_EQ(49995, SendMessageA(list, LVM_GETTOPINDEX, 0, 0));
        DisplayList picture = WindowPicture(list);
        int texts = 0;
        for (const DisplayOp& op : picture) texts += op.kind == OpKind::Text ? 1 : 0;
        EXPECT_LE(texts, 2 * 11); // two columns of the rows in view, whatever the length of the list
        EXPECT_FALSE(PictureHasText(list, "item49994"));
        f.reset();
    });
}

TEST(ListView, ACallbackRowAsksItsOwnerForTheSubItemsItHoldsNoTextFor) {
    UiThread ui;
    ui.Run([] {
        ListFixture f(0);
        f.AddColumn(2, "Type", 80);
        std::vector<std::string> requests;
        f.parent.answer = [&](NMHDR* header) -> LRESULT {
            if (header->code != LVN_GETDISPINFOA) return 0;
            LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(header)->item;
            requests.push_back(std::to_string(item.iItem) + "," + std::to_string(item.iSubItem));
            if (item.mask & LVIF_TEXT) std::snprintf(item.pszText, static_cast<std::size_t>(item.cchTextMax), "cell%d/%d", item.iItem, item.iSubItem);
            return 0;
        };
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.pszText = LPSTR_TEXTCALLBACKA;
        SendMessageA(f.list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        item.iSubItem = 2;
        item.pszText = const_cast<LPSTR>("own");
        SendMessageA(f.list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        item.iItem = 1;
        item.iSubItem = 0;
        item.pszText = const_cast<LPSTR>("plain");
        SendMessageA(f.list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        InvalidateRect(f.list, nullptr, TRUE);
        PumpUntilIdle();

        EXPECT_TRUE(PictureHasText(f.list, "cell0/0"));
        EXPECT_TRUE(PictureHasText(f.list, "cell0/1"));
        EXPECT_TRUE(PictureHasText(f.list, "own"));
        EXPECT_TRUE(PictureHasText(f.list, "plain"));
        EXPECT_EQ("cell0/1", f.Text(0, 1));
        EXPECT_EQ("", f.Text(1, 1));
        // Cells with a text of their own, and every cell of a row whose label is its own, stay unasked.
        for (const std::string& request : requests) {
            EXPECT_TRUE(request == "0,0" || request == "0,1") << request;
        }
        f.parent.answer = nullptr;
    });
}

TEST(ListView, ACallbackLabelIsAsWideAsItsTextInTheListAndSmallIconViews) {
    UiThread ui;
    ui.Run([] {
        for (DWORD type : {DWORD{LVS_LIST}, DWORD{LVS_SMALLICON}}) {
            ListFixture f(0, type | LVS_SHOWSELALWAYS);
            f.parent.answer = [](NMHDR* header) -> LRESULT {
                if (header->code != LVN_GETDISPINFOA) return 0;
                LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(header)->item;
                if (item.mask & LVIF_TEXT) std::snprintf(item.pszText, static_cast<std::size_t>(item.cchTextMax), "a callback label");
                return 0;
            };
            LVITEMA item{};
            item.mask = LVIF_TEXT;
            item.pszText = LPSTR_TEXTCALLBACKA;
            SendMessageA(f.list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
            item.iItem = 1;
            item.pszText = const_cast<LPSTR>("a callback label");
            SendMessageA(f.list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
            InvalidateRect(f.list, nullptr, TRUE);
            PumpUntilIdle();

            RECT asked{LVIR_LABEL, 0, 0, 0}, own{LVIR_LABEL, 0, 0, 0};
            SendMessageA(f.list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&asked));
            SendMessageA(f.list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&own));
            EXPECT_EQ(own.right - own.left, asked.right - asked.left) << type;
            LVHITTESTINFO hit{};
            hit.pt = POINT{asked.left + (own.right - own.left) - 10, (asked.top + asked.bottom) / 2}; // near the end of the text
            EXPECT_EQ(0, SendMessageA(f.list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit))) << type;
            EXPECT_EQ(static_cast<UINT>(LVHT_ONITEMLABEL), hit.flags) << type;
            f.parent.answer = nullptr;
        }
    });
}

} // namespace
} // namespace ostrana::test
