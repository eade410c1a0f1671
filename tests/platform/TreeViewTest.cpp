// The tree view: selection with its cause, expansion notifications (and their absence after
// the first expansion by message), keyboard navigation, label editing, sorting with a callback,
// deletion of every node, hit-test flags and scrolling of a large expanded tree.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/controls/CommCtrl.h"
#include "platform/window/Controls.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/VirtualKeys.h"
#include "tests/platform/ControlTestSupport.h"
#include "tests/support/WindowHarness.h"

namespace ostrana::test {
namespace {

constexpr int kRow = 16;
constexpr POINT kOrigin{100, 100};
constexpr DWORD kStyle = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | TVS_EDITLABELS;

POINT LabelPoint(int row, int level = 0) { return POINT{kOrigin.x + 26 + level * 19, kOrigin.y + row * kRow + 8}; }
POINT ButtonPoint(int row) { return POINT{kOrigin.x + 10, kOrigin.y + row * kRow + 8}; }

struct TreeFixture {
    NotifyParent parent{RECT{kOrigin.x, kOrigin.y, kOrigin.x + 300, kOrigin.y + 300}};
    HWND tree = nullptr;
    HTREEITEM a = nullptr, a1 = nullptr, a2 = nullptr, b = nullptr, b1 = nullptr, c = nullptr;

    TreeFixture() {
        InitCommonControls();
        ResetInputState();
        tree = CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE | kStyle, 0, 0, 200, 200, parent.Window(),
                               reinterpret_cast<HMENU>(9), nullptr, nullptr);
        a = Insert(TVI_ROOT, "A", 1);
        a1 = Insert(a, "A1", 11);
        a2 = Insert(a, "A2", 12);
        b = Insert(TVI_ROOT, "B", 2);
        b1 = Insert(b, "B1", 21);
        c = Insert(TVI_ROOT, "C", 3);
        SetFocus(tree);
        PumpUntilIdle();
        parent.Take();
    }

    HTREEITEM Insert(HTREEITEM under, const char* text, LPARAM data, HTREEITEM after = TVI_LAST) {
        TVINSERTSTRUCTA insert{};
        insert.hParent = under;
        insert.hInsertAfter = after;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM;
        insert.item.pszText = const_cast<LPSTR>(text);
        insert.item.lParam = data;
        return TreeView_InsertItem(tree, &insert);
    }

    std::string Text(HTREEITEM item) const { return TreeText(tree, item); }

    // Labels of the visible rows, top to bottom.
    std::vector<std::string> Rows() const {
        std::vector<std::string> rows;
        for (HTREEITEM item = TreeView_GetNextItem(tree, nullptr, TVGN_FIRSTVISIBLE); item != nullptr;
             item = TreeView_GetNextItem(tree, item, TVGN_NEXTVISIBLE)) {
            rows.push_back(Text(item));
        }
        return rows;
    }

