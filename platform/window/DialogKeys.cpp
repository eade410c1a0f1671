// The dialog manager's keyboard: Tab and Shift+Tab through WS_TABSTOP items, arrows within a
// WS_GROUP group, Enter for the focused or default push button, Escape for IDCANCEL.
#include <cctype>
#include <vector>

#include "platform/window/DialogState.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/MessageBox.h"
#include "platform/window/VirtualKeys.h"

using namespace ostrana;
using namespace ostrana::detail;

namespace {

std::vector<HWND> Children(HWND dialog) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

bool Usable(HWND window) { return IsWindowVisible(window) && IsWindowEnabled(window); }

DWORD StyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)); }

std::size_t IndexOf(const std::vector<HWND>& children, HWND control) {
    for (std::size_t i = 0; i < children.size(); ++i) {
        if (children[i] == control) return i;
    }
    return children.size();
}

void FocusItem(HWND control) {
    SetFocus(control);
    LRESULT code = SendMessageA(control, WM_GETDLGCODE, 0, 0);
    if (code & DLGC_HASSETSEL) SendMessageA(control, EM_SETSEL, 0, -1);
}

void PressButton(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (button != nullptr && !IsWindowEnabled(button)) return;
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

bool HandleKey(HWND dialog, const MSG& msg) {
    HWND focus = GetFocus();
    LRESULT code = focus != nullptr ? SendMessageA(focus, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)) : 0;
    HWND item = DialogChildOf(dialog, focus);
    if (code & DLGC_WANTALLKEYS) return false;
    switch (msg.wParam) {
    case VK_TAB: {
        if (code & DLGC_WANTTAB) return false;
        bool back = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
        HWND next = GetNextDlgTabItem(dialog, item, back);
        if (next != nullptr) FocusItem(next);
        return true;
    }
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN: {
        if (code & DLGC_WANTARROWS) return false;
        HWND next = GetNextDlgGroupItem(dialog, item, msg.wParam == VK_LEFT || msg.wParam == VK_UP);
        if (next == nullptr || next == item) return true;
        SetFocus(next);
        if (SendMessageA(next, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) SendMessageA(next, BM_CLICK, 0, 0);
        return true;
    }
    case VK_RETURN: {
        bool pushButton = (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
        PressButton(dialog, pushButton ? GetDlgCtrlID(item) : LOWORD(SendMessageA(dialog, DM_GETDEFID, 0, 0)));
        return true;
    }
    case VK_ESCAPE: PressButton(dialog, IDCANCEL); return true;
    default: return false;
    }
}

char MnemonicOf(const std::string& text) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (text[i + 1] == '&') {
            ++i;
            continue;
        }
        return static_cast<char>(std::toupper(static_cast<unsigned char>(text[i + 1])));
    }
    return 0;
}

// A typed letter that the focused control does not take chooses the item it underlines: a button
// is clicked, a label passes the focus to the item after it.
bool HandleMnemonic(HWND dialog, const MSG& msg) {
    HWND focus = GetFocus();
    bool system = msg.message == WM_SYSCHAR;
    if (!system && focus != nullptr && (SendMessageA(focus, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)) & DLGC_WANTCHARS)) {
        return false;
    }
    char wanted = static_cast<char>(std::toupper(static_cast<unsigned char>(msg.wParam)));
    for (HWND item : Children(dialog)) {
        if (!Usable(item) || MnemonicOf(WindowText(item)) != wanted) continue;
        if (WindowClassName(item) == WC_STATICA) {
            if (HWND next = GetNextDlgTabItem(dialog, item, FALSE)) SetFocus(next);
        } else if (WindowClassName(item) == WC_BUTTONA) {
            SetFocus(item);
            SendMessageA(item, BM_CLICK, 0, 0);
        } else {
            SetFocus(item);
        }
        return true;
    }
    return system;
}

} // namespace

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
    std::vector<HWND> children = Children(dialog);
    if (children.empty()) return nullptr;
    std::size_t count = children.size();
    std::size_t start = IndexOf(children, control);
    if (start == count) start = previous ? 0 : count - 1;
    for (std::size_t step = 1; step <= count; ++step) {
        std::size_t index = previous ? (start + count - step % count) % count : (start + step) % count;
        HWND candidate = children[index];
        if ((StyleOf(candidate) & WS_TABSTOP) && Usable(candidate)) return candidate;
    }
    return control;
}

HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous) {
    std::vector<HWND> children = Children(dialog);
    std::size_t at = IndexOf(children, control);
    if (at == children.size()) return nullptr;
    std::size_t first = at;
    while (first > 0 && !(StyleOf(children[first]) & WS_GROUP)) --first;
    std::size_t last = at + 1;
    while (last < children.size() && !(StyleOf(children[last]) & WS_GROUP)) ++last;
    std::size_t size = last - first;
    for (std::size_t step = 1; step <= size; ++step) {
        std::size_t offset = previous ? (at - first + size - step % size) % size : (at - first + step) % size;
        HWND candidate = children[first + offset];
        if (Usable(candidate)) return candidate;
    }
    return control;
}

BOOL IsDialogMessageA(HWND dialog, LPMSG msg) {
    if (msg == nullptr || dialog == nullptr) return FALSE;
    if (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd)) return FALSE;
    if (msg->message == WM_KEYDOWN && HandleKey(dialog, *msg)) return TRUE;
    if ((msg->message == WM_CHAR || msg->message == WM_SYSCHAR) && HandleMnemonic(dialog, *msg)) return TRUE;
    TranslateMessage(msg);
    DispatchMessageA(msg);
    return TRUE;
}
