// Windows and window classes: creation and destruction, the parent/owner tree and z-order, text,
// styles, ids, window procedures and subclassing. Every entry point checks its HWND; a stale or
// foreign handle fails cleanly.
#pragma once

#include <memory>
#include <string>

#include "platform/base/ResourceTypes.h"
#include "platform/window/WindowMessages.h"
#include "platform/window/WindowStyles.h"

#define CW_USEDEFAULT (static_cast<int>(0x80000000))

#define GWLP_WNDPROC (-4)
#define GWLP_HINSTANCE (-6)
#define GWLP_HWNDPARENT (-8)
#define GWLP_ID (-12)
#define GWL_STYLE (-16)
#define GWL_EXSTYLE (-20)
#define GWLP_USERDATA (-21)
#define GWL_WNDPROC GWLP_WNDPROC
#define GWL_ID GWLP_ID
#define GWL_USERDATA GWLP_USERDATA
#define DWLP_MSGRESULT 0
#define DWLP_DLGPROC 8
#define DWLP_USER 16
#define DWL_MSGRESULT DWLP_MSGRESULT

#define GCLP_HCURSOR (-12)
#define GCLP_HBRBACKGROUND (-10)
#define GCLP_HICON (-14)
#define GCL_STYLE (-26)

#define GW_HWNDFIRST 0
#define GW_HWNDLAST 1
#define GW_HWNDNEXT 2
#define GW_HWNDPREV 3
#define GW_OWNER 4
#define GW_CHILD 5

#define GA_PARENT 1
#define GA_ROOT 2
#define GA_ROOTOWNER 3

struct WNDCLASSA {
    UINT style = 0;
    WNDPROC lpfnWndProc = nullptr;
    int cbClsExtra = 0;
    int cbWndExtra = 0;
    HINSTANCE hInstance = nullptr;
    HICON hIcon = nullptr;
    HCURSOR hCursor = nullptr;
    HBRUSH hbrBackground = nullptr;
    LPCSTR lpszMenuName = nullptr;
    LPCSTR lpszClassName = nullptr;
};
using WNDCLASS = WNDCLASSA;

ATOM RegisterClassA(const WNDCLASSA* windowClass);
#define RegisterClass RegisterClassA
BOOL UnregisterClassA(LPCSTR className, HINSTANCE instance);
BOOL GetClassInfoA(HINSTANCE instance, LPCSTR className, WNDCLASSA* windowClass);
int GetClassNameA(HWND window, LPSTR buffer, int bufferMax);
#define GetClassName GetClassNameA
ULONG_PTR GetClassLongPtrA(HWND window, int index);
ULONG_PTR SetClassLongPtrA(HWND window, int index, LONG_PTR value);
#define GetClassLongPtr GetClassLongPtrA
#define SetClassLongPtr SetClassLongPtrA

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param);
#define CreateWindowEx CreateWindowExA
#define CreateWindowA(c, n, s, x, y, w, h, p, m, i, a) CreateWindowExA(0, c, n, s, x, y, w, h, p, m, i, a)
#define CreateWindow CreateWindowA
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);
BOOL IsChild(HWND parent, HWND window);
HWND GetParent(HWND window);
HWND SetParent(HWND window, HWND parent);
HWND GetAncestor(HWND window, UINT flags);
HWND GetWindow(HWND window, UINT command);
HWND GetTopWindow(HWND window);
HWND GetDesktopWindow();
DWORD GetWindowThreadProcessId(HWND window, LPDWORD processId);
using WNDENUMPROC = BOOL (*)(HWND, LPARAM);
BOOL EnumChildWindows(HWND parent, WNDENUMPROC callback, LPARAM parameter);
BOOL EnumThreadWindows(DWORD threadId, WNDENUMPROC callback, LPARAM parameter);
// Every top-level window of the process, top of the z-order first.
BOOL EnumWindows(WNDENUMPROC callback, LPARAM parameter);
HWND FindWindowA(LPCSTR className, LPCSTR windowName);

HWND GetDlgItem(HWND dialog, int id);
int GetDlgCtrlID(HWND window);

LONG_PTR GetWindowLongPtrA(HWND window, int index);
LONG_PTR SetWindowLongPtrA(HWND window, int index, LONG_PTR value);
#define GetWindowLongPtr GetWindowLongPtrA
#define SetWindowLongPtr SetWindowLongPtrA
#define GetWindowLongA(w, i) static_cast<LONG>(GetWindowLongPtrA(w, i))
#define SetWindowLongA(w, i, v) static_cast<LONG>(SetWindowLongPtrA(w, i, v))
#define GetWindowLong GetWindowLongA
#define SetWindowLong SetWindowLongA

BOOL SetWindowTextA(HWND window, LPCSTR text);
#define SetWindowText SetWindowTextA
int GetWindowTextA(HWND window, LPSTR buffer, int bufferMax);
#define GetWindowText GetWindowTextA
int GetWindowTextLengthA(HWND window);
#define GetWindowTextLength GetWindowTextLengthA

BOOL SetPropA(HWND window, LPCSTR name, HANDLE data);
HANDLE GetPropA(HWND window, LPCSTR name);
HANDLE RemovePropA(HWND window, LPCSTR name);

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
#define DefWindowProc DefWindowProcA
LRESULT CallWindowProcA(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
#define CallWindowProc CallWindowProcA

namespace ostrana {
// Called on the creating thread right after a window exists and before it receives WM_NCCREATE;
// the framework classes use it to subclass the windows they create. One hook per thread.
using WindowCreationHook = void (*)(HWND);
void SetWindowCreationHook(WindowCreationHook hook);

// The window's text as stored, without a message (ANSI).
std::string WindowText(HWND window);
std::string WindowClassName(HWND window);
// Per-window data of the platform's own controls, kept alive with the window.
void SetControlData(HWND window, std::shared_ptr<void> data);
std::shared_ptr<void> ControlData(HWND window);
template <typename T> std::shared_ptr<T> ControlDataAs(HWND window) { return std::static_pointer_cast<T>(ControlData(window)); }
} // namespace ostrana