    void Click(POINT point) {
        InjectClick(MouseButton::Left, point);
        PumpUntilIdle();
    }
};

TEST(TreeView, ClicksSelectByMouseAfterNmClickAndButtonsExpand) {
    UiThread ui;
    ui.Run([] {
        TreeFixture f;
        f.Click(LabelPoint(1));
        EXPECT_TRUE(SameSequence({"NM_CLICK", "TVN_SELCHANGING (none) -> B mouse", "TVN_SELCHANGED (none) -> B mouse"}, f.parent.Take()));
        EXPECT_EQ(f.b, TreeView_GetSelection(f.tree));
        f.Click(ButtonPoint(0));
        EXPECT_TRUE(SameSequence({"TVN_ITEMEXPANDING A expand", "TVN_ITEMEXPANDED A expand"}, f.parent.Take()));
        EXPECT_EQ((std::vector<std::string>{"A", "A1", "A2", "B", "C"}), f.Rows());
        EXPECT_EQ(TVIS_EXPANDED | TVIS_EXPANDEDONCE,
                  SendMessageA(f.tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(f.a), TVIS_EXPANDED | TVIS_EXPANDEDONCE));
        // Collapsing the branch that holds the selection moves it up to the branch.
        f.Click(LabelPoint(2, 1));
        f.parent.Take();
        f.Click(ButtonPoint(0));
        EXPECT_TRUE(SameSequence({"TVN_ITEMEXPANDING A collapse", "TVN_SELCHANGING A2 -> A unknown", "TVN_SELCHANGED A2 -> A unknown",
                                  "TVN_ITEMEXPANDED A collapse"},
                                 f.parent.Take()));
        // Once expanded, expanding by message is silent; by the user it is always announced.
        SendMessageA(f.tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(f.a));
        EXPECT_TRUE(f.parent.Take().empty());
        EXPECT_EQ((std::vector<std::string>{"A", "A1", "A2", "B", "C"}), f.Rows());
        SendMessageA(f.tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(f.b));
        EXPECT_TRUE(SameSequence({"TVN_ITEMEXPANDING B expand", "TVN_ITEMEXPANDED B expand"}, f.parent.Take()));
        f.parent.answer = [](NMHDR* header) -> LRESULT { return header->code == TVN_SELCHANGINGA ? TRUE : 0; };
        f.Click(LabelPoint(5));
        EXPECT_EQ(f.a, TreeView_GetSelection(f.tree));
    });
}

TEST(TreeView, KeysNavigateByKeyboardAndExpandOrClimb) {
    UiThread ui;
    ui.Run([] {
        TreeFixture f;
        SendMessageA(f.tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(f.a));
        EXPECT_TRUE(SameSequence({"TVN_SELCHANGING (none) -> A unknown", "TVN_SELCHANGED (none) -> A unknown"}, f.parent.Take()));
        InjectKeyPress(VK_RIGHT); // expands
        InjectKeyPress(VK_RIGHT); // first child
        InjectKeyPress(VK_DOWN);
        InjectKeyPress(VK_DOWN);
        PumpUntilIdle();
        EXPECT_TRUE(SameSequence({"TVN_KEYDOWN 39", "TVN_ITEMEXPANDING A expand", "TVN_ITEMEXPANDED A expand", "TVN_KEYDOWN 39",
                                  "TVN_SELCHANGING A -> A1 keyboard", "TVN_SELCHANGED A -> A1 keyboard", "TVN_KEYDOWN 40",
                                  "TVN_SELCHANGING A1 -> A2 keyboard", "TVN_SELCHANGED A1 -> A2 keyboard", "TVN_KEYDOWN 40",
                                  "TVN_SELCHANGING A2 -> B keyboard", "TVN_SELCHANGED A2 -> B keyboard"},
                                 f.parent.Take()));
        InjectKeyPress(VK_END);
        InjectKeyPress(VK_UP);
        PumpUntilIdle();
        EXPECT_EQ(f.b, TreeView_GetSelection(f.tree));
        SendMessageA(f.tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(f.a2));
        InjectKeyPress(VK_LEFT); // to the parent
        InjectKeyPress(VK_LEFT); // collapses it
        PumpUntilIdle();
        EXPECT_EQ(f.a, TreeView_GetSelection(f.tree));
        EXPECT_EQ((std::vector<std::string>{"A", "B", "C"}), f.Rows());
        f.parent.Take();
        InjectKeyPress(VK_RETURN);
        PumpUntilIdle();
        EXPECT_TRUE(SameSequence({"TVN_KEYDOWN 13", "NM_RETURN"}, f.parent.Take()));
    });
}

TEST(TreeView, LabelEditingIsAcceptedOrRefused) {
    UiThread ui;
    ui.Run([] {
        TreeFixture f;
        bool accept = true;
        f.parent.answer = [&](NMHDR* header) -> LRESULT { return header->code == TVN_ENDLABELEDITA && accept ? TRUE : 0; };
        HWND edit = reinterpret_cast<HWND>(SendMessageA(f.tree, TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(f.b)));
        ASSERT_NE(nullptr, edit);
        EXPECT_EQ(edit, reinterpret_cast<HWND>(SendMessageA(f.tree, TVM_GETEDITCONTROL, 0, 0)));
        SetWindowTextA(edit, "Bee");
        InjectKeyPress(VK_RETURN);
        PumpUntilIdle();
        EXPECT_EQ("Bee", f.Text(f.b));
        accept = false;
        edit = reinterpret_cast<HWND>(SendMessageA(f.tree, TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(f.c)));
        SetWindowTextA(edit, "Sea");
        InjectKeyPress(VK_RETURN);
        PumpUntilIdle();
        EXPECT_EQ("C", f.Text(f.c));
        EXPECT_TRUE(SameSequence({"TVN_BEGINLABELEDIT B", "TVN_ENDLABELEDIT Bee", "TVN_BEGINLABELEDIT C", "TVN_ENDLABELEDIT Sea"},
                                 f.parent.Take()));
        // A slow second click on the selected label starts editing too.
        UseManualMessageClock(true);
        f.Click(LabelPoint(0));
        AdvanceMessageClock(1000);
        f.Click(LabelPoint(0));
        AdvanceMessageClock(1000);
        PumpUntilIdle();
        UseManualMessageClock(false);
        EXPECT_NE(0, SendMessageA(f.tree, TVM_GETEDITCONTROL, 0, 0));
        SendMessageA(f.tree, TVM_ENDEDITLABELNOW, TRUE, 0);
        EXPECT_EQ(0, SendMessageA(f.tree, TVM_GETEDITCONTROL, 0, 0));
    });
}

int CALLBACK_Descending(LPARAM left, LPARAM right, LPARAM) { return static_cast<int>(right - left); }

TEST(TreeView, SortingWithACallbackAndSortedInsertion) {
    UiThread ui;
    ui.Run([] {
        TreeFixture f;
        TVSORTCB sort{};
        sort.hParent = TVI_ROOT;
        sort.lpfnCompare = &CALLBACK_Descending;
        SendMessageA(f.tree, TVM_SORTCHILDRENCB, TRUE, reinterpret_cast<LPARAM>(&sort));
        SendMessageA(f.tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(f.a));
        EXPECT_EQ((std::vector<std::string>{"C", "B", "A", "A2", "A1"}), f.Rows());
        // Sorted insertion goes before the first sibling that sorts after it.
        f.Insert(TVI_ROOT, "Bb", 4, TVI_SORT);
        f.Insert(f.a, "A0", 10, TVI_FIRST);
        EXPECT_EQ((std::vector<std::string>{"Bb", "C", "B", "A", "A0", "A2", "A1"}), f.Rows());
        SendMessageA(f.tree, TVM_SORTCHILDREN, TRUE, 0);
        EXPECT_EQ((std::vector<std::string>{"A", "A0", "A1", "A2", "B", "Bb", "C"}), f.Rows());
    });
}

TEST(TreeView, DeletionAnnouncesEveryNodeAndMovesTheSelection) {
    UiThread ui;
    ui.Run([] {
        TreeFixture f;
        SendMessageA(f.tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(f.b1));
        f.parent.Take();
        SendMessageA(f.tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(f.b));
        EXPECT_TRUE(SameSequence({"TVN_DELETEITEM 21", "TVN_DELETEITEM 2", "TVN_SELCHANGING (none) -> C unknown",
                                  "TVN_SELCHANGED (none) -> C unknown"},
                                 f.parent.Take()));
        TVITEMA stale{};
        stale.mask = TVIF_PARAM;
        stale.hItem = f.b;
        EXPECT_FALSE(SendMessageA(f.tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&stale)));
        SendMessageA(f.tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
        EXPECT_TRUE(SameSequence({"TVN_DELETEITEM 11", "TVN_DELETEITEM 12", "TVN_DELETEITEM 1", "TVN_DELETEITEM 3"}, f.parent.Take()));
        EXPECT_EQ(0, SendMessageA(f.tree, TVM_GETCOUNT, 0, 0));
        EXPECT_EQ(nullptr, TreeView_GetSelection(f.tree));
    });
}

TEST(TreeView, HitTestFlagsAndItemRectangles) {
    UiThread ui;
    ui.Run([] {
        TreeFixture f;
        auto hit = [&](POINT screen, HTREEITEM& item) {
            TVHITTESTINFO info{};
            info.pt = POINT{screen.x - kOrigin.x, screen.y - kOrigin.y};
            item = reinterpret_cast<HTREEITEM>(SendMessageA(f.tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
            return info.flags;
        };
        HTREEITEM item = nullptr;
        EXPECT_EQ(static_cast<UINT>(TVHT_ONITEMBUTTON), hit(ButtonPoint(1), item));
        EXPECT_EQ(f.b, item);
        EXPECT_EQ(static_cast<UINT>(TVHT_ONITEMLABEL), hit(LabelPoint(2), item));
        EXPECT_EQ(f.c, item);
        EXPECT_EQ(static_cast<UINT>(TVHT_ONITEMRIGHT), hit(POINT{kOrigin.x + 150, kOrigin.y + 8}, item));
        EXPECT_EQ(static_cast<UINT>(TVHT_NOWHERE), hit(LabelPoint(5), item));
        EXPECT_EQ(nullptr, item);
        EXPECT_EQ(static_cast<UINT>(TVHT_BELOW), hit(POINT{kOrigin.x + 10, kOrigin.y + 250}, item));
        RECT rect{};
        std::memcpy(static_cast<void*>(&rect), &f.c, sizeof f.c);
        ASSERT_TRUE(SendMessageA(f.tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect)));
        EXPECT_EQ(2 * kRow, rect.top);
        EXPECT_EQ(21, rect.left);
        std::memcpy(static_cast<void*>(&rect), &f.a1, sizeof f.a1);
        EXPECT_FALSE(SendMessageA(f.tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect)));
    });
}

TEST(TreeView, AHundredThousandExpandedNodesScrollByRowsAndJumps) {
    UiThread ui;
    ui.Run([] {
        TreeFixture f;
        SendMessageA(f.tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
        std::vector<HTREEITEM> folders;
        for (int i = 0; i < 1000; ++i) {
            HTREEITEM folder = f.Insert(TVI_ROOT, ("F" + std::to_string(i)).c_str(), i);
            folders.push_back(folder);
            for (int j = 0; j < 99; ++j) f.Insert(folder, ("f" + std::to_string(j)).c_str(), j);
            SendMessageA(f.tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(folder));
        }
        EXPECT_EQ(100000, SendMessageA(f.tree, TVM_GETCOUNT, 0, 0));
        SendMessageA(f.tree, WM_VSCROLL, SB_BOTTOM, 0);
        HTREEITEM first = TreeView_GetNextItem(f.tree, nullptr, TVGN_FIRSTVISIBLE);
        int visible = static_cast<int>(SendMessageA(f.tree, TVM_GETVISIBLECOUNT, 0, 0));
        EXPECT_EQ(12, visible); // 200 / 16
        EXPECT_EQ("f" + std::to_string(99 - visible), f.Text(first));
        SendMessageA(f.tree, WM_VSCROLL, SB_LINEUP, 0);
        EXPECT_EQ("f" + std::to_string(98 - visible), f.Text(TreeView_GetNextItem(f.tree, nullptr, TVGN_FIRSTVISIBLE)));
        SendMessageA(f.tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(folders[500]));
        EXPECT_EQ("F500", f.Text(TreeView_GetNextItem(f.tree, nullptr, TVGN_FIRSTVISIBLE)));
        SendMessageA(f.tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(folders[499]));
        SendMessageA(f.tree, WM_VSCROLL, SB_LINEUP, 0);
        EXPECT_EQ("F499", f.Text(TreeView_GetNextItem(f.tree, nullptr, TVGN_FIRSTVISIBLE)));
        HTREEITEM last = TreeView_GetNextItem(f.tree, nullptr, TVGN_LASTVISIBLE);
        EXPECT_EQ("f98", f.Text(last));
        PumpUntilIdle();
    });
}

} // namespace
} // namespace ostrana::test

