// The context menu of items in one folder: 열기, 삭제, 이름 바꾸기 and 속성, with command ids
// taken from the range the caller gives. Deleting goes to the trash unless Shift was down;
// renaming asks for the new name, which must stay a plain name in the same folder.
#pragma once

#include <string>
#include <vector>

#include "platform/com/RefCounted.h"
#include "platform/shell/ContextMenu.h"
#include "platform/shell/ShellItem.h"

namespace ostrana::shellns {

enum ItemCommand : UINT { kCommandOpen = 0, kCommandDelete = 1, kCommandRename = 2, kCommandProperties = 3, kCommandCount = 4 };

class ItemContextMenu final : public RefCounted<IContextMenu> {
public:
    // `folderAbsolute` is copied; every item must be a child of `folder`.
    ItemContextMenu(const Place& folder, LPCITEMIDLIST folderAbsolute, std::vector<ItemRef> items);
    ~ItemContextMenu() override;

    HRESULT QueryInterface(REFIID riid, void** object) override;
    HRESULT QueryContextMenu(HMENU menu, UINT index, UINT firstCommand, UINT lastCommand, UINT flags) override;
    HRESULT InvokeCommand(LPCMINVOKECOMMANDINFO info) override;
    HRESULT GetCommandString(UINT_PTR command, UINT type, UINT* reserved, LPSTR name, UINT size) override;

private:
    std::vector<std::string> LocalPaths() const;
    HRESULT Open(HWND owner) const;
    HRESULT Delete(HWND owner, bool shiftDown) const;
    HRESULT Rename(HWND owner) const;
    HRESULT Properties(HWND owner) const;
    bool CanDelete() const;

    Place m_folder;
    LPITEMIDLIST m_folderAbsolute;
    std::vector<ItemRef> m_items;
};

} // namespace ostrana::shellns
