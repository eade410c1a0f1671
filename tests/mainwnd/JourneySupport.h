// What the main-window journeys share: the window that tells the test when a transfer's end has
// been handled, fixed file times so listings read the same every run, and screen points of controls.
#pragma once

#include <chrono>
#include <condition_variable>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <string>

#include "mainwnd/MainWindowMessages.h"
#include "mainwnd/OstranaDlg.h"
#include "platform/base/CodePage.h"

namespace ostrana::test {

inline std::string Ansi(const std::string& utf8) { return Utf8ToAnsi(utf8); }
inline std::string Utf8(const std::string& ansi) { return AnsiToUtf8(ansi); }

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

} // namespace ostrana::test
