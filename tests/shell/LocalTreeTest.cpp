// The local folder tree over a home folder of its own: the Desktop, expansion, select by path,
// the merging refresh, overlays, hidden folders and drops of server items.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/shell/ShellFlags.h"
#include "platform/window/Input.h"
#include "platform/window/VirtualKeys.h"
#include "tests/shell/LocalPaneHarness.h"

namespace {

namespace fs = std::filesystem;
using ostrana::test::Ansi;
using ostrana::test::LocalPaneHarness;
using ostrana::test::Utf8;
using Strings = std::vector<std::string>;

void Touch(const fs::path& path) { std::ofstream(path) << "x"; }

bool Contains(const Strings& texts, const std::string& text) { return std::find(texts.begin(), texts.end(), text) != texts.end(); }

HTREEITEM NodeOf(LocalPaneHarness& h, const fs::path& folder) {
    std::string path = LocalPaneHarness::Local(folder);
    return h.ui.Get<HTREEITEM>([&] {
        ShellIdList parsed = ShellNamespace::Parse(h.tree->GetDesktop(), path);
        HTREEITEM node = h.tree->FindIdList(parsed.Get());
        if (node != nullptr) h.tree->Expand(node, TVE_EXPAND);
        return node;
    });
}

TEST(LocalTree, StartsAtTheDesktopWithTheHomeFolderAndTheComputer) {
    LocalPaneHarness h;
    HTREEITEM root = h.ui.Get<HTREEITEM>([&] { return h.tree->GetRootItem(); });
    ASSERT_NE(root, nullptr);
    Strings top = h.Children(root);
    EXPECT_TRUE(Contains(top, h.home.Path().filename().string())) << testing::PrintToString(top);
    EXPECT_TRUE(Contains(top, "내 컴퓨터")) << testing::PrintToString(top);
    // The root's selection reached the list, which shows the Desktop.
    EXPECT_EQ(h.ui.Get<HTREEITEM>([&] { return h.tree->GetSelectedItem(); }), root);
    EXPECT_TRUE(Contains(h.Rows(), h.home.Path().filename().string()));
    EXPECT_EQ(h.SelectedFolder(), "");
}

TEST(LocalTree, ListsFoldersOnlyAndTakesTheButtonFromFoldersWithoutSubfolders) {
    LocalPaneHarness h;
    fs::create_directories(h.Work("b/inner"));
    fs::create_directories(h.Work("a"));
    fs::create_directories(h.Work(".hidden"));
    Touch(h.Work("f.txt"));
    h.Show(h.Work());
    EXPECT_EQ(h.SelectedFolder(), Utf8(LocalPaneHarness::Local(h.Work())));
    HTREEITEM work = NodeOf(h, h.Work());
    ASSERT_NE(work, nullptr);
    // Hidden folders stay out while show-all-objects is off; files never come in.
    EXPECT_EQ(h.Children(work), (Strings{"a", "b"}));
    HTREEITEM a = h.Child(work, "a");
    HTREEITEM b = h.Child(work, "b");
    EXPECT_TRUE(h.ui.Get<bool>([&] { return h.tree->ItemHasChildren(b) != FALSE; }));
    h.ui.Run([&] { h.tree->Expand(a, TVE_EXPAND); });
    EXPECT_TRUE(h.Children(a).empty());
    EXPECT_FALSE(h.ui.Get<bool>([&] { return h.tree->ItemHasChildren(a) != FALSE; }));
    // The list shows the folder's files and folders.
    EXPECT_EQ(h.Rows(), (Strings{"a", "b", "f.txt"}));
}

TEST(LocalTree, SelectingAPathThatIsNoFolderOfTheTreeSaysItWasNotFound) {
    LocalPaneHarness h;
    fs::create_directories(h.Work("a"));
    Touch(h.Work("f.txt"));
    h.Show(h.Work("a"));
    h.boxes->Clear();
    h.Show(h.Work("f.txt"));
    auto boxes = h.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, LocalPaneHarness::Local(h.Work("f.txt")) + " was not found");
    EXPECT_EQ(boxes[0].type & MB_ICONHAND, static_cast<UINT>(MB_ICONHAND));
    EXPECT_EQ(h.SelectedFolder(), Utf8(LocalPaneHarness::Local(h.Work("a"))));
    // A path that names nothing at all is passed over in silence.
    h.Show(h.Work("missing/deeper"));
    EXPECT_EQ(h.Boxes().size(), 1u);
}

TEST(LocalTree, RefreshMergesTheDiskIntoTheTreeKeepingSelectionAndExpansion) {
    LocalPaneHarness h;
    fs::create_directories(h.Work("a"));
    fs::create_directories(h.Work("b/inner/deep"));
    h.Show(h.Work("b/inner"));
    HTREEITEM work = NodeOf(h, h.Work());
    HTREEITEM b = NodeOf(h, h.Work("b"));
    HTREEITEM inner = NodeOf(h, h.Work("b/inner"));
    ASSERT_NE(inner, nullptr);
    fs::create_directories(h.Work("c"));
    fs::remove_all(h.Work("a"));
    fs::create_directories(h.Work("b/second"));
    h.ui.Run([&] { h.tree->RefreshOwnChange(); });
    EXPECT_EQ(h.Children(work), (Strings{"b", "c"}));
    EXPECT_EQ(h.Children(b), (Strings{"inner", "second"}));
    EXPECT_EQ(h.ui.Get<HTREEITEM>([&] { return h.tree->GetSelectedItem(); }), inner);
    EXPECT_EQ(NodeOf(h, h.Work("b")), b);
    EXPECT_TRUE(h.ui.Get<bool>([&] { return (h.tree->GetItemState(b, TVIS_EXPANDED) & TVIS_EXPANDED) != 0; }));
    EXPECT_TRUE(h.tree->ReactToChange().load());
}

