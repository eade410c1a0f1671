// The OLE drop target of a toolkit list: each callback becomes one of the UWM_DD_ messages with
// the row under the point, sent to the list and then to its parent; dragged list rows are
// outlined at the cursor.
#pragma once

#include "platform/ole/OleDropTarget.h"
#include "ui/DragDropImage.h"

class CUIListDropTarget : public COleDropTarget {
public:
    DROPEFFECT OnDragEnter(CWnd* window, COleDataObject* data, DWORD keyState, POINT point) override;
    DROPEFFECT OnDragOver(CWnd* window, COleDataObject* data, DWORD keyState, POINT point) override;
    BOOL OnDrop(CWnd* window, COleDataObject* data, DROPEFFECT effect, POINT point) override;
    void OnDragLeave(CWnd* window) override;

private:
    DROPEFFECT Ask(UINT message, CWnd* window, COleDataObject* data, DWORD keyState, POINT point);
    CDragImageTracker m_outline;
};
