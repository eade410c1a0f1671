// The pane splitter bar; see PaneSplitter.h.
#include "mainwnd/PaneSplitter.h"

#include <algorithm>

#include "platform/gdi/SysColors.h"
#include "platform/window/AfxGdi.h"
#include "platform/window/Cursor.h"

IMPLEMENT_DYNCREATE(CPaneSplitter, CStatic)

namespace {

constexpr COLORREF kBarColour = 0xEFEFEF;
constexpr COLORREF kTrackingColour = 0xC8C8C8;

// Loaded once for the process, on the first bar created.
HCURSOR ResizeCursor(int orientation) {
    static const HCURSOR westEast = LoadCursorA(nullptr, IDC_SIZEWE);
    static const HCURSOR northSouth = LoadCursorA(nullptr, IDC_SIZENS);
    return orientation == CPaneSplitter::kVertical ? westEast : northSouth;
}

int Centre(int low, int high) { return low + (high - low) / 2; }

HWND OwnerOrParent(HWND window) {
    HWND owner = ::GetWindow(window, GW_OWNER);
    return owner != nullptr ? owner : ::GetParent(window);
}

RECT RectInParent(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<LPPOINT>(&rect), 2);
    return rect;
}

void MoveEdge(CWnd* window, int distance, int side) {
    if (window == nullptr || !::IsWindow(window->m_hWnd)) return;
    HWND parent = ::GetParent(window->m_hWnd);
    if (parent == nullptr || !::IsWindow(parent)) return;
    RECT rect = RectInParent(window->m_hWnd);
    switch (side) {
    case 1: rect.right += distance; break;
    case 2: rect.left -= distance; break;
    case 3: rect.bottom += distance; break;
    case 4: rect.top -= distance; break;
    default: return;
    }
    window->MoveWindow(rect, TRUE);
}

} // namespace

BOOL CPaneSplitter::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    RECT bar = rect;
    m_orientation = (rect.right - rect.left) < (rect.bottom - rect.top) ? kVertical : kHorizontal;
    if (m_orientation == kVertical) bar.right = bar.left + kThickness;
    else bar.bottom = bar.top + kThickness;
    ResizeCursor(m_orientation);
    if (!CStatic::Create("", style | SS_NOTIFY, bar, parent, id)) return FALSE;
    int centre = m_orientation == kVertical ? Centre(bar.left, bar.right) : Centre(bar.top, bar.bottom);
    m_minimum = m_maximum = centre;
    return TRUE;
}

void CPaneSplitter::SetRange(int minimum, int maximum) {
    m_minimum = minimum;
    m_maximum = maximum;
}

int CPaneSplitter::SetOrientation(int orientation) {
    int previous = m_orientation;
    m_orientation = orientation;
    return previous;
}

LRESULT CPaneSplitter::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: OnPaint(); return 0;
    case WM_SETCURSOR:
        if (OnSetCursor(LOWORD(lParam))) return TRUE;
        break;
    case WM_LBUTTONDOWN: OnLButtonDown(wParam, lParam); return 0;
    case WM_MOUSEMOVE: OnMouseMove(wParam, lParam); return 0;
    case WM_LBUTTONUP: OnLButtonUp(wParam, lParam); return 0;
    default: break;
    }
    return CStatic::WindowProc(message, wParam, lParam);
}

void CPaneSplitter::OnPaint() {
    CPaintDC dc(this);
    RECT client{};
    GetClientRect(&client);
    CBrush frame(GetSysColor(COLOR_BTNSHADOW));
    dc.FrameRect(&client, &frame);
    RECT inside = client;
    ::InflateRect(&inside, -1, -1);
    CPen pen(PS_SOLID, 1, kBarColour);
    CBrush fill(kBarColour);
    HGDIOBJ oldPen = dc.SelectObject(&pen);
    HGDIOBJ oldBrush = dc.SelectObject(&fill);
    dc.Rectangle(&inside);
    dc.SelectObject(oldBrush);
    dc.SelectObject(oldPen);
}

BOOL CPaneSplitter::OnSetCursor(UINT hitTest) {
    if (hitTest != HTCLIENT) return FALSE;
    ::SetCursor(ResizeCursor(m_orientation));
    return TRUE;
}

