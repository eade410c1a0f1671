// Input injection. Events are held in the desktop-wide queue under the window system's lock and
// turned into messages for a window when it is their turn; WM_SETCURSOR and the keyboard hooks run
// on the window's thread when the message is taken.
#include "platform/window/Input.h"

#include <cctype>
#include <cstdlib>

#include "platform/window/Focus.h"
#include "platform/window/KeyNames.h"
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

// Moves not yet taken merge, as on Windows: with the last held event, or with the one already
// delivered when it is a move to the same window.
bool MergeMove(const RawInput& raw) {
    System& sys = Sys();
    if (!sys.rawInput.empty()) {
        if (sys.rawInput.back().msg.message != WM_MOUSEMOVE) return false;
        sys.rawInput.back() = raw;
        return true;
    }
    auto queue = QueueOf(sys.inputOwner);
    if (!queue || queue->input.empty() || queue->input.back().msg.message != WM_MOUSEMOVE) return false;
    MSG& delivered = queue->input.back().msg;
    POINT client{};
    if (MouseTarget(raw.screen, client) != delivered.hwnd) return false;
    HWND window = delivered.hwnd;
    delivered = raw.msg;
    delivered.hwnd = window;
    delivered.lParam = MAKELPARAM(client.x, client.y);
    return true;
}

void Hold(RawInput raw) {
    System& sys = Sys();
    raw.msg.time = MessageClock();
    if (raw.kind != RawInput::Kind::Mouse && raw.kind != RawInput::Kind::Wheel) raw.screen = sys.cursorPos;
    raw.msg.pt = raw.screen;
    if (raw.msg.message == WM_MOUSEMOVE && MergeMove(raw)) return;
    sys.rawInput.push_back(raw);
    DeliverRawInputLocked();
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

void SetKey(UINT vk, bool down) {
    bool* keys = Sys().keys;
    keys[vk & 0xFF] = down;
    if (vk == VK_LSHIFT || vk == VK_RSHIFT) keys[VK_SHIFT] = keys[VK_LSHIFT] || keys[VK_RSHIFT] || down;
    if (vk == VK_LCONTROL || vk == VK_RCONTROL) keys[VK_CONTROL] = down;
    if (vk == VK_LMENU || vk == VK_RMENU) keys[VK_MENU] = down;
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
    Hold(RawInput{RawInput::Kind::Mouse, MSG{nullptr, WM_MOUSEMOVE, MouseKeys(), 0, 0, {}}, screen, true, 0});
}

void InjectMouseButton(MouseButton button, bool down, POINT screen) {
    Lock lock = LockSystem();
    Sys().cursorPos = screen;
    Sys().keys[ButtonKey(button)] = down;
    Hold(RawInput{RawInput::Kind::Mouse, MSG{nullptr, ButtonMessage(button, down), MouseKeys(), 0, 0, {}}, screen, down, 0});
}

void InjectClick(MouseButton button, POINT screen) {
    InjectMouseButton(button, true, screen);
    InjectMouseButton(button, false, screen);
}

void InjectMouseWheel(int delta, POINT screen) {
    Lock lock = LockSystem();
    Sys().cursorPos = screen;
    Hold(RawInput{RawInput::Kind::Wheel,
                  MSG{nullptr, WM_MOUSEWHEEL, MAKEWPARAM(MouseKeys(), delta), MAKELPARAM(screen.x, screen.y), 0, {}}, screen, false, 0});
}

void InjectKey(UINT vk, bool down, char character) {
    Lock lock = LockSystem();
    bool wasDown = Sys().keys[vk & 0xFF];
    SetKey(vk, down);
    bool alt = Sys().keys[VK_MENU];
    UINT scan = MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
    DWORD data = 1 | (scan << 16);
    if (IsExtendedKey(vk)) data |= 1u << 24;
    if (alt) data |= 1u << 29;
    if (!down || wasDown) data |= 1u << 30;
    if (!down) data |= 1u << 31;
    bool system = (alt && vk != VK_MENU) || vk == VK_F10 || (vk == VK_MENU);
    UINT message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    char typed = down ? (character != 0 ? character : CharacterOf(vk)) : 0;
    Hold(RawInput{RawInput::Kind::Key, MSG{nullptr, message, vk, static_cast<LPARAM>(static_cast<LONG>(data)), 0, {}}, {}, false, typed});
}

void InjectKeyPress(UINT vk, char character) {
    InjectKey(vk, true, character);
    InjectKey(vk, false);
}

void InjectText(std::string_view ansi) {
    Lock lock = LockSystem();
    for (char c : ansi) {
        Hold(RawInput{RawInput::Kind::Char, MSG{nullptr, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)), 1, 0, {}}, {},
                      false, 0});
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
    Sys().rawInput.clear();
    Sys().inputOwner = 0;
}

} // namespace ostrana

