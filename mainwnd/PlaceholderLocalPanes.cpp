#include "mainwnd/PlaceholderLocalPanes.h"

namespace {
constexpr UINT kTreeId = 207;
constexpr UINT kListId = 212;
} // namespace

void PlaceholderLocalPanes::Create(CWnd* parent, const RECT& treeRect, const RECT& listRect, DWORD style) {
    m_pTree = std::make_unique<CWnd>();
    m_pTree->Create("Static", "ClientTreeView", style, treeRect, parent, kTreeId);
    m_pList = std::make_unique<CWnd>();
    m_pList->Create("Static", "ClientListView", style, listRect, parent, kListId);
}

void PlaceholderLocalPanes::RefreshList() {
    m_bAutoRefresh = true;
    ++m_nRefreshes;
}
