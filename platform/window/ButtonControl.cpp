// The button control's messages: mouse and space-bar clicks, check and radio state (automatic
// radio buttons uncheck the rest of their group), styles, notifications.
#include "platform/window/ButtonControl.h"

#include "platform/window/Cursor.h"
#include "platform/window/Dialog.h"
#include "platform/window/Focus.h"
#include "platform/window/VirtualKeys.h"
#include "platform/window/WindowSystem.h"

namespace ostrana::detail {

DWORD ButtonType(HWND button) { return static_cast<DWORD>(GetWindowLongPtrA(button, GWL_STYLE)) & BS_TYPEMASK; }

bool IsCheckButtonStyle(DWORD style) {
    const DWORD type = style & BS_TYPEMASK;
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE ||
           type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

namespace {

// The check state also goes where snapshots read it, and the container hears of the change.
void SetCheck(HWND button, ButtonData& data, UINT check) {
    if (!IsCheckButtonStyle(ButtonType(button)) || data.check == check) return;
    data.check = check;
    {
        Lock lock = LockSystem();
        if (auto window = Find(button)) window->check = check;
    }
    NotifyChange(button, WindowChange::Checked);
    InvalidateRect(button, nullptr, TRUE);
}

void UncheckGroupSiblings(HWND button) {
    HWND parent = GetParent(button);
    for (HWND other = GetNextDlgGroupItem(parent, button, FALSE); other != nullptr && other != button;
         other = GetNextDlgGroupItem(parent, other, FALSE)) {
        if (WindowClassName(other) == WC_BUTTONA && ButtonType(other) == BS_AUTORADIOBUTTON) {
            SendMessageA(other, BM_SETCHECK, BST_UNCHECKED, 0);
        }
    }
}

void Click(HWND button, ButtonData& data) {
    switch (ButtonType(button)) {
    case BS_AUTOCHECKBOX: SetCheck(button, data, data.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED); break;
    case BS_AUTO3STATE: SetCheck(button, data, (data.check + 1) % 3); break;
    case BS_AUTORADIOBUTTON:
        SetCheck(button, data, BST_CHECKED);
        UncheckGroupSiblings(button);
        break;
    case BS_GROUPBOX: return;
    default: break;
    }
    NotifyParent(button, BN_CLICKED);
}

void SetPushed(HWND button, ButtonData& data, bool pushed) {
    if (data.pushed == pushed) return;
    data.pushed = pushed;
    InvalidateRect(button, nullptr, TRUE);
}

LRESULT DialogCode(HWND button) {
    switch (ButtonType(button)) {
    case BS_DEFPUSHBUTTON: return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    case BS_PUSHBUTTON:
    case BS_OWNERDRAW: return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: return DLGC_BUTTON | DLGC_RADIOBUTTON;
    case BS_GROUPBOX: return DLGC_STATIC;
    default: return DLGC_BUTTON;
    }
}

LRESULT MouseMessage(HWND button, ButtonData& data, UINT message, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (ButtonType(button) == BS_GROUPBOX) return 0;
        SetFocus(button);
        SetCapture(button);
        data.tracking = true;
        SetPushed(button, data, true);
        return 0;
    case WM_MOUSEMOVE:
        if (data.tracking) {
            RECT client;
            GetClientRect(button, &client);
            SetPushed(button, data, PtInRect(&client, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}) != 0);
        }
        return 0;
    case WM_LBUTTONUP: {
        if (!data.tracking) return 0;
        bool pushed = data.pushed;
        data.tracking = false;
        SetPushed(button, data, false);
        ReleaseCapture();
        if (pushed) Click(button, data);
        return 0;
    }
    default: return 0;
    }
}

LRESULT ButtonProcedure(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    auto data = ControlDataAs<ButtonData>(button);
    if (!data && message != WM_NCCREATE) return DefWindowProcA(button, message, wParam, lParam);
    LRESULT result = 0;
    if (data && HandleFontMessage(button, *data, message, wParam, lParam, result)) return result;
    switch (message) {
    case WM_NCCREATE:
        SetControlData(button, std::make_shared<ButtonData>());
        return DefWindowProcA(button, message, wParam, lParam);
    case WM_PAINT: PaintButton(button, *data); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP: return MouseMessage(button, *data, message, lParam);
    case WM_CAPTURECHANGED:
        if (data->tracking) {
            data->tracking = false;
            SetPushed(button, *data, false);
        }
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE) SetPushed(button, *data, true);
        return 0;
    case WM_KEYUP:
        if (wParam == VK_SPACE && data->pushed) {
            SetPushed(button, *data, false);
            Click(button, *data);
        }
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        data->focused = message == WM_SETFOCUS;
        if (!data->focused) SetPushed(button, *data, false);
        InvalidateRect(button, nullptr, TRUE);
        if (GetWindowLongPtrA(button, GWL_STYLE) & BS_NOTIFY) NotifyParent(button, data->focused ? BN_SETFOCUS : BN_KILLFOCUS);
        return 0;
    case WM_GETDLGCODE: return DialogCode(button);
    case WM_SETTEXT:
        result = DefWindowProcA(button, message, wParam, lParam);
        InvalidateRect(button, nullptr, TRUE);
        return result;
    case WM_ENABLE: InvalidateRect(button, nullptr, TRUE); return 0;
    case BM_GETCHECK: return data->check;
    case BM_SETCHECK: SetCheck(button, *data, static_cast<UINT>(wParam)); return 0;
    case BM_GETSTATE: return data->check | (data->pushed ? BST_PUSHED : 0) | (data->focused ? BST_FOCUS : 0);
    case BM_SETSTATE: SetPushed(button, *data, wParam != 0); return 0;
    case BM_SETSTYLE: {
        LONG_PTR style = GetWindowLongPtrA(button, GWL_STYLE);
        SetWindowLongPtrA(button, GWL_STYLE, (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | (static_cast<LONG_PTR>(wParam) & BS_TYPEMASK));
        if (lParam) InvalidateRect(button, nullptr, TRUE);
        return 0;
    }
    case BM_CLICK: Click(button, *data); return 0;
    case BM_SETIMAGE: {
        HANDLE previous = data->image;
        data->image = reinterpret_cast<HANDLE>(lParam);
        InvalidateRect(button, nullptr, TRUE);
        return reinterpret_cast<LRESULT>(previous);
    }
    case BM_GETIMAGE: return reinterpret_cast<LRESULT>(data->image);
    default: return DefWindowProcA(button, message, wParam, lParam);
    }
}

} // namespace

void RegisterButtonClass() {
    RegisterSystemClass(WC_BUTTONA, ButtonProcedure, CS_DBLCLKS, LoadCursorA(nullptr, IDC_ARROW), nullptr);
}

} // namespace ostrana::detail