namespace ostrana::detail {
namespace {

// A button going down at the same place soon after the last one on a window that wants them
// becomes a double click.
UINT CountClicks(HWND target, const RawInput& raw) {
    System& sys = Sys();
    UINT message = raw.msg.message;
    auto window = Find(target);
    bool doubleClick = window && (window->windowClass->style & CS_DBLCLKS) && sys.lastClick.message == message &&
                       sys.lastClick.window == target && raw.msg.time - sys.lastClick.time <= kDoubleClickTime &&
                       std::abs(sys.lastClick.point.x - raw.screen.x) <= kDoubleClickDistance &&
                       std::abs(sys.lastClick.point.y - raw.screen.y) <= kDoubleClickDistance;
    if (doubleClick) {
        sys.lastClick.message = 0;
        return message + 2; // WM_xBUTTONDBLCLK follows WM_xBUTTONDOWN by two
    }
    sys.lastClick.message = message;
    sys.lastClick.window = target;
    sys.lastClick.time = raw.msg.time;
    sys.lastClick.point = raw.screen;
    return message;
}

bool IsButtonDown(UINT message) {
    return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
}

// Chooses the window of an event now, with the capture and focus as they are; null drops it.
HWND Resolve(RawInput& raw) {
    POINT client{};
    switch (raw.kind) {
    case RawInput::Kind::Mouse: {
        HWND target = MouseTarget(raw.screen, client);
        if (target == nullptr) return nullptr;
        raw.msg.lParam = MAKELPARAM(client.x, client.y);
        if (IsButtonDown(raw.msg.message)) raw.msg.message = CountClicks(target, raw);
        return target;
    }
    case RawInput::Kind::Wheel: {
        HWND target = KeyboardFocusWindowLocked();
        return target != nullptr ? target : MouseTarget(raw.screen, client);
    }
    default: return KeyboardFocusWindowLocked();
    }
}

} // namespace

void DeliverRawInputLocked() {
    System& sys = Sys();
    while (sys.inputOwner == 0 && !sys.rawInput.empty()) {
        RawInput raw = sys.rawInput.front();
        sys.rawInput.pop_front();
        HWND target = Resolve(raw);
        auto window = Find(target);
        auto queue = window ? QueueOf(window->thread) : nullptr;
        if (!queue) continue;
        raw.msg.hwnd = target;
        queue->input.push_back(InputMessage{raw.msg, raw.setCursor, raw.character});
        sys.inputOwner = queue->thread;
        queue->wake.notify_all();
    }
}

void InputOwnerBackLocked(ThreadQueue& queue) {
    if (Sys().inputOwner != queue.thread || !queue.input.empty()) return;
    Sys().inputOwner = 0;
    DeliverRawInputLocked();
}

void ForgetInputOwnerLocked(DWORD thread) {
    if (Sys().inputOwner != thread) return;
    Sys().inputOwner = 0;
    DeliverRawInputLocked();
}

} // namespace ostrana::detail
