// The panes that host one toolkit control: created by class name, the derived pane's control
// made through the hook, kept the size of the client area, and menu commands routed to it.
#include <gtest/gtest.h>

#include "tests/support/WindowHarness.h"
#include "tests/ui/ListTestSupport.h"
#include "ui/UIListView.h"
#include "ui/UITreeView.h"

namespace ostrana::test {
namespace {

RECT ClientOf(HWND window) {
    RECT rect{};
    GetClientRect(window, &rect);
    return rect;
}

class OwnListView : public CUIListView {
public:
    bool initialUpdate = false;
    void OnInitialUpdate() override {
        CUIListView::OnInitialUpdate();
        GetListCtrl()->InitListCtrl("A|B");
        initialUpdate = true;
    }

protected:
    std::unique_ptr<CUIODListCtrl> MakeListCtrl() override { return std::make_unique<RecordingList>(); }
};

TEST(ToolkitViews, PanesMakeTheirControlAndKeepItTheSizeOfTheClientArea) {
    UiThread ui;
    ui.Run([] {
        RecordingParent parent(kParentRect);
        OwnListView list;
        ASSERT_TRUE(list.Create("ListView", "ClientListView", WS_CHILD | WS_BORDER, RECT{10, 10, 210, 160}, &parent, 212));
        list.OnInitialUpdate();
        ASSERT_NE(nullptr, dynamic_cast<RecordingList*>(list.GetListCtrl()));
        EXPECT_TRUE(list.initialUpdate);
        EXPECT_EQ(2, list.GetListCtrl()->GetColumnCount());
        RECT placed{};
        GetWindowRect(list.GetListCtrl()->m_hWnd, &placed);
        EXPECT_EQ(ClientOf(list.m_hWnd).right, placed.right - placed.left);
        list.MoveWindow(0, 0, 300, 250);
        GetWindowRect(list.GetListCtrl()->m_hWnd, &placed);
        RECT client = ClientOf(list.m_hWnd);
        EXPECT_EQ(client.right - client.left, placed.right - placed.left);
        EXPECT_EQ(client.bottom - client.top, placed.bottom - placed.top);
        list.SendMessage(WM_COMMAND, ID_UI_VIEW_LIST);
        EXPECT_EQ(static_cast<DWORD>(LVS_LIST), list.GetListCtrl()->GetViewType());

        CUITreeView tree;
        ASSERT_TRUE(tree.Create("TreeView", "ClientTreeView", WS_CHILD | WS_BORDER, RECT{0, 0, 120, 90}, &parent, 207));
        tree.OnInitialUpdate();
        ASSERT_NE(nullptr, tree.GetTreeCtrl());
        EXPECT_EQ(CUITreeCtrl::kTreeStyles, tree.GetTreeCtrl()->GetStyle() & CUITreeCtrl::kTreeStyles);
        GetWindowRect(tree.GetTreeCtrl()->m_hWnd, &placed);
        client = ClientOf(tree.m_hWnd);
        EXPECT_EQ(client.right, placed.right - placed.left);
        tree.SetFocus();
        EXPECT_EQ(tree.GetTreeCtrl()->m_hWnd, GetFocus());
    });
}

} // namespace
} // namespace ostrana::test
