// The local list pane ("ClientListView"): hosts the CIEShellListCtrl and an embedded web view,
// and shows one of them, the web view while the tree has the Internet folder selected.
#pragma once

#include <memory>
#include <string>

#include "platform/window/AfxHtmlCtrl.h"
#include "shell/IEShellListCtrl.h"
#include "ui/UIListView.h"

class CIEShellListView : public CUIListView {
    DECLARE_DYNCREATE(CIEShellListView)

public:
    static constexpr UINT kWebViewId = 2000;

    CIEShellListView();
    ~CIEShellListView() override;

    CIEShellListCtrl* GetShellList() const;
    CHtmlCtrl* GetWebView() const { return m_webView.get(); }
    bool IsWebViewShown() const { return m_webShown; }
    // The web view's home page; the default server's address unless set.
    void SetHomePage(std::string address) { m_homePage = std::move(address); }
    // Before Create: whether the list's folder watcher starts with its window.
    void SetWatchOnCreate(bool on) { m_watchOnCreate = on; }
    CWnd* GetSizedChild() const override;

protected:
    std::unique_ptr<CUIODListCtrl> MakeListCtrl() override;
    DWORD GetListStyle() const override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ShowWebView(bool show);

    std::unique_ptr<CHtmlCtrl> m_webView;
    bool m_webShown = false;
    bool m_watchOnCreate = true;
    HWND m_frame = nullptr;
    std::string m_homePage;
};
