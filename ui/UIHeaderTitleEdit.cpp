#include "ui/UIHeaderTitleEdit.h"

#include "platform/controls/CommCtrl.h"
#include "platform/window/Controls.h"
#include "platform/window/VirtualKeys.h"

BOOL CUIHeaderTitleEdit::Start(HWND list, int column) {
    HWND header = reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0));
    RECT rect{};
    if (header == nullptr || !::SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&rect))) {
        return FALSE;
    }
    char title[260] = {};
    HDITEMA item{};
    item.mask = HDI_TEXT;
    item.pszText = title;
    item.cchTextMax = sizeof title;
    ::SendMessageA(header, HDM_GETITEMA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
    m_list = list;
    m_column = column;
    ::MapWindowPoints(header, list, reinterpret_cast<LPPOINT>(&rect), 2);
    if (!CreateEx(0, WC_EDITA, title, WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top, list, nullptr)) {
        return FALSE;
    }
    SendMessage(EM_SETSEL, 0, -1);
    SetFocus();
    return TRUE;
}

void CUIHeaderTitleEdit::Finish(bool confirmed) {
    if (m_finished) return;
    m_finished = true;
    m_confirmed = confirmed;
    ::PostMessageA(m_list, UWM_UI_END_TITLE_EDIT, 0, 0);
}

LRESULT CUIHeaderTitleEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
        if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
            Finish(wParam == VK_RETURN);
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == '\r' || wParam == 27) return 0;
        break;
    case WM_KILLFOCUS: Finish(true); break;
    default: break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