TEST(LocalTree, ALinkedFolderShowsTheShortcutOverlay) {
    LocalPaneHarness h;
    fs::create_directories(h.Work("real"));
    fs::create_directory_symlink(h.Work("real"), h.Work("link"));
    h.Show(h.Work());
    HTREEITEM work = NodeOf(h, h.Work());
    HTREEITEM link = h.Child(work, "link");
    HTREEITEM real = h.Child(work, "real");
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(h.ui.Get<UINT>([&] { return h.tree->GetItemState(link, TVIS_OVERLAYMASK); }), INDEXTOOVERLAYMASK(2));
    EXPECT_EQ(h.ui.Get<UINT>([&] { return h.tree->GetItemState(real, TVIS_OVERLAYMASK); }), 0u);
}

TEST(LocalTree, ServerItemsDroppedOnAFolderDownloadIntoItAndNowhereElse) {
    LocalPaneHarness h;
    fs::create_directories(h.Work("a"));
    h.Show(h.Work());
    HTREEITEM a = h.Child(NodeOf(h, h.Work()), "a");
    RECT rect = h.ui.Get<RECT>([&] {
        RECT item{};
        h.tree->GetItemRect(a, &item, TRUE);
        return item;
    });
    HWND window = h.tree->GetSafeHwnd();
    h.DropFiles(window, {"myfolder/x.txt"}, POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
    ASSERT_EQ(h.recorder.transfers.size(), 1u);
    EXPECT_EQ(h.recorder.transfers[0].direction, 0);
    EXPECT_EQ(h.recorder.transfers[0].target, LocalPaneHarness::Local(h.Work("a")) + "\\");
    // Below the last node, and on a folder without a file-system path, nothing starts.
    h.DropFiles(window, {"myfolder/x.txt"}, POINT{5, 20000});
    EXPECT_EQ(h.recorder.transfers.size(), 1u) << "below the nodes";
    RECT top = h.ui.Get<RECT>([&] {
        RECT item{};
        h.tree->GetItemRect(h.tree->GetRootItem(), &item, TRUE);
        return item;
    });
    h.DropFiles(window, {"myfolder/x.txt"}, POINT{(top.left + top.right) / 2, (top.top + top.bottom) / 2});
    EXPECT_EQ(h.recorder.transfers.size(), 1u);
}

TEST(LocalTree, HoldingDownThroughTenFoldersLoadsOnlyTheOneWhereTheKeyIsReleased) {
    LocalPaneHarness h;
    for (int i = 0; i < 10; ++i) fs::create_directories(h.Work("d" + std::to_string(i)));
    h.Show(h.Work());
    HTREEITEM work = NodeOf(h, h.Work());
    HTREEITEM first = h.Child(work, "d0");
    ASSERT_NE(first, nullptr);
    h.ui.Run([&] {
        h.tree->SelectItem(first);
        h.tree->SetFocus();
    });
    h.ui.WaitIdle();
    ASSERT_TRUE(h.WaitForFolderSelection());
    int before = h.FolderSelections();
    for (int i = 0; i < 9; ++i) {
        ostrana::InjectKey(VK_DOWN, true);
        h.ui.WaitIdle();
    }
    EXPECT_EQ(h.FolderSelections(), before);
    ostrana::InjectKey(VK_DOWN, false);
    ASSERT_TRUE(h.WaitForFolderSelection());
    h.ui.WaitIdle();
    EXPECT_EQ(h.FolderSelections(), before + 1);
    EXPECT_EQ(h.SelectedFolder(), Utf8(LocalPaneHarness::Local(h.Work("d9"))));
    EXPECT_EQ(h.list->GetShownPath(), LocalPaneHarness::Local(h.Work("d9")));
}

TEST(LocalTree, HiddenFoldersShowWithAllObjectsButNotWhenSystemFilesShowToo) {
    LocalPaneHarness h;
    fs::create_directories(h.Work(".hidden"));
    fs::create_directories(h.Work("plain"));
    h.Show(h.Work());
    auto withFlags = [&](DWORD bits) {
        h.ui.Run([&] {
            ostrana::StoreShellFlags(bits);
            h.tree->SendMessage(WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>("ShellState"));
        });
        return h.Children(NodeOf(h, h.Work()));
    };
    EXPECT_EQ(withFlags(0x01 | 0x02), (Strings{".hidden", "plain"}));
    EXPECT_EQ(withFlags(0x01 | 0x02 | 0x08), (Strings{"plain"}));
    EXPECT_EQ(withFlags(0x02), (Strings{"plain"}));
}

} // namespace
