#include "platform/shell/ItemEnumerator.h"

namespace ostrana::shellns {

ItemEnumerator::ItemEnumerator(std::vector<ItemRef> items, std::size_t next) : m_items(std::move(items)), m_next(next) {}

HRESULT ItemEnumerator::QueryInterface(REFIID riid, void** object) {
    return QueryOwnInterface(riid, IID_IEnumIDList, object);
}

HRESULT ItemEnumerator::Next(ULONG count, PITEMID_CHILD* items, ULONG* fetched) {
    if (items == nullptr || (count > 1 && fetched == nullptr)) {
        return E_POINTER;
    }
    ULONG given = 0;
    while (given < count && m_next < m_items.size()) {
        PITEMID_CHILD item = MakeItemId(m_items[m_next]);
        if (item == nullptr) {
            break;
        }
        items[given++] = item;
        ++m_next;
    }
    if (fetched != nullptr) {
        *fetched = given;
    }
    return given == count ? S_OK : S_FALSE;
}

HRESULT ItemEnumerator::Skip(ULONG count) {
    std::size_t left = m_items.size() - m_next;
    m_next += std::min<std::size_t>(left, count);
    return count <= left ? S_OK : S_FALSE;
}

HRESULT ItemEnumerator::Reset() {
    m_next = 0;
    return S_OK;
}

HRESULT ItemEnumerator::Clone(IEnumIDList** copy) {
    if (copy == nullptr) {
        return E_POINTER;
    }
    *copy = new ItemEnumerator(m_items, m_next);
    return S_OK;
}

} // namespace ostrana::shellns
