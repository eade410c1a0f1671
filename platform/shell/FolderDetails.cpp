#include "platform/shell/FolderDetails.h"

namespace ostrana::shellns {

FolderDetails::FolderDetails(IShellFolder2* folder) : m_folder(folder) { m_folder->AddRef(); }

FolderDetails::~FolderDetails() { m_folder->Release(); }

HRESULT FolderDetails::QueryInterface(REFIID riid, void** object) {
    return QueryOwnInterface(riid, IID_IShellDetails, object);
}

HRESULT FolderDetails::GetDetailsOf(PCUITEMID_CHILD item, UINT column, SHELLDETAILS* details) {
    return m_folder->GetDetailsOf(item, column, details);
}

// The caller sorts by CompareIDs itself.
HRESULT FolderDetails::ColumnClick(UINT) { return S_FALSE; }

} // namespace ostrana::shellns
