#include "ui/SubclassWnd.h"

#include "platform/window/WindowMessages.h"

IMPLEMENT_DYNAMIC(CSubclassWnd, CObject)

namespace {

// The newest hook of a window.
constexpr const char* kHookProperty = "ostrana.subclass";

CSubclassWnd* NewestHook(HWND window) { return static_cast<CSubclassWnd*>(GetPropA(window, kHookProperty)); }

} // namespace

CSubclassWnd::~CSubclassWnd() { Unhook(); }

BOOL CSubclassWnd::HookWindow(HWND window) {
    Unhook();
    if (window == nullptr) return TRUE;
    if (!IsWindow(window)) return FALSE;
    m_hWnd = window;
    m_older = NewestHook(window);
    if (m_older == nullptr) {
        m_previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HookProcedure)));
    }
    SetPropA(window, kHookProperty, this);
    return TRUE;
}

void CSubclassWnd::Unhook() {
    if (m_hWnd == nullptr) return;
    HWND window = m_hWnd;
    CSubclassWnd* newest = IsWindow(window) ? NewestHook(window) : nullptr;
    if (newest == this) {
        if (m_older != nullptr) {
            SetPropA(window, kHookProperty, m_older);
        } else {
            RemovePropA(window, kHookProperty);
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previous));
        }
    } else {
        for (CSubclassWnd* hook = newest; hook != nullptr; hook = hook->m_older) {
            if (hook->m_older != this) continue;
            hook->m_older = m_older;
            if (m_older == nullptr) hook->m_previous = m_previous;
            break;
        }
    }
    m_hWnd = nullptr;
    m_older = nullptr;
    m_previous = nullptr;
}

LRESULT CSubclassWnd::HookProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CSubclassWnd* newest = NewestHook(window);
    if (newest == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    return newest->Dispatch(message, wParam, lParam);
}

LRESULT CSubclassWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    Message current{message, wParam, lParam};
    const Message* outer = m_current;
    m_current = &current;
    LRESULT result = WindowProc(message, wParam, lParam);
    m_current = outer;
    if (message == WM_NCDESTROY && m_current == nullptr) Unhook();
    return result;
}

LRESULT CSubclassWnd::CallPrevious(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_older != nullptr) return m_older->Dispatch(message, wParam, lParam);
    if (m_previous != nullptr) return CallWindowProcA(m_previous, m_hWnd, message, wParam, lParam);
    return DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CSubclassWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) { return CallPrevious(message, wParam, lParam); }

LRESULT CSubclassWnd::Default() {
    if (m_current == nullptr) return 0;
    return CallPrevious(m_current->message, m_current->wParam, m_current->lParam);
}
