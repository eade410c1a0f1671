// The server file list: listing lines into rows and records, the three orderings on column
// clicks, new-folder naming, rename and delete with their question, double clicks and drops.
#include <filesystem>
#include <gtest/gtest.h>

#include "platform/base/LocalPath.h"
#include "platform/gdi/ImageList.h"
#include "platform/ole/DropFiles.h"
#include "platform/window/VirtualKeys.h"
#include "server/ServerFileList.h"
#include "server/ServerPaneState.h"
#include "tests/server/ServerPaneHarness.h"

namespace fs = std::filesystem;

namespace ostrana::test {
namespace {

class ServerListTest : public ::testing::Test {
protected:
    void Add(const std::vector<std::string>& utf8Lines) {
        h.ui.Run([&] {
            for (const std::string& line : utf8Lines) h.list->AddServerEntry(Ansi(line));
        });
    }
    ServerPaneHarness h;
};

TEST_F(ServerListTest, ListingLinesBecomeRowsWithTheirRecordsAndColumnTexts) {
    h.ui.Run([&] {
        std::string folder = "unchanged";
        EXPECT_EQ(0, h.list->AddServerEntry("D 0 x 20070305 093000 New Folder", &folder));
        EXPECT_EQ("New Folder", folder);
        std::string none;
        EXPECT_EQ(1, h.list->AddServerEntry("F 1022976 x 20070305 140705 a b.txt", &none));
        EXPECT_TRUE(none.empty());
        EXPECT_EQ(2, h.list->AddServerEntry("F 1023999 x 20070305 120000 big.hwp"));
        EXPECT_EQ(3, h.list->AddServerEntry("F 1048576000 x 20070305 120000 huge"));
        EXPECT_EQ(-1, h.list->AddServerEntry("F 12"));
        EXPECT_EQ(-1, h.list->AddServerEntry(""));
        // A lying server's names and figures never become rows, nodes or later request paths.
        for (const char* line : {"D 0 x 20070305 093000 ..", "D 0 x 20070305 093000 a/../../b", "F 5 x 20070305 093000 .",
                                 "F 5 x 20070305 093000 C:boot.ini", "F 5 x 20070305 093000 esc\x1b[2J",
                                 "F 12x x 20070305 093000 garbled.txt", "F -5 x 20070305 093000 negative.txt"}) {
            std::string name;
            EXPECT_EQ(-1, h.list->AddServerEntry(line, &name)) << line;
            EXPECT_TRUE(name.empty()) << line;
        }
        EXPECT_EQ(4, h.list->GetItemCount());

        const CServerFileList* record = h.list->GetRecord(0);
        ASSERT_NE(nullptr, record);
        EXPECT_EQ(1, record->m_nFolder);
        EXPECT_EQ("0", record->m_strSize);
        EXPECT_EQ("20070305", record->m_strDate);
        EXPECT_EQ("093000", record->m_strTime);
        LVITEMA item{};
        item.mask = LVIF_IMAGE;
        item.iItem = 0;
        ASSERT_TRUE(h.list->GetItem(&item));
        EXPECT_EQ(h.list->GetFolderIconIndex(), item.iImage);
        EXPECT_GE(item.iImage, 0);
        // The folder artwork comes from the module, not a missing system icon.
        EXPECT_EQ("icon 235", ImageListEntry(h.list->GetImageList(LVSIL_SMALL), item.iImage));
        EXPECT_EQ(0u, h.list->GetItemState(0, LVIS_STATEIMAGEMASK));
        EXPECT_EQ(INDEXTOSTATEIMAGEMASK(1), h.list->GetItemState(1, LVIS_STATEIMAGEMASK));
    });
    EXPECT_EQ((std::vector<std::string>{"New Folder", "a b.txt", "big.hwp", "huge"}), h.Rows(0));
    EXPECT_EQ((std::vector<std::string>{"", "999KB", "1,000KB", "1024,000KB"}), h.Rows(1));
    EXPECT_EQ((std::vector<std::string>{"파일 폴더", "텍스트 문서", "HWP 파일", "파일"}), h.Rows(2));
    EXPECT_EQ((std::vector<std::string>{"2007-03-05 오전 9:30", "2007-03-05 오후 2:7", "2007-03-05 오전 12:0", "2007-03-05 오전 12:0"}),
              h.Rows(3));
}

TEST_F(ServerListTest, EntryInfoAnswersFromTheFirstRowOfANameAndPathsFollowTheSelection) {
    h.InitRoots(true, false, 1);
    Add({"F 5 x 20070101 000000 twice", "D 0 x 20080101 000000 twice"});
    h.ui.Run([&] {
        int folder = 7;
        std::string size = "s", date = "d", time = "t";
        EXPECT_FALSE(h.list->GetServerEntryInfo("absent", folder, size, date, time));
        EXPECT_EQ(7, folder);
        EXPECT_EQ("s", size);
        EXPECT_TRUE(h.list->GetServerEntryInfo("twice", folder, size, date, time));
        EXPECT_EQ(0, folder);
        EXPECT_EQ("5", size);
        EXPECT_EQ("20070101", date);
        EXPECT_EQ(-1, h.list->FindRowByText("Twice", 0)) << "names match exactly";
    });
    h.ui.Run([&] { h.list->SelectAllRows(); });
    EXPECT_EQ(5u, h.ui.Get<UINT>([&] { return h.list->GetSelectedCount(); }));
    h.SelectRows({"readme.txt", "문서"});
    std::vector<std::string> paths;
    h.ui.Run([&] { h.list->GetSelectedServerPaths(paths); });
    ASSERT_EQ(2u, paths.size());
    for (std::string& path : paths) path = Utf8(path);
    std::sort(paths.begin(), paths.end());
    EXPECT_EQ((std::vector<std::string>{"myfolder/readme.txt", "myfolder/문서"}), paths);
}

TEST_F(ServerListTest, ColumnClicksStartDescendingAndTurnRoundOnTheSameColumn) {
    Add({"F 1024000 x 20070305 093000 mid", "F 12000 x 20090101 000000 Alpha", "F 1023999 x 20010101 235900 zulu",
         "F 700000 x 20070305 093000 beta"});
    auto click = [&](int column) { h.ui.Run([&] { h.list->SortColumn(column); }); };
    click(1);
    EXPECT_EQ((std::vector<std::string>{"1,000KB", "1,000KB", "684KB", "12KB"}), h.Rows(1));
    click(1);
    EXPECT_EQ((std::vector<std::string>{"12KB", "684KB", "1,000KB", "1,000KB"}), h.Rows(1));
    click(0);
    EXPECT_EQ((std::vector<std::string>{"zulu", "mid", "beta", "Alpha"}), h.Rows(0)) << "case does not count";
    click(0);
    EXPECT_EQ((std::vector<std::string>{"Alpha", "beta", "mid", "zulu"}), h.Rows(0));
    click(3);
    std::vector<std::string> newestFirst = h.Rows(0);
    EXPECT_EQ("Alpha", newestFirst.front());
    EXPECT_EQ("zulu", newestFirst.back());

    // A refresh keeps the order: names ascending.
    click(0);
    click(0);
    h.InitRoots(true, false, 1);
    EXPECT_EQ((std::vector<std::string>{"readme.txt", "문서", "사진"}), h.Rows(0));
}

TEST_F(ServerListTest, ANewFolderTakesTheNextFreeNumberAndOpensForEditing) {
    fs::create_directories(h.Stored("새폴더"));
    fs::create_directories(h.Stored("새폴더1"));
    WriteFileBytes(h.Stored("새폴더.txt"), "not a folder");
    h.InitRoots(true, false, 1);
    h.ui.Run([&] { h.tree->SendMessage(WM_COMMAND, CServerTreeCtrl::kCmdNewFolder); });
    EXPECT_TRUE(fs::is_directory(h.Stored("새폴더2")));
    EXPECT_TRUE(ServerLabelEditing()) << "the new row's name is being edited";
    h.ui.Run([&] {
        HWND edit = h.list->GetEditControl();
        ASSERT_NE(nullptr, edit);
        EXPECT_EQ(Ansi("새폴더2"), h.list->GetCellText(h.list->FindRowByText(Ansi("새폴더2"), 0), 0));
        ::SendMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    h.ui.WaitIdle();
    EXPECT_FALSE(ServerLabelEditing());

    // With the server home selected there is no folder to create in.
    int before = h.Logged(".MKDIR");
    h.ui.Run([&] {
        h.tree->SelectItem(h.treeView->GetServerHomeNode());
        h.list->NewFolder();
    });
    EXPECT_EQ(before, h.Logged(".MKDIR"));
}

NMLVDISPINFOA EndListEdit(int row, char* text) {
    NMLVDISPINFOA info{};
    info.hdr.code = LVN_ENDLABELEDITA;
    info.item.iItem = row;
    info.item.pszText = text;
    return info;
}

TEST_F(ServerListTest, RenamingARowSendsOnlyAChangedName) {
    h.InitRoots(true, false, 1);
    int row = h.ui.Get<int>([&] { return h.list->FindRowByText("readme.txt", 0); });
    std::string same = "readme.txt";
    NMLVDISPINFOA edit = EndListEdit(row, same.data());
    h.NotifyList(edit.hdr);
    EXPECT_EQ(0, h.Logged(".RENAME"));
    EXPECT_EQ(3u, h.Rows().size());

    std::string fresh = Ansi("읽기.txt");
    edit = EndListEdit(row, fresh.data());
    h.NotifyList(edit.hdr);
    EXPECT_EQ(1, h.Logged(".RENAME", 1));
    EXPECT_TRUE(fs::exists(h.Stored("읽기.txt")));
    std::vector<std::string> rows = h.Rows();
    EXPECT_NE(rows.end(), std::find(rows.begin(), rows.end(), "읽기.txt")) << "the folder is listed again";
}

TEST_F(ServerListTest, DeletingSelectedRowsAsksWithTheirCountAndRefreshesTheQuota) {
    WriteFileBytes(h.Stored("x1"), "1");
    WriteFileBytes(h.Stored("x2"), "2");
    WriteFileBytes(h.Stored("x3"), "3");
    h.InitRoots(true, false, 1);
    h.SelectRows({"x1", "x2", "x3"});
    h.boxes->QueueAnswer(IDNO);
    h.ui.Run([&] { h.list->SendMessage(WM_COMMAND, CServerListCtrl::kCmdDelete); });
    ASSERT_EQ(1u, h.boxes->Boxes().size());
    EXPECT_EQ("3개의 파일을 정말로 삭제하시겠습니까 ?", Utf8(h.boxes->Boxes()[0].text));
    EXPECT_EQ("파일 삭제 확인", Utf8(h.boxes->Boxes()[0].caption));
    EXPECT_TRUE(fs::exists(h.Stored("x2")));
    EXPECT_EQ(0, h.link.quotaRefreshes);

    h.boxes->QueueAnswer(IDYES);
    h.ui.Run([&] { h.list->SendMessage(UWM_LIST_DELETE); });
    EXPECT_FALSE(fs::exists(h.Stored("x1")) || fs::exists(h.Stored("x2")) || fs::exists(h.Stored("x3")));
    EXPECT_EQ(3, h.Logged(".REMOVE", 3));
    EXPECT_EQ(1, h.link.quotaRefreshes);
    EXPECT_EQ(3u, h.Rows().size());

    h.SelectRows({"readme.txt"});
    h.boxes->QueueAnswer(IDNO);
    h.ui.Run([&] { h.list->DeleteSelected(); });
    EXPECT_EQ("readme.txt 파일을 정말로 삭제하시겠습니까 ?", Utf8(h.boxes->Boxes().back().text));
    h.SelectRows({});
    h.ui.Run([&] { h.list->DeleteSelected(); });
    EXPECT_EQ(3u, h.boxes->Boxes().size()) << "nothing selected asks nothing";
}

TEST_F(ServerListTest, DoubleClickingAFolderRowSelectsItsNodeAndFilesDoNothing) {
    h.InitRoots(true, false, 1);
    auto doubleClick = [&](const std::string& name) {
        NMITEMACTIVATE activate{};
        activate.hdr.code = NM_DBLCLK;
        activate.iItem = h.ui.Get<int>([&] { return h.list->FindRowByText(Ansi(name), 0); });
        h.NotifyList(activate.hdr);
    };
    doubleClick("readme.txt");
    EXPECT_EQ("myfolder/", h.Selected());
    doubleClick("문서");
    EXPECT_EQ("myfolder/문서/", h.Selected());
    EXPECT_EQ((std::vector<std::string>{"안내.txt"}), h.Rows());
}

TEST_F(ServerListTest, LocalFilesDroppedOnTheListUploadIntoTheShownFolderAndItsOwnRowsDoNothing) {
    WriteFileBytes(h.local / "up.txt", "up");
    h.InitRoots(true, false, 1);
    h.Open({"사진"});
    auto drop = [&](const std::vector<std::string>& names) {
        h.ui.Run([&] { h.list->SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(CreateDropFiles(names, POINT{10, 40}, FALSE))); });
    };
    drop({"myfolder/readme.txt"});
    EXPECT_TRUE(h.link.transfers.empty());
    drop({HostToLocalPath((h.local / "up.txt").string())});
    ASSERT_EQ(1u, h.link.transfers.size());
    EXPECT_EQ(1, h.link.transfers[0].direction);
    EXPECT_EQ(Ansi("myfolder/사진/"), h.link.transfers[0].target);
    EXPECT_EQ(1u, h.link.transfers[0].list->Count());

    // The server home has no folder to upload into.
    h.ui.Run([&] { h.tree->SelectItem(h.treeView->GetServerHomeNode()); });
    drop({HostToLocalPath((h.local / "up.txt").string())});
    EXPECT_EQ(1u, h.link.transfers.size());
}

TEST_F(ServerListTest, MenuCommandsReachTheMainWindow) {
    h.InitRoots(true, false, 1);
    h.ui.Run([&] {
        h.list->SendMessage(WM_COMMAND, CServerListCtrl::kCmdUpload);
        h.list->SendMessage(WM_COMMAND, CServerListCtrl::kCmdDownload);
    });
    EXPECT_EQ(1, h.link.uploadCommands);
    EXPECT_EQ(1, h.link.downloadCommands);
    std::size_t listed = h.link.paths.size();
    h.ui.Run([&] { h.list->SendMessage(WM_COMMAND, CServerListCtrl::kCmdRefresh); });
    EXPECT_EQ(listed + 1, h.link.paths.size());
}

} // namespace
} // namespace ostrana::test
