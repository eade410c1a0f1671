// The tree control the application trees derive from: a CUIListCtrlData record behind every
// node (holding the node's user data, colours and font), folder images, custom-drawn colours,
// the frame's commands and keys, a keyboard selection acted on only once the key is released, and
// the drag-and-drop messages mapped to virtual operations.
#pragma once

#include <unordered_set>

#include "platform/window/AfxMenu.h"
#include "ui/UIDragDropTree.h"
#include "ui/UIListCtrlData.h"

// What a tree tells its parent about a selected node (UWM_UI_NOTIFY, wParam 1001).
class CUITreeNotify : public CObject {
    DECLARE_DYNAMIC(CUITreeNotify)

public:
    CUITreeNotify(HTREEITEM item, DWORD_PTR userData) : m_hItem(item), m_userData(userData) {}
    HTREEITEM m_hItem;
    DWORD_PTR m_userData;
};

class CUITreeCtrl : public CUIDragDropTree {
    DECLARE_DYNAMIC(CUITreeCtrl)

public:
    static constexpr DWORD kTreeStyles = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | TVS_SINGLEEXPAND;
    static constexpr UINT_PTR kSelectTimer = 2;
    static constexpr UINT kSelectDelay = 100;

    explicit CUITreeCtrl(bool oleDragDrop = false);
    ~CUITreeCtrl() override;

    // `image` -1 takes the closed-folder image; `selectedImage` -1 the same as `image`.
    HTREEITEM InsertNode(LPCSTR text, DWORD_PTR userData, HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST,
                         int image = -1, int selectedImage = -1, int children = -1);
    CUIListCtrlData* GetNodeRecord(HTREEITEM item) const;
    DWORD_PTR GetNodeData(HTREEITEM item) const;
    BOOL SetNodeTextColor(HTREEITEM item, COLORREF color);
    BOOL ResetNodeTextColor(HTREEITEM item);
    BOOL SetNodeFont(HTREEITEM item, const LOGFONTA& font);
    int GetClosedImage() const { return m_closedImage; }
    int GetOpenImage() const { return m_openImage; }
    void SetUpImageList();
    HTREEITEM GetLastSelected() const { return m_lastSelected; }

    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    HTREEITEM MoveNode(HTREEITEM item, HTREEITEM newParent) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    void AdjustMovedNode(HTREEITEM original, HTREEITEM copy) override;

    virtual UINT GetClosedFolderIconId() const;
    virtual UINT GetOpenFolderIconId() const;
    virtual CUIListCtrlData* NewNodeRecord(DWORD_PTR userData);
    virtual void FreeUserData(DWORD_PTR userData);
    virtual void OpenNode(HTREEITEM item);
    virtual void ShowContextMenu(HTREEITEM item, POINT screen);
    virtual UINT GetContextMenuId() const;
    virtual CWnd* GetContextMenuOwner();
    // TRUE refuses the expansion or collapse.
    virtual BOOL ExpandNode(HTREEITEM item);
    virtual BOOL CollapseNode(HTREEITEM item);
    // TRUE accepts the new text.
    virtual BOOL RenameNode(HTREEITEM item, LPCSTR text);
    virtual CObject* MakeNotifyObject(HTREEITEM item, DWORD_PTR userData);
    virtual void SendSelectionNotify(CObject* notify);
    virtual void GoUp(HTREEITEM item);
    virtual void Refresh(HTREEITEM item);
    virtual void ShowProperties(HTREEITEM item);
    virtual LRESULT OnDragEnter(CDD_OleDropTargetInfo* info);
    virtual LRESULT OnDragOver(CDD_OleDropTargetInfo* info);
    virtual LRESULT OnDragLeave(CDD_OleDropTargetInfo* info);
    virtual LRESULT OnDrop(CDD_OleDropTargetInfo* info);
    // The answer to the begin-drag message: the allowed effects.
    virtual DROPEFFECT OnBeginDragData(CDD_OleDropTargetInfo* info, COleDataSource* dataSource);

private:
    // Marks the control's own tree-view calls, which bypass the user-data translation.
    class OwnCall {
    public:
        explicit OwnCall(CUITreeCtrl& tree) : m_tree(tree) { ++m_tree.m_ownCalls; }
        ~OwnCall() { --m_tree.m_ownCalls; }
        OwnCall(const OwnCall&) = delete;
        OwnCall& operator=(const OwnCall&) = delete;

    private:
        CUITreeCtrl& m_tree;
    };

    LRESULT OnInsertItem(LPARAM lParam);
    LRESULT OnSetItem(LPARAM lParam);
    LRESULT OnGetItem(LPARAM lParam);
    BOOL OnNotifyReflect(NMHDR* header, LRESULT* result);
    LRESULT OnCustomDraw(NMTVCUSTOMDRAW* draw);
    void OnSelectionChanged(NMTREEVIEWA* info);
    void OnSelectTimer();
    void ActOnSelection(HTREEITEM item);
    void OnDeleteNode(NMTREEVIEWA* info);
    void OnCommandMessage(UINT message);
    LRESULT OnDragDropMessage(UINT message, CDD_OleDropTargetInfo* info, LPARAM lParam);
    DROPEFFECT AcceptedEffect(CDD_OleDropTargetInfo* info) const;
    int AddFolderIcon(UINT id);

    int m_ownCalls = 0;
    std::unordered_set<CUIListCtrlData*> m_records;
    CImageList m_imageList;
    int m_closedImage = -1;
    int m_openImage = -1;
    WORD m_lastKey = 0;
    bool m_selectPending = false;
    HTREEITEM m_lastSelected = nullptr;
    HFONT m_savedFont = nullptr;
};
