// Input from the page into the platform.
#include "host/InputInjector.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "host/HostProtocol.h"
#include "host/KeyCodes.h"
#include "platform/base/CodePage.h"
#include "platform/window/Clipboard.h"
#include "platform/window/Input.h"
#include "platform/window/VirtualKeys.h"

namespace ostrana::host {

namespace {

using Json = nlohmann::json;

// A bounded integer field, or `fallback` when absent or not a number.
long long Integer(const Json& message, const char* name, long long fallback, long long low, long long high)
{
    auto found = message.find(name);
    if (found == message.end() || !found->is_number())
        return fallback;
    double value = found->get<double>();
    if (!std::isfinite(value))
        return fallback;
    return static_cast<long long>(std::clamp(value, static_cast<double>(low), static_cast<double>(high)));
}

bool Text(const Json& message, const char* name, std::string& value)
{
    auto found = message.find(name);
    if (found == message.end() || !found->is_string())
        return false;
    value = found->get<std::string>();
    return true;
}

bool Flag(const Json& message, const char* name)
{
    auto found = message.find(name);
    return found != message.end() && found->is_boolean() && found->get<bool>();
}

// Screen points stay far inside the platform's coordinate range.
bool Point(const Json& message, POINT& point)
{
    constexpr long long kLimit = 1 << 20;
    if (!message.contains("x") || !message.contains("y"))
        return false;
    point = POINT{static_cast<LONG>(Integer(message, "x", 0, -kLimit, kLimit)),
                  static_cast<LONG>(Integer(message, "y", 0, -kLimit, kLimit))};
    return true;
}

struct SideKey {
    int bit;
    UINT vk;
};
constexpr SideKey kModifierKeys[] = {
    {static_cast<int>(Modifier::ShiftLeft), VK_LSHIFT},     {static_cast<int>(Modifier::ShiftRight), VK_RSHIFT},
    {static_cast<int>(Modifier::ControlLeft), VK_LCONTROL}, {static_cast<int>(Modifier::ControlRight), VK_RCONTROL},
    {static_cast<int>(Modifier::AltLeft), VK_LMENU},        {static_cast<int>(Modifier::AltRight), VK_RMENU},
};

// A modifier the platform holds but the page says is up was released where the page could not
// see it (the browser lost the focus meanwhile); left held, every later click would be a Ctrl-click.
void ReleaseStaleModifiers(const Json& message)
{
    if (!message.contains("mods"))
        return;
    long long mods = Integer(message, "mods", 0, 0, 0xFF);
    for (const SideKey& key : kModifierKeys)
        if (!(mods & key.bit) && (GetAsyncKeyState(static_cast<int>(key.vk)) & 0x8000))
            InjectKey(key.vk, false);
}

bool Mouse(const Json& message)
{
    POINT point{};
    if (!Point(message, point))
        return false;
    ReleaseStaleModifiers(message);
    auto action = static_cast<MouseAction>(Integer(message, "action", -1, -1, 16));
    auto button = static_cast<MouseButton>(Integer(message, "button", 0, 0, 16));
    ostrana::MouseButton platformButton = button == MouseButton::Right    ? ostrana::MouseButton::Right
                                          : button == MouseButton::Middle ? ostrana::MouseButton::Middle
                                                                          : ostrana::MouseButton::Left;
    switch (action) {
    case MouseAction::Move:
        InjectMouseMove(point);
        return true;
    case MouseAction::Down:
    case MouseAction::Up:
        InjectMouseButton(platformButton, action == MouseAction::Down, point);
        return true;
    case MouseAction::Dblclick:
        return true; // the platform makes double clicks from the two presses
    }
    return false;
}

bool Wheel(const Json& message)
{
    POINT point{};
    if (!Point(message, point))
        return false;
    ReleaseStaleModifiers(message);
    // A wheel word holds a short; a wild delta is clamped, not wrapped into the other direction.
    int delta = static_cast<int>(Integer(message, "delta", 0, -32760, 32760));
    if (delta != 0)
        InjectMouseWheel(delta, point);
    return true;
}

// What a key types: its key when that is one printable ASCII character and neither Ctrl nor Alt
// is held (the platform makes control characters itself), else nothing.
char TypedCharacter(const std::string& key)
{
    bool chord = (GetAsyncKeyState(VK_CONTROL) & 0x8000) || (GetAsyncKeyState(VK_MENU) & 0x8000);
    if (chord || key.size() != 1)
        return 0;
    unsigned char c = static_cast<unsigned char>(key[0]);
    return c >= 0x20 && c < 0x7F ? static_cast<char>(c) : 0;
}

bool Key(const Json& message)
{
    std::string code;
    std::string key;
    if (!Text(message, "code", code))
        return false;
    Text(message, "key", key);
    bool down = Flag(message, "down");
    // While the input method composes, the browser reports keys as "Process"; what they type
    // arrives composed as text, so the key must not type as well.
    UINT vk = key == "Process" ? kVkProcessKey : VirtualKeyOfCode(code);
    if (vk == 0)
        return false;
    InjectKey(vk, down, down && vk != kVkProcessKey ? TypedCharacter(key) : 0);
    ReleaseStaleModifiers(message);
    return true;
}

bool TypedText(const Json& message)
{
    std::string text;
    if (!Text(message, "text", text) || text.empty())
        return false;
    std::string ansi = Utf8ToAnsi(text);
    if (Flag(message, "ime"))
        InjectImeText(ansi);
    else
        InjectText(ansi);
    return true;
}

} // namespace

void InputInjector::ReleaseHeld()
{
    constexpr std::pair<int, ostrana::MouseButton> kButtons[] = {{VK_LBUTTON, ostrana::MouseButton::Left},
                                                                 {VK_RBUTTON, ostrana::MouseButton::Right},
                                                                 {VK_MBUTTON, ostrana::MouseButton::Middle}};
    POINT cursor{};
    GetCursorPos(&cursor);
    for (const auto& [vk, button] : kButtons)
        if (GetAsyncKeyState(vk) & 0x8000)
            InjectMouseButton(button, false, cursor);
    for (const SideKey& key : kModifierKeys)
        if (GetAsyncKeyState(static_cast<int>(key.vk)) & 0x8000)
            InjectKey(key.vk, false);
}

InputInjector::InputInjector(PageActions actions, Post post) : m_actions(std::move(actions)), m_post(std::move(post)) {}

bool InputInjector::Handle(const std::string& text)
{
    Json message = Json::parse(text, nullptr, false);
    if (!message.is_object())
        return false;
    long long kind = Integer(message, "k", 0, 0, std::numeric_limits<int>::max());
    switch (static_cast<ToHost>(kind)) {
    case ToHost::Ack: {
        auto frame = message.find("frame");
        if (frame == message.end() || !frame->is_number_unsigned())
            return false;
        if (m_actions.ack)
            m_actions.ack(frame->get<std::uint64_t>());
        return true;
    }
    case ToHost::Mouse:
        return Mouse(message);
    case ToHost::Wheel:
        return Wheel(message);
    case ToHost::Key:
        return Key(message);
    case ToHost::Text:
        return TypedText(message);
    case ToHost::Resize: {
        SIZE area{static_cast<LONG>(Integer(message, "w", 0, 0, kMaxArea)),
                  static_cast<LONG>(Integer(message, "h", 0, 0, kMaxArea))};
        auto ratio = message.find("dpr");
        double pixelRatio = ratio != message.end() && ratio->is_number() ? ratio->get<double>() : 1.0;
        if (area.cx < 1 || area.cy < 1 || !m_actions.resize)
            return false;
        m_post([resize = m_actions.resize, area, pixelRatio] { resize(area, pixelRatio); });
        return true;
    }
    case ToHost::Property: {
        std::string name;
        std::string value;
        Text(message, "name", name);
        long dispid = static_cast<long>(Integer(message, "dispid", 0, std::numeric_limits<int>::min(),
                                                std::numeric_limits<int>::max()));
        if ((name.empty() && dispid == 0) || !Text(message, "value", value) || !m_actions.property)
            return false;
        m_post([property = m_actions.property, name, dispid, value] { property(name, dispid, value); });
        return true;
    }
    case ToHost::Method: {
        std::string name;
        if (!Text(message, "name", name) || !m_actions.method)
            return false;
        m_post([method = m_actions.method, name] { method(name); });
        return true;
    }
    case ToHost::Clipboard: {
        std::string pasted;
        if (!Text(message, "text", pasted))
            return false;
        if (m_actions.pasted)
            m_actions.pasted(pasted);
        m_post([pasted] { PutClipboardText(pasted); });
        return true;
    }
    }
    return false;
}

} // namespace ostrana::host
