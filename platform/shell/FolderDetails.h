// The column details of a folder for callers that ask CreateViewObject for IShellDetails.
#pragma once

#include "platform/com/RefCounted.h"
#include "platform/shell/ShellFolder.h"

namespace ostrana::shellns {

class FolderDetails final : public RefCounted<IShellDetails> {
public:
    // Holds a reference to the folder.
    explicit FolderDetails(IShellFolder2* folder);
    ~FolderDetails() override;

    HRESULT QueryInterface(REFIID riid, void** object) override;
    HRESULT GetDetailsOf(PCUITEMID_CHILD item, UINT column, SHELLDETAILS* details) override;
    HRESULT ColumnClick(UINT column) override;

private:
    IShellFolder2* m_folder;
};

} // namespace ostrana::shellns
