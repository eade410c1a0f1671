// One folder of the namespace: the Desktop, "내 컴퓨터", the Internet folder or a directory. It
// answers for its direct children and, where Windows does, for lists of several levels below it.
#pragma once

#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

#include "platform/com/RefCounted.h"
#include "platform/shell/ShellFolder.h"
#include "platform/shell/ShellItem.h"
#include "platform/shell/ShellItemInfo.h"

namespace ostrana::shellns {

class NamespaceFolder final : public RefCounted<IShellFolder2> {
public:
    // A folder object for `place`, whose absolute list is `absolute` (copied).
    static HRESULT Create(const Place& place, LPCITEMIDLIST absolute, REFIID riid, void** object);

    HRESULT QueryInterface(REFIID riid, void** object) override;

    HRESULT ParseDisplayName(HWND owner, IBindCtx* context, LPWSTR displayName, ULONG* eaten, PIDLIST_RELATIVE* list,
                             ULONG* attributes) override;
    HRESULT EnumObjects(HWND owner, SHCONTF flags, IEnumIDList** enumerator) override;
    HRESULT BindToObject(PCUIDLIST_RELATIVE list, IBindCtx* context, REFIID riid, void** object) override;
    HRESULT BindToStorage(PCUIDLIST_RELATIVE list, IBindCtx* context, REFIID riid, void** object) override;
    HRESULT CompareIDs(LPARAM column, PCUIDLIST_RELATIVE first, PCUIDLIST_RELATIVE second) override;
    HRESULT CreateViewObject(HWND owner, REFIID riid, void** object) override;
    HRESULT GetAttributesOf(UINT count, PCUITEMID_CHILD_ARRAY items, SFGAOF* attributes) override;
    HRESULT GetUIObjectOf(HWND owner, UINT count, PCUITEMID_CHILD_ARRAY items, REFIID riid, UINT* reserved,
                          void** object) override;
    HRESULT GetDisplayNameOf(PCUITEMID_CHILD item, SHGDNF flags, STRRET* name) override;
    HRESULT SetNameOf(HWND owner, PCUITEMID_CHILD item, LPCWSTR name, SHGDNF flags, PITEMID_CHILD* newItem) override;

    HRESULT GetDefaultSearchGUID(GUID* guid) override;
    HRESULT EnumSearches(IEnumExtraSearch** enumerator) override;
    HRESULT GetDefaultColumn(DWORD reserved, ULONG* sort, ULONG* display) override;
    HRESULT GetDefaultColumnState(UINT column, SHCOLSTATEF* state) override;
    HRESULT GetDetailsEx(PCUITEMID_CHILD item, const SHCOLUMNID* column, VARIANT* value) override;
    HRESULT GetDetailsOf(PCUITEMID_CHILD item, UINT column, SHELLDETAILS* details) override;
    HRESULT MapColumnToSCID(UINT column, SHCOLUMNID* id) override;

    const Place& FolderPlace() const { return m_place; }

private:
    NamespaceFolder(const Place& place, LPITEMIDLIST absolute);
    ~NamespaceFolder() override;

    int CompareFirst(UINT column, const ItemView& first, const ItemView& second) const;
    // Sizes and times for sorting by those columns, read once per child until the next enumeration.
    std::optional<EntryStat> CachedStat(const Place& child) const;

    Place m_place;
    LPITEMIDLIST m_absolute;
    // Read when the folder is made and at each enumeration, so a refill follows the user's choice.
    std::atomic<bool> m_showExtensions;
    mutable std::mutex m_statLock;
    mutable std::unordered_map<std::string, std::optional<EntryStat>> m_stats;
};

} // namespace ostrana::shellns
