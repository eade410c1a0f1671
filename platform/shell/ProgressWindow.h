// The progress dialog's window: title, animation, lines, bar, time left and Cancel, drawn from a
// state the driving thread writes and the window's own thread reads, both under the state's lock.
#pragma once

#include <functional>
#include <mutex>
#include <string>

#include "platform/base/WinTypes.h"

namespace ostrana {

struct ProgressState {
    std::mutex lock;
    DWORD flags = 0;
    std::string title;                // ANSI, as are the lines
    std::string lines[3];
    std::string cancelMessage;
    UINT animationId = 0;
    ULONGLONG completed = 0;
    ULONGLONG total = 0;
    DWORD timerStart = 0;             // tick of the start or the last timer reset
    bool cancelled = false;
    bool refreshPending = false;      // a refresh is posted and not yet shown: later changes ride on it
    std::function<DWORD()> clock;     // milliseconds, GetTickCount unless a test sets its own
};

#define IDC_PROGRESS_LINE1 101
#define IDC_PROGRESS_LINE2 102
#define IDC_PROGRESS_LINE3 103
#define IDC_PROGRESS_TIME 104

class ProgressWindow {
public:
    // A visible top-level window on the calling thread showing `state`; null on failure.
    static HWND Create(ProgressState& state);
    // Asks the window (from any thread) to show the state again. One request at a time is posted,
    // so a driver reporting faster than the window paints cannot fill its queue.
    static void Refresh(HWND window, ProgressState& state);
    // "남은 시간: 1분 5초" (UTF-8) from the time so far and the share done; empty while unknown.
    static std::string RemainingText(DWORD elapsedMs, ULONGLONG completed, ULONGLONG total);
    static LRESULT Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    static void Update(HWND window, ProgressState& state);
    static void Paint(HWND window, ProgressState& state);
};

} // namespace ostrana
