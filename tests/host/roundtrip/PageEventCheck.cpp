// The page's events through the container's input injector, and back into the protocol's terms.
#include "tests/host/roundtrip/PageEventCheck.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <utility>

#include "host/HostProtocol.h"
#include "host/InputInjector.h"
#include "host/KeyCodes.h"
#include "platform/base/CodePage.h"
#include "platform/window/Clipboard.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/VirtualKeys.h"
#include "tests/support/WindowHarness.h"

namespace ostrana::host::roundtrip {

namespace {

using Json = nlohmann::json;

struct Arrival {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// The window input reaches: it covers the area the page is shown in, at the screen's corner, so
// client and screen coordinates are the same.
class Target {
public:
    Target()
    {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = &Target::Procedure;
        windowClass.lpszClassName = "RoundTripTarget";
        RegisterClassA(&windowClass);
        m_window = CreateWindowExA(0, "RoundTripTarget", "", WS_POPUP | WS_VISIBLE, 0, 0, 1200, 900, nullptr, nullptr,
                                   nullptr, nullptr);
        SetWindowLongPtrA(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        SetFocus(m_window);
    }
    ~Target()
    {
        SetWindowLongPtrA(m_window, GWLP_USERDATA, 0);
        DestroyWindow(m_window);
    }
    Target(const Target&) = delete;
    Target& operator=(const Target&) = delete;

    std::vector<Arrival> Take()
    {
        std::lock_guard guard(m_lock);
        return std::exchange(m_arrived, {});
    }

private:
    static bool Recorded(UINT message)
    {
        return (message >= WM_MOUSEMOVE && message <= WM_MOUSEWHEEL) || (message >= WM_KEYDOWN && message <= WM_SYSKEYUP) ||
               message == WM_IME_CHAR;
    }
    static LRESULT Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<Target*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self && Recorded(message)) {
            std::lock_guard guard(self->m_lock);
            self->m_arrived.push_back({message, wParam, lParam});
        }
        // Composed characters are read as they come, not as the bytes the default procedure makes.
        return message == WM_IME_CHAR ? 0 : DefWindowProcA(window, message, wParam, lParam);
    }

