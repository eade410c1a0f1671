#include "platform/window/KeyNames.h"

#include <cstring>
#include <string>

namespace {

struct KeyEntry {
    UINT vk;
    UINT scan;
    const char* name;         // without the extended bit
    const char* extendedName; // with it, or null
};

// Letters and digits are handled arithmetically below.
constexpr KeyEntry kKeys[] = {
    {VK_ESCAPE, 0x01, "Esc", nullptr},
    {0xBD, 0x0C, "-", nullptr},
    {0xBB, 0x0D, "=", nullptr},
    {VK_BACK, 0x0E, "Backspace", nullptr},
    {VK_TAB, 0x0F, "Tab", nullptr},
    {0xDB, 0x1A, "[", nullptr},
    {0xDD, 0x1B, "]", nullptr},
    {VK_RETURN, 0x1C, "Enter", "Num Enter"},
    {VK_CONTROL, 0x1D, "Ctrl", "Right Ctrl"},
    {0xBA, 0x27, ";", nullptr},
    {0xDE, 0x28, "'", nullptr},
    {0xC0, 0x29, "`", nullptr},
    {VK_SHIFT, 0x2A, "Shift", nullptr},
    {0xDC, 0x2B, "\\", nullptr},
    {0xBC, 0x33, ",", nullptr},
    {0xBE, 0x34, ".", nullptr},
    {0xBF, 0x35, "/", "Num /"},
    {VK_SHIFT, 0x36, "Right Shift", nullptr},
    {VK_MULTIPLY, 0x37, "Num *", "Prnt Scrn"},
    {VK_MENU, 0x38, "Alt", "Right Alt"},
    {VK_SPACE, 0x39, "Space", nullptr},
    {VK_CAPITAL, 0x3A, "Caps Lock", nullptr},
    {VK_F1, 0x3B, "F1", nullptr},
    {VK_F2, 0x3C, "F2", nullptr},
    {VK_F3, 0x3D, "F3", nullptr},
    {VK_F4, 0x3E, "F4", nullptr},
    {VK_F5, 0x3F, "F5", nullptr},
    {VK_F6, 0x40, "F6", nullptr},
    {VK_F7, 0x41, "F7", nullptr},
    {VK_F8, 0x42, "F8", nullptr},
    {VK_F9, 0x43, "F9", nullptr},
    {VK_F10, 0x44, "F10", nullptr},
    {VK_NUMLOCK, 0x45, "Pause", "Num Lock"},
    {VK_SCROLL, 0x46, "Scroll Lock", nullptr},
    {VK_HOME, 0x47, "Num 7", "Home"},
    {VK_UP, 0x48, "Num 8", "Up"},
    {VK_PRIOR, 0x49, "Num 9", "Page Up"},
    {VK_SUBTRACT, 0x4A, "Num -", nullptr},
    {VK_LEFT, 0x4B, "Num 4", "Left"},
    {VK_CLEAR, 0x4C, "Num 5", nullptr},
    {VK_RIGHT, 0x4D, "Num 6", "Right"},
    {VK_ADD, 0x4E, "Num +", nullptr},
    {VK_END, 0x4F, "Num 1", "End"},
    {VK_DOWN, 0x50, "Num 2", "Down"},
    {VK_NEXT, 0x51, "Num 3", "Page Down"},
    {VK_INSERT, 0x52, "Num 0", "Insert"},
    {VK_DELETE, 0x53, "Num Del", "Delete"},
    {VK_F11, 0x57, "F11", nullptr},
    {VK_F12, 0x58, "F12", nullptr},
    {VK_NUMPAD7, 0x47, "Num 7", nullptr},
    {VK_NUMPAD8, 0x48, "Num 8", nullptr},
    {VK_NUMPAD9, 0x49, "Num 9", nullptr},
    {VK_NUMPAD4, 0x4B, "Num 4", nullptr},
    {VK_NUMPAD5, 0x4C, "Num 5", nullptr},
    {VK_NUMPAD6, 0x4D, "Num 6", nullptr},
    {VK_NUMPAD1, 0x4F, "Num 1", nullptr},
    {VK_NUMPAD2, 0x50, "Num 2", nullptr},
    {VK_NUMPAD3, 0x51, "Num 3", nullptr},
    {VK_NUMPAD0, 0x52, "Num 0", nullptr},
    {VK_DECIMAL, 0x53, "Num Del", nullptr},
};

constexpr char kLetterRow1[] = "QWERTYUIOP";
constexpr char kLetterRow2[] = "ASDFGHJKL";
constexpr char kLetterRow3[] = "ZXCVBNM";

UINT LetterScan(char letter) {
    if (const char* at = std::strchr(kLetterRow1, letter)) return 0x10 + static_cast<UINT>(at - kLetterRow1);
    if (const char* at = std::strchr(kLetterRow2, letter)) return 0x1E + static_cast<UINT>(at - kLetterRow2);
    if (const char* at = std::strchr(kLetterRow3, letter)) return 0x2C + static_cast<UINT>(at - kLetterRow3);
    return 0;
}

// Right Ctrl and right Alt share the left keys' scan codes and differ by the extended bit.
UINT SideKeyScan(UINT vk) {
    switch (vk) {
    case VK_LSHIFT: return 0x2A;
    case VK_RSHIFT: return 0x36;
    case VK_LCONTROL:
    case VK_RCONTROL: return 0x1D;
    case VK_LMENU:
    case VK_RMENU: return 0x38;
    default: return 0;
    }
}

std::string NameOfScan(UINT scan, bool extended) {
    if (scan >= 0x02 && scan <= 0x0B) return std::string(1, scan == 0x0B ? '0' : static_cast<char>('1' + scan - 0x02));
    for (const char* row : {kLetterRow1, kLetterRow2, kLetterRow3}) {
        for (const char* c = row; *c != '\0'; ++c) {
            if (LetterScan(*c) == scan) return std::string(1, *c);
        }
    }
    for (const KeyEntry& key : kKeys) {
        if (key.scan != scan) continue;
        if (extended) return key.extendedName != nullptr ? key.extendedName : key.name;
        return key.name;
    }
    return {};
}

} // namespace

