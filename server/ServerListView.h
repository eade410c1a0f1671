// The server list pane: hosts the CServerListCtrl, sets its columns and shared image lists.
#pragma once

#include "server/ServerListCtrl.h"
#include "ui/UIListView.h"

class CServerListView : public CUIListView {
    DECLARE_DYNCREATE(CServerListView)

public:
    explicit CServerListView(ServerSession* session = nullptr);
    ~CServerListView() override;

    CServerListCtrl* GetServerList() const;
    void SetServerTree(CServerTreeCtrl* tree);
    void OnInitialUpdate() override;

protected:
    std::unique_ptr<CUIODListCtrl> MakeListCtrl() override;
    DWORD GetListStyle() const override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    ServerSession* m_pSession = nullptr;
};
