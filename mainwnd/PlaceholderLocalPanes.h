// The local panes until the shell browser takes their place: two bordered frames with the panes'
// names, a folder and a selection that whoever drives the window sets, and a count of the
// refills the window asked for.
#pragma once

#include <memory>

#include "mainwnd/LocalPaneLink.h"

class PlaceholderLocalPanes : public LocalPaneLink {
public:
    PlaceholderLocalPanes() = default;

    void Create(CWnd* parent, const RECT& treeRect, const RECT& listRect, DWORD style) override;
    CWnd* TreePane() override { return m_pTree.get(); }
    CWnd* ListPane() override { return m_pList.get(); }
    HWND ListControl() const override { return nullptr; }
    std::string CurrentFolderPath() const override { return m_strFolder; }
    std::vector<std::string> SelectedPaths() const override { return m_selected; }
    void SetAutoRefresh(bool allowed) override { m_bAutoRefresh = allowed; }
    void RefreshList() override;

    void SetCurrentFolderPath(const std::string& folder) { m_strFolder = folder; }
    void SetSelectedPaths(std::vector<std::string> paths) { m_selected = std::move(paths); }
    bool AutoRefresh() const { return m_bAutoRefresh; }
    int Refreshes() const { return m_nRefreshes; }

private:
    std::unique_ptr<CWnd> m_pTree;
    std::unique_ptr<CWnd> m_pList;
    std::string m_strFolder;
    std::vector<std::string> m_selected;
    bool m_bAutoRefresh = true;
    int m_nRefreshes = 0;
};
