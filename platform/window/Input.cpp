// Input injection. Events are queued under the window system's lock on the thread of the window
// they would reach now; that thread settles their window when it takes them. WM_SETCURSOR and the
// keyboard hooks run on the window's thread when the message is taken.
#include "platform/window/Input.h"

#include <cctype>
#include <cstdlib>

#include "platform/gdi/TextMetric.h"

#include "platform/window/KeyNames.h"
#include "platform/window/KeyState.h"
#include "platform/window/WindowGeometry.h"
#include "platform/window/WindowSystem.h"

using namespace ostrana;
using namespace ostrana::detail;

namespace {

constexpr DWORD kDoubleClickTime = 500;
constexpr LONG kDoubleClickDistance = 2;

WPARAM MouseKeys() {
    const bool* keys = Sys().keys;
    WPARAM flags = 0;
    if (keys[VK_LBUTTON]) flags |= MK_LBUTTON;
    if (keys[VK_RBUTTON]) flags |= MK_RBUTTON;
    if (keys[VK_MBUTTON]) flags |= MK_MBUTTON;
    if (keys[VK_SHIFT]) flags |= MK_SHIFT;
    if (keys[VK_CONTROL]) flags |= MK_CONTROL;
    return flags;
}

// The window a mouse event at `screen` reaches, with the point in its client coordinates.
HWND MouseTarget(POINT screen, POINT& client) {
    HWND target = Find(Sys().capture) ? Sys().capture : nullptr;
    if (target == nullptr) target = DeepestWindowAtLocked(screen);
    auto window = Find(target);
    if (!window) return nullptr;
    if (target != Sys().capture && !EnabledLocked(*window)) return nullptr;
    POINT origin = ClientOriginOnScreen(*window);
    client = POINT{screen.x - origin.x, screen.y - origin.y};
    return target;
}

// The window an event reaches as things stand, with the point in its client coordinates for the
// mouse. Called when the event is injected, to choose the thread whose queue it waits in, and again
// when that thread takes it.
HWND TargetOf(const InputMessage& input, POINT& client) {
    switch (input.kind) {
    case InputMessage::Kind::Mouse: return MouseTarget(input.screen, client);
    case InputMessage::Kind::Wheel: {
        HWND target = KeyboardFocusWindowLocked();
        return target != nullptr ? target : MouseTarget(input.screen, client);
    }
    default: return KeyboardFocusWindowLocked();
    }
}

void Hold(InputMessage input) {
    System& sys = Sys();
    input.msg.time = MessageClock();
    if (input.kind != InputMessage::Kind::Mouse && input.kind != InputMessage::Kind::Wheel) input.screen = sys.cursorPos;
    input.msg.pt = input.screen;
    POINT client{};
    auto window = Find(TargetOf(input, client));
    bool typed = input.kind == InputMessage::Kind::Key || input.kind == InputMessage::Kind::Char;
    // Keys wait with the foreground thread even while it has no focus: a click before them may give it one.
    auto queue = window ? QueueOf(window->thread) : typed ? QueueOf(sys.foreground) : nullptr;
    if (!queue) return;
    if (input.msg.message == WM_MOUSEMOVE && !queue->input.empty()) {
        InputMessage& last = queue->input.back();
        if (last.msg.message == WM_MOUSEMOVE && !last.resolved) {
            last = input; // moves not yet taken merge, as on Windows
            return;
        }
    }
    queue->input.push_back(input);
    SignalQueue(*queue);
}

UINT ButtonMessage(MouseButton button, bool down) {
    switch (button) {
    case MouseButton::Left: return down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    case MouseButton::Right: return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    default: return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    }
}

int ButtonKey(MouseButton button) {
    return button == MouseButton::Left ? VK_LBUTTON : button == MouseButton::Right ? VK_RBUTTON : VK_MBUTTON;
}

char CharacterOf(UINT vk) {
    const bool* keys = Sys().keys;
    bool shift = keys[VK_SHIFT];
    if (keys[VK_CONTROL] && vk >= 'A' && vk <= 'Z') return static_cast<char>(vk - 'A' + 1);
    if (keys[VK_MENU]) return 0;
    if (vk >= 'A' && vk <= 'Z') return static_cast<char>(shift ? vk : std::tolower(static_cast<int>(vk)));
    if (vk >= '0' && vk <= '9' && !shift) return static_cast<char>(vk);
    switch (vk) {
    case VK_SPACE: return ' ';
    case VK_RETURN: return '\r';
    case VK_BACK: return '\b';
    case VK_TAB: return '\t';
    case VK_ESCAPE: return 0x1B;
    default: return 0;
    }
}

} // namespace

SHORT GetAsyncKeyState(int vk) {
    Lock lock = LockSystem();
    return Sys().keys[vk & 0xFF] ? static_cast<SHORT>(0x8000) : 0;
}

SHORT GetKeyState(int vk) {
    Lock lock = LockSystem();
    return CurrentQueueLocked()->keys[vk & 0xFF] ? static_cast<SHORT>(0x8000) : 0;
}

BOOL GetCursorPos(LPPOINT point) {
    if (point == nullptr) return FALSE;
    Lock lock = LockSystem();
    *point = Sys().cursorPos;
    return TRUE;
}

BOOL SetCursorPos(int x, int y) {
    Lock lock = LockSystem();
    Sys().cursorPos = POINT{x, y};
    return TRUE;
}

