#include <gtest/gtest.h>

#include <cstring>

#include "platform/registry/Registry.h"
#include "platform/shell/ShellFlags.h"
#include "platform/shell/ShellLibrary.h"
#include "tests/support/TempDir.h"

namespace {

using GetSettings = void (*)(LPSHELLFLAGSTATE, DWORD);

void SetDword(const char* name, DWORD value) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, ostrana::kExplorerAdvancedKey, &key), ERROR_SUCCESS);
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
}

void SetShellState(DWORD bits) {
    BYTE data[8] = {8, 0, 0, 0};
    std::memcpy(data + 4, &bits, sizeof bits);
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, ostrana::kExplorerKey, &key), ERROR_SUCCESS);
    RegSetValueExA(key, "ShellState", 0, REG_BINARY, data, sizeof data);
    RegCloseKey(key);
}

DWORD Read(DWORD mask) {
    SHELLFLAGSTATE state{};
    SHGetSettings(&state, mask);
    return ostrana::ShellFlagBits(state);
}

TEST(ShellLibrary, Shell32AnswersSHGetSettingsOnly) {
    HMODULE shell = LoadLibraryA("shell32.dll");
    ASSERT_NE(shell, nullptr);
    EXPECT_EQ(LoadLibraryA("C:\\WINDOWS\\system32\\SHELL32.DLL"), shell);
    EXPECT_EQ(LoadLibraryA("user32.dll"), nullptr);
    EXPECT_EQ(reinterpret_cast<GetSettings>(GetProcAddress(shell, "SHGetSettings")), &SHGetSettings);
    EXPECT_EQ(GetProcAddress(shell, "SHGetSettingsX"), nullptr);
    EXPECT_EQ(GetProcAddress(nullptr, "SHGetSettings"), nullptr);
    EXPECT_TRUE(FreeLibrary(shell));
    EXPECT_FALSE(FreeLibrary(reinterpret_cast<HMODULE>(&shell)));
}

TEST(ShellFlags, RegistryDecidesAndTheMaskFilters) {
    ostrana::test::ScopedRegistryFile registry;
    EXPECT_EQ(Read(0xFFFF), 0x22u) << "extensions shown, double click by default";

    SetShellState(0x01 | 0x08 | 0x10);
    EXPECT_EQ(Read(0xFFFF), 0x19u);
    EXPECT_EQ(Read(SSF_SHOWSYSFILES), 0x08u);
    EXPECT_EQ(Read(SSF_SHOWCOMPCOLOR | SSF_SHOWALLOBJECTS), 0x11u);

    // Explorer's advanced values win over the stored state.
    SetDword("Hidden", 2);
    SetDword("HideFileExt", 0);
    SetDword("ShowSuperHidden", 0);
    EXPECT_EQ(Read(0xFFAB), 0x12u);
}

} // namespace

#include <atomic>

#include "platform/window/Messages.h"
#include "platform/window/Window.h"
#include "tests/support/WindowHarness.h"

namespace {

std::atomic<int> g_shellStateHeard{0};

LRESULT HearSettings(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTINGCHANGE && lParam != 0 && std::strcmp(reinterpret_cast<const char*>(lParam), "ShellState") == 0) {
        ++g_shellStateHeard;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(ShellFlags, StoringAnnouncesTheChangeToTopLevelWindowsAndTheirChildren) {
    ostrana::test::ScopedRegistryFile registry;
    ostrana::test::UiThread ui;
    HWND top = nullptr;
    ui.Run([&] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = HearSettings;
        windowClass.lpszClassName = "ShellFlagsHearer";
        RegisterClassA(&windowClass);
        top = CreateWindowExA(0, "ShellFlagsHearer", "", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
        HWND child = CreateWindowExA(0, "ShellFlagsHearer", "", WS_CHILD, 0, 0, 5, 5, top, nullptr, nullptr, nullptr);
        CreateWindowExA(0, "ShellFlagsHearer", "", WS_CHILD, 0, 0, 5, 5, child, nullptr, nullptr, nullptr);
    });
    ASSERT_TRUE(ostrana::StoreShellFlags(0x01 | 0x08));
    EXPECT_EQ(g_shellStateHeard.load(), 3);
    EXPECT_EQ(Read(SSF_SHOWALLOBJECTS | SSF_SHOWSYSFILES | SSF_SHOWEXTENSIONS), 0x09u);
    ui.Run([&] { DestroyWindow(top); });
}

} // namespace
