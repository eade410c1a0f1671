// The pane that owns one toolkit list. Derived panes supply their own list class through
// MakeListCtrl and its window style through GetListStyle.
#pragma once

#include "ui/UIControlView.h"
#include "ui/UIODListCtrl.h"

class CUIListView : public CUIControlView {
    DECLARE_DYNAMIC(CUIListView)

public:
    CUIListView();
    ~CUIListView() override;
    CUIODListCtrl* GetListCtrl() const { return m_list.get(); }

protected:
    virtual std::unique_ptr<CUIODListCtrl> MakeListCtrl();
    virtual DWORD GetListStyle() const;
    BOOL CreateControl() override;
    CWnd* GetControlWnd() const override { return m_list.get(); }

private:
    std::unique_ptr<CUIODListCtrl> m_list;
};
