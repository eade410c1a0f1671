// The local list pane; see IEShellListView.h.
#include "shell/IEShellListView.h"

#include "mainwnd/DefaultServer.h"
#include "ui/CoolMenuManager.h"

IMPLEMENT_DYNCREATE(CIEShellListView, CUIListView)

CIEShellListView::CIEShellListView() = default;

CIEShellListView::~CIEShellListView() {
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) DestroyWindow();
}

CIEShellListCtrl* CIEShellListView::GetShellList() const { return static_cast<CIEShellListCtrl*>(GetListCtrl()); }

std::unique_ptr<CUIODListCtrl> CIEShellListView::MakeListCtrl() {
    auto list = std::make_unique<CIEShellListCtrl>();
    list->SetWatchOnCreate(m_watchOnCreate);
    return list;
}

DWORD CIEShellListView::GetListStyle() const { return CUIListView::GetListStyle() | LVS_EDITLABELS; }

CWnd* CIEShellListView::GetSizedChild() const {
    if (m_webShown && m_webView != nullptr) return m_webView.get();
    return CUIListView::GetSizedChild();
}

void CIEShellListView::ShowWebView(bool show) {
    CWnd* old = GetSizedChild();
    if (show == m_webShown && (!show || m_webView != nullptr)) return;
    RECT place{};
    if (old != nullptr && old->GetSafeHwnd() != nullptr) {
        old->GetWindowRect(&place);
        ScreenToClient(&place);
    } else {
        GetClientRect(&place);
    }
    if (show) {
        if (m_webView != nullptr && m_webView->GetSafeHwnd() != nullptr) {
            if (m_frame != nullptr) ::SendMessageA(m_frame, UWM_WEB_NAVIGATE, 0, reinterpret_cast<LPARAM>(m_webView->GetLocationURL().c_str()));
        } else {
            m_webView = std::make_unique<CHtmlCtrl>();
            m_frame = ::GetParent(m_hWnd);
            if (!m_webView->CreateView(place, this, kWebViewId, m_homePage.empty() ? DefaultServerAddress() : m_homePage)) {
                m_webView.reset();
                return;
            }
        }
    }
    m_webShown = show;
    CWnd* shown = GetSizedChild();
    if (shown != nullptr && shown->GetSafeHwnd() != nullptr) {
        shown->MoveWindow(place);
        shown->ShowWindow(SW_SHOW);
    }
    if (old != nullptr && old != shown && old->GetSafeHwnd() != nullptr) old->ShowWindow(SW_HIDE);
}

LRESULT CIEShellListView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case UWM_UI_NOTIFY:
        if (wParam == 1002) ShowWebView(lParam != 0);
        return 0;
    case UWM_SELECT_PATH:
    case UWM_SELECT_ID_LIST:
        if (m_webShown && m_webView != nullptr && lParam != 0) m_webView->Navigate(reinterpret_cast<LPCSTR>(lParam));
        return 0;
    case WM_SETMESSAGESTRING:
        if (HWND frame = ::GetParent(m_hWnd); frame != nullptr) return ::SendMessageA(frame, message, wParam, lParam);
        return 0;
    default: return CUIListView::WindowProc(message, wParam, lParam);
    }
}
