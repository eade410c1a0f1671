#include "tests/mainwnd/JourneySupport.h"

#include "transfer/TransferStarter.h"

namespace fs = std::filesystem;

namespace ostrana::test {

bool ObservedMainWindow::WaitForTransfersHandled(int count, int timeoutMs) {
    std::unique_lock lock(m_lock);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return m_handled >= count; });
}

LRESULT ObservedMainWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = COstranaDlg::WindowProc(message, wParam, lParam);
    if (message == UWM_TRANSFER_DONE) {
        std::lock_guard lock(m_lock);
        ++m_handled;
        m_changed.notify_all();
    }
    return result;
}

std::time_t FixedLocalTime() {
    std::tm when{};
    when.tm_year = 124;
    when.tm_mon = 2;
    when.tm_mday = 5;
    when.tm_hour = 14;
    when.tm_min = 7;
    when.tm_sec = 9;
    when.tm_isdst = -1;
    return std::mktime(&when);
}

void StampTimes(const fs::path& root) {
    const auto stamp = fs::file_time_type::clock::now() +
                       std::chrono::duration_cast<fs::file_time_type::duration>(
                           std::chrono::system_clock::from_time_t(FixedLocalTime()) - std::chrono::system_clock::now());
    for (const auto& entry : fs::recursive_directory_iterator(root)) fs::last_write_time(entry.path(), stamp);
}

POINT Centre(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

POINT IntoField(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return POINT{rect.left + 8, rect.top + 6};
}

} // namespace ostrana::test
