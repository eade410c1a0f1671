// The tree control of the toolkit's drag-and-drop scheme. It decides nothing itself: every drag
// event becomes a CDD_OleDropTargetInfo sent as a UWM_DD_ message to the tree and then to its
// parent. It runs OLE drags (when the begin-drag message is answered with effects) and otherwise
// its own image-list drag with the drop menu 218; it scrolls while a drag is held near its edges
// and moves nodes with their subtrees.
#pragma once

#include <memory>

#include "platform/controls/AfxCmnCtrls.h"
#include "platform/ole/DropFiles.h"
#include "platform/ole/OleDataSource.h"
#include "ui/DDOleDropTargetInfo.h"
#include "ui/UIMessages.h"

class CUITreeDropTarget;

#define IDR_UI_DRAG_MENU 218
#define ID_UI_DRAG_MOVE 42768
#define ID_UI_DRAG_COPY 42769
#define ID_UI_DRAG_CANCEL 42770

enum class UIScrollDirection { None, FastUp, SlowUp, FastDown, SlowDown };

class CUIDragDropTree : public CTreeCtrl {
    DECLARE_DYNAMIC(CUIDragDropTree)

public:
    static constexpr UINT_PTR kScrollTimer = 1;
    static constexpr UINT kScrollInterval = 75;
    static constexpr int kFastZoneTop = 10;
    static constexpr int kFastZoneBottom = 30;

    explicit CUIDragDropTree(bool oleDragDrop = false);
    ~CUIDragDropTree() override;

    bool IsOleDragDrop() const { return m_oleDragDrop; }
    void SetAcceptDropFiles(bool accept) { m_acceptDropFiles = accept; }
    bool IsDragging() const { return m_dragging; }
    HTREEITEM GetDragItem() const { return m_dragItem; }
    HTREEITEM GetDropHighlight() const { return m_dropHighlight; }
    void SetDropHighlight(HTREEITEM item);

    // Auto-scrolling while a drag is held; the client top and bottom are taken now.
    void StartAutoScroll();
    void StopAutoScroll();

    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // The OLE drop target's callbacks, in client coordinates.
    DROPEFFECT OnOleDragEnter(COleDataObject* data, DWORD keyState, POINT point);
    DROPEFFECT OnOleDragOver(COleDataObject* data, DWORD keyState, POINT point);
    void OnOleDragLeave();
    BOOL OnOleDrop(COleDataObject* data, DROPEFFECT effect, POINT point);

    virtual DROPEFFECT DragOverItem(POINT point, COleDataObject* data, DWORD keyState, HTREEITEM& hit);
    virtual bool IsDescendant(HTREEITEM item, HTREEITEM ancestor) const;
    virtual bool IsAutoScrollPoint(POINT screen) const;
    virtual UIScrollDirection GetScrollDirection(POINT screen) const;
    // Moves `item` with its subtree under `newParent` in sorted position; the copy, or null.
    virtual HTREEITEM MoveNode(HTREEITEM item, HTREEITEM newParent);
    // The end of the own drag: drops on the highlighted node with `effect` (2 move, 1 copy).
    virtual void DropOwnDrag(DROPEFFECT effect);
    virtual void DropFile(HTREEITEM item, LPCSTR path, UINT hitFlags);
    virtual void DragHook();
    virtual BOOL BeginDrag(NMTREEVIEWA* info, bool rightButton);
    virtual bool WantsDropMenu() const;
    virtual void EndDrag();

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Lets the derived class adjust a node copied by MoveNode.
    virtual void AdjustMovedNode(HTREEITEM original, HTREEITEM copy);

    COleDataSource m_dataSource;

private:
    void OnCreated();
    void StartOwnDrag(HTREEITEM item, POINT point);
    void OnOwnDragMove(POINT client);
    void OnOwnDragButtonUp(bool rightButton);
    void OnScrollTimer();
    void OnDropFiles(HDROP drop);
    void MoveChildren(HTREEITEM from, HTREEITEM to);

    bool m_oleDragDrop;
    bool m_acceptDropFiles = true;
    std::unique_ptr<CImageList> m_dragImage;
    bool m_dragging = false;
    bool m_oleDragOver = false;
    HTREEITEM m_dragItem = nullptr;
    HTREEITEM m_dropHighlight = nullptr;
    UINT_PTR m_scrollTimer = 0;
    int m_scrollTick = 0;
    int m_clientTop = 0;
    int m_clientBottom = 0;
    int m_hScrollHeight;
    std::unique_ptr<CUITreeDropTarget> m_dropTarget;
};
