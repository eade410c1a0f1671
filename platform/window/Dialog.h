// Dialogs from templates: modeless and modal (a nested loop on the calling thread, also a worker
// thread), the dialog manager's keys (Tab, Shift+Tab, arrows in groups, Enter, Escape, underlined
// letters) and the dialog item helpers. Coordinates in templates are dialog units of the template's font.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/window/Controls.h"
#include "platform/window/Messages.h"
#include "platform/window/WindowGeometry.h"

#define DM_GETDEFID (WM_USER + 0)
#define DM_SETDEFID (WM_USER + 1)
#define DC_HASDEFID 0x534B
#define WM_NEXTDLGCTL 0x0028

using DLGPROC = INT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

namespace ostrana {

struct DialogItemTemplate {
    std::string className;
    std::string text; // ANSI
    int id = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
};

struct DialogTemplate {
    std::string caption; // ANSI
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::string font; // ANSI
    WORD pointSize = 9;
    std::vector<DialogItemTemplate> items;
};

// A template of the module, its texts converted to the ANSI code page.
std::optional<DialogTemplate> LoadDialogTemplate(HINSTANCE instance, LPCSTR name);
// Pixels per 4 horizontal and 8 vertical dialog units for a font: 굴림 9 pt gives 6 by 12.
SIZE DialogBaseUnitsOf(const std::string& font, WORD pointSize);
RECT DialogUnitsToPixels(const RECT& units, SIZE baseUnits);

} // namespace ostrana

HWND CreateDialogParamA(HINSTANCE instance, LPCSTR name, HWND parent, DLGPROC procedure, LPARAM parameter);
#define CreateDialogParam CreateDialogParamA
#define CreateDialogA(i, n, p, f) CreateDialogParamA(i, n, p, f, 0)
#define CreateDialog CreateDialogA
HWND CreateDialogIndirectParamA(HINSTANCE instance, const ostrana::DialogTemplate* dialog, HWND parent,
                                DLGPROC procedure, LPARAM parameter);
INT_PTR DialogBoxParamA(HINSTANCE instance, LPCSTR name, HWND parent, DLGPROC procedure, LPARAM parameter);
#define DialogBoxParam DialogBoxParamA
#define DialogBoxA(i, n, p, f) DialogBoxParamA(i, n, p, f, 0)
#define DialogBox DialogBoxA
INT_PTR DialogBoxIndirectParamA(HINSTANCE instance, const ostrana::DialogTemplate* dialog, HWND parent,
                                DLGPROC procedure, LPARAM parameter);
BOOL EndDialog(HWND dialog, INT_PTR result);
LRESULT DefDlgProcA(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
#define DefDlgProc DefDlgProcA
BOOL IsDialogMessageA(HWND dialog, LPMSG message);
#define IsDialogMessage IsDialogMessageA
HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous);
HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous);
BOOL MapDialogRect(HWND dialog, LPRECT rect);
LONG GetDialogBaseUnits();

BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text);
#define SetDlgItemText SetDlgItemTextA
UINT GetDlgItemTextA(HWND dialog, int id, LPSTR buffer, int bufferMax);
#define GetDlgItemText GetDlgItemTextA
BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned);
UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned);
BOOL CheckDlgButton(HWND dialog, int id, UINT check);
UINT IsDlgButtonChecked(HWND dialog, int id);
BOOL CheckRadioButton(HWND dialog, int first, int last, int check);
LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);
#define SendDlgItemMessage SendDlgItemMessageA
