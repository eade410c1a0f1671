// The server list pane; see ServerListView.h.
#include "server/ServerListView.h"

IMPLEMENT_DYNCREATE(CServerListView, CUIListView)

CServerListView::CServerListView(ServerSession* session) : m_pSession(session) {}

CServerListView::~CServerListView() {
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) DestroyWindow();
}

CServerListCtrl* CServerListView::GetServerList() const { return static_cast<CServerListCtrl*>(GetListCtrl()); }

void CServerListView::SetServerTree(CServerTreeCtrl* tree) {
    if (CServerListCtrl* list = GetServerList(); list != nullptr) list->SetServerTree(tree);
}

std::unique_ptr<CUIODListCtrl> CServerListView::MakeListCtrl() { return std::make_unique<CServerListCtrl>(m_pSession); }

DWORD CServerListView::GetListStyle() const { return CUIListView::GetListStyle() | LVS_EDITLABELS; }

void CServerListView::OnInitialUpdate() {
    CUIListView::OnInitialUpdate();
    if (CServerListCtrl* list = GetServerList(); list != nullptr) {
        list->SetUpImageLists();
        list->SetUpColumns();
    }
}

LRESULT CServerListView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return CUIListView::WindowProc(message, wParam, lParam);
}
