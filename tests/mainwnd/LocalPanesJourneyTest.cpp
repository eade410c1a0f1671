// The main window with the shell's local panes over a home, a D: drive and a registry of the
// test's own, against the real service: a server folder dragged onto the local list lands in the
// folder the tree shows and the list refills once; a row selected in the local list goes up with
// the upload button; a second download asks before replacing. Plus the painted window.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "mainwnd/OstranaDlg.h"
#include "platform/base/LocalPath.h"
#include "platform/controls/CommCtrl.h"
#include "platform/window/Input.h"
#include "platform/window/MessageBox.h"
#include "platform/window/VirtualKeys.h"
#include "res/ResourceIds.h"
#include "server/ServerListView.h"
#include "server/ServerTreeView.h"
#include "shell/IEShellListCtrl.h"
#include "shell/IEShellTreeCtrl.h"
#include "shell/ShellLocalPanes.h"
#include "tests/mainwnd/JourneySupport.h"
#include "tests/support/Golden.h"
#include "tests/support/ModalScript.h"
#include "tests/support/ShellSandbox.h"
#include "tests/support/TempDir.h"
#include "tests/support/WindowHarness.h"

namespace fs = std::filesystem;

namespace ostrana::test {
namespace {

class LocalPanesJourney : public JourneyFixture {
protected:
    LocalPanesJourney() : JourneyFixture("LocalPanesJourneyHost") {}

    void SetUp() override {
        ResetInputState();
        m_sandbox.MakeFile(Work("notes.txt"), "local notes");
        m_sandbox.MakeFile(Work("가계부.csv"), std::string(2500, 'x'));
        m_sandbox.MakeFile(Work("보관함/old.txt"), "old");
        m_sandbox.MakeFolder(Work("images"));
        StampTimes(m_sandbox.DriveD());
        JourneyFixture::SetUp();
    }

    void TearDown() override {
        m_ui.Run([&] {
            m_refills.reset();
            m_panes = nullptr;
        });
        JourneyFixture::TearDown();
        ResetInputState();
    }

    // The watchers stay off: the list refills only when the window asks it to, which is what the
    // journeys count.
    std::unique_ptr<LocalPaneLink> MakeLocalPanes() override {
        auto panes = std::make_unique<ShellLocalPanes>(false);
        m_panes = panes.get();
        return panes;
    }

    fs::path Work(const std::string& utf8Relative = {}) const {
        const fs::path work = m_sandbox.DriveD() / "work";
        return utf8Relative.empty() ? work : work / fs::u8path(utf8Relative);
    }

    // Logged in from the page's start, with the local tree on D:\work.
    void OpenOnWork() {
        ASSERT_NO_FATAL_FAILURE(OpenLoggedIn());
        ASSERT_NE(nullptr, m_panes);
        const std::string work = m_sandbox.LocalD("work");
        m_ui.Run([&] { m_panes->Tree()->SendMessage(UWM_SELECT_PATH, 0, reinterpret_cast<LPARAM>(work.c_str())); });
        m_ui.WaitIdle();
        ASSERT_EQ(work, m_ui.Get<std::string>([&] { return m_panes->CurrentFolderPath(); }));
        // Every fill of the list starts by emptying it.
        m_refills = std::make_unique<MessageRecorder>(ListHwnd(), std::vector<UINT>{LVM_DELETEALLITEMS});
    }

    HWND ListHwnd() { return m_ui.Get<HWND>([&] { return m_panes->ListControl(); }); }
    int Refills() const { return static_cast<int>(m_refills->Messages().size()); }

    std::vector<std::string> LocalRows() {
        return m_ui.Get<std::vector<std::string>>([&] {
            std::vector<std::string> rows;
            CIEShellListCtrl* list = m_panes->List();
            for (int row = 0; row < list->GetItemCount(); ++row) rows.push_back(Utf8(list->GetItemText(row, 0)));
            return rows;
        });
    }

