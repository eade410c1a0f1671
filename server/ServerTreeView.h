// The server tree pane: hosts the CServerTreeCtrl and keeps the special nodes, the server-home
// node, the fixed roots and the folders the user registered for this server host.
#pragma once

#include <string>
#include <vector>

#include "server/ServerTreeCtrl.h"
#include "ui/UITreeView.h"

class CServerListCtrl;
class SettingsStore;

class CServerTreeView : public CUITreeView {
    DECLARE_DYNCREATE(CServerTreeView)

public:
    // The account kind whose fixed roots include "html/" and "filter/".
    static constexpr int kFullAccountKind = 9;
    static constexpr int kMaxRegisteredFolders = 98;

    explicit CServerTreeView(ServerSession* session = nullptr);
    ~CServerTreeView() override;

    CServerTreeCtrl* GetServerTree() const;
    void OnInitialUpdate() override;

    // Builds the top of the tree: `accountKind` is the greeting number, the two answers those of
    // the main window's probe listings of "myfolder/" and "myhtml/".
    void InitRoots(CServerListCtrl* list, bool myFolderListed, bool myHtmlListed, int accountKind);
    bool IsRootNode(HTREEITEM item, bool fixedOnly) const;
    bool IsRegisteredFolder(HTREEITEM item) const;
    void RemoveRegisteredFolder(HTREEITEM item);
    void LoadRegisteredFolders(CServerTreeCtrl* tree);
    void SaveRegisteredFolders();
    // A newly registered folder (the add-folder dialog, through the main window).
    HTREEITEM AddRootFolder(const std::string& path);

    HTREEITEM GetServerHomeNode() const { return m_hServerHome; }
    HTREEITEM GetHtmlNode() const { return m_hHtml; }
    HTREEITEM GetFilterNode() const { return m_hFilter; }
    HTREEITEM GetMyHtmlNode() const { return m_hMyHtml; }
    HTREEITEM GetMyFolderNode() const { return m_hMyFolder; }
    const std::vector<HTREEITEM>& GetRegisteredFolders() const { return m_registered; }

protected:
    std::unique_ptr<CUITreeCtrl> MakeTreeCtrl() override;
    DWORD GetTreeStyle() const override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::string RegisteredValuePath(int number) const;
    std::string RegisteredKeyPath() const;

    ServerSession* m_pSession = nullptr;
    HTREEITEM m_hServerHome = nullptr;
    HTREEITEM m_hHtml = nullptr;
    HTREEITEM m_hFilter = nullptr;
    HTREEITEM m_hMyHtml = nullptr;
    HTREEITEM m_hMyFolder = nullptr;
    std::vector<HTREEITEM> m_registered;
    bool m_saved = false;
};
