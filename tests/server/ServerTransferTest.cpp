// Transfer lists built by the server tree: server entries dragged to a local folder (files,
// folders with everything below them, empty folders, rows no longer listed), the download
// command's paths, and the upload command's local items.
#include <filesystem>
#include <gtest/gtest.h>

#include "platform/base/LocalPath.h"
#include "platform/ole/DropFiles.h"
#include "platform/window/Input.h"
#include "tests/server/ServerPaneHarness.h"

#include <condition_variable>
#include <mutex>

namespace fs = std::filesystem;

namespace ostrana::test {
namespace {

class ServerTransferTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(h.Stored("a/sub/deeper"));
        fs::create_directories(h.Stored("a/sub/empty"));
        WriteFileBytes(h.Stored("a/x.txt"), "xxxx");
        WriteFileBytes(h.Stored("a/sub/y.txt"), "yy");
        WriteFileBytes(h.Stored("a/sub/deeper/z.bin"), "zzz");
        h.InitRoots(true, false, 1);
        h.Open({"a"});
    }
    // The list's entries as "D path" / "F path size".
    static std::vector<std::string> Entries(const TransferList& list) {
        std::vector<std::string> entries;
        for (std::size_t i = 0; i < list.Count(); ++i) {
            const TransferItem& item = list.ItemAt(i);
            entries.push_back(item.IsFolder() ? "D " + item.m_strPath : "F " + item.m_strPath + " " + std::to_string(item.m_nSize));
        }
        return entries;
    }
    ServerPaneHarness h;
};

TEST_F(ServerTransferTest, ServerRowsDroppedOnALocalFolderBecomeADownloadOfEverythingBelowThem) {
    h.SelectRows({"x.txt", "sub"});
    h.ui.Run([&] {
        std::vector<std::string> paths;
        h.list->GetSelectedServerPaths(paths);
        HDROP drop = CreateDropFiles(paths, POINT{}, FALSE);
        h.tree->TransferDroppedFiles(0, "C:\\Temp", drop);
        DragFinish(drop);
    });
    ASSERT_EQ(1u, h.link.transfers.size());
    const RecordingLink::Transfer& down = h.link.transfers[0];
    EXPECT_EQ(0, down.direction);
    EXPECT_EQ("C:\\Temp\\", down.target);
    EXPECT_EQ(1, down.noWait);
    EXPECT_TRUE(down.list->IsServerSide());
    EXPECT_EQ("myfolder/a/", down.list->BaseFolder());
    std::vector<std::string> entries = Entries(*down.list);
    ASSERT_GE(entries.size(), 2u);
    // Listing order within a folder is the server's; the folder comes before its contents.
    std::vector<std::string> sorted(entries.begin() + 2, entries.end());
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ((std::vector<std::string>{"F myfolder/a/x.txt 4", "D myfolder/a/sub/"}), std::vector<std::string>(entries.begin(), entries.begin() + 2));
    EXPECT_EQ((std::vector<std::string>{"D myfolder/a/sub/deeper/", "D myfolder/a/sub/empty/", "F myfolder/a/sub/deeper/z.bin 3",
                                        "F myfolder/a/sub/y.txt 2"}),
              sorted);
    EXPECT_EQ(3, h.Logged(".DIR \"myfolder/a/sub", 3)) << "one listing per folder below";
}

