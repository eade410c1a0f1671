// A hook object that takes over a window's procedure: it sees every message first and passes
// what it does not consume to the procedure before it with Default(). Several hooks may be
// chained on one window; the newest sees messages first. A hook lets go of its window when the
// window is destroyed.
#pragma once

#include "platform/base/Object.h"
#include "platform/window/Window.h"

class CSubclassWnd : public CObject {
    DECLARE_DYNAMIC(CSubclassWnd)

public:
    CSubclassWnd() = default;
    ~CSubclassWnd() override;
    CSubclassWnd(const CSubclassWnd&) = delete;
    CSubclassWnd& operator=(const CSubclassWnd&) = delete;

    // Hooks `window`; a null window unhooks. FALSE for a window that does not exist.
    BOOL HookWindow(HWND window);
    BOOL IsHooked() const { return m_hWnd != nullptr; }
    HWND GetHookedWindow() const { return m_hWnd; }

protected:
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The message being handled, passed to the procedure before this hook.
    LRESULT Default();

private:
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    static LRESULT HookProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT CallPrevious(UINT message, WPARAM wParam, LPARAM lParam);
    void Unhook();

    HWND m_hWnd = nullptr;
    WNDPROC m_previous = nullptr;  // the window's own procedure, kept by the oldest hook
    CSubclassWnd* m_older = nullptr; // the hook that was first before this one
    const Message* m_current = nullptr;
};
