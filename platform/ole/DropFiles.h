// The dropped-files block (DROPFILES header, then names each ended by a zero, then one more zero)
// and the queries over it. HDROP is the global memory handle of such a block. The block may come
// from another process: every query stays inside the block's size and treats what does not fit
// as absent.
#pragma once

#include <string>
#include <vector>

#include "platform/base/WinTypes.h"
#include "platform/gdi/GdiTypes.h"

DECLARE_OSTRANA_HANDLE(HDROP);

struct DROPFILES {
    DWORD pFiles; // offset of the first name from the start of the block
    POINT pt;
    BOOL fNC;
    BOOL fWide; // names are UTF-16 when set
};
static_assert(sizeof(DROPFILES) == 20);

// With index 0xFFFFFFFF the number of names; with a null buffer the length of name `index`
// without terminator; otherwise copies at most size - 1 bytes and a terminator and returns the
// bytes copied. 0 for a bad handle, a bad index or a damaged block.
UINT DragQueryFileA(HDROP drop, UINT index, LPSTR file, UINT size);
// The drop point; TRUE when it lies in the client area.
BOOL DragQueryPoint(HDROP drop, LPPOINT point);
void DragFinish(HDROP drop);

namespace ostrana {

// Every name of the block in one pass, in the ANSI code page; empty for a bad handle.
std::vector<std::string> DragQueryFiles(HDROP drop);

// A moveable, shareable block of single-byte names, as the platform hands it to WM_DROPFILES.
HDROP CreateDropFiles(const std::vector<std::string>& names, POINT point, BOOL nonClient);

} // namespace ostrana
