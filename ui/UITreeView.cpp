#include "ui/UITreeView.h"

IMPLEMENT_DYNAMIC(CUITreeView, CUIControlView)

CUITreeView::CUITreeView() = default;

CUITreeView::~CUITreeView() {
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) DestroyWindow();
}

std::unique_ptr<CUITreeCtrl> CUITreeView::MakeTreeCtrl() { return std::make_unique<CUITreeCtrl>(); }

DWORD CUITreeView::GetTreeStyle() const { return CUITreeCtrl::kTreeStyles; }

BOOL CUITreeView::CreateControl() {
    m_tree = MakeTreeCtrl();
    if (m_tree == nullptr) return FALSE;
    RECT client{};
    GetClientRect(&client);
    return m_tree->Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | GetTreeStyle(), client, this, kControlId);
}