UINT MapVirtualKeyA(UINT code, UINT mapType) {
    if (mapType == MAPVK_VK_TO_VSC) {
        if (code >= '0' && code <= '9') return code == '0' ? 0x0B : 0x02 + (code - '1');
        if (code >= 'A' && code <= 'Z') return LetterScan(static_cast<char>(code));
        if (UINT scan = SideKeyScan(code)) return scan;
        for (const KeyEntry& key : kKeys) {
            if (key.vk == code) return key.scan;
        }
        return 0;
    }
    if (mapType == MAPVK_VSC_TO_VK) {
        for (UINT vk = '0'; vk <= 'Z'; ++vk) {
            if (MapVirtualKeyA(vk, MAPVK_VK_TO_VSC) == code && code != 0) return vk;
        }
        for (const KeyEntry& key : kKeys) {
            if (key.scan == code) return key.vk;
        }
        return 0;
    }
    if (mapType == MAPVK_VK_TO_CHAR) {
        if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z')) return code;
        return code == VK_SPACE ? ' ' : 0;
    }
    return 0;
}

int GetKeyNameTextA(LONG keyData, LPSTR buffer, int bufferMax) {
    if (buffer == nullptr || bufferMax <= 0) return 0;
    UINT scan = (static_cast<DWORD>(keyData) >> 16) & 0xFF;
    bool extended = (keyData & (1L << 24)) != 0;
    std::string name = NameOfScan(scan, extended);
    std::size_t length = std::min(name.size(), static_cast<std::size_t>(bufferMax - 1));
    std::memcpy(buffer, name.data(), length);
    buffer[length] = '\0';
    return static_cast<int>(length);
}

namespace ostrana {
bool IsExtendedKey(UINT vk) {
    switch (vk) {
    case VK_INSERT:
    case VK_DELETE:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_DIVIDE:
    case VK_RCONTROL:
    case VK_RMENU: return true;
    default: return false;
    }
}
} // namespace ostrana