namespace ostrana::test {
namespace {

TEST(TreeView, DragsRightClicksAndSingleExpand) {
    UiThread ui;
    ui.Run([] {
        TreeFixture f;
        InjectMouseButton(MouseButton::Left, true, LabelPoint(1));
        InjectMouseMove(POINT{LabelPoint(1).x + 30, LabelPoint(1).y + 20});
        PumpUntilIdle();
        InjectMouseButton(MouseButton::Left, false, POINT{LabelPoint(1).x + 30, LabelPoint(1).y + 20});
        PumpUntilIdle();
        InjectClick(MouseButton::Right, LabelPoint(2));
        PumpUntilIdle();
        EXPECT_TRUE(SameSequence({"TVN_BEGINDRAG B", "NM_RCLICK"}, f.parent.Take()));
        EXPECT_EQ(nullptr, TreeView_GetSelection(f.tree)); // neither a drag nor a right click selects

        SetWindowLongPtrA(f.tree, GWL_STYLE, GetWindowLongPtrA(f.tree, GWL_STYLE) | TVS_SINGLEEXPAND);
        f.Click(LabelPoint(0));
        EXPECT_EQ((std::vector<std::string>{"A", "A1", "A2", "B", "C"}), f.Rows());
        f.Click(LabelPoint(3));
        EXPECT_EQ((std::vector<std::string>{"A", "B", "B1", "C"}), f.Rows());
        SendMessageA(f.tree, TVM_SELECTITEM, TVGN_DROPHILITE, reinterpret_cast<LPARAM>(f.c));
        EXPECT_EQ(f.c, TreeView_GetNextItem(f.tree, nullptr, TVGN_DROPHILITE));
        EXPECT_EQ(TVIS_DROPHILITED, SendMessageA(f.tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(f.c), TVIS_DROPHILITED));
    });
}

} // namespace
} // namespace ostrana::test

