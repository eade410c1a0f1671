// The server folder tree: one node per listed server folder under the server-home node, listing
// a folder into the server list when its node is selected, renaming and removing folders, and
// building the transfer lists of drops, uploads and downloads.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ole/DropFiles.h"
#include "transfer/ServerCollection.h"
#include "ui/UITreeCtrl.h"

class CServerListCtrl;
class CServerTreeView;
class ServerSession;
class TransferList;

class CServerTreeCtrl : public CUITreeCtrl {
    DECLARE_DYNCREATE(CServerTreeCtrl)

public:
    static constexpr UINT kMenuId = 219;
    static constexpr UINT kCmdUploadHere = 32779;
    static constexpr UINT kCmdNewFolder = 32778;
    static constexpr UINT kCmdRename = 32777;
    static constexpr UINT kCmdDelete = 32781;
    static constexpr UINT kCmdShare = 32901;
    static constexpr UINT kCmdRefresh = 32784;

    // Without a session the process-wide one is used.
    explicit CServerTreeCtrl(ServerSession* session = nullptr);
    ~CServerTreeCtrl() override;

    ServerSession& Session() const;
    void SetOwnerView(CServerTreeView* view) { m_pOwnerView = view; }
    CServerTreeView* GetOwnerView() const { return m_pOwnerView; }
    void SetServerList(CServerListCtrl* list) { m_pServerList = list; }
    CServerListCtrl* GetServerList() const { return m_pServerList; }
    int GetImageBase() const { return m_nImageBase; }
    void SetImageBase(int base) { m_nImageBase = base; }

    // Lists the folder of `item` (null: the selected node) into its children and the list rows.
    void RefreshFolder(HTREEITEM item = nullptr);
    // The folder path of the selected node; empty when there is none.
    std::string GetCurrentFolderPath() const;
    // The folder path carried by a node; empty for the server-home node.
    std::string GetFolderPath(HTREEITEM item) const;
    HTREEITEM AppendFolderNode(HTREEITEM parent, const std::string& label, const std::string& path, int image);
    void SelectParentFolder();
    void SelectChildFolder(const std::string& name);
    HTREEITEM HitTestNode(POINT client) const;

    // Actions of the context menu and the keys.
    void StartRename();
    // The rename at the end of a label edit: sent to the server, and the node follows on success.
    void RenameFolder(HTREEITEM item, const std::string& newName);
    void DeleteSelected();
    void NewFolder();
    void UploadHere();
    // The enabling rules of menu 219 for `item`.
    void ApplyMenuRules(CMenu* popup, HTREEITEM item) const;

    // Transfers. direction: 1 upload, 0 download. None releases the drop handle.
    void TransferDroppedFiles(int direction, const std::string& target, HDROP drop);
    void UploadItemsHere(const TransferList& items);
    void DownloadServerPaths(const std::string& target, const std::vector<std::string>* paths, int noWait);

    // The shell's dropped-files message over the tree; releases the drop handle.
    void OnDropFiles(HDROP drop);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void FreeUserData(DWORD_PTR userData) override;
    void ShowContextMenu(HTREEITEM item, POINT screen) override;
    void SendSelectionNotify(CObject* notify) override;
    void GoUp(HTREEITEM item) override;
    void Refresh(HTREEITEM item) override;

private:
    void OnRightButtonDown(POINT client);
    void TrackMenu(HTREEITEM item, POINT screen);
    bool OnCommand(UINT id);
    bool IsSpecialNode(HTREEITEM item, bool fixedOnly) const;
    bool IsServerHome(HTREEITEM item) const;
    ServerEntryLookup ListLookup() const;

    ServerSession* m_pSession = nullptr;
    CServerTreeView* m_pOwnerView = nullptr;
    CServerListCtrl* m_pServerList = nullptr;
    int m_nImageBase = 0;
};