    POINT LocalRowPoint(const std::string& utf8Name) {
        return m_ui.Get<POINT>([&] {
            CIEShellListCtrl* list = m_panes->List();
            POINT point{-1, -1};
            for (int row = 0; row < list->GetItemCount(); ++row) {
                if (Utf8(list->GetItemText(row, 0)) != utf8Name) continue;
                RECT rect{};
                list->GetItemRect(row, &rect, LVIR_LABEL);
                point = POINT{rect.left + 6, (rect.top + rect.bottom) / 2};
                list->ClientToScreen(&point);
            }
            return point;
        });
    }

    // Below the last row of the local list, where a drop means the folder the list shows.
    POINT LocalListBlank() {
        RECT rect{};
        GetWindowRect(ListHwnd(), &rect);
        return POINT{(rect.left + rect.right) / 2, rect.bottom - 30};
    }

    // Presses on the server row (which selects it), moves past the drag threshold and over the target, releases.
    void DragServerRow(const std::string& utf8Name, POINT target) {
        // A press soon after the last one on the same row would be a double click.
        ResetInputState();
        const POINT from = ServerRowPoint(utf8Name);
        InjectMouseButton(MouseButton::Left, true, from);
        InjectMouseMove(POINT{from.x + 20, from.y + 20});
        InjectMouseMove(POINT{target.x - 5, target.y - 5});
        InjectMouseMove(target);
        InjectMouseButton(MouseButton::Left, false, target);
    }

