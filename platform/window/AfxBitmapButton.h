// A button drawn with four bitmaps: normal, pressed, focused and disabled. AutoLoad takes them from
// the button's caption plus "U", "D", "F" and "X" and sizes the button to the first one.
#pragma once

#include <string>

#include "platform/window/AfxControls.h"
#include "platform/window/AfxGdi.h"

class CBitmapButton : public CButton {
    DECLARE_DYNCREATE(CBitmapButton)

public:
    // The normal bitmap is required; the others fall back to it.
    BOOL LoadBitmaps(LPCSTR normal, LPCSTR pressed = nullptr, LPCSTR focused = nullptr, LPCSTR disabled = nullptr);
    BOOL AutoLoad(UINT id, CWnd* parent);
    void SizeToContent();
    void DrawItem(LPDRAWITEMSTRUCT item) override;

    CBitmap m_bitmap;
    CBitmap m_bitmapSel;
    CBitmap m_bitmapFocus;
    CBitmap m_bitmapDisabled;
};
