// What the platform's controls share: the font set by WM_SETFONT, colours asked of the parent
// with WM_CTLCOLOR*, and notifications to the parent. Internal to platform/window.
#pragma once

#include "platform/gdi/DeviceContext.h"
#include "platform/window/Controls.h"
#include "platform/window/Messages.h"
#include "platform/window/Paint.h"
#include "platform/window/WindowGeometry.h"

namespace ostrana::detail {

struct ControlBase {
    HFONT font = nullptr;
};

// The brush the parent answers to `message` (its colours already set in `dc`), or the default one.
HBRUSH ControlColors(HWND control, HDC dc, UINT message);
void NotifyParent(HWND control, WORD code);
// Handles WM_SETFONT / WM_GETFONT for any control whose data derives from ControlBase.
bool HandleFontMessage(HWND control, ControlBase& base, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
// Selects the control's font (or the GUI font) into `dc`.
void SelectControlFont(HDC dc, const ControlBase& base);
// The image a bitmap or icon static or button names by its text ("#204" or a name).
LPCSTR ImageName(const std::string& text, std::string& storage);

void RegisterStaticClass();
void RegisterWebViewClass();
void RegisterButtonClass();
void RegisterEditClass();
void RegisterComboBoxClass();
void RegisterScrollBarClass();

} // namespace ostrana::detail
