// The shell's id list array: entry 0 is the folder's absolute list, further entries the items'
// lists relative to it. The object owns copies of the lists it holds. Stored as
// [N - 1][N offsets][4 zero bytes][the lists], nothing at all when fewer than two lists are held.
#pragma once

#include <vector>

#include "platform/base/Archive.h"
#include "platform/shell/ItemIdList.h"

class CCF_ShellIDList : public CObject {
    DECLARE_SERIAL(CCF_ShellIDList)
public:
    CCF_ShellIDList() = default;
    ~CCF_ShellIDList() override;
    CCF_ShellIDList(const CCF_ShellIDList&) = delete;
    CCF_ShellIDList& operator=(const CCF_ShellIDList&) = delete;

    void Serialize(CArchive& ar) override;
    // Appends a copy of the list; a null list is kept as an absent entry.
    virtual void Add(LPCITEMIDLIST list);
    // The list at an index (owned by this object), null outside 0..count-1 or when absent.
    virtual LPCITEMIDLIST GetAt(int index) const;

    int GetCount() const { return static_cast<int>(m_lists.size()); }
    void RemoveAll();

private:
    void Store(CArchive& ar) const;
    void Load(CArchive& ar);

    std::vector<LPITEMIDLIST> m_lists;
};
