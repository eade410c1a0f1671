// Answers modal windows from a script: when a dialog or message box with a given caption appears
// (on any thread), its controls are clicked in the given order; when a pop-up menu appears, the
// given keys are typed. Each rule answers one window, in the order the rules were given.
#pragma once

#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "platform/window/DisplayObserver.h"

namespace ostrana::test {

class ModalScript : public DisplayObserver {
public:
    ModalScript();
    ~ModalScript() override;
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    // `captionAnsi` of the dialog; `clicks` are control ids (buttons, radio buttons) clicked in order.
    void AnswerDialog(std::string captionAnsi, std::vector<int> clicks);
    void AnswerMenu(std::vector<UINT> keys);
    // Rules not used yet.
    std::size_t Pending() const;
    // Captions (ANSI) of the dialogs answered, in order.
    std::vector<std::string> Answered() const;

    void OnWindowChanged(HWND window, WindowChange change) override;

private:
    struct Rule {
        bool menu = false;
        std::string caption;
        std::vector<int> clicks;
        std::vector<UINT> keys;
    };

    mutable std::mutex m_lock;
    std::deque<Rule> m_rules;
    std::vector<std::string> m_answered;
};

} // namespace ostrana::test
