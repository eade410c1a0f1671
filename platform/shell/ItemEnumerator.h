// The enumerator EnumObjects hands out: a snapshot of the children taken when it was made, each
// given out as a new one-item list.
#pragma once

#include <vector>

#include "platform/com/RefCounted.h"
#include "platform/shell/ShellFolder.h"
#include "platform/shell/ShellItem.h"

namespace ostrana::shellns {

class ItemEnumerator final : public RefCounted<IEnumIDList> {
public:
    explicit ItemEnumerator(std::vector<ItemRef> items, std::size_t next = 0);

    HRESULT QueryInterface(REFIID riid, void** object) override;
    HRESULT Next(ULONG count, PITEMID_CHILD* items, ULONG* fetched) override;
    HRESULT Skip(ULONG count) override;
    HRESULT Reset() override;
    HRESULT Clone(IEnumIDList** copy) override;

private:
    std::vector<ItemRef> m_items;
    std::size_t m_next;
};

} // namespace ostrana::shellns
