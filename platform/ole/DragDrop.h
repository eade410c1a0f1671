// OLE drag and drop: drop targets registered per window, drop sources, and DoDragDrop, a modal
// loop that follows the mouse (through capture, so injected input drives it like real input),
// calls the target under the cursor on that target's thread and returns the chosen effect.
// Windows that accept dropped files without a drop target get WM_DROPFILES with an HDROP.
#pragma once

#include "platform/ole/DataObject.h"
#include "platform/window/Messages.h"

using DROPEFFECT = DWORD;
#define DROPEFFECT_NONE 0
#define DROPEFFECT_COPY 1
#define DROPEFFECT_MOVE 2
#define DROPEFFECT_LINK 4
#define DROPEFFECT_SCROLL 0x80000000

#define DRAGDROP_S_DROP static_cast<HRESULT>(0x00040100)
#define DRAGDROP_S_CANCEL static_cast<HRESULT>(0x00040101)
#define DRAGDROP_S_USEDEFAULTCURSORS static_cast<HRESULT>(0x00040102)
#define DRAGDROP_E_NOTREGISTERED static_cast<HRESULT>(0x80040100)
#define DRAGDROP_E_ALREADYREGISTERED static_cast<HRESULT>(0x80040101)
#define DRAGDROP_E_INVALIDHWND static_cast<HRESULT>(0x80040102)

#define MK_ALT 0x0020
#define WS_EX_ACCEPTFILES 0x00000010L
#define WM_DROPFILES 0x0233

struct POINTL {
    LONG x;
    LONG y;
};

inline constexpr IID IID_IDropSource = {0x00000121, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IDropTarget = {0x00000122, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

struct IDropTarget : IUnknown {
    // `effect` comes in as the source's allowed effects and goes out as what the target would do.
    virtual HRESULT DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) = 0;
    virtual HRESULT DragOver(DWORD keyState, POINTL point, DWORD* effect) = 0;
    virtual HRESULT DragLeave() = 0;
    virtual HRESULT Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) = 0;

protected:
    ~IDropTarget() = default;
};

struct IDropSource : IUnknown {
    // S_OK to go on, DRAGDROP_S_DROP to drop, DRAGDROP_S_CANCEL to give up.
    virtual HRESULT QueryContinueDrag(BOOL escapePressed, DWORD keyState) = 0;
    virtual HRESULT GiveFeedback(DWORD effect) = 0;

protected:
    ~IDropSource() = default;
};

// The window keeps a reference to the target until RevokeDragDrop or its destruction.
HRESULT RegisterDragDrop(HWND window, IDropTarget* target);
HRESULT RevokeDragDrop(HWND window);
// DRAGDROP_S_DROP with the target's effect, or DRAGDROP_S_CANCEL (Escape, the source's wish, or a
// drop nobody accepted) with DROPEFFECT_NONE.
HRESULT DoDragDrop(IDataObject* data, IDropSource* source, DWORD okEffects, DWORD* effect);
// Sets or clears WS_EX_ACCEPTFILES.
void DragAcceptFiles(HWND window, BOOL accept);

namespace ostrana {
// MK_ flags of the buttons and modifier keys down now.
DWORD CurrentKeyState();
// Holds the mouse until the cursor leaves `screenRect` with a button still down (true), or the
// buttons are released or Escape is pressed first (false).
bool WaitForDragStart(const RECT& screenRect);
} // namespace ostrana
