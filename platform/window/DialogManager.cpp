// Dialog creation from templates, the dialog class's procedure and the modal loop.
#include "platform/base/CodePage.h"
#include "platform/base/Thread.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/ScreenSize.h"
#include "platform/window/DialogState.h"
#include "platform/window/Focus.h"
#include "platform/window/Paint.h"
#include "platform/window/WindowGeometry.h"
#include "platform/window/WindowSystem.h"

#include <cstring>

#include "platform/window/MessageBox.h"

namespace ostrana::detail {

namespace {

bool ReturnsValueDirectly(UINT message) {
    return (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) || message == WM_INITDIALOG;
}

HWND FirstTabItem(HWND dialog) { return GetNextDlgTabItem(dialog, nullptr, FALSE); }

void RestoreFocus(HWND dialog) {
    auto state = DialogStateOf(dialog);
    HWND focus = GetFocus();
    if (focus != nullptr && (focus == dialog || IsChild(dialog, focus))) return;
    HWND target = state && IsWindow(state->savedFocus) && IsChild(dialog, state->savedFocus) ? state->savedFocus
                                                                                             : FirstTabItem(dialog);
    SetFocus(target != nullptr ? target : dialog);
}

int DefaultButtonId(HWND dialog) {
    auto state = DialogStateOf(dialog);
    if (state && state->defaultId != 0) return state->defaultId;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (WindowClassName(child) == WC_BUTTONA && (GetWindowLongPtrA(child, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
            return GetDlgCtrlID(child);
        }
    }
    return IDOK;
}

void SetDefaultButton(HWND dialog, int id) {
    auto state = DialogStateOf(dialog);
    int previous = DefaultButtonId(dialog);
    if (state) state->defaultId = id;
    if (HWND old = GetDlgItem(dialog, previous); old != nullptr && previous != id && WindowClassName(old) == WC_BUTTONA) {
        SendMessageA(old, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    }
    if (HWND button = GetDlgItem(dialog, id); button != nullptr && WindowClassName(button) == WC_BUTTONA) {
        SendMessageA(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    }
}

LRESULT DialogDefault(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: {
        auto dc = reinterpret_cast<HDC>(wParam);
        auto brush = reinterpret_cast<HBRUSH>(SendMessageA(dialog, WM_CTLCOLORDLG, wParam, reinterpret_cast<LPARAM>(dialog)));
        RECT client;
        GetClientRect(dialog, &client);
        if (brush != nullptr) FillRect(dc, &client, brush);
        return 1;
    }
    case WM_CLOSE:
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
        return 0;
    case WM_SETFOCUS: RestoreFocus(dialog); return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            if (auto state = DialogStateOf(dialog)) {
                HWND focus = GetFocus();
                if (focus != nullptr && IsChild(dialog, focus)) state->savedFocus = focus;
            }
        } else {
            RestoreFocus(dialog);
        }
        return 0;
    case DM_GETDEFID: return MAKELRESULT(DefaultButtonId(dialog), DC_HASDEFID);
    case DM_SETDEFID: SetDefaultButton(dialog, static_cast<int>(wParam)); return TRUE;
    case WM_NEXTDLGCTL: {
        HWND target = lParam != 0 ? reinterpret_cast<HWND>(wParam)
                                  : GetNextDlgTabItem(dialog, DialogChildOf(dialog, GetFocus()), wParam != 0);
        if (target != nullptr) SetFocus(target);
        return 0;
    }
    case WM_GETFONT: {
        auto state = DialogStateOf(dialog);
        return reinterpret_cast<LRESULT>(state ? state->font : nullptr);
    }
    case WM_NCDESTROY:
        if (auto state = DialogStateOf(dialog); state && state->font != nullptr) {
            DeleteObject(state->font);
            state->font = nullptr;
        }
        return DefWindowProcA(dialog, message, wParam, lParam);
    default: return DefWindowProcA(dialog, message, wParam, lParam);
    }
}

POINT DialogPosition(const DialogTemplate& dialog, HWND parent, SIZE base, SIZE outer) {
    RECT units = DialogUnitsToPixels(RECT{dialog.x, dialog.y, 0, 0}, base);
    if (dialog.style & WS_CHILD) return POINT{units.left, units.top};
    RECT area = ScreenRect();
    if (parent != nullptr) GetWindowRect(parent, &area);
    if ((dialog.style & DS_CENTER) || (dialog.x == 0 && dialog.y == 0)) {
        return POINT{area.left + (Width(area) - outer.cx) / 2, area.top + (Height(area) - outer.cy) / 2};
    }
    POINT origin{0, 0};
    if (parent != nullptr) ClientToScreen(parent, &origin);
    return POINT{origin.x + units.left, origin.y + units.top};
}

} // namespace

std::shared_ptr<DialogState> DialogStateOf(HWND dialog) {
    if (WindowClassName(dialog) != WC_DIALOG) return nullptr;
    return ControlDataAs<DialogState>(dialog);
}

HWND DialogChildOf(HWND dialog, HWND window) {
    while (window != nullptr && GetAncestor(window, GA_PARENT) != dialog) {
        if (!(GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD)) return nullptr;
        window = GetAncestor(window, GA_PARENT);
    }
    return window;
}

namespace {
LRESULT DialogClassProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefDlgProcA(dialog, message, wParam, lParam);
}
} // namespace

void RegisterDialogClass() {
    RegisterSystemClass(WC_DIALOG, DialogClassProcedure, CS_DBLCLKS | CS_SAVEBITS, nullptr, nullptr);
}

} // namespace ostrana::detail

using namespace ostrana;
using namespace ostrana::detail;

