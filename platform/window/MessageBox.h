// MessageBoxA with a pluggable presenter: the process-wide presenter decides how a box reaches the
// user (recorded and answered from a script in tests, on the terminal in the command-line client,
// as a window in the container). Texts are in the ANSI code page.
#pragma once

#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/base/WinTypes.h"

#define MB_OK 0x00000000L
#define MB_OKCANCEL 0x00000001L
#define MB_ABORTRETRYIGNORE 0x00000002L
#define MB_YESNOCANCEL 0x00000003L
#define MB_YESNO 0x00000004L
#define MB_RETRYCANCEL 0x00000005L
#define MB_TYPEMASK 0x0000000FL
#define MB_ICONHAND 0x00000010L
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONSTOP MB_ICONHAND
#define MB_ICONQUESTION 0x00000020L
#define MB_ICONEXCLAMATION 0x00000030L
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONASTERISK 0x00000040L
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_ICONMASK 0x000000F0L
#define MB_DEFBUTTON1 0x00000000L
#define MB_DEFBUTTON2 0x00000100L
#define MB_DEFBUTTON3 0x00000200L
#define MB_DEFMASK 0x00000F00L
#define MB_APPLMODAL 0x00000000L
#define MB_SYSTEMMODAL 0x00001000L
#define MB_TASKMODAL 0x00002000L
#define MB_SETFOREGROUND 0x00010000L
#define MB_TOPMOST 0x00040000L

#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

namespace ostrana {

struct MessageBoxRequest {
    HWND owner = nullptr;
    std::string text;    // ANSI code page
    std::string caption; // ANSI code page
    UINT type = MB_OK;
};

class MessageBoxPresenter {
public:
    virtual ~MessageBoxPresenter() = default;
    // Shows the box and returns the button the user chose (IDOK, IDYES, ...).
    virtual int Present(const MessageBoxRequest& request) = 0;
};

// The buttons of a box type, left to right.
std::vector<int> MessageBoxButtons(UINT type);
// The button a box answers when it is closed without a choice: its default button.
int DefaultButtonOf(UINT type);

// Records every box and answers from a queue; an empty queue answers the default button.
class HeadlessMessageBoxPresenter : public MessageBoxPresenter {
public:
    int Present(const MessageBoxRequest& request) override;
    void QueueAnswer(int answer);
    std::vector<MessageBoxRequest> Boxes() const;
    void Clear();

private:
    mutable std::mutex m_lock;
    std::vector<MessageBoxRequest> m_boxes;
    std::deque<int> m_answers;
};

// Prints the box on stderr (UTF-8) and asks questions on the terminal; without a terminal the
// default button is taken.
class ConsoleMessageBoxPresenter : public MessageBoxPresenter {
public:
    int Present(const MessageBoxRequest& request) override;
};

// The process-wide presenter; a headless one until another is installed.
void SetMessageBoxPresenter(std::shared_ptr<MessageBoxPresenter> presenter);
std::shared_ptr<MessageBoxPresenter> CurrentMessageBoxPresenter();

} // namespace ostrana
