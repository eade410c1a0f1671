#include "platform/window/AfxWnd.h"
#include "platform/gdi/ScreenSize.h"

#include <map>
#include <memory>
#include <mutex>

#include "platform/window/AfxDialog.h"
#include "platform/window/MessageBox.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)
IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

namespace {

std::mutex& MapLock() {
    static std::mutex lock;
    return lock;
}

std::map<HWND, CWnd*>& Permanent() {
    static std::map<HWND, CWnd*> map;
    return map;
}

thread_local std::map<HWND, std::unique_ptr<CWnd>> t_temporary;
thread_local CWnd* t_creating = nullptr;

// Gives a message to PreTranslateMessage of the objects from the target window up to its top level.
bool PreTranslateThroughParents(MSG* msg) {
    for (HWND window = msg->hwnd; window != nullptr; window = ::GetParent(window)) {
        CWnd* object = CWnd::FromHandlePermanent(window);
        if (object != nullptr && object->PreTranslateMessage(msg)) return true;
        if (!(::GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD)) break;
    }
    return false;
}

void InstallFilter() {
    static std::once_flag once;
    std::call_once(once, [] { ostrana::SetMessageFilter(PreTranslateThroughParents); });
}

void CreationHook(HWND window) {
    CWnd* object = t_creating;
    t_creating = nullptr;
    ostrana::SetWindowCreationHook(nullptr);
    if (object != nullptr) object->SubclassWindow(window);
}

bool IsNotification(UINT message) {
    return message == WM_COMMAND || message == WM_NOTIFY || message == WM_DRAWITEM || message == WM_MEASUREITEM ||
           (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC);
}

HWND ControlOf(UINT message, WPARAM wParam, LPARAM lParam, HWND parent) {
    switch (message) {
    case WM_COMMAND: return reinterpret_cast<HWND>(lParam);
    case WM_NOTIFY: return lParam != 0 ? reinterpret_cast<NMHDR*>(lParam)->hwndFrom : nullptr;
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        return item != nullptr && item->CtlType != ODT_MENU ? item->hwndItem : nullptr;
    }
    case WM_MEASUREITEM: {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        return item != nullptr && item->CtlType != ODT_MENU ? ::GetDlgItem(parent, static_cast<int>(item->CtlID)) : nullptr;
    }
    default: return reinterpret_cast<HWND>(lParam); // WM_CTLCOLOR*
    }
    (void)wParam;
}

} // namespace

BOOL CCmdTarget::OnCmdMsg(UINT, int) { return FALSE; }

void AfxHookCreation(CWnd* window) {
    InstallFilter();
    t_creating = window;
    ostrana::SetWindowCreationHook(CreationHook);
}

LRESULT AfxWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* object = CWnd::FromHandlePermanent(window);
    if (object == nullptr) return ::DefWindowProcA(window, message, wParam, lParam);
    if (IsNotification(message)) {
        HWND control = ControlOf(message, wParam, lParam, window);
        CWnd* child = control != nullptr && control != window ? CWnd::FromHandlePermanent(control) : nullptr;
        LRESULT result = 0;
        if (child != nullptr && child->OnChildNotify(message, wParam, lParam, &result)) return result;
    }
    LRESULT result = object->WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        object->Detach();
        object->PostNcDestroy();
    }
    return result;
}

CWnd::~CWnd() {
    if (m_hWnd != nullptr && m_ownsWindow && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
    if (m_hWnd != nullptr) Detach();
}

CWnd* CWnd::FromHandlePermanent(HWND window) {
    std::lock_guard guard(MapLock());
    auto it = Permanent().find(window);
    return it != Permanent().end() ? it->second : nullptr;
}

CWnd* CWnd::FromHandle(HWND window) {
    if (window == nullptr) return nullptr;
    if (CWnd* permanent = FromHandlePermanent(window)) return permanent;
    std::erase_if(t_temporary, [](const auto& entry) { return !::IsWindow(entry.first); });
    auto& temporary = t_temporary[window];
    if (!temporary) {
        temporary = std::make_unique<CWnd>();
        temporary->m_hWnd = window;
    }
    return temporary.get();
}

BOOL CWnd::Attach(HWND window) {
    if (window == nullptr || m_hWnd != nullptr) return FALSE;
    InstallFilter();
    std::lock_guard guard(MapLock());
    m_hWnd = window;
    Permanent()[window] = this;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND window = m_hWnd;
    std::lock_guard guard(MapLock());
    auto it = Permanent().find(window);
    if (it != Permanent().end() && it->second == this) Permanent().erase(it);
    m_hWnd = nullptr;
    m_ownsWindow = false;
    return window;
}

BOOL CWnd::SubclassWindow(HWND window) {
    if (!Attach(window)) return FALSE;
    m_pfnSuper = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc)));
    if (m_pfnSuper == AfxWndProc) m_pfnSuper = nullptr;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    HWND item = parent != nullptr ? ::GetDlgItem(parent->m_hWnd, static_cast<int>(id)) : nullptr;
    return item != nullptr && SubclassWindow(item);
}

