// The text and link label; see TextLabel.h.
#include "mainwnd/TextLabel.h"

#include <cstring>

#include "platform/gdi/SysColors.h"
#include "platform/registry/RegistryText.h"
#include "platform/shell/ShellExecute.h"
#include "platform/window/Cursor.h"
#include "res/ResourceIds.h"
#include "res/Resources.h"

IMPLEMENT_DYNCREATE(CTextLabel, CStatic)

namespace {

constexpr DWORD kRegistryTextMax = 260;

// Cuts the command before its placeholder: a quoted "%1" loses its opening quote too.
std::string CommandBeforePlaceholder(const std::string& command) {
    size_t quoted = command.find("\"%1\"");
    if (quoted != std::string::npos) return command.substr(0, quoted);
    size_t bare = command.find("%1");
    return bare != std::string::npos ? command.substr(0, bare) : command;
}

} // namespace

INT_PTR OpenLinkTarget(const std::string& target, int showCommand) {
    INT_PTR opened = reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, showCommand));
    if (opened > 32) return opened;
    auto pageClass = ostrana::ReadRegistryText(HKEY_CLASSES_ROOT, ".htm", "", kRegistryTextMax);
    if (!pageClass) return opened;
    auto command = ostrana::ReadRegistryText(HKEY_CLASSES_ROOT, *pageClass + "\\shell\\open\\command", "", kRegistryTextMax);
    if (!command) return opened;
    std::string line = CommandBeforePlaceholder(*command) + " " + target;
    return static_cast<INT_PTR>(WinExec(line.c_str(), static_cast<UINT>(showCommand)));
}

CTextLabel::CTextLabel()
    : m_fillColor(GetSysColor(COLOR_BTNFACE)), m_textColor(GetSysColor(COLOR_BTNTEXT)),
      m_backColor(GetSysColor(COLOR_BTNFACE)) {}

CTextLabel::~CTextLabel() {
    if (m_icon != nullptr) DestroyIcon(m_icon);
}

BOOL CTextLabel::Attach(HWND item, UINT flags, UINT format) {
    m_flags = flags;
    m_format = (flags & kScrolling) ? 0 : format;
    if (!SubclassWindow(item)) return FALSE;
    m_text = GetWindowText();
    ModifyStyle(0, SS_NOTIFY);
    if (flags & (kLink | kLinkCursor)) m_cursor = LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDC_HAND_LINK));
    if (flags & kScrolling) SetTimer(kScrollTimer, 100);
    return TRUE;
}

BOOL CTextLabel::SetFont(LPCSTR face, int points, BOOL underline, BOOL bold, BOOL italic) {
    m_font.DeleteObject();
    HFONT current = GetFont();
    if (current == nullptr) current = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTA font{};
    ::GetObjectA(current, sizeof(font), &font);
    if (face != nullptr) {
        strncpy(font.lfFaceName, face, sizeof(font.lfFaceName) - 1);
        font.lfFaceName[sizeof(font.lfFaceName) - 1] = '\0';
    }
    if (points > 0) {
        HDC screen = ::GetDC(nullptr);
        font.lfHeight = -(points * ::GetDeviceCaps(screen, LOGPIXELSY) / 72);
        ::ReleaseDC(nullptr, screen);
    }
    if (bold) font.lfWeight = FW_BOLD;
    font.lfUnderline = underline ? 1 : 0;
    font.lfItalic = italic ? 1 : 0;
    return m_font.CreateFontIndirect(&font);
}

void CTextLabel::SetIcon(HICON icon) {
    if (m_icon != nullptr) DestroyIcon(m_icon);
    m_icon = icon;
}

LRESULT CTextLabel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: OnPaint(); return 0;
    case WM_ERASEBKGND: return TRUE;
    case WM_SETCURSOR:
        if (m_cursor != nullptr) {
            ::SetCursor(m_cursor);
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN:
        if ((m_flags & kLink) && !m_linkTarget.empty()) OpenLinkTarget(m_linkTarget, SW_SHOW);
        break;
    case WM_TIMER:
        if (wParam == kScrollTimer) {
            m_scrollOffset += 5;
            Invalidate(FALSE);
            return 0;
        }
        break;
    case WM_DESTROY:
        if (m_flags & kScrolling) KillTimer(kScrollTimer);
        break;
    default: break;
    }
    return CStatic::WindowProc(message, wParam, lParam);
}

void CTextLabel::OnPaint() {
    CPaintDC dc(this);
    HGDIOBJ oldFont = m_font.m_hObject != nullptr ? dc.SelectObject(&m_font) : nullptr;
    dc.SetTextColor(m_textColor);
    dc.SetBkColor(m_backColor);
    dc.SetBkMode(TRANSPARENT);
    RECT client{};
    GetClientRect(&client);
    if (!(m_flags & kTransparent)) dc.FillSolidRect(&client, m_fillColor);
    RECT textRect = client;
    DrawFrame(dc, textRect);
    if (m_icon != nullptr) {
        int middle = (client.top + client.bottom) / 2;
        dc.DrawIcon(textRect.left, middle - 16, m_icon);
        textRect.left += 50;
    }
    DrawLabelText(dc, textRect);
    if (oldFont != nullptr) dc.SelectObject(oldFont);
}

void CTextLabel::DrawFrame(CDC& dc, RECT& textRect) const {
    if (!(m_flags & (kSunkenFrame | kRoundFrame | kRaisedFrame))) return;
    RECT frame = textRect;
    if (m_flags & kRoundFrame) {
        CBrush fill(m_backColor);
        CPen pen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
        HGDIOBJ oldBrush = dc.SelectObject(&fill);
        HGDIOBJ oldPen = dc.SelectObject(&pen);
        dc.RoundRect(&frame, POINT{m_cornerSize, m_cornerSize});
        dc.SelectObject(oldPen);
        dc.SelectObject(oldBrush);
    } else {
        dc.DrawEdge(&frame, (m_flags & kSunkenFrame) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    }
    ::InflateRect(&textRect, -m_marginX, -m_marginY);
}

void CTextLabel::DrawLabelText(CDC& dc, RECT rect) const {
    if (m_flags & kScrolling) {
        int width = rect.right - rect.left;
        if (width > 0) rect.left -= m_scrollOffset % width;
    }
    if (m_flags & kEmbossed) {
        RECT shadow = rect;
        ::OffsetRect(&shadow, 2, 2);
        COLORREF previous = dc.SetTextColor(GetSysColor(COLOR_3DHILIGHT));
        dc.DrawText(m_text, &shadow, m_format);
        dc.SetTextColor(GetSysColor(COLOR_GRAYTEXT));
        dc.DrawText(m_text, &rect, m_format);
        dc.SetTextColor(previous);
        return;
    }
    dc.DrawText(m_text, &rect, m_format);
}
