// The overwrite prompt as a window on a worker thread: filled from the two files, answered by
// clicks and keys, and its painted layout kept as a golden dump.
#include <gtest/gtest.h>

#include <ctime>
#include <future>

#include "platform/base/CodePage.h"
#include "platform/window/DisplayObserver.h"
#include "platform/window/Input.h"
#include "platform/window/MessageBox.h"
#include "platform/window/Messages.h"
#include "platform/window/VirtualKeys.h"
#include "platform/window/WindowGeometry.h"
#include "tests/support/Golden.h"
#include "tests/support/LocalTime.h"
#include "tests/support/WindowHarness.h"
#include "transfer/OverwriteDlg.h"

namespace ostrana::test {
namespace {

class OverwriteWindow : public ::testing::Test {
protected:
    void SetUp() override { SetOverwriteAnswerer(std::make_shared<WindowOverwriteAnswerer>()); }
    void TearDown() override { SetOverwriteAnswerer(nullptr); }

    // Asks on a worker thread, as the transfer thread does; `answer` runs once the dialog is up.
    std::pair<INT_PTR, int> Ask(const std::function<void(HWND)>& answer) {
        TransferItem existing;
        existing.m_strPath = "C:\\down\\report.txt";
        existing.m_nSize = 1048576;
        existing.m_tModified = LocalTime(2024, 3, 5, 12, 30, 5);
        TransferItem incoming;
        incoming.m_strPath = "\\docs\\report.txt";
        incoming.m_nSize = 999;
        incoming.m_tModified = LocalTime(2024, 3, 5, 23, 7, 5);
        auto worker = std::async(std::launch::async, [&] {
            COverwriteDlg dialog;
            dialog.Fill("C:\\down", existing, incoming);
            INT_PTR result = dialog.DoModal();
            return std::make_pair(result, dialog.m_nRadio);
        });
        HWND window = m_waiter.WaitForTopLevel("#32770", Utf8ToAnsi("파일 바꾸기 확인"));
        EXPECT_NE(nullptr, window);
        if (window != nullptr) {
            RunOnWindowThread(window, [] { PumpUntilIdle(); });
            answer(window);
        }
        auto answered = AwaitModal(worker);
        EXPECT_FALSE(IsWindow(window));
        return answered;
    }

    static void Click(HWND window, int id) {
        RECT rect;
        GetWindowRect(GetDlgItem(window, id), &rect);
        InjectClick(MouseButton::Left, POINT{rect.left + 3, rect.top + 3});
    }

    WindowWaiter m_waiter;
};

TEST_F(OverwriteWindow, ShowsBothFilesAndAnswersTheChosenRadioOnOk) {
    auto [result, radio] = Ask([](HWND window) {
        std::string dump;
        RunOnWindowThread(window, [&] { dump = DumpWindowTree(window); });
        EXPECT_TRUE(MatchesGolden(OSTRANA_GOLDEN_DIR, "overwrite_prompt", dump));
        // The type icons the dialog paints under the two frames are not painted over.
        for (int frame : {244, 245}) {
            RECT rect;
            GetWindowRect(GetDlgItem(window, frame), &rect);
            EXPECT_EQ(window, WindowFromPoint(POINT{rect.left + 16, rect.top + 16})) << frame;
        }
        EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(window, 234));
        Click(window, 236);
        Click(window, IDOK);
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(2, radio);
}

TEST_F(OverwriteWindow, EnterTakesTheDefaultAndEscapeOrNoCancel) {
    EXPECT_EQ(std::make_pair(INT_PTR{IDOK}, 0), Ask([](HWND) { InjectKeyPress(VK_RETURN); }));
    EXPECT_EQ(IDCANCEL, Ask([](HWND) { InjectKeyPress(VK_ESCAPE); }).first);
    EXPECT_EQ(IDCANCEL, Ask([](HWND window) {
                  Click(window, 235);
                  Click(window, IDCANCEL);
              }).first);
}

} // namespace
} // namespace ostrana::test