namespace ostrana::test {
namespace {

TEST(TreeView, TypingSelectsTheNextVisibleNodeByKeyboard) {
    UiThread ui;
    ui.Run([] {
        TreeFixture f;
        InjectText("c");
        PumpUntilIdle();
        EXPECT_TRUE(SameSequence({"TVN_SELCHANGING (none) -> C keyboard", "TVN_SELCHANGED (none) -> C keyboard"}, f.parent.Take()));
        UseManualMessageClock(true);
        AdvanceMessageClock(2000);
        InjectText("a");
        PumpUntilIdle();
        UseManualMessageClock(false);
        EXPECT_EQ(f.a, TreeView_GetSelection(f.tree)); // wrapped around past the end
    });
}

} // namespace
} // namespace ostrana::test

namespace ostrana::test {
namespace {

TEST(TreeView, ARowWiderThanTheTreeScrollsSideways) {
    UiThread ui;
    ui.Run([] {
        TreeFixture f;
        HTREEITEM wide = f.Insert(TVI_ROOT, std::string(50, 'w').c_str(), 9);
        PumpUntilIdle();
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_ALL;
        GetScrollInfo(f.tree, SB_HORZ, &info);
        EXPECT_GT(info.nMax, 300);
        SendMessageA(f.tree, WM_HSCROLL, SB_LINERIGHT, 0);
        RECT rect{};
        std::memcpy(static_cast<void*>(&rect), &wide, sizeof wide);
        ASSERT_TRUE(SendMessageA(f.tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect)));
        EXPECT_EQ(21 - 8, rect.left);
        SendMessageA(f.tree, WM_HSCROLL, SB_BOTTOM, 0);
        GetScrollInfo(f.tree, SB_HORZ, &info);
        EXPECT_EQ(info.nMax + 1 - static_cast<int>(info.nPage), info.nPos);
    });
}

TEST(TreeView, TheVerticalBarComesWithRowsBeyondTheTreeAndScrollsIt) {
    UiThread ui;
    ui.Run([] {
        TreeFixture f;
        EXPECT_FALSE(GetWindowLongPtrA(f.tree, GWL_STYLE) & WS_VSCROLL); // six rows fit
        std::vector<HTREEITEM> added;
        for (int i = 0; i < 30; ++i) added.push_back(f.Insert(TVI_ROOT, ("N" + std::to_string(i)).c_str(), 100 + i));
        PumpUntilIdle();
        EXPECT_TRUE(GetWindowLongPtrA(f.tree, GWL_STYLE) & WS_VSCROLL);
        f.Click(POINT{kOrigin.x + 192, kOrigin.y + 192}); // the lower arrow
        EXPECT_EQ("B", f.Text(TreeView_GetNextItem(f.tree, nullptr, TVGN_FIRSTVISIBLE)));
        f.Click(POINT{kOrigin.x + 192, kOrigin.y + 150}); // the track below the thumb: a page of 12 rows
        EXPECT_EQ("N10", f.Text(TreeView_GetNextItem(f.tree, nullptr, TVGN_FIRSTVISIBLE)));
        EXPECT_EQ(13, GetScrollPos(f.tree, SB_VERT));
        for (HTREEITEM item : added) SendMessageA(f.tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
        PumpUntilIdle();
        EXPECT_FALSE(GetWindowLongPtrA(f.tree, GWL_STYLE) & WS_VSCROLL);
        EXPECT_EQ("A", f.Text(TreeView_GetNextItem(f.tree, nullptr, TVGN_FIRSTVISIBLE)));
    });
}

} // namespace
} // namespace ostrana::test