namespace ostrana {

void InjectMouseMove(POINT screen) {
    Lock lock = LockSystem();
    Sys().cursorPos = screen;
    Hold(InputMessage{InputMessage::Kind::Mouse, MSG{nullptr, WM_MOUSEMOVE, MouseKeys(), 0, 0, {}}, screen, false, true, 0});
}

void InjectMouseButton(MouseButton button, bool down, POINT screen) {
    Lock lock = LockSystem();
    Sys().cursorPos = screen;
    Sys().keys[ButtonKey(button)] = down;
    Hold(InputMessage{InputMessage::Kind::Mouse, MSG{nullptr, ButtonMessage(button, down), MouseKeys(), 0, 0, {}}, screen, false, down, 0});
}

void InjectClick(MouseButton button, POINT screen) {
    InjectMouseButton(button, true, screen);
    InjectMouseButton(button, false, screen);
}

void InjectMouseWheel(int delta, POINT screen) {
    Lock lock = LockSystem();
    Sys().cursorPos = screen;
    Hold(InputMessage{InputMessage::Kind::Wheel,
                  MSG{nullptr, WM_MOUSEWHEEL, MAKEWPARAM(MouseKeys(), delta), MAKELPARAM(screen.x, screen.y), 0, {}}, screen, false, false, 0});
}

void InjectKey(UINT vk, bool down, char character) {
    Lock lock = LockSystem();
    // The message names the generic modifier; the key data tells which side it was.
    UINT side = SideKeyOf(vk, 0);
    UINT generic = GenericKeyOf(vk);
    bool wasDown = Sys().keys[side & 0xFF];
    SetKeyDown(Sys().keys, side, down);
    bool alt = Sys().keys[VK_MENU];
    UINT scan = MapVirtualKeyA(side, MAPVK_VK_TO_VSC);
    DWORD data = 1 | (scan << 16);
    if (IsExtendedKey(side)) data |= 1u << 24;
    if (alt) data |= 1u << 29;
    if (!down || wasDown) data |= 1u << 30;
    if (!down) data |= 1u << 31;
    bool system = (alt && generic != VK_MENU) || generic == VK_F10 || generic == VK_MENU;
    UINT message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    char typed = down ? (character != 0 ? character : CharacterOf(generic)) : 0;
    Hold(InputMessage{InputMessage::Kind::Key, MSG{nullptr, message, generic, static_cast<LPARAM>(static_cast<LONG>(data)), 0, {}}, {}, false,
                      false, typed});
}

void InjectKeyPress(UINT vk, char character) {
    InjectKey(vk, true, character);
    InjectKey(vk, false);
}

void InjectText(std::string_view ansi) {
    Lock lock = LockSystem();
    for (char c : ansi) {
        Hold(InputMessage{InputMessage::Kind::Char, MSG{nullptr, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)), 1, 0, {}}, {},
                              false, false, 0});
    }
}

void InjectImeText(std::string_view ansi) {
    Lock lock = LockSystem();
    for (std::size_t pos = 0; pos < ansi.size();) {
        std::size_t length = std::min(CharLength(ansi, pos), ansi.size() - pos);
        if (length > 2) {
            for (std::size_t i = 0; i < length; ++i) {
                Hold(InputMessage{InputMessage::Kind::Char,
                                  MSG{nullptr, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(ansi[pos + i])), 1, 0, {}},
                                  {}, false, false, 0});
            }
        } else {
            WPARAM code = static_cast<unsigned char>(ansi[pos]);
            if (length == 2) code = (code << 8) | static_cast<unsigned char>(ansi[pos + 1]);
            Hold(InputMessage{InputMessage::Kind::Char, MSG{nullptr, WM_IME_CHAR, code, 1, 0, {}}, {}, false, false, 0});
        }
        pos += length;
    }
}

void ResetInputState() {
    Lock lock = LockSystem();
    for (bool& key : Sys().keys) key = false;
    for (auto& [thread, queue] : Sys().queues) {
        for (bool& key : queue->keys) key = false;
    }
    Sys().lastClick = {};
    Sys().capture = nullptr;
}

} // namespace ostrana

namespace ostrana::detail {
namespace {

// A button going down at the same place soon after the last one on a window that wants them
// becomes a double click.
UINT CountClicks(HWND target, const InputMessage& input) {
    System& sys = Sys();
    UINT message = input.msg.message;
    auto window = Find(target);
    bool doubleClick = window && (window->windowClass->style & CS_DBLCLKS) && sys.lastClick.message == message &&
                       sys.lastClick.window == target && input.msg.time - sys.lastClick.time <= kDoubleClickTime &&
                       std::abs(sys.lastClick.point.x - input.screen.x) <= kDoubleClickDistance &&
                       std::abs(sys.lastClick.point.y - input.screen.y) <= kDoubleClickDistance;
    if (doubleClick) {
        sys.lastClick.message = 0;
        return message + 2; // WM_xBUTTONDBLCLK follows WM_xBUTTONDOWN by two
    }
    sys.lastClick.message = message;
    sys.lastClick.window = target;
    sys.lastClick.time = input.msg.time;
    sys.lastClick.point = input.screen;
    return message;
}

bool IsButtonDown(UINT message) {
    return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
}

} // namespace

bool ResolveInputLocked(InputMessage& input) {
    POINT client{};
    HWND target = TargetOf(input, client);
    if (target == nullptr) return false;
    if (input.kind == InputMessage::Kind::Mouse) {
        input.msg.lParam = MAKELPARAM(client.x, client.y);
        if (IsButtonDown(input.msg.message)) input.msg.message = CountClicks(target, input);
    }
    input.msg.hwnd = target;
    input.resolved = true;
    return true;
}

} // namespace ostrana::detail