    HWND m_window = nullptr;
    std::mutex m_lock;
    std::vector<Arrival> m_arrived;
};

constexpr std::pair<Modifier, UINT> kSideKeys[] = {
    {Modifier::ShiftLeft, VK_LSHIFT},     {Modifier::ShiftRight, VK_RSHIFT}, {Modifier::ControlLeft, VK_LCONTROL},
    {Modifier::ControlRight, VK_RCONTROL}, {Modifier::AltLeft, VK_LMENU},    {Modifier::AltRight, VK_RMENU},
};

bool Held(UINT vk)
{
    return (GetAsyncKeyState(static_cast<int>(vk)) & 0x8000) != 0;
}

// The modifier bits of the keys the platform holds.
int HeldModifiers()
{
    int bits = 0;
    for (const auto& [bit, vk] : kSideKeys)
        if (Held(vk))
            bits |= static_cast<int>(bit);
    return bits;
}

// The key the window's messages name for a side key (Windows reports Shift, not right Shift).
UINT Reported(UINT vk)
{
    switch (vk) {
    case VK_LSHIFT:
    case VK_RSHIFT: return VK_SHIFT;
    case VK_LCONTROL:
    case VK_RCONTROL: return VK_CONTROL;
    case VK_LMENU:
    case VK_RMENU: return VK_MENU;
    default: return vk;
    }
}

int SignedLow(LPARAM value)
{
    return static_cast<short>(LOWORD(value));
}

int SignedHigh(LPARAM value)
{
    return static_cast<short>(HIWORD(value));
}

struct MouseMessage {
    UINT message;
    int action;
    int button;
};

constexpr MouseMessage kMouseMessages[] = {
    {WM_LBUTTONDOWN, static_cast<int>(MouseAction::Down), static_cast<int>(MouseButton::Left)},
    {WM_LBUTTONDBLCLK, static_cast<int>(MouseAction::Down), static_cast<int>(MouseButton::Left)},
    {WM_LBUTTONUP, static_cast<int>(MouseAction::Up), static_cast<int>(MouseButton::Left)},
    {WM_RBUTTONDOWN, static_cast<int>(MouseAction::Down), static_cast<int>(MouseButton::Right)},
    {WM_RBUTTONDBLCLK, static_cast<int>(MouseAction::Down), static_cast<int>(MouseButton::Right)},
    {WM_RBUTTONUP, static_cast<int>(MouseAction::Up), static_cast<int>(MouseButton::Right)},
    {WM_MBUTTONDOWN, static_cast<int>(MouseAction::Down), static_cast<int>(MouseButton::Middle)},
    {WM_MBUTTONDBLCLK, static_cast<int>(MouseAction::Down), static_cast<int>(MouseButton::Middle)},
    {WM_MBUTTONUP, static_cast<int>(MouseAction::Up), static_cast<int>(MouseButton::Middle)},
};

// A press or release wins over the move the platform may send before it.
Json ReadMouse(const std::vector<Arrival>& arrived)
{
    Json read;
    for (const Arrival& arrival : arrived) {
        auto button = std::find_if(std::begin(kMouseMessages), std::end(kMouseMessages),
                                   [&](const MouseMessage& known) { return known.message == arrival.message; });
        if (button == std::end(kMouseMessages) && arrival.message != WM_MOUSEMOVE)
            continue;
        if (button == std::end(kMouseMessages) && read.contains("button"))
            continue;
        read = Json{{"x", SignedLow(arrival.lParam)}, {"y", SignedHigh(arrival.lParam)}};
        if (button == std::end(kMouseMessages)) {
            read["action"] = static_cast<int>(MouseAction::Move);
        } else {
            read["action"] = button->action;
            read["button"] = button->button;
        }
    }
    read["mods"] = HeldModifiers();
    return read;
}

Json ReadWheel(const std::vector<Arrival>& arrived)
{
    Json read{{"mods", HeldModifiers()}};
    for (const Arrival& arrival : arrived)
        if (arrival.message == WM_MOUSEWHEEL) {
            read["delta"] = GET_WHEEL_DELTA_WPARAM(arrival.wParam);
            read["x"] = SignedLow(arrival.lParam);
            read["y"] = SignedHigh(arrival.lParam);
        }
    return read;
}

bool IsPrintable(const std::string& key)
{
    return key.size() == 1 && static_cast<unsigned char>(key[0]) >= 0x20 && static_cast<unsigned char>(key[0]) < 0x7F;
}

// The key's code reads back when the window heard of that key and the platform holds it as
// told; its key, when it typed what a key of that name types (nothing while Ctrl or Alt is held).
Json ReadKey(const Json& sent, const std::vector<Arrival>& arrived, bool heldBefore, bool chordBefore)
{
    std::string code = sent.value("code", "");
    std::string key = sent.value("key", "");
    UINT vk = VirtualKeyOfCode(code);
    Json read{{"mods", HeldModifiers()}};
    std::string typed;
    for (const Arrival& arrival : arrived) {
        bool down = arrival.message == WM_KEYDOWN || arrival.message == WM_SYSKEYDOWN;
        bool up = arrival.message == WM_KEYUP || arrival.message == WM_SYSKEYUP;
        if ((down || up) && vk != 0 && arrival.wParam == Reported(vk) && Held(vk) == down) {
            read["code"] = code;
            read["down"] = down;
            read["repeat"] = down && heldBefore;
        } else if (down || up) {
            read["code"] = "virtual key " + std::to_string(arrival.wParam);
        } else if (arrival.message == WM_CHAR && arrival.wParam >= 0x20 && arrival.wParam < 0x7F) {
            typed += static_cast<char>(arrival.wParam);
        }
    }
    bool down = read.value("down", false);
    std::string types = down && IsPrintable(key) && !chordBefore ? key : "";
    read["key"] = typed == types ? key : "typed \"" + typed + "\"";
    return read;
}

Json ReadText(const std::vector<Arrival>& arrived)
{
    std::string ansi;
    bool composed = false;
    for (const Arrival& arrival : arrived) {
        if (arrival.message == WM_IME_CHAR) {
            composed = true;
            if (arrival.wParam > 0xFF)
                ansi += static_cast<char>((arrival.wParam >> 8) & 0xFF);
            ansi += static_cast<char>(arrival.wParam & 0xFF);
        } else if (arrival.message == WM_CHAR) {
            ansi += static_cast<char>(arrival.wParam & 0xFF);
        }
    }
    return Json{{"text", AnsiToUtf8(ansi)}, {"ime", composed}};
}

class Reader {
public:
    Reader()
        : m_injector(Actions(), [this](std::function<void()> task) { m_tasks.push_back(std::move(task)); })
    {
        m_ui.Run([this] {
            ResetInputState();
            m_target = std::make_unique<Target>();
        });
    }
    ~Reader()
    {
        m_ui.Run([this] {
            m_target.reset();
            ResetInputState();
        });
    }
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    // What the container made of one of the page's messages; null when it dropped it.
    Json Read(const std::string& kind, const std::string& text)
    {
        Json sent = Json::parse(text, nullptr, false);
        bool heldBefore = sent.is_object() && Held(VirtualKeyOfCode(sent.value("code", "")));
        bool chordBefore = Held(VK_CONTROL) || Held(VK_MENU);
        if (!m_injector.Handle(text))
            return nullptr;
        for (auto& task : std::exchange(m_tasks, {}))
            m_ui.Run(task);
        m_ui.WaitIdle();
        std::vector<Arrival> arrived = m_target->Take();
        if (kind == "mouse")
            return ReadMouse(arrived);
        if (kind == "wheel")
            return ReadWheel(arrived);
        if (kind == "key")
            return ReadKey(sent, arrived, heldBefore, chordBefore);
        if (kind == "text")
            return ReadText(arrived);
        Json done = m_requests.empty() ? Json() : m_requests.back();
        m_requests.clear();
        if (kind == "clipboard" && done.is_object())
            done["onClipboard"] = m_ui.Get<std::string>([] { return ClipboardText(); });
        return done;
    }

private:
    PageActions Actions()
    {
        PageActions actions;
        actions.ack = [this](std::uint64_t frame) { m_requests.push_back({{"frame", frame}}); };
        actions.resize = [this](SIZE area, double ratio) {
            m_requests.push_back({{"w", area.cx}, {"h", area.cy}, {"dpr", ratio}});
        };
        actions.property = [this](const std::string& name, long dispid, const std::string& value) {
            Json request{{"name", name}, {"value", value}};
            if (dispid != 0)
                request["dispid"] = dispid;
            m_requests.push_back(request);
        };
        actions.method = [this](const std::string& name) { m_requests.push_back({{"name", name}}); };
        actions.pasted = [this](const std::string& text) { m_requests.push_back({{"text", text}}); };
        return actions;
    }

