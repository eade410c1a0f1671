// The framework's data source: a cache of global memory blocks, one per format, offered through
// a reference-counted data object. Receivers get copies, so the cache stays intact however often
// it is read. The data object may outlive the source; Empty() or destruction clears its cache.
#pragma once

#include "platform/base/Object.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/ole/DataObject.h"

using DROPEFFECT = DWORD;

namespace ostrana {
class DataCache;
}
class COleDropSource;

class COleDataSource : public CObject {
    DECLARE_DYNAMIC(COleDataSource)
public:
    COleDataSource();
    ~COleDataSource() override;
    COleDataSource(const COleDataSource&) = delete;
    COleDataSource& operator=(const COleDataSource&) = delete;

    // Takes the block; an earlier block cached under the same format and aspect is freed.
    // A null block is ignored.
    void CacheGlobalData(CLIPFORMAT format, HGLOBAL memory, LPFORMATETC formatEtc = nullptr);
    // Frees every cached block.
    void Empty();
    // The data object (its reference belongs to the source; AddRef to keep it longer).
    IDataObject* GetDataObject() const;
    // Runs an OLE drag of the cached data; the effect the target chose, DROPEFFECT_NONE when
    // cancelled. With a start rectangle (screen coordinates) the drag begins only when the cursor
    // leaves it. Without a drop source the default one decides.
    DROPEFFECT DoDragDrop(DWORD effects = 7, LPCRECT startRect = nullptr, COleDropSource* dropSource = nullptr);

private:
    ostrana::DataCache* m_pCache;
};