    ShellSandbox m_sandbox;
    ShellLocalPanes* m_panes = nullptr;
    std::unique_ptr<MessageRecorder> m_refills;
};

TEST_F(LocalPanesJourney, AServerFolderDraggedOntoTheLocalListLandsInTheShownFolderAndTheListRefillsOnce) {
    fs::create_directories(Stored("문서/하위"));
    ASSERT_TRUE(WriteFileBytes(Stored("문서/하위/깊은.txt"), "deep"));
    OpenOnWork();
    EXPECT_FALSE(Has(LocalRows(), "문서"));
    DragServerRow("문서", LocalListBlank());
    ASSERT_TRUE(m_window->WaitForTransfersHandled(1));
    m_ui.WaitIdle();

    EXPECT_EQ(ReadFileBytes(Stored("문서/안내.txt")), ReadFileBytes(Work("문서/안내.txt")));
    EXPECT_EQ("deep", ReadFileBytes(Work("문서/하위/깊은.txt")));
    EXPECT_FALSE(fs::exists(Work("안내.txt"))) << "the folder comes down whole, not its contents";
    EXPECT_TRUE(Has(LocalRows(), "문서"));
    EXPECT_TRUE(m_ui.Get<bool>([&] { return m_panes->List()->AutoRefresh().load(); }));
    EXPECT_EQ(1, Refills());
    EXPECT_TRUE(m_boxes->Boxes().empty());
    EXPECT_FALSE(m_ui.Get<bool>([&] { return m_window->HasTransferJob(); }));
}

TEST_F(LocalPanesJourney, TheLocalTreeTakesNoDropOfServerItemsTheListDoes) {
    OpenOnWork();
    const POINT archive = m_ui.Get<POINT>([&] {
        CIEShellTreeCtrl* tree = m_panes->Tree();
        HTREEITEM work = tree->GetSelectedItem();
        tree->Expand(work, TVE_EXPAND);
        HTREEITEM node = tree->FindChildByText(work, Ansi("보관함"));
        if (node == nullptr) return POINT{-1, -1};
        RECT rect{};
        tree->GetItemRect(node, &rect, TRUE);
        POINT point{rect.left + 6, (rect.top + rect.bottom) / 2};
        tree->ClientToScreen(&point);
        return point;
    });
    ASSERT_GE(archive.x, 0) << "D:\\work shows its subfolders in the tree";
    DragServerRow("readme.txt", archive);
    // The drags are served in order: once the second one's download is done, the first is over.
    DragServerRow("readme.txt", LocalListBlank());
    ASSERT_TRUE(m_window->WaitForTransfersHandled(1));
    m_ui.WaitIdle();
    EXPECT_FALSE(fs::exists(Work("보관함/readme.txt")));
    EXPECT_EQ(ReadFileBytes(Stored("readme.txt")), ReadFileBytes(Work("readme.txt")));
    EXPECT_FALSE(m_window->WaitForTransfersHandled(2, 0));
    EXPECT_TRUE(m_boxes->Boxes().empty());
}

TEST_F(LocalPanesJourney, ARowSelectedInTheLocalListGoesUpWithTheUploadButton) {
    OpenOnWork();
    const std::string quota = QuotaText();
    InjectClick(MouseButton::Left, LocalRowPoint("가계부.csv"));
    m_ui.WaitIdle();
    ASSERT_EQ(std::vector<std::string>{Ansi(m_sandbox.LocalD("work\\가계부.csv"))},
              m_ui.Get<std::vector<std::string>>([&] { return m_panes->SelectedPaths(); }));
    ClickItem(IDC_MAIN_UPLOAD);
    ASSERT_TRUE(m_window->WaitForTransfersHandled(1));
    m_ui.WaitIdle();

    EXPECT_EQ(std::string(2500, 'x'), ReadFileBytes(Stored("가계부.csv")));
    EXPECT_FALSE(fs::exists(Stored("notes.txt"))) << "only the selected row goes";
    EXPECT_TRUE(Has(ServerRows(), "가계부.csv"));
    EXPECT_NE(quota, QuotaText());
    EXPECT_TRUE(m_boxes->Boxes().empty());
}

TEST_F(LocalPanesJourney, AFolderAndAFileSelectedTogetherGoUpWithTheFolderWhole) {
    OpenOnWork();
    InjectClick(MouseButton::Left, LocalRowPoint("보관함"));
    // The click gives the list the focus that the key then goes to.
    m_ui.WaitIdle();
    InjectKey(VK_CONTROL, true);
    InjectClick(MouseButton::Left, LocalRowPoint("notes.txt"));
    InjectKey(VK_CONTROL, false);
    m_ui.WaitIdle();
    ASSERT_EQ(2u, m_ui.Get<std::vector<std::string>>([&] { return m_panes->SelectedPaths(); }).size());
    ClickItem(IDC_MAIN_UPLOAD);
    ASSERT_TRUE(m_window->WaitForTransfersHandled(1));
    m_ui.WaitIdle();

    EXPECT_EQ("old", ReadFileBytes(Stored("보관함/old.txt")));
    EXPECT_EQ("local notes", ReadFileBytes(Stored("notes.txt")));
    EXPECT_FALSE(fs::exists(Stored("가계부.csv")));
    const std::vector<std::string> rows = ServerRows();
    EXPECT_TRUE(Has(rows, "보관함") && Has(rows, "notes.txt"));
    EXPECT_TRUE(m_boxes->Boxes().empty());
}

TEST_F(LocalPanesJourney, ADropWhileTheTreeShowsAVirtualFolderStartsNothingAndKeepsAutoRefreshOn) {
    OpenOnWork();
    const bool selected = m_ui.Get<bool>([&] {
        CIEShellTreeCtrl* tree = m_panes->Tree();
        HTREEITEM computer = tree->FindChildByText(tree->GetRootItem(), Ansi("내 컴퓨터"));
        return computer != nullptr && tree->SelectItem(computer);
    });
    ASSERT_TRUE(selected);
    m_ui.WaitIdle();
    ASSERT_EQ("", m_ui.Get<std::string>([&] { return m_panes->CurrentFolderPath(); }));
    DragServerRow("readme.txt", LocalListBlank());
    m_ui.WaitIdle();
    EXPECT_TRUE(m_ui.Get<bool>([&] { return m_panes->List()->AutoRefresh().load(); }));

    // Back on a folder the same drag downloads; it is the first transfer, so the drop before started none.
    const std::string work = m_sandbox.LocalD("work");
    m_ui.Run([&] { m_panes->Tree()->SendMessage(UWM_SELECT_PATH, 0, reinterpret_cast<LPARAM>(work.c_str())); });
    m_ui.WaitIdle();
    DragServerRow("readme.txt", LocalListBlank());
    ASSERT_TRUE(m_window->WaitForTransfersHandled(1));
    EXPECT_FALSE(m_window->WaitForTransfersHandled(2, 0));
    EXPECT_EQ(ReadFileBytes(Stored("readme.txt")), ReadFileBytes(Work("readme.txt")));
    EXPECT_TRUE(m_boxes->Boxes().empty());
}

TEST_F(LocalPanesJourney, ASecondDownloadAsksBeforeReplacingTheLocalFile) {
    OpenOnWork();
    const std::string server = ReadFileBytes(Stored("readme.txt"));
    DragServerRow("readme.txt", LocalListBlank());
    ASSERT_TRUE(m_window->WaitForTransfersHandled(1));
    ASSERT_EQ(server, ReadFileBytes(Work("readme.txt")));

    ModalScript script;
    script.AnswerDialog(Ansi(kOverwriteCaption), {IDCANCEL});
    ASSERT_TRUE(WriteFileBytes(Work("readme.txt"), "edited here"));
    DragServerRow("readme.txt", LocalListBlank());
    ASSERT_TRUE(m_window->WaitForTransfersHandled(2));
    EXPECT_EQ("edited here", ReadFileBytes(Work("readme.txt"))) << "No keeps the local file";

    script.AnswerDialog(Ansi(kOverwriteCaption), {IDOK});
    DragServerRow("readme.txt", LocalListBlank());
    ASSERT_TRUE(m_window->WaitForTransfersHandled(3));
    EXPECT_EQ(server, ReadFileBytes(Work("readme.txt")));
    EXPECT_EQ(0u, script.Pending());
    EXPECT_EQ(2u, script.Answered().size());
    m_ui.WaitIdle();
    EXPECT_EQ(3, Refills()) << "one refill after each transfer";
}

TEST_F(LocalPanesJourney, ADownloadCancelledInTheProgressWindowStillGivesTheListBackItsRefills) {
    // Every file is on the local disk already: the first one's prompt holds the job while Cancel is pressed.
    fs::create_directories(Stored("묶음"));
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
        ASSERT_TRUE(WriteFileBytes(Stored(std::string("묶음/") + name), "server"));
        m_sandbox.MakeFile(Work(std::string("묶음/") + name), "local");
    }
    OpenOnWork();
    WindowWaiter waiter;
    DragServerRow("묶음", LocalListBlank());
    HWND progress = nullptr;
    ASSERT_NO_FATAL_FAILURE(CancelWhileThePromptWaits(waiter, progress));
    ASSERT_TRUE(m_window->WaitForTransfersHandled(1));
    m_ui.WaitIdle();

    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
        EXPECT_EQ("local", ReadFileBytes(Work(std::string("묶음/") + name))) << name;
    }
    EXPECT_FALSE(IsWindow(progress));
    EXPECT_TRUE(m_ui.Get<bool>([&] { return m_panes->List()->AutoRefresh().load(); }));
    EXPECT_EQ(1, Refills());
    EXPECT_FALSE(m_ui.Get<bool>([&] { return m_window->HasTransferJob(); }));
}

TEST_F(LocalPanesJourney, TheLoggedInWindowPaintsBothLocalPanesFilled) {
    OpenOnWork();
    // Sorted by name, the server rows do not depend on the order the service's disk lists them in.
    HWND list = m_ui.Get<HWND>([&] { return m_window->ServerListPane()->GetServerList()->m_hWnd; });
    RECT header{};
    GetWindowRect(GetWindow(list, GW_CHILD), &header);
    InjectClick(MouseButton::Left, POINT{header.left + 20, header.top + 8});
    std::string dump;
    m_ui.Run([&] {
        PumpUntilIdle();
        dump = DumpWindowTree(m_window->m_hWnd);
    });
    EXPECT_TRUE(MatchesGolden(OSTRANA_GOLDEN_DIR, "main_window_logged_in", dump));
}

} // namespace
} // namespace ostrana::test
