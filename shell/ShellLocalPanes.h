// The two local panes as the main window drives them: the folder tree and the file list made side
// by side, the tree telling the list its selections, and the few questions the main window asks
// of them (the download folder, the upload selection, the list's refills).
#pragma once

#include <memory>

#include "mainwnd/LocalPaneLink.h"
#include "shell/IEShellListView.h"
#include "shell/IEShellTreeView.h"

class ShellLocalPanes : public LocalPaneLink {
public:
    static constexpr UINT kTreeId = 207;
    static constexpr UINT kListId = 212;

    // `watch` off keeps the drive and folder watchers from starting (a window made for a test).
    explicit ShellLocalPanes(bool watch = true) : m_watch(watch) {}
    ~ShellLocalPanes() override;

    void Create(CWnd* parent, const RECT& treeRect, const RECT& listRect, DWORD style) override;
    CWnd* TreePane() override { return m_pTree.get(); }
    CWnd* ListPane() override { return m_pList.get(); }
    HWND ListControl() const override;
    std::string CurrentFolderPath() const override;
    std::vector<std::string> SelectedPaths() const override;
    void SetAutoRefresh(bool allowed) override;
    void RefreshList() override;

    CIEShellTreeCtrl* Tree() const { return m_pTree ? m_pTree->GetShellTree() : nullptr; }
    CIEShellListCtrl* List() const { return m_pList ? m_pList->GetShellList() : nullptr; }
    CIEShellListView* ListView() const { return m_pList.get(); }

private:
    bool m_watch;
    std::unique_ptr<CIEShellTreeView> m_pTree;
    std::unique_ptr<CIEShellListView> m_pList;
};
