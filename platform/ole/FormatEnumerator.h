// An enumerator over a fixed list of format descriptions, as data objects hand it out.
#pragma once

#include <vector>

#include "platform/com/RefCounted.h"
#include "platform/ole/DataObject.h"

namespace ostrana {

class FormatEnumerator final : public RefCounted<IEnumFORMATETC> {
public:
    explicit FormatEnumerator(std::vector<FORMATETC> formats, std::size_t next = 0)
        : m_formats(std::move(formats)), m_next(next) {}

    HRESULT QueryInterface(REFIID riid, void** object) override {
        return QueryOwnInterface(riid, IID_IEnumFORMATETC, object);
    }
    HRESULT Next(ULONG count, FORMATETC* formats, ULONG* fetched) override;
    HRESULT Skip(ULONG count) override;
    HRESULT Reset() override;
    HRESULT Clone(IEnumFORMATETC** copy) override;

private:
    std::vector<FORMATETC> m_formats;
    std::size_t m_next;
};

} // namespace ostrana
