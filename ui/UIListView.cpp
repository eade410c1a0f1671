#include "ui/UIListView.h"

IMPLEMENT_DYNAMIC(CUIListView, CUIControlView)

CUIListView::CUIListView() = default;

CUIListView::~CUIListView() {
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) DestroyWindow();
}

std::unique_ptr<CUIODListCtrl> CUIListView::MakeListCtrl() { return std::make_unique<CUIODListCtrl>(); }

DWORD CUIListView::GetListStyle() const { return LVS_REPORT | LVS_SHOWSELALWAYS; }

BOOL CUIListView::CreateControl() {
    m_list = MakeListCtrl();
    if (m_list == nullptr) return FALSE;
    RECT client{};
    GetClientRect(&client);
    return m_list->Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | GetListStyle(), client, this, kControlId);
}
