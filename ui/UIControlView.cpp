#include "ui/UIControlView.h"

#include "platform/window/Window.h"

IMPLEMENT_DYNAMIC(CUIControlView, CWnd)

namespace {

void RegisterViewClass(LPCSTR className) {
    WNDCLASSA existing{};
    if (className == nullptr || GetClassInfoA(nullptr, className, &existing)) return;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ::DefWindowProcA;
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
}

} // namespace

CUIControlView::CUIControlView() = default;

CUIControlView::~CUIControlView() {
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) DestroyWindow();
}

BOOL CUIControlView::Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    RegisterViewClass(className);
    return CWnd::Create(className, windowName, style | WS_CLIPCHILDREN, rect, parent, id);
}

void CUIControlView::OnInitialUpdate() { SizeChildToClient(); }

CWnd* CUIControlView::GetSizedChild() const { return GetControlWnd(); }

void CUIControlView::SizeChildToClient() {
    CWnd* child = GetSizedChild();
    if (child == nullptr || child->GetSafeHwnd() == nullptr) return;
    RECT client{};
    GetClientRect(&client);
    child->MoveWindow(client);
}

LRESULT CUIControlView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        if (CWnd::WindowProc(message, wParam, lParam) == -1 || !CreateControl()) return -1;
        SizeChildToClient();
        return 0;
    case WM_SIZE:
        SizeChildToClient();
        return 0;
    case WM_SETFOCUS:
        if (CWnd* child = GetSizedChild(); child != nullptr && child->GetSafeHwnd() != nullptr) child->SetFocus();
        return 0;
    default: return CWnd::WindowProc(message, wParam, lParam);
    }
}

// Menu commands tracked with the view as owner reach the control's handlers.
BOOL CUIControlView::OnCmdMsg(UINT id, int code) {
    CWnd* control = GetControlWnd();
    if (control != nullptr && control->GetSafeHwnd() != nullptr && control->OnCmdMsg(id, code)) return TRUE;
    return CWnd::OnCmdMsg(id, code);
}
