// The framework's drop target and drop source. A COleDropTarget registered for a window turns
// the drop-target calls into virtual operations with the window, the data object and points in
// the window's client coordinates; a COleDropSource decides when a drag drops or ends.
#pragma once

#include <memory>

#include "platform/ole/DragDrop.h"
#include "platform/ole/OleDataObject.h"
#include "platform/window/AfxWnd.h"

namespace ostrana {
class DropTargetBridge;
class DropSourceBridge;
} // namespace ostrana

class COleDropTarget : public CCmdTarget {
    DECLARE_DYNAMIC(COleDropTarget)
public:
    COleDropTarget();
    ~COleDropTarget() override;
    COleDropTarget(const COleDropTarget&) = delete;
    COleDropTarget& operator=(const COleDropTarget&) = delete;

    BOOL Register(CWnd* window);
    virtual void Revoke();

    virtual DROPEFFECT OnDragEnter(CWnd* window, COleDataObject* data, DWORD keyState, POINT point);
    virtual DROPEFFECT OnDragOver(CWnd* window, COleDataObject* data, DWORD keyState, POINT point);
    virtual BOOL OnDrop(CWnd* window, COleDataObject* data, DROPEFFECT effect, POINT point);
    // -1 lets OnDrop decide.
    virtual DROPEFFECT OnDropEx(CWnd* window, COleDataObject* data, DROPEFFECT dropDefault, DROPEFFECT dropList, POINT point);
    virtual void OnDragLeave(CWnd* window);
    virtual DROPEFFECT OnDragScroll(CWnd* window, DWORD keyState, POINT point);

    HWND m_hWnd = nullptr;

private:
    friend class ostrana::DropTargetBridge;
    ostrana::DropTargetBridge* m_bridge = nullptr;
};

class COleDropSource : public CCmdTarget {
    DECLARE_DYNAMIC(COleDropSource)
public:
    COleDropSource();
    ~COleDropSource() override;
    COleDropSource(const COleDropSource&) = delete;
    COleDropSource& operator=(const COleDropSource&) = delete;

    // Escape or the other button cancels; releasing the button that started the drag drops.
    virtual HRESULT QueryContinueDrag(BOOL escapePressed, DWORD keyState);
    virtual HRESULT GiveFeedback(DROPEFFECT effect);

    IDropSource* GetInterface();

private:
    friend class ostrana::DropSourceBridge;
    ostrana::DropSourceBridge* m_bridge = nullptr;
    DWORD m_dropButton = MK_LBUTTON;
    DWORD m_cancelButton = MK_RBUTTON;
};
