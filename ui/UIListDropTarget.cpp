#include "ui/UIListDropTarget.h"

#include "platform/controls/CommCtrl.h"
#include "ui/DDOleDropTargetInfo.h"
#include "ui/UIMessages.h"

namespace {

int RowAt(HWND list, POINT point) {
    LVHITTESTINFO hit{};
    hit.pt = point;
    return static_cast<int>(SendMessageA(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

} // namespace

DROPEFFECT CUIListDropTarget::Ask(UINT message, CWnd* window, COleDataObject* data, DWORD keyState, POINT point) {
    CDD_OleDropTargetInfo info(window->GetSafeHwnd(), point, data);
    info.SetKeyboardState(keyState);
    info.SetItem(RowAt(window->GetSafeHwnd(), point));
    LRESULT accepted = SendDragDropMessage(window->GetSafeHwnd(), message, reinterpret_cast<WPARAM>(&info), 0);
    if (message == UWM_DD_DRAGOVER && accepted == 0) return DROPEFFECT_NONE;
    return info.GetDropEffect();
}

DROPEFFECT CUIListDropTarget::OnDragEnter(CWnd* window, COleDataObject* data, DWORD keyState, POINT point) {
    m_outline.Enter(window->GetSafeHwnd(), data, point);
    return Ask(UWM_DD_DRAGENTER, window, data, keyState, point);
}

DROPEFFECT CUIListDropTarget::OnDragOver(CWnd* window, COleDataObject* data, DWORD keyState, POINT point) {
    m_outline.Move(window->GetSafeHwnd(), point);
    return Ask(UWM_DD_DRAGOVER, window, data, keyState, point);
}

BOOL CUIListDropTarget::OnDrop(CWnd* window, COleDataObject* data, DROPEFFECT effect, POINT point) {
    m_outline.Leave(window->GetSafeHwnd());
    CDD_OleDropTargetInfo info(window->GetSafeHwnd(), point, data);
    info.SetDropEffect(effect);
    info.SetKeyboardState(effect);
    info.SetItem(RowAt(window->GetSafeHwnd(), point));
    return SendDragDropMessage(window->GetSafeHwnd(), UWM_DD_DROP, reinterpret_cast<WPARAM>(&info), 0) != 0;
}

void CUIListDropTarget::OnDragLeave(CWnd* window) {
    m_outline.Leave(window->GetSafeHwnd());
    CDD_OleDropTargetInfo info(window->GetSafeHwnd(), POINT{0, 0}, nullptr);
    SendDragDropMessage(window->GetSafeHwnd(), UWM_DD_DRAGLEAVE, reinterpret_cast<WPARAM>(&info), 0);
}
