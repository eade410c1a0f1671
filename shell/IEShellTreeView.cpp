// The local tree pane; see IEShellTreeView.h.
#include "shell/IEShellTreeView.h"

#include "ui/CoolMenuManager.h"

IMPLEMENT_DYNCREATE(CIEShellTreeView, CUITreeView)

CIEShellTreeView::CIEShellTreeView() = default;

CIEShellTreeView::~CIEShellTreeView() {
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) DestroyWindow();
}

CIEShellTreeCtrl* CIEShellTreeView::GetShellTree() const { return static_cast<CIEShellTreeCtrl*>(GetTreeCtrl()); }

std::unique_ptr<CUITreeCtrl> CIEShellTreeView::MakeTreeCtrl() {
    auto tree = std::make_unique<CIEShellTreeCtrl>();
    tree->SetWatchOnCreate(m_watchOnCreate);
    return tree;
}

// The folders are never renamed in place: F2 starts no label editing.
DWORD CIEShellTreeView::GetTreeStyle() const { return CUITreeCtrl::kTreeStyles; }

void CIEShellTreeView::OnInitialUpdate() {
    CUITreeView::OnInitialUpdate();
    CIEShellTreeCtrl* tree = GetShellTree();
    if (tree == nullptr || tree->GetSafeHwnd() == nullptr) return;
    tree->SetFrameWnd(::GetParent(m_hWnd));
    tree->LoadDesktopRoot();
    tree->DisableDragDrop();
}

LRESULT CIEShellTreeView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETMESSAGESTRING) {
        if (HWND frame = ::GetParent(m_hWnd); frame != nullptr) return ::SendMessageA(frame, message, wParam, lParam);
        return 0;
    }
    return CUITreeView::WindowProc(message, wParam, lParam);
}
