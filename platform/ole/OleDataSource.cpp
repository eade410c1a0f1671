// The data object behind COleDataSource. Entries are matched by format, aspect and index; only
// global memory is stored and handed out.
#include "platform/ole/OleDataSource.h"

#include <mutex>
#include <vector>

#include "platform/com/RefCounted.h"
#include "platform/ole/FormatEnumerator.h"
#include "platform/ole/GlobalMemory.h"

namespace ostrana {

namespace {

bool SameEntry(const FORMATETC& left, const FORMATETC& right) {
    return left.cfFormat == right.cfFormat && left.dwAspect == right.dwAspect && left.lindex == right.lindex;
}

} // namespace

class DataCache final : public RefCounted<IDataObject> {
public:
    ~DataCache() override { Empty(); }

    HRESULT QueryInterface(REFIID riid, void** object) override {
        return QueryOwnInterface(riid, IID_IDataObject, object);
    }

    HRESULT GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (format == nullptr || medium == nullptr) {
            return E_INVALIDARG;
        }
        std::lock_guard guard(m_lock);
        const Entry* entry = nullptr;
        HRESULT found = Find(*format, entry);
        if (FAILED(found)) {
            return found;
        }
        HGLOBAL copy = GlobalDuplicate(entry->memory, GMEM_MOVEABLE | GMEM_SHARE);
        if (copy == nullptr) {
            return E_OUTOFMEMORY;
        }
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = copy;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }

    HRESULT QueryGetData(FORMATETC* format) override {
        if (format == nullptr) {
            return E_INVALIDARG;
        }
        std::lock_guard guard(m_lock);
        const Entry* entry = nullptr;
        return Find(*format, entry);
    }

    HRESULT SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override {
        if (format == nullptr || medium == nullptr) {
            return E_INVALIDARG;
        }
        if (medium->tymed != TYMED_HGLOBAL || (format->tymed & TYMED_HGLOBAL) == 0) {
            return DV_E_TYMED;
        }
        HGLOBAL memory = medium->hGlobal;
        if (!release || medium->pUnkForRelease != nullptr) {
            memory = GlobalDuplicate(medium->hGlobal, GMEM_MOVEABLE | GMEM_SHARE);
            if (memory == nullptr) {
                return E_OUTOFMEMORY;
            }
            if (release) {
                ReleaseStgMedium(medium);
            }
        }
        Cache(*format, memory);
        return S_OK;
    }

    HRESULT EnumFormatEtc(DWORD direction, IEnumFORMATETC** enumerator) override {
        if (enumerator == nullptr) {
            return E_POINTER;
        }
        if (direction != DATADIR_GET) {
            *enumerator = nullptr;
            return E_NOTIMPL;
        }
        std::vector<FORMATETC> formats;
        {
            std::lock_guard guard(m_lock);
            for (const Entry& entry : m_entries) {
                formats.push_back(entry.format);
            }
        }
        *enumerator = new FormatEnumerator(std::move(formats));
        return S_OK;
    }

    void Cache(FORMATETC format, HGLOBAL memory) {
        format.ptd = nullptr;
        format.tymed = TYMED_HGLOBAL;
        std::lock_guard guard(m_lock);
        for (Entry& entry : m_entries) {
            if (SameEntry(entry.format, format)) {
                GlobalFree(entry.memory);
                entry.memory = memory;
                return;
            }
        }
        m_entries.push_back(Entry{format, memory});
    }

    void Empty() {
        std::lock_guard guard(m_lock);
        for (Entry& entry : m_entries) {
            GlobalFree(entry.memory);
        }
        m_entries.clear();
    }

private:
    struct Entry {
        FORMATETC format;
        HGLOBAL memory;
    };

    // Call with the lock held.
    HRESULT Find(const FORMATETC& wanted, const Entry*& found) const {
        bool formatSeen = false;
        for (const Entry& entry : m_entries) {
            if (entry.format.cfFormat != wanted.cfFormat) {
                continue;
            }
            formatSeen = true;
            if (entry.format.dwAspect != wanted.dwAspect) {
                continue;
            }
            if (wanted.lindex != -1 && entry.format.lindex != wanted.lindex) {
                continue;
            }
            if ((wanted.tymed & TYMED_HGLOBAL) == 0) {
                return DV_E_TYMED;
            }
            found = &entry;
            return S_OK;
        }
        return formatSeen ? DV_E_DVASPECT : DV_E_FORMATETC;
    }

    mutable std::mutex m_lock;
    std::vector<Entry> m_entries;
};

} // namespace ostrana

IMPLEMENT_DYNAMIC(COleDataSource, CObject)

COleDataSource::COleDataSource() : m_pCache(new ostrana::DataCache) {}

COleDataSource::~COleDataSource() {
    m_pCache->Empty();
    m_pCache->Release();
}

void COleDataSource::CacheGlobalData(CLIPFORMAT format, HGLOBAL memory, LPFORMATETC formatEtc) {
    // A format offered without data would fail every receiver that trusts the offer.
    if (memory == nullptr) {
        return;
    }
    FORMATETC description = formatEtc != nullptr ? *formatEtc : ostrana::DefaultFormatEtc(format);
    description.cfFormat = format;
    m_pCache->Cache(description, memory);
}

void COleDataSource::Empty() { m_pCache->Empty(); }

IDataObject* COleDataSource::GetDataObject() const { return m_pCache; }
