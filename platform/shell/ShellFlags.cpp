#include "platform/shell/ShellFlags.h"

#include <cstring>
#include <optional>

#include "platform/registry/Registry.h"
#include "platform/window/Messages.h"
#include "platform/window/Window.h"

namespace {

// Without any setting: extensions shown and documents opened by a double click.
constexpr DWORD kDefaultBits = 0x00000002 | 0x00000020;

std::optional<DWORD> ReadDword(const char* keyPath, const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    LONG status = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<LPBYTE>(&value), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value) return std::nullopt;
    return value;
}

// "ShellState": a 4-byte size followed by the flag bits.
std::optional<DWORD> ReadShellState() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, ostrana::kExplorerKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
    BYTE data[64] = {};
    DWORD type = 0;
    DWORD size = sizeof data;
    LONG status = RegQueryValueExA(key, "ShellState", nullptr, &type, data, &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_BINARY || size < 8) return std::nullopt;
    DWORD bits = 0;
    std::memcpy(&bits, data + 4, sizeof bits);
    return bits;
}

void SetBit(DWORD& bits, DWORD bit, bool on) { bits = on ? (bits | bit) : (bits & ~bit); }

DWORD CurrentBits() {
    DWORD bits = ReadShellState().value_or(kDefaultBits);
    using ostrana::kExplorerAdvancedKey;
    if (auto hidden = ReadDword(kExplorerAdvancedKey, "Hidden")) SetBit(bits, 0x01, *hidden == 1);
    if (auto hideExt = ReadDword(kExplorerAdvancedKey, "HideFileExt")) SetBit(bits, 0x02, *hideExt == 0);
    if (auto superHidden = ReadDword(kExplorerAdvancedKey, "ShowSuperHidden")) SetBit(bits, 0x08, *superHidden != 0);
    if (auto compColor = ReadDword(kExplorerAdvancedKey, "ShowCompColor")) SetBit(bits, 0x10, *compColor != 0);
    return bits;
}

// Which flag bits each SSF_ mask bit stands for.
struct MaskBit {
    DWORD mask;
    DWORD bit;
};
constexpr MaskBit kMaskBits[] = {
    {SSF_SHOWALLOBJECTS, 1u << 0}, {SSF_SHOWEXTENSIONS, 1u << 1},  {SSF_NOCONFIRMRECYCLE, 1u << 2},
    {SSF_SHOWSYSFILES, 1u << 3},   {SSF_SHOWCOMPCOLOR, 1u << 4},   {SSF_DOUBLECLICKINWEBVIEW, 1u << 5},
    {SSF_DESKTOPHTML, 1u << 6},    {SSF_WIN95CLASSIC, 1u << 7},    {SSF_DONTPRETTYPATH, 1u << 8},
    {SSF_SHOWATTRIBCOL, 1u << 9},  {SSF_MAPNETDRVBUTTON, 1u << 10}, {SSF_SHOWINFOTIP, 1u << 11},
    {SSF_HIDEICONS, 1u << 12},
};

} // namespace

namespace ostrana {

DWORD ShellFlagBits(const SHELLFLAGSTATE& state) {
    DWORD bits = 0;
    static_assert(sizeof state == sizeof bits);
    std::memcpy(&bits, &state, sizeof bits);
    return bits;
}

SHELLFLAGSTATE ShellFlagsFromBits(DWORD bits) {
    SHELLFLAGSTATE state{};
    std::memcpy(&state, &bits, sizeof bits);
    return state;
}

} // namespace ostrana

void SHGetSettings(LPSHELLFLAGSTATE state, DWORD mask) {
    if (state == nullptr) return;
    DWORD bits = CurrentBits();
    DWORD kept = 0;
    for (const auto& entry : kMaskBits) {
        if (mask & entry.mask) kept |= entry.bit;
    }
    *state = ostrana::ShellFlagsFromBits(bits & kept);
}

namespace {

BOOL SendSettingChange(HWND window, LPARAM section) {
    DWORD_PTR ignored = 0;
    // A window whose thread does not answer must not stop the others from hearing it.
    SendMessageTimeoutA(window, WM_SETTINGCHANGE, 0, section, SMTO_ABORTIFHUNG, 5000, &ignored);
    return TRUE;
}

BOOL SendToTreeOf(HWND top, LPARAM section) {
    SendSettingChange(top, section);
    EnumChildWindows(top, SendSettingChange, section);
    return TRUE;
}

} // namespace

namespace ostrana {

bool StoreShellFlags(DWORD bits) {
    HKEY key = nullptr;
    if (RegCreateKeyA(HKEY_CURRENT_USER, kExplorerKey, &key) != ERROR_SUCCESS) return false;
    BYTE data[8] = {8, 0, 0, 0};
    std::memcpy(data + 4, &bits, sizeof bits);
    bool stored = RegSetValueExA(key, "ShellState", 0, REG_BINARY, data, sizeof data) == ERROR_SUCCESS;
    RegCloseKey(key);
    if (stored) AnnounceSettingChange("ShellState");
    return stored;
}

void AnnounceSettingChange(const char* section) {
    EnumWindows(SendToTreeOf, reinterpret_cast<LPARAM>(section));
}

} // namespace ostrana
