// The default window procedure: text storage, painting and erasing with the class brush, cursor
// and context-menu negotiation with the parent, control colours, composed characters, closing, and
// the frame (its size, hit testing, painting and the presses in it).
#include <cstring>

#include "platform/gdi/TextMetric.h"
#include "platform/window/Cursor.h"
#include "platform/window/NonClient.h"
#include "platform/window/Paint.h"
#include "platform/window/WindowGeometry.h"
#include "platform/window/WindowSystem.h"

using namespace ostrana;
using namespace ostrana::detail;

namespace {

LRESULT StoreText(HWND handle, LPCSTR text) {
    {
        Lock lock = LockSystem();
        auto window = Find(handle);
        if (!window) return FALSE;
        window->text = text != nullptr ? text : "";
    }
    NotifyChange(handle, WindowChange::Text);
    if ((GetWindowLongPtrA(handle, GWL_STYLE) & WS_CAPTION) == WS_CAPTION) RedrawFrame(handle);
    return TRUE;
}

// A buffer too small for the whole text gets the whole characters that fit, never half of one.
LRESULT CopyText(HWND handle, WPARAM bufferMax, LPSTR buffer) {
    std::string text = WindowText(handle);
    if (buffer == nullptr || bufferMax == 0) return 0;
    std::size_t length = 0;
    while (length < text.size()) {
        std::size_t next = length + CharLength(text, length);
        if (next > static_cast<std::size_t>(bufferMax - 1)) break;
        length = next;
    }
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
    return static_cast<LRESULT>(length);
}

LRESULT EraseBackground(HWND handle, HDC dc) {
    HBRUSH brush = reinterpret_cast<HBRUSH>(GetClassLongPtrA(handle, GCLP_HBRBACKGROUND));
    if (brush == nullptr) return 0;
    RECT client;
    GetClientRect(handle, &client);
    FillRect(dc, &client, brush);
    return 1;
}

LRESULT ControlColor(UINT message, HDC dc) {
    bool window = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
    int background = window ? COLOR_WINDOW : COLOR_BTNFACE;
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(background));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(background));
}

// A composed character's code holds the lead byte above the trail byte; the window receives it as
// two WM_CHARs in that order (one for a single-byte code), as the ANSI default procedure does.
LRESULT ImeCharacter(HWND handle, WPARAM code, LPARAM lParam) {
    auto lead = static_cast<unsigned char>((code >> 8) & 0xFF);
    auto trail = static_cast<unsigned char>(code & 0xFF);
    if (lead != 0) SendMessageA(handle, WM_CHAR, lead, lParam);
    SendMessageA(handle, WM_CHAR, trail, lParam);
    return 0;
}

LRESULT SetCursorDefault(HWND handle, WPARAM wParam, LPARAM lParam) {
    HWND parent = (GetWindowLongPtrA(handle, GWL_STYLE) & WS_CHILD) ? GetParent(handle) : nullptr;
    if (parent != nullptr && SendMessageA(parent, WM_SETCURSOR, wParam, lParam)) return TRUE;
    short hit = static_cast<short>(LOWORD(lParam));
    if (hit == HTNOWHERE || hit == HTERROR || hit == HTTRANSPARENT) return FALSE;
    if (hit != HTCLIENT) {
        SetCursor(LoadCursorA(nullptr, IDC_ARROW)); // the frame has no cursor of its own
        return TRUE;
    }
    HCURSOR cursor = reinterpret_cast<HCURSOR>(GetClassLongPtrA(handle, GCLP_HCURSOR));
    SetCursor(cursor != nullptr ? cursor : LoadCursorA(nullptr, IDC_ARROW));
    return TRUE;
}

} // namespace

LRESULT DefWindowProcA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE: {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        if (create != nullptr && create->lpszName != nullptr) StoreText(handle, create->lpszName);
        return TRUE;
    }
    case WM_SETTEXT: return StoreText(handle, reinterpret_cast<LPCSTR>(lParam));
    case WM_GETTEXT: return CopyText(handle, wParam, reinterpret_cast<LPSTR>(lParam));
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(WindowText(handle).size());
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(handle, &paint);
        EndPaint(handle, &paint);
        return 0;
    }
    case WM_ERASEBKGND: return EraseBackground(handle, reinterpret_cast<HDC>(wParam));
    case WM_SETCURSOR: return SetCursorDefault(handle, wParam, lParam);
    case WM_IME_CHAR: return ImeCharacter(handle, wParam, lParam);
    case WM_CLOSE: DestroyWindow(handle); return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: return ControlColor(message, reinterpret_cast<HDC>(wParam));
    case WM_SETREDRAW: {
        {
            Lock lock = LockSystem();
            auto window = Find(handle);
            if (!window) return 0;
            window->redraw = wParam != 0;
        }
        if (wParam != 0) InvalidateRect(handle, nullptr, TRUE);
        return 0;
    }
    case WM_RBUTTONUP: {
        POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(handle, &point);
        SendMessageA(handle, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(handle), MAKELPARAM(point.x, point.y));
        return 0;
    }
    case WM_CONTEXTMENU:
    case WM_MOUSEWHEEL: {
        HWND parent = (GetWindowLongPtrA(handle, GWL_STYLE) & WS_CHILD) ? GetParent(handle) : nullptr;
        return parent != nullptr ? SendMessageA(parent, message, wParam, lParam) : 0;
    }
    case WM_NCCALCSIZE: return DefaultNcCalcSize(handle, wParam, lParam);
    case WM_NCHITTEST: return DefaultNcHitTest(handle, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    case WM_NCPAINT: DefaultNcPaint(handle); return 0;
    case WM_NCACTIVATE: RedrawFrame(handle); return TRUE;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: return DefaultNcButtonDown(handle, wParam, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    case WM_SYSCOMMAND: return DefaultSysCommand(handle, wParam, lParam);
    case WM_MOUSEACTIVATE: return 1; // MA_ACTIVATE
    default: return 0;
    }
}
