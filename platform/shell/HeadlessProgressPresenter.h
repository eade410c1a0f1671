// A progress presenter for tests: records every call in order and reports Cancel from the moment
// a chosen call has been recorded (or at once after Cancel()).
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/shell/ProgressDialog.h"

namespace ostrana {

struct ProgressCall {
    enum class Kind { Start, Stop, Title, Animation, Line, CancelMessage, Progress, TimerReset };
    Kind kind = Kind::Start;
    DWORD number = 0;        // flags, animation id or line number
    std::string text;        // UTF-8
    ULONGLONG completed = 0;
    ULONGLONG total = 0;
};

class HeadlessProgressPresenter : public ProgressPresenter {
public:
    void OnStart(DWORD flags) override;
    void OnStop() override;
    void OnTitle(const std::string& title) override;
    void OnAnimation(UINT animationId) override;
    void OnLine(DWORD lineNumber, const std::string& text) override;
    void OnCancelMessage(const std::string& text) override;
    void OnProgress(ULONGLONG completed, ULONGLONG total) override;
    void OnTimerReset() override;
    bool IsCancelled() override;

    // Cancel is reported once a recorded call satisfies the trigger (checked as it is recorded).
    void CancelWhen(std::function<bool(const ProgressCall&)> trigger);
    void Cancel();
    std::vector<ProgressCall> Calls() const;
    // The texts of every SetLine of the given line, in order.
    std::vector<std::string> Lines(DWORD lineNumber) const;
    ULONGLONG LastCompleted() const;

private:
    void Record(ProgressCall call);

    mutable std::mutex m_lock;
    std::vector<ProgressCall> m_calls;
    std::function<bool(const ProgressCall&)> m_trigger;
    bool m_cancelled = false;
};

} // namespace ostrana
