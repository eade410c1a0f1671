// The OLE drop target of a toolkit tree: hands each callback to the tree and outlines dragged
// list rows at the cursor.
#pragma once

#include "platform/ole/OleDropTarget.h"
#include "ui/DragDropImage.h"

class CUIDragDropTree;

class CUITreeDropTarget : public COleDropTarget {
public:
    explicit CUITreeDropTarget(CUIDragDropTree& tree) : m_tree(tree) {}
    DROPEFFECT OnDragEnter(CWnd* window, COleDataObject* data, DWORD keyState, POINT point) override;
    DROPEFFECT OnDragOver(CWnd* window, COleDataObject* data, DWORD keyState, POINT point) override;
    BOOL OnDrop(CWnd* window, COleDataObject* data, DROPEFFECT effect, POINT point) override;
    void OnDragLeave(CWnd* window) override;

private:
    CUIDragDropTree& m_tree;
    CDragImageTracker m_outline;
};
