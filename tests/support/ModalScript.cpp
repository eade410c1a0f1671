#include "tests/support/ModalScript.h"

#include "platform/window/Controls.h"
#include "platform/window/Input.h"
#include "platform/window/Messages.h"

namespace ostrana::test {

ModalScript::ModalScript() { AddDisplayObserver(this); }
ModalScript::~ModalScript() { RemoveDisplayObserver(this); }

void ModalScript::AnswerDialog(std::string captionAnsi, std::vector<int> clicks) {
    std::lock_guard guard(m_lock);
    m_rules.push_back(Rule{false, std::move(captionAnsi), std::move(clicks), {}});
}

void ModalScript::AnswerMenu(std::vector<UINT> keys) {
    std::lock_guard guard(m_lock);
    m_rules.push_back(Rule{true, {}, {}, std::move(keys)});
}

std::size_t ModalScript::Pending() const {
    std::lock_guard guard(m_lock);
    return m_rules.size();
}

std::vector<std::string> ModalScript::Answered() const {
    std::lock_guard guard(m_lock);
    return m_answered;
}

void ModalScript::OnWindowChanged(HWND window, WindowChange change) {
    if (change != WindowChange::Shown || (GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD)) return;
    std::string className = WindowClassName(window);
    bool menu = className == "#32768";
    if (!menu && className != WC_DIALOG) return;
    Rule rule;
    {
        std::lock_guard guard(m_lock);
        if (m_rules.empty() || m_rules.front().menu != menu || (!menu && m_rules.front().caption != WindowText(window))) return;
        rule = m_rules.front();
        m_rules.pop_front();
        if (!menu) m_answered.push_back(rule.caption);
    }
    // Posted, so that the clicks and keys are served by the window's own modal loop.
    for (int id : rule.clicks) {
        HWND control = GetDlgItem(window, id);
        if (control != nullptr) PostMessageA(control, BM_CLICK, 0, 0);
    }
    for (UINT key : rule.keys) InjectKeyPress(key);
}

} // namespace ostrana::test
