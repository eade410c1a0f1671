// The server folder tree against the real service: the roots of each account kind and the first
// selection, registered folders loaded to the first gap and saved renumbered, listings into child
// nodes, moving up and down, rename and remove with their questions, the menu rules and drops.
#include <filesystem>
#include <gtest/gtest.h>

#include "mainwnd/SettingsStore.h"
#include "platform/base/LocalPath.h"
#include "platform/gdi/ImageList.h"
#include "platform/ole/DropFiles.h"
#include "server/ServerPaneState.h"
#include "platform/window/VirtualKeys.h"
#include "tests/server/ServerPaneHarness.h"
#include "tests/support/ModalScript.h"

namespace fs = std::filesystem;

namespace ostrana::test {
namespace {

constexpr UINT kYesNo = MB_YESNO;

class ServerTreeTest : public ::testing::Test {
protected:
    ServerPaneHarness h;
};

TEST_F(ServerTreeTest, AnOrdinaryAccountShowsItsListedRootsAndSelectsMyFolder) {
    h.InitRoots(true, false, 1);
    HTREEITEM home = h.treeView->GetServerHomeNode();
    ASSERT_NE(nullptr, home);
    EXPECT_EQ("서버 홈 (127.0.0.1)", h.ui.Get<std::string>([&] { return Utf8(h.tree->GetItemText(home)); }));
    EXPECT_EQ((std::vector<std::string>{"내 파일보관함 (myfolder)"}), h.Children(home));
    EXPECT_EQ("myfolder/", h.Selected());
    EXPECT_EQ((std::vector<std::string>{"myfolder/"}), h.link.paths);
    // Home, root and folder nodes draw the module's artwork.
    h.ui.Run([&] {
        auto images = reinterpret_cast<HIMAGELIST>(h.tree->SendMessage(TVM_GETIMAGELIST, TVSIL_NORMAL));
        int base = h.tree->GetImageBase();
        EXPECT_EQ("icon 223", ImageListEntry(images, base));
        EXPECT_EQ("icon 232", ImageListEntry(images, base + 1));
        EXPECT_EQ("icon 235", ImageListEntry(images, base + 2));
    });
    // The listing fills the list and the selected node's children.
    std::vector<std::string> rows = h.Rows();
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ((std::vector<std::string>{"readme.txt", "문서", "사진"}), rows);
    std::vector<std::string> children = h.Children(h.treeView->GetMyFolderNode());
    std::sort(children.begin(), children.end());
    EXPECT_EQ((std::vector<std::string>{"문서", "사진"}), children);
    EXPECT_EQ("myfolder/문서/", h.ui.Get<std::string>([&] { return Utf8(h.tree->GetFolderPath(h.Child(h.treeView->GetMyFolderNode(), "문서"))); }));
}

TEST_F(ServerTreeTest, TheWebmasterKindAddsHtmlAndFilterAndSelectsHtmlWhenBothProbesFailed) {
    h.InitRoots(false, false, 9);
    EXPECT_EQ((std::vector<std::string>{"홈페이지 (html)", "필터 (filter)"}), h.Children(h.treeView->GetServerHomeNode()));
    EXPECT_EQ("html/", h.Selected());
    EXPECT_EQ(nullptr, h.treeView->GetMyFolderNode());
    EXPECT_EQ(nullptr, h.treeView->GetMyHtmlNode());

    // All four, in their fixed order.
    h.InitRoots(true, true, 9);
    EXPECT_EQ((std::vector<std::string>{"홈페이지 (html)", "필터 (filter)", "내 홈페이지 (myhtml)", "내 파일보관함 (myfolder)"}),
              h.Children(h.treeView->GetServerHomeNode()));
    EXPECT_EQ("myfolder/", h.Selected());
}

TEST_F(ServerTreeTest, NoRootSelectsNothingAndTheServerHomeListsNothing) {
    h.InitRoots(false, true, 1);
    EXPECT_EQ("myhtml/", h.Selected()) << "myhtml/ is the last choice";
    h.ui.Run([&] { h.tree->SelectItem(h.treeView->GetServerHomeNode()); });
    EXPECT_EQ("", h.Selected());
    EXPECT_EQ((std::vector<std::string>{"index.html"}), h.Rows()) << "the list keeps the last folder";

    h.InitRoots(false, false, 1);
    EXPECT_EQ(nullptr, h.ui.Get<HTREEITEM>([&] { return h.tree->GetSelectedItem(); }));
}

TEST_F(ServerTreeTest, RegisteredFoldersLoadToTheFirstGapAndAreSavedRenumbered) {
    ASSERT_TRUE(SetSettingText("127.0.0.1\\PrivateFolder\\RootFolders01", Ansi("club/demo/")));
    ASSERT_TRUE(SetSettingText("127.0.0.1\\PrivateFolder\\RootFolders02", Ansi("myfolder/문서/")));
    ASSERT_TRUE(SetSettingText("127.0.0.1\\PrivateFolder\\RootFolders04", "after/the/gap/"));
    ASSERT_TRUE(SetSettingText("other.host\\PrivateFolder\\RootFolders01", "elsewhere/"));
    h.InitRoots(true, false, 1);
    EXPECT_EQ((std::vector<std::string>{"내 파일보관함 (myfolder)", "club/demo/", "myfolder/문서/"}),
              h.Children(h.treeView->GetServerHomeNode()));
    ASSERT_EQ(2u, h.treeView->GetRegisteredFolders().size());
    HTREEITEM registered = h.treeView->GetRegisteredFolders()[1];
    EXPECT_EQ("myfolder/문서/", h.ui.Get<std::string>([&] { return Utf8(h.tree->GetFolderPath(registered)); }));
    h.ui.Run([&] {
        EXPECT_TRUE(h.treeView->IsRootNode(registered, false));
        EXPECT_FALSE(h.treeView->IsRootNode(registered, true));
        EXPECT_TRUE(h.treeView->IsRootNode(h.treeView->GetMyFolderNode(), true));
        EXPECT_TRUE(h.treeView->IsRootNode(h.treeView->GetServerHomeNode(), true));
        EXPECT_FALSE(h.treeView->IsRootNode(h.Child(h.treeView->GetMyFolderNode(), "사진"), false));
        h.treeView->AddRootFolder("added/");
    });

    // Unregistering asks, sends nothing and drops the node.
    h.boxes->QueueAnswer(IDYES);
    h.ui.Run([&] {
        h.tree->SelectItem(h.treeView->GetRegisteredFolders()[0]);
        h.tree->DeleteSelected();
    });
    ASSERT_EQ(1u, h.boxes->Boxes().size());
    EXPECT_EQ("등록된 폴더 (club/demo/) 를 해제하시겠습니까 ? \n\n(실제 폴더의 내용은 삭제되지 않습니다.)", Utf8(h.boxes->Boxes()[0].text));
    EXPECT_EQ("파일 삭제 확인", Utf8(h.boxes->Boxes()[0].caption));
    EXPECT_EQ(static_cast<UINT>(kYesNo), h.boxes->Boxes()[0].type & 0xF);
    EXPECT_EQ(0, h.Logged(".REMOVE"));
    EXPECT_EQ((std::vector<std::string>{"내 파일보관함 (myfolder)", "myfolder/문서/", "added/"}),
              h.Children(h.treeView->GetServerHomeNode()));

    h.DestroyPanes();
    std::string value;
    EXPECT_TRUE(GetSettingText("127.0.0.1\\PrivateFolder\\RootFolders01", value));
    EXPECT_EQ("myfolder/문서/", Utf8(value));
    EXPECT_TRUE(GetSettingText("127.0.0.1\\PrivateFolder\\RootFolders02", value));
    EXPECT_EQ("added/", value);
    EXPECT_FALSE(GetSettingText("127.0.0.1\\PrivateFolder\\RootFolders03", value));
    EXPECT_FALSE(GetSettingText("127.0.0.1\\PrivateFolder\\RootFolders04", value)) << "the old key went first";
    EXPECT_TRUE(GetSettingText("other.host\\PrivateFolder\\RootFolders01", value)) << "other servers keep theirs";
}

TEST_F(ServerTreeTest, RemovingAFolderAsksThenListsItsParent) {
    fs::create_directories(h.Stored("a/b/c"));
    h.InitRoots(true, false, 1);
    h.Open({"a", "b"});
    ASSERT_EQ("myfolder/a/b/", h.Selected());

    // The toolkit's delete request asks too, and No keeps folder and node.
    h.boxes->QueueAnswer(IDNO);
    h.ui.Run([&] { h.tree->SendMessage(UWM_LIST_DELETE); });
    ASSERT_EQ(1u, h.boxes->Boxes().size());
    EXPECT_EQ("b 파일을 정말로 삭제하시겠습니까 ?", Utf8(h.boxes->Boxes().back().text));
    EXPECT_TRUE(fs::exists(h.Stored("a/b")));
    EXPECT_EQ(0, h.Logged(".REMOVE"));
    EXPECT_EQ("myfolder/a/b/", h.Selected());

    h.boxes->QueueAnswer(IDYES);
    h.ui.Run([&] { h.tree->SendMessage(WM_COMMAND, CServerTreeCtrl::kCmdDelete); });
    EXPECT_FALSE(fs::exists(h.Stored("a/b")));
    EXPECT_EQ(1, h.Logged(".REMOVE \"myfolder/a/b/\"", 1));
    EXPECT_EQ("myfolder/a/", h.Selected());
    EXPECT_EQ("myfolder/a/", h.link.paths.back());
    EXPECT_TRUE(h.Rows().empty());
}

TEST_F(ServerTreeTest, UpAndDownMoveBetweenListedFoldersButNeverAboveARoot) {
    h.InitRoots(true, false, 1);
    h.ui.Run([&] { h.list->SendMessage(WM_COMMAND, CServerListCtrl::kCmdParent); });
    EXPECT_EQ("myfolder/", h.Selected()) << "상위폴더 on a root does nothing";
    h.ui.Run([&] { h.tree->SelectChildFolder(Ansi("없는 폴더")); });
    EXPECT_EQ("myfolder/", h.Selected());
    h.Open({"문서"});
    EXPECT_EQ("myfolder/문서/", h.Selected());
    EXPECT_EQ((std::vector<std::string>{"안내.txt"}), h.Rows());
    h.ui.Run([&] { h.list->SendMessage(WM_COMMAND, CServerListCtrl::kCmdParent); });
    EXPECT_EQ("myfolder/", h.Selected());
    EXPECT_EQ(3u, h.Rows().size());
}

NMTVDISPINFOA EndTreeEdit(HTREEITEM item, char* text) {
    NMTVDISPINFOA info{};
    info.hdr.code = TVN_ENDLABELEDITA;
    info.item.hItem = item;
    info.item.pszText = text;
    return info;
}

TEST_F(ServerTreeTest, RenamingSendsOnlyRealChangesOfOrdinaryFolders) {
    h.InitRoots(true, false, 1);
    h.Open({"사진"});
    HTREEITEM photos = h.ui.Get<HTREEITEM>([&] { return h.tree->GetSelectedItem(); });

    std::string same = Ansi("사진");
    NMTVDISPINFOA edit = EndTreeEdit(photos, same.data());
    EXPECT_EQ(0, h.NotifyTree(edit.hdr));
    EXPECT_EQ(0, h.Logged(".RENAME"));

    std::string fresh = Ansi("그림");
    edit = EndTreeEdit(photos, fresh.data());
    EXPECT_EQ(0, h.NotifyTree(edit.hdr)) << "the control never applies the text itself";
    EXPECT_EQ(1, h.Logged(".RENAME", 1));
    EXPECT_TRUE(fs::exists(h.Stored("그림/sample.bin")));
    EXPECT_EQ("myfolder/그림/", h.Selected());
    EXPECT_EQ("그림", h.ui.Get<std::string>([&] { return Utf8(h.tree->GetItemText(photos)); }));
    EXPECT_EQ((std::vector<std::string>{"sample.bin"}), h.Rows());

    // Roots keep their names whatever is typed.
    std::string other = "renamed";
    edit = EndTreeEdit(h.treeView->GetMyFolderNode(), other.data());
    h.NotifyTree(edit.hdr);
    EXPECT_EQ(1, h.Logged(".RENAME", 1));
    EXPECT_EQ("내 파일보관함 (myfolder)", h.ui.Get<std::string>([&] { return Utf8(h.tree->GetItemText(h.treeView->GetMyFolderNode())); }));
}

TEST_F(ServerTreeTest, LabelEditingRaisesTheSharedFlagUntilTheEditEndsEvenWhenCancelled) {
    h.InitRoots(true, false, 1);
    h.Open({"사진"});
    NMTVDISPINFOA begin{};
    begin.hdr.code = TVN_BEGINLABELEDITA;
    EXPECT_EQ(0, h.NotifyTree(begin.hdr));
    EXPECT_TRUE(ServerLabelEditing());
    NMTVDISPINFOA cancelled = EndTreeEdit(h.ui.Get<HTREEITEM>([&] { return h.tree->GetSelectedItem(); }), nullptr);
    h.NotifyTree(cancelled.hdr);
    EXPECT_FALSE(ServerLabelEditing());
}

TEST_F(ServerTreeTest, TheMenuGraysWhatANodeCannotDo) {
    h.InitRoots(true, false, 1);
    h.Open({"문서"});
    auto grayed = [&](HTREEITEM item) {
        return h.ui.Get<std::vector<UINT>>([&] {
            CMenu menu;
            EXPECT_TRUE(menu.LoadMenu(CServerTreeCtrl::kMenuId));
            CMenu* popup = menu.GetSubMenu(0);
            h.tree->ApplyMenuRules(popup, item);
            std::vector<UINT> ids;
            for (UINT id : {CServerTreeCtrl::kCmdUploadHere, CServerTreeCtrl::kCmdNewFolder, CServerTreeCtrl::kCmdRename,
                            CServerTreeCtrl::kCmdDelete, CServerTreeCtrl::kCmdShare, CServerTreeCtrl::kCmdRefresh}) {
                if (popup->GetMenuState(id, MF_BYCOMMAND) & MF_GRAYED) ids.push_back(id);
            }
            return ids;
        });
    };
    HTREEITEM sub = h.ui.Get<HTREEITEM>([&] { return h.tree->GetSelectedItem(); });
    EXPECT_EQ((std::vector<UINT>{32779, 32777, 32781, 32901}), grayed(h.treeView->GetServerHomeNode()));
    EXPECT_EQ((std::vector<UINT>{32777, 32781}), grayed(h.treeView->GetMyFolderNode()));
    EXPECT_TRUE(grayed(sub).empty());

    // The commands reach the main window; on the server home "새 폴더" opens the add-folder dialog.
    h.ui.Run([&] {
        h.tree->SendMessage(WM_COMMAND, CServerTreeCtrl::kCmdUploadHere);
        h.tree->SelectItem(h.treeView->GetServerHomeNode());
        h.tree->SendMessage(WM_COMMAND, CServerTreeCtrl::kCmdUploadHere);
        h.tree->SendMessage(WM_COMMAND, CServerTreeCtrl::kCmdNewFolder);
    });
    EXPECT_EQ(1, h.link.uploadCommands);
    EXPECT_EQ(1, h.link.addFolderCommands);
    EXPECT_EQ(0, h.Logged(".MKDIR"));
}

POINT CentreOf(CServerTreeCtrl& tree, HTREEITEM item) {
    RECT rect{};
    tree.GetItemRect(item, &rect, TRUE);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

TEST_F(ServerTreeTest, ARightClickSelectsTheNodeUnderItAndShowsTheMenuOnce) {
    h.InitRoots(true, false, 1);
    ModalScript script;
    script.AnswerMenu({VK_ESCAPE});
    h.ui.Run([&] {
        h.tree->Expand(h.treeView->GetMyFolderNode(), TVE_EXPAND);
        POINT at = CentreOf(*h.tree, h.Child(h.treeView->GetMyFolderNode(), "사진"));
        h.tree->SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
        h.tree->SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    });
    h.ui.WaitIdle();
    EXPECT_EQ(0u, script.Pending());
    EXPECT_EQ("myfolder/사진/", h.Selected());

    // Beside every node: the selection stays and the menu still comes.
    script.AnswerMenu({VK_ESCAPE});
    h.ui.Run([&] {
        h.tree->SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(230, 470));
        h.tree->SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(230, 470));
    });
    h.ui.WaitIdle();
    EXPECT_EQ(0u, script.Pending());
    EXPECT_EQ("myfolder/사진/", h.Selected());
}

TEST_F(ServerTreeTest, LocalFilesDroppedOnANeverListedRootUploadIntoItsPath) {
    WriteFileBytes(h.local / "one.txt", "1");
    fs::create_directories(h.local / "dir" / "inner");
    WriteFileBytes(h.local / "dir" / "inner" / "two.txt", "22");
    h.InitRoots(true, true, 1);
    ASSERT_EQ("myfolder/", h.Selected());
    h.ui.Run([&] {
        HTREEITEM myhtml = h.treeView->GetMyHtmlNode();
        HTREEITEM hit = h.tree->HitTestNode(CentreOf(*h.tree, myhtml));
        EXPECT_EQ(myhtml, hit);
        HDROP drop = CreateDropFiles({HostToLocalPath((h.local / "one.txt").string()), HostToLocalPath((h.local / "dir").string()),
                                      HostToLocalPath((h.local / "missing").string())},
                                     CentreOf(*h.tree, myhtml), FALSE);
        h.tree->SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(drop));
    });
    ASSERT_EQ(1u, h.link.transfers.size());
    const RecordingLink::Transfer& up = h.link.transfers[0];
    EXPECT_EQ(1, up.direction);
    EXPECT_EQ("myhtml/", up.target);
    EXPECT_EQ(1, up.noWait);
    EXPECT_FALSE(up.list->IsServerSide());
    EXPECT_EQ(HostToLocalPath(h.local.Str()) + "\\", up.list->BaseFolder());
    EXPECT_EQ(3u, up.list->TotalSize()) << "the file and the folder's contents, not the missing name";
    EXPECT_EQ("myfolder/", h.Selected()) << "the drop target is not selected";

    // Server entries dropped back on the tree and drops beside every node do nothing.
    h.ui.Run([&] {
        h.tree->SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(CreateDropFiles({"myfolder/readme.txt"}, CentreOf(*h.tree, h.treeView->GetMyHtmlNode()), FALSE)));
        h.tree->SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(CreateDropFiles({HostToLocalPath((h.local / "one.txt").string())}, POINT{230, 470}, FALSE)));
        h.tree->SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(CreateDropFiles({HostToLocalPath((h.local / "one.txt").string())}, CentreOf(*h.tree, h.treeView->GetServerHomeNode()), FALSE)));
    });
    EXPECT_EQ(1u, h.link.transfers.size());
}

} // namespace
} // namespace ostrana::test
