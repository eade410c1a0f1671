// The base of the toolkit's panes: a window that owns one child control, creates it when its own
// window is created (through the control-creation hook of the derived view) and keeps it the size
// of its client area. The class name given to Create is registered on first use, so panes can be
// created by name ("ListView", "TreeView") as the main window does.
#pragma once

#include <memory>

#include "platform/window/AfxWnd.h"

class CUIControlView : public CWnd {
    DECLARE_DYNAMIC(CUIControlView)

public:
    CUIControlView();
    ~CUIControlView() override;

    BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id) override;
    // Run once by the creator after Create; derived panes set up their control here (base first).
    virtual void OnInitialUpdate();
    // The child that fills the client area; the control unless a derived view shows another.
    virtual CWnd* GetSizedChild() const;
    void SizeChildToClient();

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCmdMsg(UINT id, int code) override;
    // Creates the control window as a child filling the client area; FALSE fails the view's creation.
    virtual BOOL CreateControl() = 0;
    virtual CWnd* GetControlWnd() const = 0;

    static constexpr UINT kControlId = 1;
};
