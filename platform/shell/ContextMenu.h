// The shell's context-menu interfaces: a menu filled by a shell object (QueryContextMenu with a
// command range), its commands run and described, and the owner-drawn items of shell extensions
// handed back to them (HandleMenuMsg, HandleMenuMsg2).
#pragma once

#include "platform/com/Unknown.h"
#include "platform/window/Menu.h"
#include "platform/window/Window.h"

#define CMF_NORMAL 0x00000000
#define CMF_DEFAULTONLY 0x00000001
#define CMF_VERBSONLY 0x00000002
#define CMF_EXPLORE 0x00000004
#define CMF_CANRENAME 0x00000010

#define GCS_VERBA 0x00000000
#define GCS_HELPTEXTA 0x00000001
#define GCS_VALIDATEA 0x00000002

#define CMIC_MASK_FLAG_NO_UI 0x00000400
#define CMIC_MASK_SHIFT_DOWN 0x10000000
#define CMIC_MASK_CONTROL_DOWN 0x40000000

struct CMINVOKECOMMANDINFO {
    DWORD cbSize;
    DWORD fMask;
    HWND hwnd;
    LPCSTR lpVerb; // a verb, or MAKEINTRESOURCE(command offset)
    LPCSTR lpParameters;
    LPCSTR lpDirectory;
    int nShow;
    DWORD dwHotKey;
    HANDLE hIcon;
};
using LPCMINVOKECOMMANDINFO = CMINVOKECOMMANDINFO*;

inline constexpr IID IID_IContextMenu = {0x000214E4, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IContextMenu2 = {0x000214F4, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IContextMenu3 = {0xBCFCE0A0, 0xEC17, 0x11D0, {0x8D, 0x10, 0x00, 0xA0, 0xC9, 0x0F, 0x27, 0x19}};

struct IContextMenu : IUnknown {
    // Inserts the object's items at `index` with commands from `firstCommand` to `lastCommand`;
    // answers the number of command ids used (as the code of a success HRESULT).
    virtual HRESULT QueryContextMenu(HMENU menu, UINT index, UINT firstCommand, UINT lastCommand, UINT flags) = 0;
    virtual HRESULT InvokeCommand(LPCMINVOKECOMMANDINFO info) = 0;
    // `command` is the offset from the first command.
    virtual HRESULT GetCommandString(UINT_PTR command, UINT type, UINT* reserved, LPSTR name, UINT size) = 0;

protected:
    ~IContextMenu() = default;
};

struct IContextMenu2 : IContextMenu {
    // WM_INITMENUPOPUP, WM_DRAWITEM and WM_MEASUREITEM of the object's own items.
    virtual HRESULT HandleMenuMsg(UINT message, WPARAM wParam, LPARAM lParam) = 0;

protected:
    ~IContextMenu2() = default;
};

struct IContextMenu3 : IContextMenu2 {
    // As HandleMenuMsg, also for WM_MENUCHAR, with the message's answer.
    virtual HRESULT HandleMenuMsg2(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) = 0;

protected:
    ~IContextMenu3() = default;
};
