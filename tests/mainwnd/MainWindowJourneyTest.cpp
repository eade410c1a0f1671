// The main window against the real service, driven as a user drives it: logging in through the
// panel, the quota, a new server folder, uploads with the button (the file dialog or the local
// selection), a download into the local folder, the overwrite prompt, Cancel in the progress
// window; each checked on the service's storage or the local disk.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "mainwnd/AddFolderDlg.h"
#include "mainwnd/LogInDlg.h"
#include "mainwnd/MainWindowMessages.h"
#include "mainwnd/OstranaDlg.h"
#include "mainwnd/PlaceholderLocalPanes.h"
#include "mainwnd/SettingsStore.h"
#include "mainwnd/UploadFileDlg.h"
#include "platform/base/CodePage.h"
#include "platform/base/LocalPath.h"
#include "platform/controls/CommCtrl.h"
#include "platform/window/DisplayObserver.h"
#include "platform/window/Input.h"
#include "platform/window/MessageBox.h"
#include "platform/window/VirtualKeys.h"
#include "res/ResourceIds.h"
#include "server/ServerListView.h"
#include "server/ServerTreeView.h"
#include "tests/mainwnd/JourneySupport.h"
#include "tests/support/Golden.h"
#include "tests/support/ModalScript.h"
#include "tests/support/TempDir.h"
#include "tests/support/WindowHarness.h"
#include "transfer/TransferStarter.h"

namespace fs = std::filesystem;

namespace ostrana::test {
namespace {

// The placeholder panes, remembering each change of the list's auto-refresh flag.
class RecordingLocalPanes : public PlaceholderLocalPanes {
public:
    void SetAutoRefresh(bool allowed) override {
        m_changes.push_back(allowed);
        PlaceholderLocalPanes::SetAutoRefresh(allowed);
    }
    std::vector<bool> m_changes;
};

class MainWindowJourney : public JourneyFixture {
protected:
    MainWindowJourney() : JourneyFixture("MainWindowJourneyHost") {}

    std::unique_ptr<LocalPaneLink> MakeLocalPanes() override {
        auto panes = std::make_unique<RecordingLocalPanes>();
        m_local = panes.get();
        m_local->SetCurrentFolderPath(HostToLocalPath(m_localDir.Str()));
        return panes;
    }

    void OpenLoggedIn() {
        ASSERT_NO_FATAL_FAILURE(JourneyFixture::OpenLoggedIn());
        ASSERT_TRUE(WorkspaceShown());
    }

    bool WorkspaceShown() {
        return m_ui.Get<bool>([&] {
            return m_window->ServerTreePane() != nullptr && IsWindowVisible(m_window->ServerTreePane()->m_hWnd);
        });
    }

    std::string LocalPath(const std::string& name) const { return HostToLocalPath((m_localDir / name).string()); }

    // Uploads the named local files as the local list's selection, with the upload button.
    void UploadSelected(const std::vector<std::string>& names) {
        std::vector<std::string> paths;
        for (const std::string& name : names) paths.push_back(LocalPath(name));
        m_ui.Run([&] { m_local->SetSelectedPaths(paths); });
        ClickItem(IDC_MAIN_UPLOAD);
    }

    void Upload(const std::vector<std::string>& names, int transfersSoFar) {
        UploadSelected(names);
        ASSERT_TRUE(m_window->WaitForTransfersHandled(transfersSoFar + 1));
    }

