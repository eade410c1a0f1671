// The toolkit trees: the drag-and-drop messages with OLE on and off, drops on the dragged node,
// its child and its parent, Ctrl expanding a node during a drag, auto-scrolling driven by timer
// messages, the user-data translation of the node records, and the keyboard selection acted on
// once after the key is released.
#include <gtest/gtest.h>

#include "platform/base/CodePage.h"
#include "platform/window/Input.h"
#include "platform/window/VirtualKeys.h"
#include "tests/support/WindowHarness.h"
#include "tests/ui/ListTestSupport.h"
#include "ui/UITreeCtrl.h"

namespace ostrana::test {
namespace {

constexpr RECT kTreeRect{0, 0, 200, 150};

template <typename Tree> struct TreeWindow {
    RecordingParent parent{kParentRect};
    Tree tree;
    template <typename... Args> explicit TreeWindow(Args&&... args) : tree(std::forward<Args>(args)...) {
        ResetInputState();
        tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_LINESATROOT, kTreeRect, &parent, 9);
    }
    ~TreeWindow() { tree.DestroyWindow(); }
};

std::vector<std::string> Only(const std::vector<std::string>& record, const std::string& message) {
    std::vector<std::string> kept;
    for (const std::string& line : record) {
        if (line == "parent " + message) kept.push_back(line);
    }
    return kept;
}

TEST(ToolkitTree, DragDropMessagesAreAnsweredByTheTreeOrPassedToTheParent) {
    UiThread ui;
    ui.Run([] {
        const UINT messages[] = {UWM_DD_DRAGENTER, UWM_DD_DRAGOVER, UWM_DD_DRAGLEAVE, UWM_DD_DROP, UWM_DD_BEGINDRAG};
        COleDataObject data;
        {
            TreeWindow<CUITreeCtrl> off(false);
            for (UINT message : messages) {
                CDD_OleDropTargetInfo info(off.tree.m_hWnd, POINT{5, 5}, &data);
                EXPECT_EQ(1, SendDragDropMessage(off.tree.m_hWnd, message, reinterpret_cast<WPARAM>(&info), 0));
                EXPECT_EQ(DROPEFFECT_NONE, info.GetDropEffect());
            }
            EXPECT_TRUE(off.parent.Take().empty());
        }
        TreeWindow<CUITreeCtrl> on(true);
        for (UINT message : {UWM_DD_DRAGENTER, UWM_DD_DRAGOVER, UWM_DD_DRAGLEAVE, UWM_DD_DROP}) {
            CDD_OleDropTargetInfo own(on.tree.m_hWnd, POINT{5, 5}, nullptr); // the toolkit's own drag
            EXPECT_EQ(1, SendDragDropMessage(on.tree.m_hWnd, message, reinterpret_cast<WPARAM>(&own), 0));
        }
        EXPECT_TRUE(on.parent.Take().empty());
        // A data object without the program's formats is not accepted, so the parent is asked.
        for (UINT message : {UWM_DD_DRAGENTER, UWM_DD_DRAGOVER, UWM_DD_DRAGLEAVE, UWM_DD_DROP}) {
            CDD_OleDropTargetInfo info(on.tree.m_hWnd, POINT{5, 5}, &data);
            SendDragDropMessage(on.tree.m_hWnd, message, reinterpret_cast<WPARAM>(&info), 0);
        }
        EXPECT_TRUE(SameSequence({"parent WM_APP+2001", "parent WM_APP+2004", "parent WM_APP+2002", "parent WM_APP+2003"}, on.parent.Take()));
        HTREEITEM node = on.tree.InsertNode("docs", 5);
        CDD_OleDropTargetInfo begin(on.tree.m_hWnd, POINT{5, 5}, nullptr);
        begin.SetTreeItem(node);
        COleDataSource source;
        EXPECT_EQ(DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK,
                  SendDragDropMessage(on.tree.m_hWnd, UWM_DD_BEGINDRAG, reinterpret_cast<WPARAM>(&begin), reinterpret_cast<LPARAM>(&source)));
        EXPECT_TRUE(on.parent.Take().empty());
    });
}

// A tree whose own drag a test can start and end without the mouse.
class DragTree : public CUIDragDropTree {
public:
    DragTree() : CUIDragDropTree(true) {}
    void BeginOwnDrag(HTREEITEM item) {
        NMTREEVIEWA info{};
        info.hdr.hwndFrom = m_hWnd;
        info.hdr.code = TVN_BEGINDRAGA;
        info.itemNew.hItem = item;
        BeginDrag(&info, false);
    }
};

TEST(ToolkitTree, DropOnTheDraggedNodeItsChildOrItsParentDoesNothing) {
    UiThread ui;
    ui.Run([] {
        TreeWindow<DragTree> window;
        DragTree& tree = window.tree;
        HTREEITEM root = tree.InsertItem("root");
        HTREEITEM folder = tree.InsertItem("folder", root);
        HTREEITEM child = tree.InsertItem("child", folder);
        HTREEITEM other = tree.InsertItem("other", root);
        tree.Expand(root, TVE_EXPAND);
        tree.Expand(folder, TVE_EXPAND);
        window.parent.answer = [](UINT message, WPARAM, LPARAM) -> LRESULT { return message == UWM_DD_DROP ? 1 : 0; };

        tree.BeginOwnDrag(folder); // nobody answers the begin drag: the tree's own drag
        EXPECT_TRUE(tree.IsDragging());
        EXPECT_EQ(tree.m_hWnd, GetCapture());
        for (HTREEITEM target : {folder, child, root}) {
            tree.SetDropHighlight(target);
            tree.DropOwnDrag(DROPEFFECT_MOVE);
        }
        EXPECT_TRUE(Only(window.parent.Take(), "WM_APP+2003").empty());
        tree.SetDropHighlight(other);
        tree.DropOwnDrag(DROPEFFECT_MOVE);
        EXPECT_EQ((std::vector<std::string>{"parent WM_APP+2003"}), Only(window.parent.Take(), "WM_APP+2003"));
        tree.EndDrag();
        EXPECT_FALSE(tree.IsDragging());
        EXPECT_EQ(nullptr, GetCapture());

        HTREEITEM moved = tree.MoveNode(folder, other);
        ASSERT_NE(nullptr, moved);
        tree.DeleteItem(folder);
        EXPECT_EQ("folder", tree.GetItemText(tree.GetChildItem(other)));
        EXPECT_EQ("child", tree.GetItemText(tree.GetChildItem(moved)));
    });
}

TEST(ToolkitTree, LeftCtrlExpandsACollapsedNodeDuringAnOleDrag) {
    UiThread ui;
    ui.Run([] {
        TreeWindow<DragTree> window;
        DragTree& tree = window.tree;
        HTREEITEM folder = tree.InsertItem("folder");
        tree.InsertItem("inner", folder);
        window.parent.answer = [](UINT message, WPARAM, LPARAM) -> LRESULT { return message == UWM_DD_DRAGOVER ? 1 : 0; };
        RECT rect{};
        tree.GetItemRect(folder, &rect, TRUE);
        POINT over{rect.left + 2, rect.top + 2};
        COleDataObject data;
        tree.OnOleDragEnter(&data, 0, over);
        tree.OnOleDragOver(&data, 0, over);
        EXPECT_FALSE(tree.GetItemState(folder, TVIS_EXPANDED) & TVIS_EXPANDED);
        InjectKey(VK_LCONTROL, true);
        tree.OnOleDragOver(&data, MK_CONTROL, over);
        InjectKey(VK_LCONTROL, false);
        EXPECT_TRUE(tree.GetItemState(folder, TVIS_EXPANDED) & TVIS_EXPANDED);
        EXPECT_EQ(folder, tree.GetDropHighlight());
        tree.OnOleDragLeave();
        EXPECT_EQ(nullptr, tree.GetDropHighlight());
    });
}

TEST(ToolkitTree, AutoScrollOneLinePerTickNearTheBottomAndEveryThirdTickJustBelow) {
    UiThread ui;
    ui.Run([] {
        TreeWindow<DragTree> window;
        DragTree& tree = window.tree;
        for (int i = 0; i < 40; ++i) tree.InsertItem(("node" + std::to_string(i)).c_str());
        RECT screen = kTreeRect;
        tree.ClientToScreen(&screen);
        MessageRecorder scrolls(tree.m_hWnd, {WM_VSCROLL});
        auto tick = [&](int count) {
            for (int i = 0; i < count; ++i) tree.SendMessage(WM_TIMER, CUIDragDropTree::kScrollTimer);
            auto taken = scrolls.Messages();
            scrolls.Clear();
            return taken.size();
        };
        COleDataObject data;
        tree.OnOleDragEnter(&data, 0, POINT{10, 10});
        InjectMouseMove(POINT{screen.left + 20, screen.bottom - 20}); // in the bottom 30 pixels
        EXPECT_EQ(3u, tick(3));
        InjectMouseMove(POINT{screen.left + 20, screen.top + 60});
        EXPECT_EQ(0u, tick(3));
        InjectMouseMove(POINT{screen.left + 20, screen.top + 5}); // the top 10 pixels scroll up
        EXPECT_EQ(2u, tick(2));
        tree.OnOleDragLeave();
        EXPECT_EQ(0u, tick(1)); // the timer is gone with the drag

        tree.BeginOwnDrag(tree.GetRootItem() != nullptr ? tree.GetNextSiblingItem(tree.GetRootItem()) : nullptr);
        ASSERT_TRUE(tree.IsDragging());
        InjectMouseMove(POINT{screen.left + 20, screen.bottom + 3}); // just below: the slow zone
        EXPECT_EQ(2u, tick(6));
        EXPECT_NE(nullptr, tree.GetDropHighlight());
        InjectMouseMove(POINT{screen.left + 20, screen.bottom + 60});
        EXPECT_EQ(3u, tick(3));
        tree.EndDrag();
    });
}

TEST(ToolkitTree, NodeRecordsTranslateUserDataForCallersOutside) {
    UiThread ui;
    ui.Run([] {
        struct Freeing : CUITreeCtrl {
            std::vector<DWORD_PTR> freed;
            void FreeUserData(DWORD_PTR data) override { freed.push_back(data); }
        };
        TreeWindow<Freeing> window;
        Freeing& tree = window.tree;
        EXPECT_EQ(CUITreeCtrl::kTreeStyles, tree.GetStyle() & CUITreeCtrl::kTreeStyles);
        HTREEITEM outside = tree.CTreeCtrl::InsertItem(TVIF_TEXT | TVIF_PARAM, "a", 0, 0, 0, 0, 41, TVI_ROOT, TVI_LAST);
        HTREEITEM own = tree.InsertNode("b", 42);
        EXPECT_EQ(41u, tree.GetItemData(outside));
        EXPECT_EQ(42u, tree.GetItemData(own));
        EXPECT_TRUE(tree.SetItemData(own, 43));
        EXPECT_EQ(43u, tree.GetNodeData(own));
        ASSERT_NE(nullptr, tree.GetNodeRecord(own));
        EXPECT_TRUE(tree.SetNodeTextColor(own, RGB(200, 0, 0)));
        EXPECT_EQ(RGB(200, 0, 0), tree.GetNodeRecord(own)->GetTextColor(0));
        tree.DeleteItem(outside);
        EXPECT_EQ((std::vector<DWORD_PTR>{41}), tree.freed);
        tree.DeleteAllItems();
        EXPECT_EQ((std::vector<DWORD_PTR>{41, 43}), tree.freed);
    });
}

TEST(ToolkitTree, HoldingDownThroughTenNodesActsOnceAfterTheKeyIsReleased) {
    UiThread ui;
    auto* window = ui.Get<TreeWindow<CUITreeCtrl>*>([] {
        auto* made = new TreeWindow<CUITreeCtrl>(false);
        for (int i = 0; i < 15; ++i) made->tree.InsertNode(("node" + std::to_string(i)).c_str(), static_cast<DWORD_PTR>(100 + i));
        made->tree.SelectItem(made->tree.GetRootItem());
        made->tree.SetFocus();
        made->parent.Take();
        return made;
    });
    ui.WaitIdle();
    ui.Run([&] { window->parent.Take(); });
    for (int i = 0; i < 10; ++i) InjectKey(VK_DOWN, true); // auto-repeat while held
    ui.WaitIdle();
    ui.Run([&] {
        for (int i = 0; i < 3; ++i) window->tree.SendMessage(WM_TIMER, CUITreeCtrl::kSelectTimer);
        EXPECT_TRUE(Only(window->parent.Take(), "WM_APP+1001").empty());
    });
    InjectKey(VK_DOWN, false);
    ui.WaitIdle();
    ui.Run([&] { window->tree.SendMessage(WM_TIMER, CUITreeCtrl::kSelectTimer); });
    ui.WaitIdle();
    ui.Run([&] {
        EXPECT_EQ((std::vector<std::string>{"parent WM_APP+1001"}), Only(window->parent.Take(), "WM_APP+1001"));
        EXPECT_EQ("node10", window->tree.GetItemText(window->tree.GetLastSelected()));
        EXPECT_EQ(110u, window->tree.GetNodeData(window->tree.GetLastSelected()));
        delete window;
    });
}

} // namespace
} // namespace ostrana::test