    test::UiThread m_ui;
    std::unique_ptr<Target> m_target;
    std::vector<std::function<void()>> m_tasks;
    std::vector<Json> m_requests;
    InputInjector m_injector;
};

} // namespace

std::vector<std::string> CheckPageEvents(const Json& recording, const std::vector<std::string>& kinds)
{
    std::vector<std::string> faults;
    std::set<std::string> seen;
    Reader reader;
    const Json& events = recording.at("events");
    for (std::size_t i = 0; i < events.size(); ++i) {
        const std::string text = events[i].at("json").get<std::string>();
        const Json& expected = events[i].at("expected");
        const std::string kind = expected.at("kind").get<std::string>();
        std::string where = "event " + std::to_string(i) + " (" + kind + ") " + text + ": ";
        Json read = reader.Read(kind, text);
        if (!read.is_object()) {
            faults.push_back(where + "the container dropped it");
            continue;
        }
        seen.insert(kind);
        for (const auto& [field, value] : expected.at("fields").items())
            if (!read.contains(field) || read[field] != value)
                faults.push_back(where + field + " should read " + value.dump() + ", read " +
                                 (read.contains(field) ? read[field].dump() : "nothing"));
        // Pasted text is on the platform's clipboard before any key that pastes it arrives.
        if (kind == "clipboard" && read.value("onClipboard", "") != read.value("text", ""))
            faults.push_back(where + "the platform's clipboard holds " + read.value("onClipboard", "") + "");
    }
    for (const std::string& kind : kinds)
        if (!seen.count(kind))
            faults.push_back("no event of kind " + kind + " was read back");
    return faults;
}

} // namespace ostrana::host::roundtrip
