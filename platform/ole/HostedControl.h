// What a container needs of a control beyond its dispatch interface: a window inside the
// container's, drawing with the bounds the container gives, a sink for the control's events and
// the verbs. A thin stand-in for the in-place activation interfaces.
#pragma once

#include "platform/com/Dispatch.h"
#include "platform/window/Window.h"

#define OLEIVERB_PRIMARY 0
#define OLEIVERB_SHOW (-1)
#define OLEIVERB_PROPERTIES (-7)

inline constexpr IID IID_IHostedControl = {0x5B0E7A40, 0x2D6C, 0x4E59, {0x8A, 0x3B, 0x61, 0x0F, 0x9C, 0x42, 0x7D, 0x11}};

struct IHostedControl : IUnknown {
    // Creates the control's window as a child of `parent` over `bounds` (parent client coordinates).
    virtual HRESULT CreateControlWindow(HWND parent, const RECT& bounds, HWND* window) = 0;
    virtual HRESULT DestroyControlWindow() = 0;
    // Called whenever the container draws the control's area, after it moved or resized it.
    virtual HRESULT Draw(const RECT& bounds) = 0;
    // The container's sink for the control's events (null to stop listening).
    virtual HRESULT Advise(IDispatch* events) = 0;
    virtual HRESULT DoVerb(LONG verb) = 0;

protected:
    ~IHostedControl() = default;
};