RECT CPaneSplitter::ScreenRect() const {
    RECT rect{};
    GetWindowRect(&rect);
    return rect;
}

void CPaneSplitter::OnLButtonDown(WPARAM wParam, LPARAM lParam) {
    CStatic::WindowProc(WM_LBUTTONDOWN, wParam, lParam);
    m_dragging = true;
    SetCapture();
    RECT rect = ScreenRect();
    m_current = POINT{Centre(rect.left, rect.right), Centre(rect.top, rect.bottom)};
    m_start = AlongAxis(m_current);
    DrawTrackingLine();
}

void CPaneSplitter::OnMouseMove(WPARAM wParam, LPARAM lParam) {
    if (m_dragging) {
        DrawTrackingLine();
        POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        HWND parent = ::GetParent(m_hWnd);
        ::MapWindowPoints(m_hWnd, parent, &point, 1);
        point.x = std::clamp(static_cast<int>(point.x), m_minimum, std::max(m_minimum, m_maximum));
        point.y = std::clamp(static_cast<int>(point.y), m_minimum, std::max(m_minimum, m_maximum));
        ::MapWindowPoints(parent, nullptr, &point, 1);
        m_current = point;
        DrawTrackingLine();
    }
    CStatic::WindowProc(WM_MOUSEMOVE, wParam, lParam);
}

void CPaneSplitter::OnLButtonUp(WPARAM wParam, LPARAM lParam) {
    if (m_dragging) {
        DrawTrackingLine();
        m_dragging = false;
        HWND target = OwnerOrParent(m_hWnd);
        if (target != nullptr && ::IsWindow(target)) {
            MoveCentreTo(target);
            NotifyMoved(target);
        }
    }
    CStatic::WindowProc(WM_LBUTTONUP, wParam, lParam);
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
}

void CPaneSplitter::MoveCentreTo(HWND reference) {
    POINT centre = m_current;
    ::MapWindowPoints(nullptr, reference, &centre, 1);
    RECT rect = RectInParent(m_hWnd);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    if (m_orientation == kVertical) rect.left = centre.x - width / 2;
    else rect.top = centre.y - height / 2;
    MoveWindow(rect.left, rect.top, width, height, TRUE);
}

void CPaneSplitter::NotifyMoved(HWND target) {
    NMSPLITTER notice{};
    notice.hdr.hwndFrom = m_hWnd;
    notice.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    notice.hdr.code = SPN_MOVED;
    notice.delta = AlongAxis(m_current) - m_start;
    ::SendMessageA(target, WM_NOTIFY, static_cast<WPARAM>(GetDlgCtrlID()), reinterpret_cast<LPARAM>(&notice));
}

// Drawn with R2_NOTXORPEN on the screen, so a second drawing at the same place removes it.
void CPaneSplitter::DrawTrackingLine() const {
    HDC screen = ::GetDC(nullptr);
    int previousMode = ::SetROP2(screen, R2_NOTXORPEN);
    HPEN pen = ::CreatePen(PS_SOLID, 2, kTrackingColour);
    HGDIOBJ previousPen = ::SelectObject(screen, pen);
    RECT bar = ScreenRect();
    if (m_orientation == kVertical) {
        for (int x : {m_current.x - 1, m_current.x + 1}) {
            ::MoveToEx(screen, x, bar.top, nullptr);
            ::LineTo(screen, x, bar.bottom);
        }
    } else {
        for (int y : {m_current.y - 1, m_current.y + 1}) {
            ::MoveToEx(screen, bar.left, y, nullptr);
            ::LineTo(screen, bar.right, y);
        }
    }
    ::SelectObject(screen, previousPen);
    ::DeleteObject(pen);
    ::SetROP2(screen, previousMode);
    ::ReleaseDC(nullptr, screen);
}

void ChangeWidth(CWnd* window, int distance, int side) {
    if (side == 1 || side == 2) MoveEdge(window, distance, side);
}

void ChangeHeight(CWnd* window, int distance, int side) {
    if (side == 3 || side == 4) MoveEdge(window, distance, side);
}