HWND CWnd::UnsubclassWindow() {
    if (m_pfnSuper != nullptr) ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    return Detach();
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width, int height,
                    HWND parent, HMENU idOrMenu, LPVOID param) {
    AfxHookCreation(this);
    HWND window = ::CreateWindowExA(exStyle, className, windowName, style, x, y, width, height, parent, idOrMenu, nullptr, param);
    if (window == nullptr) {
        t_creating = nullptr;
        ostrana::SetWindowCreationHook(nullptr);
        return FALSE;
    }
    m_ownsWindow = true;
    return TRUE;
}

BOOL CWnd::Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateEx(0, className, windowName, style | WS_CHILD, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent != nullptr ? parent->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

BOOL CWnd::DestroyWindow() { return m_hWnd != nullptr && ::DestroyWindow(m_hWnd); }

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (OnCommand(wParam, lParam)) return 0;
        break;
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (OnNotify(wParam, lParam, &result)) return result;
        break;
    }
    default: break;
    }
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper != nullptr) return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM) { return OnCmdMsg(LOWORD(wParam), HIWORD(wParam)); }

BOOL CWnd::OnNotify(WPARAM, LPARAM, LRESULT*) { return FALSE; }

BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) { return FALSE; }

void CWnd::DoDataExchange(CDataExchange*) {}

void CWnd::PostNcDestroy() {}

BOOL CWnd::UpdateData(BOOL saveAndValidate) {
    CDataExchange exchange(this, saveAndValidate);
    DoDataExchange(&exchange);
    return !exchange.Failed();
}

CWnd* CWnd::GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
CWnd* CWnd::GetParent() const { return FromHandle(::GetParent(m_hWnd)); }

void CWnd::GetWindowText(std::string& text) const { text = GetWindowText(); }

std::string CWnd::GetWindowText() const {
    int length = ::GetWindowTextLengthA(m_hWnd);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    int copied = ::GetWindowTextA(m_hWnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

BOOL CWnd::SetWindowPos(const CWnd* after, int x, int y, int cx, int cy, UINT flags) {
    return ::SetWindowPos(m_hWnd, after != nullptr ? after->m_hWnd : nullptr, x, y, cx, cy, flags);
}

void CWnd::ClientToScreen(LPRECT rect) const { ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<LPPOINT>(rect), 2); }
void CWnd::ScreenToClient(LPRECT rect) const { ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(rect), 2); }

CWnd* CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
CWnd* CWnd::GetFocus() { return FromHandle(::GetFocus()); }
CWnd* CWnd::SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags) {
    DWORD style = GetStyle();
    DWORD changed = (style & ~remove) | add;
    if (changed == style) return FALSE;
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(changed));
    if (flags != 0) ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, flags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

void CWnd::CenterWindow(CWnd* alternateOwner) {
    RECT area = ostrana::ScreenRect();
    HWND owner = alternateOwner != nullptr ? alternateOwner->m_hWnd : ::GetParent(m_hWnd);
    bool child = (GetStyle() & WS_CHILD) != 0;
    if (owner != nullptr) {
        if (child) ::GetClientRect(owner, &area);
        else ::GetWindowRect(owner, &area);
    }
    RECT rect;
    ::GetWindowRect(m_hWnd, &rect);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    MoveWindow((area.left + area.right - width) / 2, (area.top + area.bottom - height) / 2, width, height);
}

int CWnd::MessageBox(LPCSTR text, LPCSTR caption, UINT type) { return ::MessageBoxA(m_hWnd, text, caption, type); }

void CWnd::DragAcceptFiles(BOOL accept) {
    DWORD acceptFiles = 0x10; // WS_EX_ACCEPTFILES
    ::SetWindowLongPtrA(m_hWnd, GWL_EXSTYLE, static_cast<LONG_PTR>(accept ? (GetExStyle() | acceptFiles) : (GetExStyle() & ~acceptFiles)));
}
