// The facts of one drag-and-drop event, handed by a toolkit control to itself and its parent with
// one of the UWM_DD_ messages. It lives on the sender's stack for the duration of the send.
#pragma once

#include "platform/controls/CommCtrl.h"
#include "platform/ole/DragDrop.h"
#include "platform/ole/OleDataObject.h"
#include "platform/ole/OleDataSource.h"

class CDD_OleDropTargetInfo : public CObject {
    DECLARE_DYNAMIC(CDD_OleDropTargetInfo)

public:
    CDD_OleDropTargetInfo(HWND window, POINT point, COleDataObject* dataObject);

    HWND GetTargetWnd() const { return m_hWnd; }
    POINT GetPoint() const { return m_point; }
    DROPEFFECT GetDropEffect() const { return m_dropEffect; }
    void SetDropEffect(DROPEFFECT effect) { m_dropEffect = effect; }
    COleDataObject* GetDataObject() const { return m_pDataObject; }
    DWORD GetKeyboardState() const { return m_keyboardState; }
    void SetKeyboardState(DWORD state) { m_keyboardState = state; }
    HTREEITEM GetTreeItem() const { return m_hTreeItem; }
    void SetTreeItem(HTREEITEM item) { m_hTreeItem = item; }
    int GetItem() const { return m_item; }
    void SetItem(int item) { m_item = item; }

private:
    HWND m_hWnd;
    POINT m_point;
    DROPEFFECT m_dropEffect = DROPEFFECT_NONE;
    COleDataObject* m_pDataObject;
    DWORD m_keyboardState = 0;
    HTREEITEM m_hTreeItem = nullptr;
    int m_item = -1;
};

// Sends a UWM_DD_ message to the control and, when it answers 0, to its parent.
LRESULT SendDragDropMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
