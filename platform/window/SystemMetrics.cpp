#include "platform/window/SystemMetrics.h"
#include "platform/gdi/ScreenSize.h"

#include <cstring>

#include "platform/gdi/GdiObjects.h"

int GetSystemMetrics(int index) {
    switch (index) {
    case SM_CXSCREEN:
    case SM_CXFULLSCREEN: return ostrana::ScreenSize().cx;
    case SM_CYSCREEN:
    case SM_CYFULLSCREEN: return ostrana::ScreenSize().cy;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL: return 16;
    case SM_CYCAPTION: return 18;
    case SM_CXBORDER:
    case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return 3;
    case SM_CXFRAME:
    case SM_CYFRAME: return 4;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR: return 32;
    case SM_CYMENU: return 18;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK: return 4;
    case SM_CXEDGE:
    case SM_CYEDGE: return 2;
    case SM_CXSMICON:
    case SM_CYSMICON: return 16;
    case SM_CXMENUCHECK:
    case SM_CYMENUCHECK: return 13;
    case SM_CXDRAG:
    case SM_CYDRAG: return 4;
    default: return 0;
    }
}

UINT GetDoubleClickTime() { return 500; }

namespace {
LOGFONTA GuiLogFont() {
    LOGFONTA font{};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    return font;
}
} // namespace

BOOL SystemParametersInfoA(UINT action, UINT, LPVOID data, UINT) {
    if (data == nullptr) return FALSE;
    if (action == SPI_GETNONCLIENTMETRICS) {
        auto* metrics = static_cast<NONCLIENTMETRICSA*>(data);
        if (metrics->cbSize < sizeof(NONCLIENTMETRICSA)) return FALSE;
        LOGFONTA font = GuiLogFont();
        *metrics = NONCLIENTMETRICSA{sizeof(NONCLIENTMETRICSA), 1, 16, 16, 18, 18, font, 12, 15, font, 18, 18, font, font, font};
        metrics->lfCaptionFont.lfWeight = FW_BOLD;
        return TRUE;
    }
    if (action == SPI_GETWORKAREA) {
        auto* rect = static_cast<RECT*>(data);
        *rect = ostrana::ScreenRect();
        return TRUE;
    }
    return FALSE;
}