    ScopedRegistryFile m_registry;
    TempDir m_localDir;
    RecordingLocalPanes* m_local = nullptr;
};

TEST_F(MainWindowJourney, LogsInThroughThePanelAndShowsTheUserTheQuotaAndMyFolder) {
    Open("", "", "");
    HWND panel = m_ui.Get<HWND>([&] { return m_window->LoginDialog()->m_hWnd; });
    std::string dump;
    m_ui.Run([&] { dump = DumpWindowTree(panel); });
    EXPECT_TRUE(MatchesGolden(OSTRANA_GOLDEN_DIR, "login_panel", dump));

    // The typed server names the service's port after a colon.
    TypeInto(GetDlgItem(panel, IDC_LOGIN_SERVER), m_service.Host() + ":" + std::to_string(m_service.Port()));
    TypeInto(GetDlgItem(panel, IDC_LOGIN_USER_ID), "demo");
    TypeInto(GetDlgItem(panel, IDC_LOGIN_PASSWORD), "wrong");
    InjectKeyPress(VK_RETURN);
    m_ui.WaitIdle();
    ASSERT_EQ(1u, m_boxes->Boxes().size());
    EXPECT_EQ("서버에 로그인을 실패하였습니다.", Utf8(m_boxes->Boxes()[0].text));
    EXPECT_FALSE(WorkspaceShown());
    ASSERT_TRUE(IsWindow(panel)) << "a refused login keeps the panel";

    m_ui.Run([&] { m_window->LoginDialog()->m_passwordEdit.SetWindowText(""); });
    TypeInto(GetDlgItem(panel, IDC_LOGIN_PASSWORD), "demo1234");
    InjectKeyPress(VK_RETURN);
    m_ui.WaitIdle();
    ASSERT_TRUE(WorkspaceShown());
    EXPECT_FALSE(IsWindow(panel));
    EXPECT_EQ(nullptr, m_ui.Get<CLogInDlg*>([&] { return m_window->LoginDialog(); }));
    EXPECT_EQ("127.0.0.1", m_ui.Get<std::string>([&] { return m_window->Host(); }));
    EXPECT_EQ(m_service.Port(), m_ui.Get<int>([&] { return m_window->Port(); }));
    std::string saved;
    EXPECT_TRUE(GetSettingText("Login\\ServerAddress01", saved));
    EXPECT_EQ(m_service.Host() + ":" + std::to_string(m_service.Port()), saved);

    const std::string user = Utf8(m_ui.Get<std::string>([&] { return m_window->UserLabel().m_text; }));
    EXPECT_NE(std::string::npos, user.find(" (demo)")) << user;
    EXPECT_EQ("1", m_ui.Get<std::string>([&] { return m_window->LevelLabel().m_text; }));
    EXPECT_EQ("myfolder/", m_ui.Get<std::string>([&] { return m_window->PathLabel().m_text; }));
    // 100 MB for the demo account, a few bytes used.
    const std::string quota = QuotaText();
    EXPECT_EQ(0u, quota.find("▶ 사  용  량 : 총 100 MB 중 ")) << quota;
    RECT fill{};
    GetWindowRect(Item(IDC_MAIN_GAUGE_FILL), &fill);
    EXPECT_EQ(1, fill.right - fill.left);
    std::vector<std::string> rows = ServerRows();
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ((std::vector<std::string>{"readme.txt", "문서", "사진"}), rows);
}

TEST_F(MainWindowJourney, NewFolderButtonCreatesTheNextFreeNameOnTheServer) {
    OpenLoggedIn();
    ClickItem(IDC_MAIN_NEW_FOLDER);
    m_ui.WaitIdle();
    EXPECT_TRUE(fs::is_directory(Stored("새폴더")));
    // The new row is being renamed; Escape keeps the name.
    EXPECT_EQ("Edit", WindowClassName(m_ui.Get<HWND>([] { return GetFocus(); })));
    InjectKeyPress(VK_ESCAPE);
    m_ui.WaitIdle();
    ClickItem(IDC_MAIN_NEW_FOLDER);
    m_ui.WaitIdle();
    InjectKeyPress(VK_ESCAPE);
    m_ui.WaitIdle();
    EXPECT_TRUE(fs::is_directory(Stored("새폴더1")));
    const std::vector<std::string> rows = ServerRows();
    EXPECT_TRUE(Has(rows, "새폴더1"));
}

TEST_F(MainWindowJourney, UploadButtonWithoutSelectionSendsTheFilesChosenInTheDialog) {
    ASSERT_TRUE(WriteFileBytes(m_localDir / "a-first.txt", std::string(3000, 'a')));
    ASSERT_TRUE(WriteFileBytes(m_localDir / "b-second.txt", "second"));
    OpenLoggedIn();
    const std::string before = QuotaText();

    WindowWaiter waiter;
    ClickItem(IDC_MAIN_UPLOAD);
    HWND dialog = waiter.WaitForTopLevel("#32770", Ansi("열기"));
    ASSERT_NE(nullptr, dialog);
    HWND files = GetDlgItem(dialog, IDC_UPLOAD_FILES);
    RECT row{};
    m_ui.Run([&] {
        row.left = LVIR_BOUNDS;
        SendMessageA(files, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
        MapWindowPoints(files, nullptr, reinterpret_cast<POINT*>(&row), 2);
    });
    InjectClick(MouseButton::Left, POINT{row.left + 10, (row.top + row.bottom) / 2});
    m_ui.WaitIdle();
    InjectKeyPress(VK_RETURN);
    ASSERT_TRUE(m_window->WaitForTransfersHandled(1));

    EXPECT_EQ(std::string(3000, 'a'), ReadFileBytes(Stored("a-first.txt")));
    EXPECT_FALSE(fs::exists(Stored("b-second.txt"))) << "only the chosen file goes";
    const std::vector<std::string> rows = ServerRows();
    EXPECT_TRUE(Has(rows, "a-first.txt"));
    EXPECT_NE(before, QuotaText()) << "the remaining space shrank";
    EXPECT_FALSE(m_ui.Get<bool>([&] { return m_window->HasTransferJob(); }));
    EXPECT_GE(m_ui.Get<int>([&] { return m_local->Refreshes(); }), 1);
    EXPECT_TRUE(m_boxes->Boxes().empty());
}

TEST_F(MainWindowJourney, OverwritePromptReplacesOnYesAndKeepsTheServerFileOnNo) {
    ASSERT_TRUE(WriteFileBytes(m_localDir / "note.txt", "first"));
    OpenLoggedIn();
    Upload({"note.txt"}, 0);
    ASSERT_EQ("first", ReadFileBytes(Stored("note.txt")));

    ModalScript script;
    script.AnswerDialog(Ansi(kOverwriteCaption), {IDOK});
    ASSERT_TRUE(WriteFileBytes(m_localDir / "note.txt", "second"));
    Upload({"note.txt"}, 1);
    EXPECT_EQ("second", ReadFileBytes(Stored("note.txt")));

    script.AnswerDialog(Ansi(kOverwriteCaption), {IDCANCEL});
    ASSERT_TRUE(WriteFileBytes(m_localDir / "note.txt", "third"));
    Upload({"note.txt"}, 2);
    EXPECT_EQ("second", ReadFileBytes(Stored("note.txt")));
    EXPECT_EQ(0u, script.Pending());
    EXPECT_EQ(2u, script.Answered().size());
}

TEST_F(MainWindowJourney, DownloadButtonFetchesTheSelectedServerFolderIntoTheLocalFolder) {
    fs::create_directories(Stored("문서/하위"));
    ASSERT_TRUE(WriteFileBytes(Stored("문서/하위/깊은.txt"), "deep"));
    OpenLoggedIn();
    SelectServerRow("문서");
    ClickItem(IDC_MAIN_DOWNLOAD);
    ASSERT_TRUE(m_window->WaitForTransfersHandled(1));
    // The list did not refill for each file that arrived, only once at the end.
    EXPECT_EQ(std::vector<bool>{false}, m_ui.Get<std::vector<bool>>([&] { return m_local->m_changes; }));

    EXPECT_EQ(ReadFileBytes(Stored("문서/안내.txt")), ReadFileBytes(m_localDir / "문서" / "안내.txt"));
    EXPECT_EQ("deep", ReadFileBytes(m_localDir / "문서" / "하위" / "깊은.txt"));
    EXPECT_TRUE(m_ui.Get<bool>([&] { return m_local->AutoRefresh(); }));
    EXPECT_GE(m_ui.Get<int>([&] { return m_local->Refreshes(); }), 1);
    EXPECT_TRUE(m_boxes->Boxes().empty());
}

TEST_F(MainWindowJourney, CancelInTheProgressWindowStopsBeforeTheNextFile) {
    // The first file is on the server already: its prompt holds the job while Cancel is pressed.
    ASSERT_TRUE(WriteFileBytes(m_localDir / "a.txt", "local a"));
    ASSERT_TRUE(WriteFileBytes(m_localDir / "b.txt", std::string(100000, 'b')));
    ASSERT_TRUE(WriteFileBytes(m_localDir / "c.txt", "local c"));
    OpenLoggedIn();
    Upload({"a.txt"}, 0);
    ASSERT_TRUE(WriteFileBytes(Stored("a.txt"), "server a"));

    WindowWaiter waiter;
    UploadSelected({"a.txt", "b.txt", "c.txt"});
    HWND progress = nullptr;
    ASSERT_NO_FATAL_FAILURE(CancelWhileThePromptWaits(waiter, progress));
    ASSERT_TRUE(m_window->WaitForTransfersHandled(2));

    EXPECT_EQ("server a", ReadFileBytes(Stored("a.txt")));
    EXPECT_FALSE(fs::exists(Stored("b.txt")));
    EXPECT_FALSE(fs::exists(Stored("c.txt")));
    EXPECT_FALSE(IsWindow(progress));
    EXPECT_FALSE(m_ui.Get<bool>([&] { return m_window->HasTransferJob(); }));
}

TEST_F(MainWindowJourney, HookKeysActOnTheFocusedServerList) {
    OpenLoggedIn();
    HWND list = m_ui.Get<HWND>([&] { return m_window->ServerListPane()->GetServerList()->m_hWnd; });
    auto focus = [&] { return m_ui.Get<HWND>([] { return GetFocus(); }); };
    auto key = [&](UINT message) {
        PostMessageA(m_window->m_hWnd, message, 0, 0);
        m_ui.WaitIdle();
    };
    m_ui.Run([&] { SetFocus(list); });

    key(UWM_KEY_RENAME);
    EXPECT_EQ(list, focus()) << "F2 without a selected row edits nothing";
    SelectServerRow("readme.txt");
    key(UWM_KEY_RENAME);
    EXPECT_EQ("Edit", WindowClassName(focus()));
    InjectKeyPress(VK_ESCAPE);
    m_ui.WaitIdle();

    m_ui.Run([&] { SetFocus(list); });
    key(UWM_KEY_SELECT_ALL);
    EXPECT_EQ(3u, m_ui.Get<UINT>([&] { return ListView_GetSelectedCount(list); }));
    // Delete asks first; No removes nothing.
    m_boxes->QueueAnswer(IDNO);
    key(UWM_KEY_DELETE);
    ASSERT_EQ(1u, m_boxes->Boxes().size());
    EXPECT_TRUE(fs::exists(Stored("readme.txt")));
    EXPECT_TRUE(fs::is_directory(Stored("문서")));

    const int refreshes = m_ui.Get<int>([&] { return m_local->Refreshes(); });
    key(UWM_KEY_REFRESH);
    EXPECT_EQ(refreshes + 1, m_ui.Get<int>([&] { return m_local->Refreshes(); }));
    EXPECT_EQ(3u, ServerRows().size());
}

TEST_F(MainWindowJourney, AnUploadLargerThanTheRemainingQuotaIsRefusedBeforeAnythingIsSent) {
    {
        std::ofstream create(m_localDir / "big.bin", std::ios::binary);
    }
    fs::resize_file(m_localDir / "big.bin", 200u << 20); // sparse: nothing is written
    OpenLoggedIn();
    UploadSelected({"big.bin"});
    m_ui.WaitIdle();
    EXPECT_FALSE(m_ui.Get<bool>([&] { return m_window->HasTransferJob(); }));
    ASSERT_EQ(1u, m_boxes->Boxes().size());
    const std::string text = Utf8(m_boxes->Boxes()[0].text);
    EXPECT_NE(std::string::npos, text.find("남은 서버 용량 : 102399 KByte")) << text;
    EXPECT_NE(std::string::npos, text.find("전송하려는 파일 용량 : 204800 KByte")) << text;
    EXPECT_FALSE(fs::exists(Stored("big.bin")));
}

TEST_F(MainWindowJourney, AddFolderButtonRegistersAListableFolderAsANewRoot) {
    fs::create_directories(Stored("favorite"));
    OpenLoggedIn();
    WindowWaiter waiter;
    ClickItem(IDC_MAIN_ADD_FOLDER);
    HWND dialog = waiter.WaitForTopLevel("#32770", Ansi("웹 폴더 추가하기"));
    ASSERT_NE(nullptr, dialog);
    std::string dump;
    m_ui.Run([&] {
        PumpUntilIdle();
        dump = DumpWindowTree(dialog);
    });
    EXPECT_TRUE(MatchesGolden(OSTRANA_GOLDEN_DIR, "add_folder_dialog", dump));
    TypeInto(GetDlgItem(dialog, IDC_ADD_FOLDER_PATH), "/myfolder/favorite");
    InjectKeyPress(VK_RETURN);
    EXPECT_TRUE(waiter.WaitUntil([&] { return !IsWindow(dialog); }));
    m_ui.WaitIdle();
    std::string registered;
    EXPECT_TRUE(GetSettingText("127.0.0.1\\PrivateFolder\\RootFolders01", registered));
    EXPECT_EQ("myfolder/favorite/", registered);
    EXPECT_EQ(1u, m_ui.Get<std::size_t>([&] { return m_window->ServerTreePane()->GetRegisteredFolders().size(); }));
}

} // namespace
} // namespace ostrana::test
