// The drop target of a file-system folder: local files dropped on it (CF_HDROP) are moved when
// they come from the same drive and copied otherwise; Ctrl asks for a copy, Shift for a move.
// Names that are not local paths with a drive (server items, for one) make it refuse the drop,
// as does a folder dropped onto itself or into a folder below it.
#pragma once

#include <string>
#include <vector>

#include "platform/com/RefCounted.h"
#include "platform/ole/DragDrop.h"
#include "platform/shell/ShellItem.h"

namespace ostrana::shellns {

class FolderDropTarget final : public RefCounted<IDropTarget> {
public:
    FolderDropTarget(HWND owner, Place folder);

    HRESULT QueryInterface(REFIID riid, void** object) override;
    HRESULT DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;
    HRESULT DragOver(DWORD keyState, POINTL point, DWORD* effect) override;
    HRESULT DragLeave() override;
    HRESULT Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;

    // The local paths of a data object's file list; empty when it has none.
    static std::vector<std::string> DroppedPaths(IDataObject* data);
    // The effect a drop of `paths` would have with these keys, among `allowed`.
    DWORD EffectFor(const std::vector<std::string>& paths, DWORD keyState, DWORD allowed) const;

private:
    HWND m_owner;
    Place m_folder;
    std::vector<std::string> m_dragged;
};

} // namespace ostrana::shellns
