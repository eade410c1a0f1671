// A static text that paints itself with its own colours and font: the main window's quota, path,
// user and level texts and the login dialog's links. Attached to an existing dialog item; with the
// link flag a click opens the link target through the shell, falling back to the command line of
// the web page class.
#pragma once

#include <string>

#include "platform/window/AfxControls.h"
#include "platform/window/AfxGdi.h"

class CTextLabel : public CStatic {
    DECLARE_DYNCREATE(CTextLabel)

public:
    static constexpr UINT kTransparent = 0x01;
    static constexpr UINT kSunkenFrame = 0x02;
    static constexpr UINT kRoundFrame = 0x04;
    static constexpr UINT kEmbossed = 0x08;
    static constexpr UINT kScrolling = 0x10;
    static constexpr UINT kLink = 0x20;
    static constexpr UINT kLinkCursor = 0x40;
    static constexpr UINT kRaisedFrame = 0x80;
    static constexpr UINT_PTR kScrollTimer = 1025;

    CTextLabel();
    ~CTextLabel() override;

    BOOL Attach(HWND item, UINT flags, UINT format);
    // A null face keeps the current face, 0 points the current size.
    BOOL SetFont(LPCSTR face, int points, BOOL underline, BOOL bold, BOOL italic);
    void SetIcon(HICON icon);

    UINT m_flags = 0;
    UINT m_format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    COLORREF m_fillColor;
    COLORREF m_textColor;
    COLORREF m_backColor;
    std::string m_text;
    std::string m_linkTarget;
    int m_marginX = 5;
    int m_marginY = 5;
    int m_cornerSize = 6;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnPaint();
    void DrawFrame(CDC& dc, RECT& textRect) const;
    void DrawLabelText(CDC& dc, RECT rect) const;

    CFont m_font;
    HCURSOR m_cursor = nullptr;
    HICON m_icon = nullptr;
    int m_scrollOffset = 0;
};

// Opens `target` with the shell; when the shell cannot, runs the open command of the ".htm" class
// with the target appended. The result is the shell's (above 32 on success) or WinExec's.
INT_PTR OpenLinkTarget(const std::string& target, int showCommand);
