// What the common controls share: WM_NOTIFY to the parent, the font set by WM_SETFONT, the text
// metric of that font, drag detection thresholds and the label edit box. Internal to
// platform/controls.
#pragma once

#include <string>

#include "platform/controls/CommCtrl.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/TextMetric.h"
#include "platform/window/Paint.h"
#include "platform/window/WindowGeometry.h"

namespace ostrana::detail {

// Fills the header of `record` and sends it to the parent of `control`; returns the answer.
LRESULT SendNotify(HWND control, UINT code, NMHDR* record);
inline LRESULT SendNotify(HWND control, UINT code) {
    NMHDR header{};
    return SendNotify(control, code, &header);
}

FontInfo ControlFont(HFONT font);
// The control's font, or the GUI font, selected into `dc`.
void SelectFont(HDC dc, HFONT font);

// True when the mouse has moved far enough from where the button went down to start a drag.
bool BeyondDragDistance(POINT down, POINT now);

// Modifier keys as the controls read them at the time of the message.
bool ShiftDown();
bool ControlDown();

// Copies `text` into a caller's buffer of `size` bytes, truncated and terminated.
void CopyToBuffer(const std::string& text, LPSTR buffer, int size);

// A label edit box over `rect` of `owner`: the text selected, the focus in it. Enter ends with
// the text, Escape and losing the focus end as told; `ended` is posted to the owner with wParam
// 1 for accept and 0 for cancel.
HWND CreateLabelEdit(HWND owner, const RECT& rect, const std::string& text, HFONT font, UINT ended);
// What a label edit box posts its owner when it ends.
constexpr UINT kLabelEditEnded = WM_USER + 0x1F0;

// Invalidates the whole client area.
inline void Repaint(HWND window) { InvalidateRect(window, nullptr, TRUE); }

} // namespace ostrana::detail
