#include "ui/UITreeDropTarget.h"

#include "ui/UIDragDropTree.h"

DROPEFFECT CUITreeDropTarget::OnDragEnter(CWnd* window, COleDataObject* data, DWORD keyState, POINT point) {
    m_outline.Enter(window->GetSafeHwnd(), data, point);
    return m_tree.OnOleDragEnter(data, keyState, point);
}

DROPEFFECT CUITreeDropTarget::OnDragOver(CWnd* window, COleDataObject* data, DWORD keyState, POINT point) {
    DROPEFFECT effect = m_tree.OnOleDragOver(data, keyState, point);
    m_outline.Move(window->GetSafeHwnd(), point);
    return effect;
}

BOOL CUITreeDropTarget::OnDrop(CWnd* window, COleDataObject* data, DROPEFFECT effect, POINT point) {
    m_outline.Leave(window->GetSafeHwnd());
    return m_tree.OnOleDrop(data, effect, point);
}

void CUITreeDropTarget::OnDragLeave(CWnd* window) {
    m_outline.Leave(window->GetSafeHwnd());
    m_tree.OnOleDragLeave();
}
