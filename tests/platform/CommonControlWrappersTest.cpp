// The framework wrappers over the list, header, tree and image lists: each call reaches its
// control, and a borrowed system image list survives the wrapper that let go of it.
#include <gtest/gtest.h>

#include "platform/controls/AfxCmnCtrls.h"
#include "tests/platform/ControlTestSupport.h"
#include "tests/support/WindowHarness.h"

namespace ostrana::test {
namespace {

TEST(CommonControlWrappers, ListCtrlAndHeaderCtrlSendTheirMessages) {
    UiThread ui;
    ui.Run([] {
        NotifyParent parent(RECT{0, 0, 400, 300});
        CListCtrl list;
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, RECT{0, 0, 300, 200}, CWnd::FromHandle(parent.Window()), 5));
        EXPECT_EQ(0, list.InsertColumn(0, "Name", LVCFMT_LEFT, 120));
        EXPECT_EQ(1, list.InsertColumn(1, "Size", LVCFMT_RIGHT, 60));
        EXPECT_EQ(0, list.InsertItem(0, "a.txt"));
        EXPECT_EQ(1, list.InsertItem(1, "b.txt", 3));
        EXPECT_TRUE(list.SetItemText(1, 1, "12KB"));
        EXPECT_TRUE(list.SetItemData(1, 42));
        EXPECT_EQ("12KB", list.GetItemText(1, 1));
        EXPECT_EQ(42u, list.GetItemData(1));
        EXPECT_TRUE(list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED));
        EXPECT_EQ(1, list.GetNextItem(-1, LVNI_SELECTED));
        EXPECT_EQ(1u, list.GetSelectedCount());
        CHeaderCtrl* header = list.GetHeaderCtrl();
        ASSERT_NE(nullptr, header);
        EXPECT_EQ(2, header->GetItemCount());
        int order[2] = {1, 0};
        EXPECT_TRUE(list.SetColumnOrderArray(2, order));
        int read[2] = {};
        EXPECT_TRUE(list.GetColumnOrderArray(read));
        EXPECT_EQ(1, read[0]);
        RECT label{};
        EXPECT_TRUE(list.GetItemRect(0, &label, LVIR_LABEL));
        EXPECT_GT(label.right, label.left);
        EXPECT_EQ(0, list.HitTest(POINT{label.left + 2, label.top + 2}));

        CImageList borrowed;
        borrowed.Attach(SystemImageList(true));
        EXPECT_EQ(nullptr, list.SetImageList(&borrowed, LVSIL_SMALL));
        EXPECT_EQ(SystemImageList(true), list.SetImageList(&borrowed, LVSIL_SMALL));
        borrowed.DeleteImageList();
        list.DestroyWindow(); // with the system list still set
        int cx = 0, cy = 0;
        EXPECT_TRUE(ImageList_GetIconSize(SystemImageList(true), &cx, &cy));
        EXPECT_EQ(16, cx);
    });
}

TEST(CommonControlWrappers, TreeCtrlSendsItsMessages) {
    UiThread ui;
    ui.Run([] {
        NotifyParent parent(RECT{0, 0, 400, 300});
        CTreeCtrl tree;
        ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_LINESATROOT, RECT{0, 0, 200, 200},
                                CWnd::FromHandle(parent.Window()), 6));
        HTREEITEM root = tree.InsertItem("root");
        HTREEITEM child = tree.InsertItem("child", 1, 2, root);
        EXPECT_TRUE(tree.SetItemData(child, 7));
        EXPECT_EQ(7u, tree.GetItemData(child));
        EXPECT_TRUE(tree.ItemHasChildren(root));
        EXPECT_EQ(child, tree.GetChildItem(root));
        EXPECT_EQ(root, tree.GetParentItem(child));
        RECT rect{};
        EXPECT_FALSE(tree.GetItemRect(child, &rect, TRUE));
        EXPECT_TRUE(tree.Expand(root, TVE_EXPAND));
        EXPECT_TRUE(tree.GetItemRect(child, &rect, TRUE));
        EXPECT_EQ(child, tree.HitTest(POINT{rect.left + 1, rect.top + 1}));
        EXPECT_TRUE(tree.SelectItem(child));
        EXPECT_EQ(child, tree.GetSelectedItem());
        int image = 0, selected = 0;
        EXPECT_TRUE(tree.GetItemImage(child, image, selected));
        EXPECT_EQ(2, selected);
        EXPECT_TRUE(tree.SetItemText(child, "renamed"));
        EXPECT_EQ("renamed", tree.GetItemText(child));
        EXPECT_EQ(2u, tree.GetCount());
        tree.DestroyWindow();
    });
}

} // namespace
} // namespace ostrana::test
