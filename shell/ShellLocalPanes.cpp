// The local panes for the main window; see ShellLocalPanes.h.
#include "shell/ShellLocalPanes.h"

ShellLocalPanes::~ShellLocalPanes() {
    // The list goes first: the tree's watchers may still post to it until they are stopped.
    m_pList.reset();
    m_pTree.reset();
}

void ShellLocalPanes::Create(CWnd* parent, const RECT& treeRect, const RECT& listRect, DWORD style) {
    m_pTree = std::make_unique<CIEShellTreeView>();
    m_pTree->SetWatchOnCreate(false);
    m_pTree->Create("TreeView", "ClientTreeView", style, treeRect, parent, kTreeId);
    m_pTree->OnInitialUpdate();
    m_pList = std::make_unique<CIEShellListView>();
    m_pList->SetWatchOnCreate(m_watch);
    m_pList->Create("ListView", "ClientListView", style, listRect, parent, kListId);
    m_pList->OnInitialUpdate();
    CIEShellTreeCtrl* tree = Tree();
    if (tree == nullptr) return;
    tree->SetListWnd(ListControl());
    tree->LoadDesktopRoot();
    // Started once the list is known, so that drive changes reach it too.
    if (m_watch) tree->StartWatchersOnAllDrives();
}

HWND ShellLocalPanes::ListControl() const {
    CIEShellListCtrl* list = List();
    return list != nullptr ? list->GetSafeHwnd() : nullptr;
}

std::string ShellLocalPanes::CurrentFolderPath() const {
    CIEShellTreeCtrl* tree = Tree();
    return tree != nullptr ? tree->GetCurrentFolderPath() : std::string();
}

std::vector<std::string> ShellLocalPanes::SelectedPaths() const {
    std::vector<std::string> paths;
    if (CIEShellListCtrl* list = List(); list != nullptr) list->GetSelectedPaths(paths);
    return paths;
}

void ShellLocalPanes::SetAutoRefresh(bool allowed) {
    if (CIEShellListCtrl* list = List(); list != nullptr) list->AutoRefresh() = allowed;
}

void ShellLocalPanes::RefreshList() {
    CIEShellListCtrl* list = List();
    if (list == nullptr) return;
    list->AutoRefresh() = true;
    list->PostMessage(UWM_LIST_REFRESH);
}
