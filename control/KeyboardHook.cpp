// The shared keyboard hook; see KeyboardHook.h.
#include "control/KeyboardHook.h"

#include <mutex>

#include "mainwnd/MainWindowMessages.h"
#include "mainwnd/OstranaDlg.h"
#include "platform/window/Focus.h"
#include "platform/window/VirtualKeys.h"
#include "server/ServerPaneState.h"

namespace {

std::mutex g_hookLock;
HHOOK g_hook = nullptr;
int g_hookUsers = 0;

constexpr LPARAM kKeyReleased = static_cast<LPARAM>(0x80000000UL);

// The main-window command for a key, 0 for keys the main window does not take.
UINT KeyCommand(WPARAM key) {
    switch (key) {
    case VK_DELETE: return UWM_KEY_DELETE;
    case VK_F6: return UWM_KEY_REFRESH;
    case VK_F2: return UWM_KEY_RENAME;
    case 'A': return UWM_KEY_SELECT_ALL;
    default: return 0;
    }
}

// Keys whose meaning to an edit box is the character they type; only the loop knows it.
bool TypesCharacter(WPARAM key) {
    constexpr WPARAM kOem1 = 0xBA, kOem3 = 0xC0, kOem4 = 0xDB, kOem8 = 0xDF, kOem102 = 0xE2, kProcessKey = 0xE5;
    constexpr WPARAM kSeparator = 0x6C;
    if (key == VK_SPACE || (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return true;
    if (key >= VK_NUMPAD0 && key <= VK_DIVIDE) return key != kSeparator;
    return (key >= kOem1 && key <= kOem3) || (key >= kOem4 && key <= kOem8) || key == kOem102 || key == kProcessKey;
}

// The label edit gets the key by the hook's send; the message loop must not hand it over again.
// Backspace goes as the character it types, the way an edit box deletes; a key that types a
// character is left to the loop, which alone knows the character.
bool ForwardToLabelEdit(WPARAM key, LPARAM keyData) {
    HWND focus = ::GetFocus();
    if (focus == nullptr || TypesCharacter(key)) return false;
    ::SendMessageA(focus, key == VK_BACK ? WM_CHAR : WM_KEYDOWN, key, keyData);
    return true;
}

} // namespace

KeyboardHookUse::KeyboardHookUse() {
    std::lock_guard guard(g_hookLock);
    if (g_hookUsers++ == 0) g_hook = ::SetWindowsHookExA(WH_KEYBOARD, &OstranaKeyboardProc, nullptr, 0);
}

KeyboardHookUse::~KeyboardHookUse() {
    std::lock_guard guard(g_hookLock);
    if (--g_hookUsers == 0 && g_hook != nullptr) {
        ::UnhookWindowsHookEx(g_hook);
        g_hook = nullptr;
    }
}

HHOOK OstranaKeyboardHook() {
    std::lock_guard guard(g_hookLock);
    return g_hook;
}

LRESULT OstranaKeyboardProc(int code, WPARAM key, LPARAM keyData) {
    HHOOK self = OstranaKeyboardHook();
    COstranaDlg* main = GetMainWindow();
    bool handled = false;
    if (code >= 0 && (keyData & kKeyReleased) == 0 && main != nullptr && main->m_hWnd != nullptr) {
        if (UINT command = KeyCommand(key); command != 0) ::PostMessageA(main->m_hWnd, command, key, keyData);
        else if (ServerLabelEditing()) handled = ForwardToLabelEdit(key, keyData);
    }
    LRESULT next = ::CallNextHookEx(self, code, key, keyData);
    return handled ? 1 : next;
}
