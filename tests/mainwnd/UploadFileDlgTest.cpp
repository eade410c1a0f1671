// The upload button's file dialog: the filter text, moving between folders, what it lists, and
// the chosen files handed back in list order, driven with clicks and keys.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <future>
#include <string>
#include <vector>

#include "mainwnd/UploadFileDlg.h"
#include "platform/base/LocalPath.h"
#include "platform/controls/CommCtrl.h"
#include "platform/window/Input.h"
#include "platform/window/MessageBox.h"
#include "platform/window/Messages.h"
#include "platform/window/VirtualKeys.h"
#include "tests/support/AnsiText.h"
#include "tests/support/TempDir.h"
#include "tests/support/WindowHarness.h"

namespace fs = std::filesystem;

namespace ostrana::test {
namespace {

using Filters = std::vector<std::pair<std::string, std::string>>;

TEST(UploadFileDlgText, FilterPairsEndAtTheFirstEmptyPart) {
    EXPECT_EQ((Filters{{Ansi("모든파일 (*.*)"), "*.*"}}), CUploadFileDlg::ParseFilter(Ansi("모든파일 (*.*)|*.*||")));
    EXPECT_EQ((Filters{{"Text", "*.txt"}, {"All", "*.*"}}), CUploadFileDlg::ParseFilter("Text|*.txt|All|*.*||"));
    EXPECT_EQ((Filters{}), CUploadFileDlg::ParseFilter("Text||All|*.*"));
    EXPECT_EQ((Filters{}), CUploadFileDlg::ParseFilter(""));
}

TEST(UploadFileDlgText, ParentFolderStopsAtTheDrive) {
    EXPECT_EQ("C:\\a\\", CUploadFileDlg::ParentFolder("C:\\a\\b\\"));
    EXPECT_EQ("C:\\a\\", CUploadFileDlg::ParentFolder("C:\\a\\b"));
    EXPECT_EQ("C:\\", CUploadFileDlg::ParentFolder("C:\\a\\"));
    EXPECT_EQ("", CUploadFileDlg::ParentFolder("C:\\"));
}

class UploadFileDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(m_dir / "sub" / "deeper");
        fs::create_directories(m_dir / ".hidden-folder");
        WriteFileBytes(m_dir / "b.txt", "b");
        WriteFileBytes(m_dir / "a.txt", "a");
        WriteFileBytes(m_dir / "c.log", "c");
        WriteFileBytes(m_dir / ".hidden", "h");
        WriteFileBytes(m_dir / "sub" / "inner.txt", "i");
        m_folder = HostToLocalPath(m_dir.Str()) + "\\";
    }

    // Runs the dialog on a thread of its own, as a modal window with no owner; `drive` acts on it.
    std::pair<INT_PTR, std::vector<std::string>> Run(const std::string& filter, const std::function<void(HWND)>& drive) {
        auto shown = std::async(std::launch::async, [&] {
            CUploadFileDlg dialog(nullptr, m_folder, filter);
            const INT_PTR result = dialog.DoModal();
            return std::make_pair(result, dialog.GetPaths());
        });
        HWND window = m_waiter.WaitForTopLevel("#32770", Ansi("열기"));
        EXPECT_NE(nullptr, window);
        if (window != nullptr) drive(window);
        return AwaitModal(shown);
    }

    static std::vector<std::string> Rows(HWND window, int id) {
        std::vector<std::string> rows;
        HWND list = GetDlgItem(window, id);
        RunOnWindowThread(window, [&] {
            PumpUntilIdle();
            char text[MAX_PATH];
            const auto count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
            for (int row = 0; row < count; ++row) {
                LVITEMA item{};
                item.pszText = text;
                item.cchTextMax = sizeof(text);
                SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
                rows.emplace_back(text);
            }
        });
        return rows;
    }

    // Serves what was injected so far before the next input is made.
    static void Settle(HWND window) { RunOnWindowThread(window, [] { PumpUntilIdle(); }); }

    static POINT RowPoint(HWND window, int id, int row) {
        HWND list = GetDlgItem(window, id);
        RECT rect{};
        RunOnWindowThread(window, [&] {
            rect.left = LVIR_BOUNDS;
            SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
            MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&rect), 2);
        });
        return POINT{rect.left + 8, (rect.top + rect.bottom) / 2};
    }

    TempDir m_dir;
    std::string m_folder;
    WindowWaiter m_waiter;
};

TEST_F(UploadFileDlgTest, ListsVisibleFoldersAndMatchingFilesAndReturnsTheChosenInListOrder) {
    auto [result, paths] = Run("Text|*.txt|All|*.*||", [&](HWND window) {
        EXPECT_EQ((std::vector<std::string>{"..", "sub"}), Rows(window, IDC_UPLOAD_FOLDERS));
        EXPECT_EQ((std::vector<std::string>{"a.txt", "b.txt"}), Rows(window, IDC_UPLOAD_FILES));
        InjectClick(MouseButton::Left, RowPoint(window, IDC_UPLOAD_FILES, 1));
        Settle(window);
        InjectKey(VK_CONTROL, true);
        Settle(window);
        InjectClick(MouseButton::Left, RowPoint(window, IDC_UPLOAD_FILES, 0));
        Settle(window);
        InjectKey(VK_CONTROL, false);
        PostMessageA(GetDlgItem(window, IDOK), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ((std::vector<std::string>{m_folder + "a.txt", m_folder + "b.txt"}), paths);
}

TEST_F(UploadFileDlgTest, FoldersOpenByDoubleClickAndEnterAndOkWithoutFilesChoosesNothing) {
    auto [result, paths] = Run(Ansi("모든파일 (*.*)|*.*||"), [&](HWND window) {
        InjectClick(MouseButton::Left, RowPoint(window, IDC_UPLOAD_FOLDERS, 1));
        InjectClick(MouseButton::Left, RowPoint(window, IDC_UPLOAD_FOLDERS, 1));
        EXPECT_EQ((std::vector<std::string>{"..", "deeper"}), Rows(window, IDC_UPLOAD_FOLDERS));
        EXPECT_EQ((std::vector<std::string>{"inner.txt"}), Rows(window, IDC_UPLOAD_FILES));
        // ".." chosen and Enter: back up, and 열기 with nothing chosen leaves the dialog open.
        InjectClick(MouseButton::Left, RowPoint(window, IDC_UPLOAD_FOLDERS, 0));
        InjectKeyPress(VK_RETURN);
        EXPECT_EQ((std::vector<std::string>{"..", "sub"}), Rows(window, IDC_UPLOAD_FOLDERS));
        PostMessageA(GetDlgItem(window, IDOK), BM_CLICK, 0, 0);
        Rows(window, IDC_UPLOAD_FILES);
        EXPECT_TRUE(IsWindow(window));
        InjectClick(MouseButton::Left, RowPoint(window, IDC_UPLOAD_FILES, 2));
        InjectKeyPress(VK_RETURN);
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ((std::vector<std::string>{m_folder + "c.log"}), paths);
}

} // namespace
} // namespace ostrana::test
