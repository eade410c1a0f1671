// The control object; see OstranaCtrl.h.
#include "control/OstranaCtrl.h"

#include <algorithm>

#include "control/OstranaIds.h"
#include "control/OstranaPropPage.h"
#include "control/SessionCookie.h"
#include "mainwnd/OstranaDlg.h"
#include "platform/window/Focus.h"
#include "platform/window/WindowGeometry.h"
#include "res/ResourceIds.h"
#include "shell/ShellLocalPanes.h"

IMPLEMENT_DYNAMIC(COstranaCtrl, COleControl)

namespace {

constexpr const char* kMainWindowText = "Zelkor TAVEN WebHard Control";

// The variant's text in the system code page; empty when it holds no text and converts to none.
std::string VariantText(const VARIANT& value) {
    VARIANT text;
    VariantInit(&text);
    std::string result;
    if (SUCCEEDED(VariantChangeType(&text, &value, 0, VT_BSTR)) && text.vt == VT_BSTR) result = ostrana::BstrToAnsi(text.bstrVal);
    VariantClear(&text);
    return result;
}

// A script may hand a variable by reference; the property keeps what it refers to, never the
// reference into the script's storage.
const VARIANT& Dereferenced(const VARIANT& value) {
    if (value.vt == (VT_BYREF | VT_VARIANT) && value.pvarVal != nullptr) return *value.pvarVal;
    return value;
}

void StoreVariant(VARIANT& member, const VARIANT& value) {
    if (value.vt & VT_BYREF) return;
    VARIANT copy;
    VariantInit(&copy);
    if (FAILED(VariantCopy(&copy, &value))) return;
    VariantClear(&member);
    member = copy;
}

void ReadVariant(const VARIANT& member, VARIANT* out) { VariantCopy(out, &member); }

} // namespace

COstranaCtrl::COstranaCtrl() {
    VariantInit(&m_varAuth);
    VariantInit(&m_varUserID);
    VariantInit(&m_varHostName);
    DefineDispatch();
}

COstranaCtrl::~COstranaCtrl() {
    // The base class would destroy the window too, but by then this class's WM_DESTROY handling
    // is gone and the main window would outlive its parent's object.
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
    DestroyMainWindow();
    m_propPage.reset();
    VariantClear(&m_varAuth);
    VariantClear(&m_varUserID);
    VariantClear(&m_varHostName);
}

void COstranaCtrl::PageRelease::operator()(COstranaPropPage* page) const {
    if (page != nullptr) page->ExternalRelease();
}

std::vector<CLSID> COstranaCtrl::PropertyPageClasses() { return {CLSID_OstranaPropPage}; }

void COstranaCtrl::DefineDispatch() {
    DispProperty(
        kDispidDisplayType, "DisplayType",
        [this](VARIANT* out) {
            out->vt = VT_BSTR;
            out->bstrVal = ostrana::AnsiToBstr(m_strDisplayType);
        },
        [this](const VARIANT& value) { PutDisplayType(Dereferenced(value)); });
    DispProperty(
        kDispidVarAuth, "varAuth", [this](VARIANT* out) { ReadVariant(m_varAuth, out); },
        [this](const VARIANT& value) { PutAuth(Dereferenced(value)); });
    DispProperty(
        kDispidVarUserID, "varUserID", [this](VARIANT* out) { ReadVariant(m_varUserID, out); },
        [this](const VARIANT& value) { PutUserId(Dereferenced(value)); });
    DispProperty(
        kDispidVarHostName, "varHostName", [this](VARIANT* out) { ReadVariant(m_varHostName, out); },
        [this](const VARIANT& value) { PutHostName(Dereferenced(value)); });
    DispMethod(kDispidStartOstrana, "StartOstrana", [this] { StartOstrana(); });
    EventEntry(kEventOnOstranaLoaded, "OnOstranaLoaded");
}

void COstranaCtrl::PutDisplayType(const VARIANT& value) {
    m_strDisplayType = VariantText(value);
    SetModifiedFlag();
}

void COstranaCtrl::PutAuth(const VARIANT& value) {
    StoreVariant(m_varAuth, value);
    if (value.vt == VT_BSTR) ExtractSessionCookie(VariantText(value), m_strSessionCookie);
    SetModifiedFlag();
}

