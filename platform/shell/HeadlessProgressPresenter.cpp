// Recording of progress calls; the cancel trigger is checked as each call is recorded, on the
// thread that makes it.
#include "platform/shell/HeadlessProgressPresenter.h"

namespace ostrana {

using Kind = ProgressCall::Kind;

namespace {
ProgressCall CallOf(Kind kind, DWORD number = 0) {
    ProgressCall call;
    call.kind = kind;
    call.number = number;
    return call;
}
ProgressCall CallLine(Kind kind, DWORD number, const std::string& text) {
    ProgressCall call = CallOf(kind, number);
    call.text = text;
    return call;
}
} // namespace

void HeadlessProgressPresenter::OnStart(DWORD flags) { Record(CallOf(Kind::Start, flags)); }
void HeadlessProgressPresenter::OnStop() { Record(CallOf(Kind::Stop)); }
void HeadlessProgressPresenter::OnTitle(const std::string& title) { Record(CallLine(Kind::Title, 0, title)); }
void HeadlessProgressPresenter::OnAnimation(UINT animationId) { Record(CallOf(Kind::Animation, animationId)); }
void HeadlessProgressPresenter::OnLine(DWORD lineNumber, const std::string& text) {
    Record(CallLine(Kind::Line, lineNumber, text));
}
void HeadlessProgressPresenter::OnCancelMessage(const std::string& text) { Record(CallLine(Kind::CancelMessage, 0, text)); }
void HeadlessProgressPresenter::OnProgress(ULONGLONG completed, ULONGLONG total) {
    ProgressCall call = CallOf(Kind::Progress);
    call.completed = completed;
    call.total = total;
    Record(std::move(call));
}
void HeadlessProgressPresenter::OnTimerReset() { Record(CallOf(Kind::TimerReset)); }

bool HeadlessProgressPresenter::IsCancelled() {
    std::lock_guard guard(m_lock);
    return m_cancelled;
}

void HeadlessProgressPresenter::CancelWhen(std::function<bool(const ProgressCall&)> trigger) {
    std::lock_guard guard(m_lock);
    m_trigger = std::move(trigger);
}

void HeadlessProgressPresenter::Cancel() {
    std::lock_guard guard(m_lock);
    m_cancelled = true;
}

std::vector<ProgressCall> HeadlessProgressPresenter::Calls() const {
    std::lock_guard guard(m_lock);
    return m_calls;
}

std::vector<std::string> HeadlessProgressPresenter::Lines(DWORD lineNumber) const {
    std::lock_guard guard(m_lock);
    std::vector<std::string> lines;
    for (const ProgressCall& call : m_calls) {
        if (call.kind == Kind::Line && call.number == lineNumber) {
            lines.push_back(call.text);
        }
    }
    return lines;
}

ULONGLONG HeadlessProgressPresenter::LastCompleted() const {
    std::lock_guard guard(m_lock);
    for (auto it = m_calls.rbegin(); it != m_calls.rend(); ++it) {
        if (it->kind == Kind::Progress) {
            return it->completed;
        }
    }
    return 0;
}

void HeadlessProgressPresenter::Record(ProgressCall call) {
    std::lock_guard guard(m_lock);
    if (m_trigger && !m_cancelled && m_trigger(call)) {
        m_cancelled = true;
    }
    m_calls.push_back(std::move(call));
}

} // namespace ostrana
