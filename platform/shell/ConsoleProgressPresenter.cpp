// Drawing on the terminal and Ctrl-C as Cancel. The SIGINT handler only sets a flag; the
// transfer thread reads it at its next check.
#include "platform/shell/ConsoleProgressPresenter.h"

#include <atomic>
#include <cstdio>
#include <unistd.h>

#include "platform/base/LocalPath.h"

namespace ostrana {
namespace {

std::atomic<bool> g_interrupted{false};

void OnInterrupt(int) { g_interrupted = true; }

constexpr auto kRedrawInterval = std::chrono::milliseconds(200);

} // namespace

ConsoleProgressPresenter::ConsoleProgressPresenter(bool quiet) : m_draw(!quiet && ::isatty(STDERR_FILENO) == 1) {}

void ConsoleProgressPresenter::OnStart(DWORD) {
    g_interrupted = false;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, &m_previous);
    m_started = true;
    m_since = std::chrono::steady_clock::now();
    if (m_draw && !m_title.empty()) {
        std::fprintf(stderr, "%s\n", m_title.c_str());
    }
}

void ConsoleProgressPresenter::OnStop() {
    if (!m_started) {
        return;
    }
    ::sigaction(SIGINT, &m_previous, nullptr);
    Draw(true);
    ClearBar();
    m_started = false;
}

void ConsoleProgressPresenter::OnTitle(const std::string& title) { m_title = title; }

void ConsoleProgressPresenter::OnLine(DWORD lineNumber, const std::string& text) {
    (lineNumber == 1 ? m_line1 : m_line2) = HostPathsInText(text);
    if (lineNumber == 2) {
        Draw(false);
    }
}

void ConsoleProgressPresenter::OnCancelMessage(const std::string& text) { m_cancelMessage = text; }

void ConsoleProgressPresenter::OnProgress(ULONGLONG completed, ULONGLONG total) {
    m_completed = completed;
    m_total = total;
    Draw(false);
}

void ConsoleProgressPresenter::OnTimerReset() { m_since = std::chrono::steady_clock::now(); }

bool ConsoleProgressPresenter::IsCancelled() {
    bool cancelled = g_interrupted.load();
    if (cancelled && m_draw && !m_cancelShown && !m_cancelMessage.empty()) {
        m_cancelShown = true;
        ClearBar();
        std::fprintf(stderr, "%s\n", m_cancelMessage.c_str());
    }
    return cancelled;
}

std::string ConsoleProgressPresenter::ShortSize(ULONGLONG bytes) {
    char text[32];
    if (bytes < 1024) {
        std::snprintf(text, sizeof text, "%llu B", static_cast<unsigned long long>(bytes));
    } else if (bytes < 1024ULL * 1024) {
        std::snprintf(text, sizeof text, "%.1f KB", static_cast<double>(bytes) / 1024);
    } else if (bytes < 1024ULL * 1024 * 1024) {
        std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / (1024.0 * 1024));
    } else {
        std::snprintf(text, sizeof text, "%.2f GB", static_cast<double>(bytes) / (1024.0 * 1024 * 1024));
    }
    return text;
}

std::string ConsoleProgressPresenter::BarText(ULONGLONG completed, ULONGLONG total, double seconds, int width) {
    double fraction = total == 0 ? 0.0 : static_cast<double>(std::min(completed, total)) / static_cast<double>(total);
    int filled = static_cast<int>(fraction * width);
    std::string bar = "[" + std::string(filled, '#') + std::string(width - filled, '.') + "] ";
    bar += ShortSize(completed) + " / " + ShortSize(total);
    if (seconds > 0.5 && completed > 0) {
        double rate = static_cast<double>(completed) / seconds;
        bar += "  " + ShortSize(static_cast<ULONGLONG>(rate)) + "/s";
        if (total > completed) {
            auto left = static_cast<long long>(static_cast<double>(total - completed) / rate);
            char text[32];
            std::snprintf(text, sizeof text, "  %lld:%02lld left", left / 60, left % 60);
            bar += text;
        }
    }
    return bar;
}

void ConsoleProgressPresenter::BreakLines() { ClearBar(); }

void ConsoleProgressPresenter::ClearBar() {
    if (m_barShown) {
        std::fputc('\n', stderr);
        m_barShown = false;
    }
}

namespace {

// At most `limit` bytes of the tail of a UTF-8 text, never starting inside a character, so that
// a line never wraps and the redraw can step back over it.
std::string Tail(const std::string& text, std::size_t limit) {
    if (text.size() <= limit) {
        return text;
    }
    std::size_t start = text.size() - (limit - 3);
    while (start < text.size() && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) {
        ++start;
    }
    return "..." + text.substr(start);
}

} // namespace

void ConsoleProgressPresenter::Draw(bool force) {
    if (!m_draw || !m_started) {
        return;
    }
    auto now = std::chrono::steady_clock::now();
    if (!force && m_barShown && now - m_lastDraw < kRedrawInterval) {
        return;
    }
    m_lastDraw = now;
    double seconds = std::chrono::duration<double>(now - m_since).count();
    if (m_barShown) {
        std::fputs("\033[2F", stderr); // back to the first of the three lines
    }
    std::fprintf(stderr, "\r\033[K%s\n\r\033[K%s\n\r\033[K%s", Tail(m_line1, 60).c_str(), Tail(m_line2, 60).c_str(),
                 BarText(m_completed, m_total, seconds, 24).c_str());
    std::fflush(stderr);
    m_barShown = true;
}

} // namespace ostrana
