// The local tree pane ("ClientTreeView"): hosts the CIEShellTreeCtrl, loads the Desktop on its
// initial update and makes the tree a display only, so that drops land on the local list.
#pragma once

#include "shell/IEShellTreeCtrl.h"
#include "ui/UITreeView.h"

class CIEShellTreeView : public CUITreeView {
    DECLARE_DYNCREATE(CIEShellTreeView)

public:
    CIEShellTreeView();
    ~CIEShellTreeView() override;

    CIEShellTreeCtrl* GetShellTree() const;
    void OnInitialUpdate() override;
    // Before Create: whether the tree's drive watchers start with its window.
    void SetWatchOnCreate(bool on) { m_watchOnCreate = on; }

protected:
    std::unique_ptr<CUITreeCtrl> MakeTreeCtrl() override;
    DWORD GetTreeStyle() const override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool m_watchOnCreate = true;
};
