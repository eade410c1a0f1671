// The bar between two panes of the main window. The user drags it; it draws an inverted tracking
// line on the screen while dragged, keeps the drag inside its range, moves itself to the drop
// position and tells its parent by how many pixels it moved. Resizing the panes is the parent's
// work, helped by ChangeWidth and ChangeHeight.
#pragma once

#include "platform/window/AfxControls.h"

// The notification code of WM_NOTIFY after a completed drag.
#define SPN_MOVED 1025

// What WM_NOTIFY's lParam points at after a drag: the header, then the distance moved along the
// bar's axis (end minus start, in pixels).
struct NMSPLITTER {
    NMHDR hdr;
    int delta;
};

class CPaneSplitter : public CStatic {
    DECLARE_DYNCREATE(CPaneSplitter)

public:
    static constexpr int kVertical = 1;   // moves left and right
    static constexpr int kHorizontal = 2; // moves up and down
    static constexpr int kThickness = 5;

    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    // Parent client coordinates along the moving axis.
    void SetRange(int minimum, int maximum);
    int SetOrientation(int orientation);
    int GetOrientation() const { return m_orientation; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnPaint();
    BOOL OnSetCursor(UINT hitTest);
    void OnLButtonDown(WPARAM wParam, LPARAM lParam);
    void OnMouseMove(WPARAM wParam, LPARAM lParam);
    void OnLButtonUp(WPARAM wParam, LPARAM lParam);
    void DrawTrackingLine() const;
    RECT ScreenRect() const;
    int AlongAxis(POINT point) const { return m_orientation == kVertical ? point.x : point.y; }
    void MoveCentreTo(HWND reference);
    void NotifyMoved(HWND target);

    int m_orientation = kHorizontal;
    bool m_dragging = false;
    POINT m_current{};
    int m_start = 0;
    int m_minimum = -1;
    int m_maximum = -1;
};

// Side 1 moves the right edge by `distance`, side 2 the left edge by -`distance`.
void ChangeWidth(CWnd* window, int distance, int side);
// Side 3 moves the bottom edge by `distance`, side 4 the top edge by -`distance`.
void ChangeHeight(CWnd* window, int distance, int side);