LRESULT DefDlgProcA(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto procedure = reinterpret_cast<DLGPROC>(GetWindowLongPtrA(dialog, DWLP_DLGPROC));
    if (procedure != nullptr) {
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 0);
        INT_PTR handled = procedure(dialog, message, wParam, lParam);
        if (handled != 0) return ReturnsValueDirectly(message) ? handled : GetWindowLongPtrA(dialog, DWLP_MSGRESULT);
    }
    return DialogDefault(dialog, message, wParam, lParam);
}

HWND CreateDialogIndirectParamA(HINSTANCE instance, const DialogTemplate* dialog, HWND parent, DLGPROC procedure,
                                LPARAM parameter) {
    if (dialog == nullptr) return nullptr;
    EnsureSystemClasses();
    SIZE base = DialogBaseUnitsOf(dialog->font, dialog->pointSize);
    RECT outer = DialogUnitsToPixels(RECT{0, 0, dialog->cx, dialog->cy}, base);
    DWORD style = dialog->style & ~static_cast<DWORD>(WS_VISIBLE);
    AdjustWindowRectEx(&outer, style, FALSE, dialog->exStyle);
    SIZE size{Width(outer), Height(outer)};
    POINT at = DialogPosition(*dialog, parent, base, size);
    HWND window = CreateWindowExA(dialog->exStyle, WC_DIALOG, dialog->caption.c_str(), style, at.x, at.y, size.cx, size.cy,
                                  parent, nullptr, instance, nullptr);
    if (window == nullptr) return nullptr;
    auto state = std::make_shared<DialogState>();
    state->baseUnits = base;
    LOGFONTA font{};
    font.lfHeight = -base.cy;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = HANGUL_CHARSET;
    std::strncpy(font.lfFaceName, dialog->font.c_str(), LF_FACESIZE - 1);
    state->font = CreateFontIndirectA(&font);
    SetControlData(window, state);
    SetWindowLongPtrA(window, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(procedure));
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(state->font), FALSE);
    for (const DialogItemTemplate& item : dialog->items) {
        RECT rect = DialogUnitsToPixels(RECT{item.x, item.y, item.x + item.cx, item.y + item.cy}, base);
        HWND control = CreateWindowExA(item.exStyle, item.className.c_str(), item.text.c_str(), item.style | WS_CHILD,
                                       rect.left, rect.top, Width(rect), Height(rect), window,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(item.id)), instance, nullptr);
        if (control == nullptr) {
            DestroyWindow(window);
            return nullptr;
        }
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(state->font), FALSE);
    }
    HWND first = GetNextDlgTabItem(window, nullptr, FALSE);
    if (SendMessageA(window, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), parameter) && first != nullptr && IsWindow(window)) {
        SetFocus(first);
    }
    if (IsWindow(window) && (dialog->style & WS_VISIBLE)) ShowWindow(window, (style & WS_CHILD) ? SW_SHOWNA : SW_SHOW);
    return IsWindow(window) ? window : nullptr;
}

HWND CreateDialogParamA(HINSTANCE instance, LPCSTR name, HWND parent, DLGPROC procedure, LPARAM parameter) {
    auto dialog = LoadDialogTemplate(instance, name);
    return dialog ? CreateDialogIndirectParamA(instance, &*dialog, parent, procedure, parameter) : nullptr;
}

INT_PTR DialogBoxIndirectParamA(HINSTANCE instance, const DialogTemplate* dialog, HWND parent, DLGPROC procedure,
                                LPARAM parameter) {
    if (dialog == nullptr) return -1;
    HWND owner = parent != nullptr ? GetAncestor(parent, GA_ROOT) : nullptr;
    // An owner on another thread is disabled too, as on Windows: its thread answers the WM_ENABLE
    // even while it waits for an event or a thread.
    bool disableOwner = owner != nullptr && IsWindowEnabled(owner);
    DialogTemplate modal = *dialog;
    modal.style &= ~static_cast<DWORD>(WS_VISIBLE | WS_CHILD);
    modal.style |= WS_POPUP;
    HWND window = CreateDialogIndirectParamA(instance, &modal, owner, procedure, parameter);
    if (window == nullptr) return -1;
    auto state = DialogStateOf(window);
    if (disableOwner) EnableWindow(owner, FALSE);
    if (!state->ended) ShowWindow(window, SW_SHOW);
    MSG msg;
    while (!state->ended && IsWindow(window)) {
        if (!GetMessageA(&msg, nullptr, 0, 0)) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (PreTranslate(&msg)) continue;
        if (!IsDialogMessageA(window, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    if (disableOwner) {
        EnableWindow(owner, TRUE);
        SetActiveWindow(owner);
    }
    if (IsWindow(window)) DestroyWindow(window);
    return state->result;
}

INT_PTR DialogBoxParamA(HINSTANCE instance, LPCSTR name, HWND parent, DLGPROC procedure, LPARAM parameter) {
    auto dialog = LoadDialogTemplate(instance, name);
    return dialog ? DialogBoxIndirectParamA(instance, &*dialog, parent, procedure, parameter) : -1;
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
    auto state = DialogStateOf(dialog);
    if (!state) return FALSE;
    state->ended = true;
    state->result = result;
    PostMessageA(dialog, WM_NULL, 0, 0); // wakes the modal loop
    return TRUE;
}

BOOL MapDialogRect(HWND dialog, LPRECT rect) {
    auto state = DialogStateOf(dialog);
    if (!state || rect == nullptr) return FALSE;
    *rect = DialogUnitsToPixels(*rect, state->baseUnits);
    return TRUE;
}

LONG GetDialogBaseUnits() { return MAKELONG(6, 12); }
