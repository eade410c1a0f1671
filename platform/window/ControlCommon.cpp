#include "platform/window/ControlCommon.h"

#include <cstdlib>

#include "platform/gdi/GdiObjects.h"

namespace ostrana::detail {

HBRUSH ControlColors(HWND control, HDC dc, UINT message) {
    HWND parent = GetParent(control);
    LRESULT brush = parent != nullptr ? SendMessageA(parent, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control))
                                      : 0;
    if (brush == 0) brush = DefWindowProcA(control, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
    return reinterpret_cast<HBRUSH>(brush);
}

void NotifyParent(HWND control, WORD code) {
    HWND parent = GetParent(control);
    if (parent == nullptr) return;
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code), reinterpret_cast<LPARAM>(control));
}

bool HandleFontMessage(HWND control, ControlBase& base, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_SETFONT) {
        base.font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam)) InvalidateRect(control, nullptr, TRUE);
        result = 0;
        return true;
    }
    if (message == WM_GETFONT) {
        result = reinterpret_cast<LRESULT>(base.font);
        return true;
    }
    return false;
}

void SelectControlFont(HDC dc, const ControlBase& base) {
    SelectObject(dc, base.font != nullptr && FontOf(base.font) ? static_cast<HGDIOBJ>(base.font) : GetStockObject(DEFAULT_GUI_FONT));
}

LPCSTR ImageName(const std::string& text, std::string& storage) {
    if (!text.empty() && text[0] == '#') return MAKEINTRESOURCEA(std::atoi(text.c_str() + 1));
    storage = text;
    return storage.c_str();
}

} // namespace ostrana::detail
