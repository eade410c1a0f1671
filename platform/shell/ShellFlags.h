// The user's shell view flags, kept in the registry as Explorer keeps them: the "ShellState"
// value (a size, then the flag bits) under Explorer, with the "Advanced" values taking precedence.
#pragma once

#include "platform/base/WinTypes.h"

struct SHELLFLAGSTATE {
    BOOL fShowAllObjects : 1;
    BOOL fShowExtensions : 1;
    BOOL fNoConfirmRecycle : 1;
    BOOL fShowSysFiles : 1;
    BOOL fShowCompColor : 1;
    BOOL fDoubleClickInWebView : 1;
    BOOL fDesktopHTML : 1;
    BOOL fWin95Classic : 1;
    BOOL fDontPrettyPath : 1;
    BOOL fShowAttribCol : 1;
    BOOL fMapNetDrvBtn : 1;
    BOOL fShowInfoTip : 1;
    BOOL fHideIcons : 1;
    BOOL fAutoCheckSelect : 1;
    BOOL fIconsOnly : 1;
    UINT fRestFlags : 17;
};
using LPSHELLFLAGSTATE = SHELLFLAGSTATE*;

#define SSF_SHOWALLOBJECTS 0x00000001
#define SSF_SHOWEXTENSIONS 0x00000002
#define SSF_SHOWCOMPCOLOR 0x00000008
#define SSF_SHOWSYSFILES 0x00000020
#define SSF_DOUBLECLICKINWEBVIEW 0x00000080
#define SSF_DESKTOPHTML 0x00000200
#define SSF_WIN95CLASSIC 0x00000400
#define SSF_DONTPRETTYPATH 0x00000800
#define SSF_MAPNETDRVBUTTON 0x00001000
#define SSF_SHOWINFOTIP 0x00002000
#define SSF_HIDEICONS 0x00004000
#define SSF_NOCONFIRMRECYCLE 0x00008000
#define SSF_SHOWATTRIBCOL 0x00000100

// Fills the members the mask names; the others are cleared.
void SHGetSettings(LPSHELLFLAGSTATE state, DWORD mask);

namespace ostrana {
// The registry key and values read above (under HKEY_CURRENT_USER).
inline constexpr const char* kExplorerKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
inline constexpr const char* kExplorerAdvancedKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
// The flag bits as one number (bit 0 show all objects, bit 1 extensions, bit 3 system files, ...).
DWORD ShellFlagBits(const SHELLFLAGSTATE& state);
SHELLFLAGSTATE ShellFlagsFromBits(DWORD bits);
} // namespace ostrana

namespace ostrana {
// Stores the flag bits as Explorer's "ShellState" and tells every window of the process, children
// included (as the framework's frames pass it on), with WM_SETTINGCHANGE and lParam "ShellState".
bool StoreShellFlags(DWORD bits);
void AnnounceSettingChange(const char* section);
} // namespace ostrana
