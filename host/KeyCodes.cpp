// Physical keys of the page as virtual keys.
#include "host/KeyCodes.h"

#include <utility>

#include "platform/window/VirtualKeys.h"

namespace ostrana::host {

namespace {

struct NamedKey {
    std::string_view code;
    UINT vk;
};

constexpr NamedKey kKeys[] = {
    {"Backspace", VK_BACK},
    {"Tab", VK_TAB},
    {"Enter", VK_RETURN},
    {"NumpadEnter", VK_RETURN},
    {"ShiftLeft", VK_LSHIFT},
    {"ShiftRight", VK_RSHIFT},
    {"ControlLeft", VK_LCONTROL},
    {"ControlRight", VK_RCONTROL},
    {"AltLeft", VK_LMENU},
    {"AltRight", VK_RMENU},
    {"MetaLeft", 0x5B},
    {"MetaRight", 0x5C},
    {"ContextMenu", 0x5D},
    {"Pause", VK_PAUSE},
    {"CapsLock", VK_CAPITAL},
    {"Lang1", 0x15}, // 한/영
    {"Lang2", 0x19}, // 한자
    {"Escape", VK_ESCAPE},
    {"Space", VK_SPACE},
    {"PageUp", VK_PRIOR},
    {"PageDown", VK_NEXT},
    {"End", VK_END},
    {"Home", VK_HOME},
    {"ArrowLeft", VK_LEFT},
    {"ArrowUp", VK_UP},
    {"ArrowRight", VK_RIGHT},
    {"ArrowDown", VK_DOWN},
    {"PrintScreen", VK_SNAPSHOT},
    {"Insert", VK_INSERT},
    {"Delete", VK_DELETE},
    {"NumpadMultiply", VK_MULTIPLY},
    {"NumpadAdd", VK_ADD},
    {"NumpadSubtract", VK_SUBTRACT},
    {"NumpadDecimal", VK_DECIMAL},
    {"NumpadDivide", VK_DIVIDE},
    {"NumLock", VK_NUMLOCK},
    {"ScrollLock", VK_SCROLL},
    {"Semicolon", 0xBA},
    {"Equal", 0xBB},
    {"Comma", 0xBC},
    {"Minus", 0xBD},
    {"Period", 0xBE},
    {"Slash", 0xBF},
    {"Backquote", 0xC0},
    {"BracketLeft", 0xDB},
    {"Backslash", 0xDC},
    {"BracketRight", 0xDD},
    {"Quote", 0xDE},
    {"IntlBackslash", 0xE2},
};

// The number after `prefix` when it is a plain decimal in [low, high], else -1.
int Numbered(std::string_view code, std::string_view prefix, int low, int high)
{
    if (!code.starts_with(prefix) || code.size() == prefix.size() || code.size() > prefix.size() + 2)
        return -1;
    int value = 0;
    for (char c : code.substr(prefix.size())) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value >= low && value <= high ? value : -1;
}

} // namespace

UINT VirtualKeyOfCode(std::string_view code)
{
    if (code.size() == 4 && code.starts_with("Key") && code[3] >= 'A' && code[3] <= 'Z')
        return static_cast<UINT>(code[3]);
    if (code.size() == 6 && code.starts_with("Digit") && code[5] >= '0' && code[5] <= '9')
        return static_cast<UINT>(code[5]);
    if (int n = Numbered(code, "Numpad", 0, 9); n >= 0)
        return VK_NUMPAD0 + static_cast<UINT>(n);
    if (int n = Numbered(code, "F", 1, 12); n >= 0)
        return VK_F1 + static_cast<UINT>(n - 1);
    for (const NamedKey& key : kKeys)
        if (key.code == code)
            return key.vk;
    return 0;
}

} // namespace ostrana::host
