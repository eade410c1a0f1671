#include "platform/window/AfxHtmlCtrl.h"

BOOL CHtmlCtrl::CreateView(const RECT& rect, CWnd* parent, UINT id, const std::string& homePage) {
    m_homePage = homePage;
    m_location = homePage;
    return CWnd::Create(WC_WEBVIEWA, homePage.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT, rect, parent, id);
}

void CHtmlCtrl::Navigate(const std::string& address) {
    m_location = address;
    if (GetSafeHwnd() != nullptr) SetWindowText(address.c_str());
}
