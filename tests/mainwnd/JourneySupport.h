// What the main-window journeys share: the window that tells the test when a transfer's end has
// been handled, fixed file times so listings read the same every run, screen points of controls,
// and the fixture that opens the main window against the real service as the page starts it.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <ctime>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "mainwnd/MainWindowMessages.h"
#include "mainwnd/OstranaDlg.h"
#include "platform/window/AfxWinApp.h"
#include "platform/window/MessageBox.h"
#include "session/ServerSession.h"
#include "tests/support/AnsiText.h"
#include "tests/support/ServiceProcess.h"
#include "tests/support/WindowHarness.h"

namespace ostrana::test {

inline constexpr const char* kOverwriteCaption = "파일 바꾸기 확인";
inline constexpr const char* kProgressClass = "OstranaProgressDialog";

// The main window with one addition: the test hears when a transfer's end has been handled.
class ObservedMainWindow : public COstranaDlg {
public:
    using COstranaDlg::COstranaDlg;

    bool WaitForTransfersHandled(int count, int timeoutMs = 20000);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    int m_handled = 0;
};

// 2024-03-05 14:07:09 local time.
std::time_t FixedLocalTime();
// Every entry below `root` gets the fixed modification time.
void StampTimes(const std::filesystem::path& root);

POINT Centre(HWND window);
// Inside a field near its top left: a drop-down combo's window reaches down over its list.
POINT IntoField(HWND window);

// The main window inside a host window of the container's size, on a user-interface thread,
// against a real service whose demo files have the fixed times. Each journey gives its own local panes.
class JourneyFixture : public ::testing::Test {
protected:
    explicit JourneyFixture(const char* hostClass) : m_hostClass(hostClass) {}

    void SetUp() override;
    void TearDown() override;

    // Made on the user-interface thread, just before the main window is created.
    virtual std::unique_ptr<LocalPaneLink> MakeLocalPanes() = 0;

    // Creates the main window as the control does; without a user id the login panel shows.
    void Open(const std::string& cookie, const std::string& host, const std::string& user);
    // The page's start: a cookie from a login of its own, the host with the port after a colon.
    void OpenLoggedIn();

    HWND Item(int id) { return GetDlgItem(m_window->m_hWnd, id); }
    void ClickItem(int id);
    // Clicks into the field, so that it has the focus, and types the text.
    void TypeInto(HWND field, const std::string& text);
    std::filesystem::path Stored(const std::string& utf8Relative) const;
    std::string QuotaText();

    std::vector<std::string> ServerRows();
    static bool Has(const std::vector<std::string>& rows, const std::string& name);
    void SelectServerRow(const std::string& utf8Name);
    // The middle of a row's label, on the screen.
    POINT ServerRowPoint(const std::string& utf8Name);

    // A transfer whose first file waits in the overwrite prompt: Cancel in the progress window
    // takes effect at once, then the prompt is answered No. `progress` is the progress window.
    void CancelWhileThePromptWaits(WindowWaiter& waiter, HWND& progress);

    ServiceProcess m_service;
    CWinApp m_app{"Ostrana"};
    std::shared_ptr<HeadlessMessageBoxPresenter> m_boxes = std::make_shared<HeadlessMessageBoxPresenter>();
    ServerSession m_session{nullptr};
    UiThread m_ui;
    std::unique_ptr<CWnd> m_host;
    std::unique_ptr<ObservedMainWindow> m_window;

private:
    const char* m_hostClass;
};

} // namespace ostrana::test