void COstranaCtrl::PutUserId(const VARIANT& value) {
    StoreVariant(m_varUserID, value);
    if (value.vt == VT_BSTR) m_strUserId = VariantText(value);
    SetModifiedFlag();
}

void COstranaCtrl::PutHostName(const VARIANT& value) {
    StoreVariant(m_varHostName, value);
    if (value.vt == VT_BSTR) m_strHostName = VariantText(value);
    SetModifiedFlag();
}

void COstranaCtrl::StartOstrana() {
    // One main window per process: the session, the transfer threads and the panes reach the
    // main window through one pointer, so a second one would cut the first off from them.
    if (GetMainWindow() != nullptr || m_hWnd == nullptr) return;
    auto dialog = std::make_unique<COstranaDlg>(this);
    dialog->SetLocalPanes(std::make_unique<ShellLocalPanes>());
    dialog->SetStartParams(m_strSessionCookie, m_strHostName, m_strUserId);
    if (!dialog->Create(IDD_OSTRANA, this)) return;
    m_mainWindow = std::move(dialog);
    SetMainWindow(m_mainWindow.get());
    m_mainWindow->SetWindowText(kMainWindowText);
    // Its template is not visible by itself; the start is what shows it.
    m_mainWindow->ShowWindow(SW_SHOW);
    ::SetActiveWindow(m_mainWindow->m_hWnd);
    ::SetForegroundWindow(m_mainWindow->m_hWnd);
    if (m_drawn) PlaceMainWindow(m_lastBounds);
}

void COstranaCtrl::OnDraw(CDC*, const RECT& bounds, const RECT&) {
    m_lastBounds = bounds;
    m_drawn = true;
    PlaceMainWindow(bounds);
}

void COstranaCtrl::PlaceMainWindow(const RECT& bounds) {
    if (!m_mainWindow || m_mainWindow->m_hWnd == nullptr) return;
    // The container names the area in its own client coordinates; the main window is our child.
    POINT origin{bounds.left, bounds.top};
    ::MapWindowPoints(::GetParent(m_hWnd), m_hWnd, &origin, 1);
    int width = std::max<int>(bounds.right - bounds.left, kMinimumMainWindowSize);
    int height = std::max<int>(bounds.bottom - bounds.top, kMinimumMainWindowSize);
    m_mainWindow->MoveWindow(origin.x, origin.y, width, height, TRUE);
}

void COstranaCtrl::DestroyMainWindow() {
    if (!m_mainWindow) return;
    if (m_mainWindow->m_hWnd != nullptr) m_mainWindow->DestroyWindow();
    if (GetMainWindow() == m_mainWindow.get()) SetMainWindow(nullptr);
    m_mainWindow.reset();
}

int COstranaCtrl::OnCreate(LPCREATESTRUCT create) {
    if (COleControl::OnCreate(create) == -1) return -1;
    FireEvent(kEventOnOstranaLoaded);
    return 0;
}

void COstranaCtrl::DoPropExchange(CPropExchange* exchange) {
    DWORD version = kControlVersion;
    exchange->ExchangeVersion(version, kControlVersion);
    COleControl::DoPropExchange(exchange);
}

HRESULT COstranaCtrl::OnProperties() {
    if (m_hWnd == nullptr) return E_UNEXPECTED;
    if (m_propPage && m_propPage->m_hWnd != nullptr) {
        ::SetWindowPos(m_propPage->m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        return S_OK;
    }
    if (!m_propPage) m_propPage.reset(new COstranaPropPage);
    SIZE size = m_propPage->GetTemplateSize();
    HRESULT status = m_propPage->Activate(m_hWnd, RECT{0, 0, size.cx, size.cy});
    if (SUCCEEDED(status)) ::SetWindowPos(m_propPage->m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return status;
}

LRESULT COstranaCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY: DestroyMainWindow(); break;
    case WM_MOVE:
        if (m_mainWindow && m_mainWindow->m_hWnd != nullptr) m_mainWindow->Invalidate(TRUE);
        break;
    default: break;
    }
    return COleControl::WindowProc(message, wParam, lParam);
}
