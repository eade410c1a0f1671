#include "ui/DDOleDropTargetInfo.h"

#include "platform/window/Window.h"

IMPLEMENT_DYNAMIC(CDD_OleDropTargetInfo, CObject)

CDD_OleDropTargetInfo::CDD_OleDropTargetInfo(HWND window, POINT point, COleDataObject* dataObject)
    : m_hWnd(window), m_point(point), m_pDataObject(dataObject) {}

LRESULT SendDragDropMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT answer = SendMessageA(control, message, wParam, lParam);
    if (answer != 0) return answer;
    HWND parent = GetParent(control);
    return parent != nullptr ? SendMessageA(parent, message, wParam, lParam) : 0;
}
