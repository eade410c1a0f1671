#include "platform/window/AfxGdi.h"

#include <cstring>

#include "platform/base/ModuleResources.h"
#include "platform/window/AfxWnd.h"

IMPLEMENT_DYNAMIC(CGdiObject, CObject)
IMPLEMENT_DYNCREATE(CPen, CGdiObject)
IMPLEMENT_DYNCREATE(CBrush, CGdiObject)
IMPLEMENT_DYNCREATE(CFont, CGdiObject)
IMPLEMENT_DYNCREATE(CBitmap, CGdiObject)
IMPLEMENT_DYNCREATE(CDC, CObject)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)

BOOL CGdiObject::Attach(HGDIOBJ object) {
    if (object == nullptr) return FALSE;
    DeleteObject();
    m_hObject = object;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ object = m_hObject;
    m_hObject = nullptr;
    return object;
}

BOOL CGdiObject::DeleteObject() {
    if (m_hObject == nullptr) return FALSE;
    HGDIOBJ object = Detach();
    return ::DeleteObject(object);
}

BOOL CFont::CreatePointFont(int pointSizeTenths, LPCSTR face, CDC* dc) {
    LOGFONTA font{};
    int dpi = ::GetDeviceCaps(dc != nullptr ? dc->m_hDC : nullptr, LOGPIXELSY);
    font.lfHeight = -((pointSizeTenths * dpi + 360) / 720);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    if (face != nullptr) std::strncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    return CreateFontIndirect(&font);
}

BOOL CBitmap::LoadBitmap(LPCSTR name) { return Attach(::LoadBitmapA(ostrana::DefaultResourceModule(), name)); }

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
    return Attach(::CreateCompatibleBitmap(dc != nullptr ? dc->m_hDC : nullptr, width, height));
}

CDC::~CDC() {
    if (m_owned) DeleteDC();
}

BOOL CDC::Attach(HDC dc) {
    if (dc == nullptr) return FALSE;
    m_hDC = dc;
    return TRUE;
}

HDC CDC::Detach() {
    HDC dc = m_hDC;
    m_hDC = nullptr;
    m_owned = false;
    return dc;
}

BOOL CDC::CreateCompatibleDC(CDC* dc) {
    m_hDC = ::CreateCompatibleDC(dc != nullptr ? dc->m_hDC : nullptr);
    m_owned = m_hDC != nullptr;
    return m_owned;
}

BOOL CDC::DeleteDC() {
    if (m_hDC == nullptr) return FALSE;
    BOOL deleted = ::DeleteDC(m_hDC);
    m_hDC = nullptr;
    m_owned = false;
    return deleted;
}

void CDC::FillSolidRect(const RECT* rect, COLORREF color) {
    HBRUSH brush = ::CreateSolidBrush(color);
    ::FillRect(m_hDC, rect, brush);
    ::DeleteObject(brush);
}

POINT CDC::MoveTo(int x, int y) {
    POINT previous{};
    ::MoveToEx(m_hDC, x, y, &previous);
    return previous;
}

SIZE CDC::GetTextExtent(const std::string& text) const {
    SIZE size{};
    ::GetTextExtentPoint32A(m_hDC, text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

CPaintDC::CPaintDC(CWnd* window) : m_hWnd(window->m_hWnd) { Attach(::BeginPaint(m_hWnd, &m_ps)); }
CPaintDC::~CPaintDC() {
    ::EndPaint(m_hWnd, &m_ps);
    Detach();
}

CClientDC::CClientDC(CWnd* window) : m_hWnd(window != nullptr ? window->m_hWnd : nullptr) { Attach(::GetDC(m_hWnd)); }
CClientDC::~CClientDC() { ::ReleaseDC(m_hWnd, Detach()); }