// A top-level window that accepts dropped files and keeps their names.
class FileDropWindow {
public:
    explicit FileDropWindow(RECT screen) {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = &FileDropWindow::Procedure;
        windowClass.lpszClassName = "ServerDragTestTarget";
        RegisterClassA(&windowClass);
        m_window = CreateWindowExA(0, windowClass.lpszClassName, "", WS_POPUP | WS_VISIBLE, screen.left, screen.top,
                                   screen.right - screen.left, screen.bottom - screen.top, nullptr, nullptr, nullptr, nullptr);
        SetWindowLongPtrA(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        DragAcceptFiles(m_window, TRUE);
    }
    ~FileDropWindow() { DestroyWindow(m_window); }
    std::vector<std::string> WaitForNames() {
        std::unique_lock lock(m_lock);
        m_dropped.wait_for(lock, std::chrono::seconds(10), [&] { return !m_names.empty(); });
        return m_names;
    }

private:
    static LRESULT Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<FileDropWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (message == WM_DROPFILES && self != nullptr) {
            auto drop = reinterpret_cast<HDROP>(wParam);
            {
                std::lock_guard guard(self->m_lock);
                self->m_names = DragQueryFiles(drop);
            }
            DragFinish(drop);
            self->m_dropped.notify_all();
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
    HWND m_window = nullptr;
    std::mutex m_lock;
    std::condition_variable m_dropped;
    std::vector<std::string> m_names;
};

TEST_F(ServerTransferTest, DraggingARowOffersItsFullServerPathAsDroppedFiles) {
    ResetInputState();
    std::unique_ptr<FileDropWindow> target;
    POINT row{};
    h.ui.Run([&] {
        target = std::make_unique<FileDropWindow>(RECT{700, 100, 900, 300});
        RECT rect{};
        h.list->GetItemRect(h.list->FindRowByText("x.txt", 0), &rect, LVIR_LABEL);
        row = POINT{rect.left + 10, (rect.top + rect.bottom) / 2};
        h.list->ClientToScreen(&row);
    });
    h.SelectRows({"x.txt"});
    InjectMouseButton(MouseButton::Left, true, row);
    InjectMouseMove(POINT{row.x + 30, row.y + 30});
    InjectMouseMove(POINT{750, 150});
    InjectMouseMove(POINT{760, 160});
    InjectMouseButton(MouseButton::Left, false, POINT{760, 160});
    EXPECT_EQ((std::vector<std::string>{"myfolder/a/x.txt"}), target->WaitForNames());
    h.ui.WaitIdle();
    EXPECT_TRUE(h.link.transfers.empty());
    h.ui.Run([&] { target.reset(); });
}

TEST_F(ServerTransferTest, TheDownloadCommandKeepsATrailingBackslashAndANameWithoutARowCountsAsAFile) {
    std::vector<std::string> paths{"myfolder/a/sub", "myfolder/a/gone.txt"};
    h.ui.Run([&] { h.tree->DownloadServerPaths("C:\\Down\\", &paths, 0); });
    ASSERT_EQ(1u, h.link.transfers.size());
    EXPECT_EQ("C:\\Down\\", h.link.transfers[0].target);
    EXPECT_EQ(0, h.link.transfers[0].noWait);
    std::vector<std::string> entries = Entries(*h.link.transfers[0].list);
    EXPECT_EQ("D myfolder/a/sub/", entries.front());
    EXPECT_EQ("F myfolder/a/gone.txt 0", entries.back());

    // Nothing to do: no target, no paths.
    std::vector<std::string> none;
    h.ui.Run([&] {
        h.tree->DownloadServerPaths("", &paths, 1);
        h.tree->DownloadServerPaths("C:\\Down", &none, 1);
        h.tree->DownloadServerPaths("C:\\Down", nullptr, 1);
    });
    EXPECT_EQ(1u, h.link.transfers.size());
}

TEST_F(ServerTransferTest, AnEmptyServerFolderStillGivesItsFolderEntry) {
    h.Open({"a", "sub"});
    h.SelectRows({"empty"});
    h.ui.Run([&] {
        std::vector<std::string> paths;
        h.list->GetSelectedServerPaths(paths);
        h.tree->DownloadServerPaths("C:\\Temp", &paths, 1);
    });
    ASSERT_EQ(1u, h.link.transfers.size());
    EXPECT_EQ((std::vector<std::string>{"D myfolder/a/sub/empty/"}), Entries(*h.link.transfers[0].list));
}

TEST_F(ServerTransferTest, UploadItemsHereTakesLocalFilesAndFoldersIntoTheSelectedFolder) {
    WriteFileBytes(h.local / "f.txt", "12345");
    fs::create_directories(h.local / "d");
    WriteFileBytes(h.local / "d" / "g.txt", "678");
    TransferList chosen;
    chosen.AddLocalPath(HostToLocalPath((h.local / "f.txt").string()));
    chosen.AddLocalPath(HostToLocalPath((h.local / "d").string()));
    chosen.AddLocalPath(HostToLocalPath((h.local / "nothing").string()));
    h.ui.Run([&] { h.tree->UploadItemsHere(chosen); });
    ASSERT_EQ(1u, h.link.transfers.size());
    const RecordingLink::Transfer& up = h.link.transfers[0];
    EXPECT_EQ(1, up.direction);
    EXPECT_EQ("myfolder/a/", up.target);
    EXPECT_EQ(8u, up.list->TotalSize());
    EXPECT_EQ(HostToLocalPath(h.local.Str()) + "\\", up.list->BaseFolder());

    // With the server home selected there is no target.
    h.ui.Run([&] {
        h.tree->SelectItem(h.treeView->GetServerHomeNode());
        h.tree->UploadItemsHere(chosen);
    });
    EXPECT_EQ(1u, h.link.transfers.size());
}

} // namespace
} // namespace ostrana::test
