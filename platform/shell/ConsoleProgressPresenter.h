// A progress presenter for the terminal: the title, then the two lines and a bar with bytes, rate
// and time left, redrawn in place on stderr at most five times a second, only when stderr is a
// terminal. Local paths in the lines are shown as this machine's paths. Ctrl-C while the dialog
// is up counts as Cancel (the previous SIGINT handling is restored at stop).
#pragma once

#include <chrono>
#include <csignal>
#include <string>

#include "platform/shell/ProgressDialog.h"

namespace ostrana {

class ConsoleProgressPresenter : public ProgressPresenter {
public:
    // quiet: draw nothing (Ctrl-C still cancels).
    explicit ConsoleProgressPresenter(bool quiet = false);

    void OnStart(DWORD flags) override;
    void OnStop() override;
    void OnTitle(const std::string& title) override;
    void OnAnimation(UINT) override {}
    void OnLine(DWORD lineNumber, const std::string& text) override;
    void OnCancelMessage(const std::string& text) override;
    void OnProgress(ULONGLONG completed, ULONGLONG total) override;
    void OnTimerReset() override;
    bool IsCancelled() override;
    // Ends the drawn lines, so that other text (a question, a message) can follow below them;
    // the next redraw starts afresh underneath. Called on the thread that drives the dialog.
    void BreakLines();

    // "1.5 MB", "320 KB", "12 B": a short size for the bar.
    static std::string ShortSize(ULONGLONG bytes);
    // "[#####.....] 1.5 MB / 3.0 MB  1.2 MB/s  0:02 left"
    static std::string BarText(ULONGLONG completed, ULONGLONG total, double seconds, int width);

private:
    void Draw(bool force);
    void ClearBar();

    bool m_draw;
    bool m_started = false;
    bool m_barShown = false;
    bool m_cancelShown = false;
    std::string m_title, m_line1, m_line2, m_cancelMessage;
    ULONGLONG m_completed = 0, m_total = 0;
    std::chrono::steady_clock::time_point m_since, m_lastDraw;
    struct sigaction m_previous {};
};

} // namespace ostrana
