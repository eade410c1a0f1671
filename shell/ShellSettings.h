// The user's shell view flags as the local panes read them: through "SHGetSettings" of shell32,
// looked up by name so that a system without it keeps the starting flags.
#pragma once

#include "platform/base/WinTypes.h"

class ShellSettings {
public:
    static constexpr DWORD kInitialFlags = 0x80;
    static constexpr DWORD kMask = 0xFFAB;

    ShellSettings();
    ~ShellSettings();
    ShellSettings(const ShellSettings&) = delete;
    ShellSettings& operator=(const ShellSettings&) = delete;

    // Reads the flags again (after a "ShellState" setting change).
    void Reload();

    DWORD Flags() const { return m_flags; }
    bool ShowAllObjects() const { return (m_flags & 0x01) != 0; }
    bool ShowExtensions() const { return (m_flags & 0x02) != 0; }
    bool ShowSystemFiles() const { return (m_flags & 0x08) != 0; }
    bool ShowCompressedInColour() const { return (m_flags & 0x10) != 0; }
    bool DoubleClickInWebView() const { return (m_flags & 0x20) != 0; }

private:
    HMODULE m_shell32;
    DWORD m_flags = kInitialFlags;
};
