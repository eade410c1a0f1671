#include "platform/window/MessageBox.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <unistd.h>

#include "platform/base/CodePage.h"

namespace ostrana {
namespace {

std::mutex& PresenterLock() {
    static std::mutex lock;
    return lock;
}

std::shared_ptr<MessageBoxPresenter>& PresenterSlot() {
    static std::shared_ptr<MessageBoxPresenter> presenter = std::make_shared<HeadlessMessageBoxPresenter>();
    return presenter;
}

} // namespace

std::vector<int> MessageBoxButtons(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE: return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL: return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO: return {IDYES, IDNO};
    case MB_RETRYCANCEL: return {IDRETRY, IDCANCEL};
    default: return {IDOK};
    }
}

int DefaultButtonOf(UINT type) {
    std::vector<int> buttons = MessageBoxButtons(type);
    std::size_t index = (type & MB_DEFMASK) >> 8;
    return buttons[index < buttons.size() ? index : 0];
}

int HeadlessMessageBoxPresenter::Present(const MessageBoxRequest& request) {
    std::lock_guard guard(m_lock);
    m_boxes.push_back(request);
    if (m_answers.empty()) {
        return DefaultButtonOf(request.type);
    }
    int answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

void HeadlessMessageBoxPresenter::QueueAnswer(int answer) {
    std::lock_guard guard(m_lock);
    m_answers.push_back(answer);
}

std::vector<MessageBoxRequest> HeadlessMessageBoxPresenter::Boxes() const {
    std::lock_guard guard(m_lock);
    return m_boxes;
}

void HeadlessMessageBoxPresenter::Clear() {
    std::lock_guard guard(m_lock);
    m_boxes.clear();
    m_answers.clear();
}

int ConsoleMessageBoxPresenter::Present(const MessageBoxRequest& request) {
    std::string caption = AnsiToUtf8(request.caption);
    std::string text = AnsiToUtf8(request.text);
    std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
    std::vector<int> buttons = MessageBoxButtons(request.type);
    if (buttons.size() == 1 || !::isatty(STDIN_FILENO)) {
        return DefaultButtonOf(request.type);
    }
    bool yesNo = buttons.front() == IDYES;
    for (;;) {
        std::fprintf(stderr, yesNo ? "(y/n) " : "(o = ok, c = cancel) ");
        std::fflush(stderr);
        std::string line;
        if (!std::getline(std::cin, line)) {
            return yesNo ? IDNO : IDCANCEL;
        }
        char c = line.empty() ? '\0' : static_cast<char>(std::tolower(static_cast<unsigned char>(line[0])));
        if (yesNo && c == 'y') return IDYES;
        if (yesNo && c == 'n') return IDNO;
        if (!yesNo && c == 'o') return IDOK;
        if (c == 'c' && (request.type & MB_TYPEMASK) != MB_YESNO) return IDCANCEL;
    }
}

void SetMessageBoxPresenter(std::shared_ptr<MessageBoxPresenter> presenter) {
    std::lock_guard guard(PresenterLock());
    PresenterSlot() = presenter ? std::move(presenter) : std::make_shared<HeadlessMessageBoxPresenter>();
}

std::shared_ptr<MessageBoxPresenter> CurrentMessageBoxPresenter() {
    std::lock_guard guard(PresenterLock());
    return PresenterSlot();
}

} // namespace ostrana

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    ostrana::MessageBoxRequest request;
    request.owner = owner;
    request.text = text != nullptr ? text : "";
    request.caption = caption != nullptr ? caption : "Error";
    request.type = type;
    return ostrana::CurrentMessageBoxPresenter()->Present(request);
}
