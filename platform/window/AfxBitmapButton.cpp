#include "platform/window/AfxBitmapButton.h"

IMPLEMENT_DYNCREATE(CBitmapButton, CButton)

namespace {
void LoadOptional(CBitmap& bitmap, LPCSTR name) {
    bitmap.DeleteObject();
    if (name != nullptr) bitmap.LoadBitmap(name);
}
} // namespace

BOOL CBitmapButton::LoadBitmaps(LPCSTR normal, LPCSTR pressed, LPCSTR focused, LPCSTR disabled) {
    m_bitmap.DeleteObject();
    if (!m_bitmap.LoadBitmap(normal)) return FALSE;
    LoadOptional(m_bitmapSel, pressed);
    LoadOptional(m_bitmapFocus, focused);
    LoadOptional(m_bitmapDisabled, disabled);
    return TRUE;
}

BOOL CBitmapButton::AutoLoad(UINT id, CWnd* parent) {
    if (!SubclassDlgItem(id, parent)) return FALSE;
    std::string caption = GetWindowText();
    if (!LoadBitmaps((caption + "U").c_str(), (caption + "D").c_str(), (caption + "F").c_str(), (caption + "X").c_str())) {
        return FALSE;
    }
    SizeToContent();
    return TRUE;
}

void CBitmapButton::SizeToContent() {
    BITMAP info{};
    if (m_bitmap.GetBitmap(&info) == 0) return;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, info.bmWidth, info.bmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CBitmapButton::DrawItem(LPDRAWITEMSTRUCT item) {
    CBitmap* bitmap = &m_bitmap;
    if ((item->itemState & ODS_SELECTED) && m_bitmapSel.m_hObject != nullptr) bitmap = &m_bitmapSel;
    else if ((item->itemState & ODS_FOCUS) && m_bitmapFocus.m_hObject != nullptr) bitmap = &m_bitmapFocus;
    else if ((item->itemState & ODS_DISABLED) && m_bitmapDisabled.m_hObject != nullptr) bitmap = &m_bitmapDisabled;
    CDC memory;
    memory.CreateCompatibleDC(nullptr);
    HGDIOBJ previous = memory.SelectObject(bitmap);
    const RECT& rect = item->rcItem;
    ::BitBlt(item->hDC, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, memory.m_hDC, 0, 0, SRCCOPY);
    memory.SelectObject(previous);
}
