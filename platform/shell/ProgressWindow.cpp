// Child controls carry the texts; the animation and the bar are painted by the window itself.
// The window thread takes the state's lock only to copy from it, never while it touches a window:
// window changes call out to observers that may themselves ask the state.
#include "platform/shell/ProgressWindow.h"

#include <cstdio>

#include "platform/base/CodePage.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/SysColors.h"
#include "platform/shell/ProgressDialog.h"
#include "platform/window/MessageBox.h"
#include "platform/window/Paint.h"
#include "platform/window/Messages.h"
#include "platform/window/Window.h"
#include "platform/window/WindowGeometry.h"
#include "platform/window/Focus.h"
#include "platform/window/WindowMessages.h"
#include "platform/window/WindowStyles.h"

namespace ostrana {
namespace {

constexpr char kClassName[] = "OstranaProgressDialog";
constexpr UINT kRefresh = WM_APP + 1;
constexpr UINT_PTR kTimeLeftTimer = 1; // the time left moves on even while no progress comes
constexpr int kClientWidth = 360;
constexpr int kClientHeight = 190;
constexpr RECT kAnimation{12, 8, 284, 68};
constexpr RECT kBar{12, 114, 348, 130};

struct Child {
    const char* className;
    int id;
    RECT rect;
    DWORD style;
};

constexpr Child kChildren[] = {
    {"Static", IDC_PROGRESS_LINE1, {12, 76, 348, 90}, SS_LEFT | SS_NOPREFIX},
    {"Static", IDC_PROGRESS_LINE2, {12, 94, 348, 108}, SS_LEFT | SS_NOPREFIX},
    {"Static", IDC_PROGRESS_LINE3, {12, 136, 348, 150}, SS_LEFT | SS_NOPREFIX},
    {"Static", IDC_PROGRESS_TIME, {12, 136, 348, 150}, SS_LEFT | SS_NOPREFIX},
    {"Button", IDCANCEL, {268, 158, 348, 180}, BS_PUSHBUTTON | WS_TABSTOP},
};

ProgressState& StateOf(HWND window) {
    return *reinterpret_cast<ProgressState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void ShowChild(HWND window, int id, const std::string& text, bool visible) {
    HWND child = GetDlgItem(window, id);
    SetWindowTextA(child, text.c_str());
    ShowWindow(child, visible ? SW_SHOW : SW_HIDE);
}

} // namespace

HWND ProgressWindow::Create(ProgressState& state) {
    static std::once_flag registered;
    std::call_once(registered, [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        windowClass.lpszClassName = kClassName;
        RegisterClassA(&windowClass);
    });
    RECT frame{0, 0, kClientWidth, kClientHeight};
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    HWND window = CreateWindowExA(0, kClassName, "", style, CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                                  frame.bottom - frame.top, nullptr, nullptr, nullptr, nullptr);
    if (window == nullptr) {
        return nullptr;
    }
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
    HGDIOBJ font = GetStockObject(DEFAULT_GUI_FONT);
    for (const Child& child : kChildren) {
        HWND control = CreateWindowExA(0, child.className, child.id == IDCANCEL ? Utf8ToAnsi("취소").c_str() : "",
                                       WS_CHILD | WS_VISIBLE | child.style, child.rect.left, child.rect.top,
                                       child.rect.right - child.rect.left, child.rect.bottom - child.rect.top, window,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(child.id)), nullptr, nullptr);
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    Update(window, state);
    SetTimer(window, kTimeLeftTimer, 1000, nullptr);
    ShowWindow(window, SW_SHOW);
    return window;
}

void ProgressWindow::Refresh(HWND window, ProgressState& state) {
    {
        std::lock_guard guard(state.lock);
        if (state.refreshPending) {
            return;
        }
        state.refreshPending = true;
    }
    if (!PostMessageA(window, kRefresh, 0, 0)) {
        std::lock_guard guard(state.lock);
        state.refreshPending = false;
    }
}

std::string ProgressWindow::RemainingText(DWORD elapsedMs, ULONGLONG completed, ULONGLONG total) {
    if (completed == 0 || total <= completed || elapsedMs < 1000) {
        return {};
    }
    long double left = static_cast<long double>(elapsedMs) * static_cast<long double>(total - completed) /
                       static_cast<long double>(completed) / 1000;
    auto seconds = static_cast<unsigned long long>(left + 0.5L);
    char text[64];
    if (seconds >= 60) {
        std::snprintf(text, sizeof text, "남은 시간: %llu분 %llu초", seconds / 60, seconds % 60);
    } else {
        std::snprintf(text, sizeof text, "남은 시간: %llu초", seconds);
    }
    return text;
}

void ProgressWindow::Update(HWND window, ProgressState& state) {
    std::unique_lock guard(state.lock);
    state.refreshPending = false;
    std::string title = state.title;
    bool showTime = (state.flags & PROGDLG_AUTOTIME) != 0 && (state.flags & PROGDLG_NOTIME) == 0;
    bool cancelled = state.cancelled;
    bool cancelShown = cancelled && !state.cancelMessage.empty();
    // After Cancel the shell shows only the cancel message until the driver stops.
    std::string lines[3] = {cancelShown ? state.cancelMessage : state.lines[0], cancelShown ? std::string() : state.lines[1],
                            cancelShown ? std::string() : state.lines[2]};
    std::string remaining;
    if (showTime && !cancelShown) {
        remaining = Utf8ToAnsi(RemainingText(state.clock() - state.timerStart, state.completed, state.total));
    }
    guard.unlock();
    SetWindowTextA(window, title.c_str());
    ShowChild(window, IDC_PROGRESS_LINE1, lines[0], true);
    ShowChild(window, IDC_PROGRESS_LINE2, lines[1], true);
    ShowChild(window, IDC_PROGRESS_LINE3, lines[2], !showTime);
    ShowChild(window, IDC_PROGRESS_TIME, remaining, showTime);
    EnableWindow(GetDlgItem(window, IDCANCEL), !cancelled);
    InvalidateRect(window, nullptr, TRUE);
}

void ProgressWindow::Paint(HWND window, ProgressState& state) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    std::unique_lock guard(state.lock);
    UINT animation = state.animationId;
    bool showBar = (state.flags & PROGDLG_NOPROGRESSBAR) == 0;
    ULONGLONG completed = state.completed, total = state.total;
    guard.unlock();
    if (animation != 0) {
        HICON icon = CreateNamedIcon("animation " + std::to_string(animation), kAnimation.right - kAnimation.left,
                                     kAnimation.bottom - kAnimation.top);
        DrawIconEx(dc, kAnimation.left, kAnimation.top, icon, kAnimation.right - kAnimation.left,
                   kAnimation.bottom - kAnimation.top, 0, nullptr, 0);
        DestroyIcon(icon);
    }
    if (showBar) {
        FrameRect(dc, &kBar, GetSysColorBrush(COLOR_BTNSHADOW));
        LONG inner = kBar.right - kBar.left - 2;
        LONG filled = total == 0 ? 0 : static_cast<LONG>(static_cast<long double>(std::min(completed, total)) * inner / total);
        if (filled > 0) {
            RECT done{kBar.left + 1, kBar.top + 1, kBar.left + 1 + filled, kBar.bottom - 1};
            FillRect(dc, &done, GetSysColorBrush(COLOR_HIGHLIGHT));
        }
    }
    EndPaint(window, &paint);
}

LRESULT ProgressWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kRefresh:
        Update(window, StateOf(window));
        return 0;
    case WM_TIMER:
        if (wParam == kTimeLeftTimer) {
            Update(window, StateOf(window));
            return 0;
        }
        break;
    case WM_PAINT:
        Paint(window, StateOf(window));
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) != IDCANCEL) {
            break;
        }
        [[fallthrough]];
    case WM_CLOSE: {
        // Closing is cancelling; the window stays until the driver stops the dialog.
        ProgressState& state = StateOf(window);
        {
            std::lock_guard guard(state.lock);
            state.cancelled = true;
        }
        Update(window, state);
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace ostrana
