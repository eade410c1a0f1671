// A parent window for the common-control tests: it records the notifications it receives as
// short readable lines ("LVN_ITEMCHANGED 3 +selected +focused") and answers them as a test asks.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/controls/CommCtrl.h"

namespace ostrana::test {

std::string NotifyName(UINT code);
// The label of a tree item, "(none)" for no item.
std::string TreeText(HWND tree, HTREEITEM item);

class NotifyParent {
public:
    // A visible top-level window at `rect` (screen) that records WM_NOTIFY from its children.
    explicit NotifyParent(RECT rect);
    ~NotifyParent();
    NotifyParent(const NotifyParent&) = delete;
    NotifyParent& operator=(const NotifyParent&) = delete;

    HWND Window() const { return m_window; }
    std::vector<std::string> Take();
    // Codes left out of the record (custom draw and display-info requests by default).
    std::vector<UINT> ignored{NM_CUSTOMDRAW, LVN_GETDISPINFOA, TVN_GETDISPINFOA, NM_SETFOCUS, NM_KILLFOCUS,
                              LVN_ITEMCHANGING, LVN_INSERTITEM, HDN_ITEMCHANGINGA, HDN_ITEMCHANGEDA, LVN_GETINFOTIPA};
    // Answers a notification; unset means 0.
    std::function<LRESULT(NMHDR*)> answer;

private:
    static LRESULT Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_window;
    std::vector<std::string> m_record;
};

} // namespace ostrana::test
