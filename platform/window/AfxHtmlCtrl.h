// The embedded web view as the panes use it: a child window of class WC_WEBVIEWA that knows the
// address it shows and its home page, and holds the address as its text. No page is fetched here;
// the window paints the address, and a screen that can show pages shows the page over it.
#pragma once

#include <string>

#include "platform/window/AfxControls.h"

class CHtmlCtrl : public CStatic {
public:
    // The home page is shown at once.
    BOOL CreateView(const RECT& rect, CWnd* parent, UINT id, const std::string& homePage);
    void SetHomePage(const std::string& homePage) { m_homePage = homePage; }
    const std::string& GetHomePage() const { return m_homePage; }
    void Navigate(const std::string& address);
    void GoHome() { Navigate(m_homePage); }
    const std::string& GetLocationURL() const { return m_location; }

private:
    std::string m_homePage;
    std::string m_location;
};
