#include "platform/ole/FormatEnumerator.h"

#include <algorithm>

namespace ostrana {

HRESULT FormatEnumerator::Next(ULONG count, FORMATETC* formats, ULONG* fetched) {
    if (formats == nullptr) {
        return E_POINTER;
    }
    ULONG given = 0;
    while (given < count && m_next < m_formats.size()) {
        formats[given++] = m_formats[m_next++];
    }
    if (fetched != nullptr) {
        *fetched = given;
    }
    return given == count ? S_OK : S_FALSE;
}

HRESULT FormatEnumerator::Skip(ULONG count) {
    std::size_t left = m_formats.size() - m_next;
    m_next += std::min<std::size_t>(count, left);
    return count <= left ? S_OK : S_FALSE;
}

HRESULT FormatEnumerator::Reset() {
    m_next = 0;
    return S_OK;
}

HRESULT FormatEnumerator::Clone(IEnumFORMATETC** copy) {
    if (copy == nullptr) {
        return E_POINTER;
    }
    *copy = new FormatEnumerator(m_formats, m_next);
    return S_OK;
}

} // namespace ostrana
