// The pane that owns one toolkit tree. Derived panes supply their own tree class through
// MakeTreeCtrl and its window style through GetTreeStyle.
#pragma once

#include "ui/UIControlView.h"
#include "ui/UITreeCtrl.h"

class CUITreeView : public CUIControlView {
    DECLARE_DYNAMIC(CUITreeView)

public:
    CUITreeView();
    ~CUITreeView() override;
    CUITreeCtrl* GetTreeCtrl() const { return m_tree.get(); }

protected:
    virtual std::unique_ptr<CUITreeCtrl> MakeTreeCtrl();
    virtual DWORD GetTreeStyle() const;
    BOOL CreateControl() override;
    CWnd* GetControlWnd() const override { return m_tree.get(); }

private:
    std::unique_ptr<CUITreeCtrl> m_tree;
};
