// The progress dialog shown as a window: its own thread, texts, animation, bar and time left as a
// golden dump, Cancel by a click, and the window gone after Stop.
#include <gtest/gtest.h>

#include <atomic>
#include <future>

#include "platform/base/CodePage.h"
#include "platform/base/Event.h"
#include "platform/base/KernelObject.h"
#include "platform/base/Thread.h"
#include "platform/shell/WindowProgressPresenter.h"
#include "platform/window/MessageBox.h"
#include "platform/window/DisplayObserver.h"
#include "platform/window/Input.h"
#include "platform/window/Messages.h"
#include "platform/window/Window.h"
#include "platform/window/WindowGeometry.h"
#include "tests/support/Golden.h"
#include "tests/support/WindowHarness.h"

namespace ostrana::test {
namespace {

class ProgressWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_presenter = std::make_shared<WindowProgressPresenter>([this] { return m_now.load(); });
        SetProgressPresenter(m_presenter);
        void* object = nullptr;
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_ProgressDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IProgressDialog, &object));
        m_dialog = static_cast<IProgressDialog*>(object);
    }
    void TearDown() override {
        if (m_dialog != nullptr) m_dialog->Release();
        SetProgressPresenter(nullptr);
    }

    std::string Dump(HWND window) {
        std::string dump;
        RunOnWindowThread(window, [&] {
            PumpUntilIdle();
            dump = DumpWindowTree(window);
        });
        return dump;
    }

    std::atomic<DWORD> m_now{5000};
    std::shared_ptr<WindowProgressPresenter> m_presenter;
    IProgressDialog* m_dialog = nullptr;
};

TEST_F(ProgressWindowTest, ShowsItsStateCancelsByClickAndGoesAwayOnStop) {
    ASSERT_NE(nullptr, m_dialog);
    m_dialog->SetTitle(ToWide(Utf8ToAnsi("서버로 업로드중입니다...")).c_str());
    m_dialog->SetAnimation(nullptr, 102);
    m_dialog->SetCancelMsg(ToWide(Utf8ToAnsi("취소하셨습니다.")).c_str(), nullptr);
    ASSERT_EQ(S_OK, m_dialog->StartProgressDialog(nullptr, nullptr, PROGDLG_AUTOTIME, nullptr));
    HWND window = m_presenter->Window();
    ASSERT_NE(nullptr, window);
    EXPECT_NE(GetCurrentThreadId(), GetWindowThreadProcessId(window, nullptr));
    m_dialog->SetLine(1, ToWide(Utf8ToAnsi("a.txt")).c_str(), FALSE, nullptr);
    m_dialog->SetLine(2, ToWide(Utf8ToAnsi("(C:\\up)폴더에서 (myfolder/)폴더로..")).c_str(), FALSE, nullptr);
    m_now += 10000; // a quarter in ten seconds: thirty seconds left
    m_dialog->SetProgress64(250, 1000);
    EXPECT_TRUE(MatchesGolden(OSTRANA_GOLDEN_DIR, "progress_window", Dump(window)));
    EXPECT_FALSE(m_dialog->HasUserCancelled());

    RECT cancel;
    GetWindowRect(GetDlgItem(window, IDCANCEL), &cancel);
    WindowWaiter waiter;
    InjectClick(MouseButton::Left, POINT{cancel.left + 5, cancel.top + 5});
    EXPECT_TRUE(waiter.WaitUntil([&] { return m_dialog->HasUserCancelled() == TRUE; }));
    std::string afterCancel = Dump(window);
    EXPECT_NE(std::string::npos, afterCancel.find("\"취소하셨습니다.\"")) << afterCancel;
    EXPECT_TRUE(IsWindow(window)); // up until the driver stops it

    EXPECT_EQ(S_OK, m_dialog->StopProgressDialog());
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(nullptr, m_presenter->Window());
}

TEST_F(ProgressWindowTest, ProgressFasterThanTheWindowQueuesOneRefreshAndTheTimeLeftMovesOnItsOwn) {
    ASSERT_NE(nullptr, m_dialog);
    ASSERT_EQ(S_OK, m_dialog->StartProgressDialog(nullptr, nullptr, PROGDLG_AUTOTIME, nullptr));
    HWND window = m_presenter->Window();
    ASSERT_NE(nullptr, window);
    // Hold the window's thread while the driver reports, then count what waits in its queue.
    HANDLE holding = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE reported = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    auto queued = std::async(std::launch::async, [&] {
        int count = 0;
        RunOnWindowThread(window, [&] {
            SetEvent(holding);
            WaitForSingleObject(reported, 10000);
            MSG message;
            while (PeekMessageA(&message, window, WM_APP, 0xBFFF, PM_REMOVE)) ++count;
        });
        return count;
    });
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(holding, 10000));
    m_now += 10000;
    for (ULONGLONG done = 1; done <= 10000; ++done) m_dialog->SetProgress64(done * 25 / 100, 10000);
    SetEvent(reported);
    EXPECT_EQ(1, queued.get());
    CloseHandle(holding);
    CloseHandle(reported);

    // No progress for ten more seconds: a quarter in twenty seconds leaves a minute.
    UseManualMessageClock(true);
    m_now += 10000;
    WindowWaiter waiter;
    AdvanceMessageClock(1000);
    EXPECT_TRUE(waiter.WaitUntil([&] { return WindowText(GetDlgItem(window, IDC_PROGRESS_TIME)) == Utf8ToAnsi("남은 시간: 1분 0초"); }))
        << AnsiToUtf8(WindowText(GetDlgItem(window, IDC_PROGRESS_TIME)));
    UseManualMessageClock(false);
    EXPECT_EQ(S_OK, m_dialog->StopProgressDialog());
}

TEST(ProgressWindowText, TimeLeftFollowsTheRateSoFar) {
    EXPECT_EQ("", ProgressWindow::RemainingText(500, 10, 100));    // too early to tell
    EXPECT_EQ("", ProgressWindow::RemainingText(5000, 0, 100));    // nothing done yet
    EXPECT_EQ("", ProgressWindow::RemainingText(5000, 100, 100));  // finished
    EXPECT_EQ("남은 시간: 9초", ProgressWindow::RemainingText(1000, 10, 100));
    EXPECT_EQ("남은 시간: 1분 30초", ProgressWindow::RemainingText(10000, 100, 1000));
    EXPECT_EQ("남은 시간: 1000분 0초", ProgressWindow::RemainingText(1000, 1, 60001)); // no overflow on big totals
}

} // namespace
} // namespace ostrana::test
