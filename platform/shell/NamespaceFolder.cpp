#include "platform/shell/NamespaceFolder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/base/CodePage.h"
#include "platform/base/LastError.h"
#include "platform/shell/DisplayNameParser.h"
#include "platform/shell/FolderDetails.h"
#include "platform/shell/FolderDropTarget.h"
#include "platform/shell/FolderListing.h"
#include "platform/shell/ItemContextMenu.h"
#include "platform/shell/ItemEnumerator.h"
#include "platform/shell/ShellItemInfo.h"
#include "platform/shell/ShellMalloc.h"

namespace ostrana::shellns {
namespace {

HRESULT ErrnoResult(int error) { return HRESULT_FROM_WIN32(ErrorFromErrno(error)); }

// The order of the kinds: folders of the Desktop in their fixed order, then folders before files.
int KindRank(ItemKind kind) {
    switch (kind) {
    case ItemKind::Home:
        return 0;
    case ItemKind::Computer:
        return 1;
    case ItemKind::Internet:
        return 2;
    case ItemKind::Drive:
        return 3;
    case ItemKind::Folder:
        return 4;
    case ItemKind::File:
        return 5;
    }
    return 6;
}

int Sign(long long value) { return value < 0 ? -1 : (value > 0 ? 1 : 0); }

// ASCII letters without case, then the bytes, so the order is total.
int CompareNames(std::string_view first, std::string_view second) {
    std::size_t count = std::min(first.size(), second.size());
    for (std::size_t i = 0; i < count; ++i) {
        auto a = static_cast<unsigned char>(first[i]);
        auto b = static_cast<unsigned char>(second[i]);
        if (a < 0x80 && b < 0x80) {
            a = static_cast<unsigned char>(std::tolower(a));
            b = static_cast<unsigned char>(std::tolower(b));
        }
        if (a != b) {
            return a < b ? -1 : 1;
        }
    }
    if (first.size() != second.size()) {
        return first.size() < second.size() ? -1 : 1;
    }
    int exact = first.compare(second);
    return Sign(exact);
}

HRESULT ShortResult(int order) { return static_cast<HRESULT>(static_cast<USHORT>(static_cast<short>(order))); }

// A text into a string record: in place when it fits, else from the shell allocator.
HRESULT FillStrRet(const std::string& text, STRRET* record) {
    if (text.size() < sizeof record->cStr) {
        record->uType = STRRET_CSTR;
        std::memcpy(record->cStr, text.c_str(), text.size() + 1);
        return S_OK;
    }
    std::u16string wide = ToWide(text);
    auto* copy = static_cast<LPWSTR>(CoTaskMemAlloc((wide.size() + 1) * sizeof(WCHAR)));
    if (copy == nullptr) {
        return E_OUTOFMEMORY;
    }
    std::memcpy(copy, wide.c_str(), (wide.size() + 1) * sizeof(WCHAR));
    record->uType = STRRET_WSTR;
    record->pOleStr = copy;
    return S_OK;
}

std::string Extension(const std::string& name) {
    std::size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? std::string() : name.substr(dot);
}

} // namespace

HRESULT NamespaceFolder::Create(const Place& place, LPCITEMIDLIST absolute, REFIID riid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    LPITEMIDLIST copy = absolute != nullptr ? ILClone(absolute) : MakeIdList({});
    if (copy == nullptr) {
        return E_OUTOFMEMORY;
    }
    auto* folder = new NamespaceFolder(place, copy);
    HRESULT result = folder->QueryInterface(riid, object);
    folder->Release();
    return result;
}

NamespaceFolder::NamespaceFolder(const Place& place, LPITEMIDLIST absolute)
    : m_place(place), m_absolute(absolute), m_showExtensions(ShowExtensionsNow()) {}

NamespaceFolder::~NamespaceFolder() { ILFree(m_absolute); }

HRESULT NamespaceFolder::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (riid == IID_IUnknown || riid == IID_IShellFolder || riid == IID_IShellFolder2) {
        *object = static_cast<IShellFolder2*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT NamespaceFolder::ParseDisplayName(HWND, IBindCtx*, LPWSTR displayName, ULONG* eaten, PIDLIST_RELATIVE* list,
                                          ULONG* attributes) {
    if (list == nullptr) {
        return E_POINTER;
    }
    *list = nullptr;
    if (displayName == nullptr) {
        return E_INVALIDARG;
    }
    std::u16string wide = displayName;
    std::vector<ItemRef> items;
    HRESULT result = ParseItems(m_place, FromWide(wide), items);
    if (FAILED(result)) {
        return result;
    }
    LPITEMIDLIST parsed = MakeIdList(items);
    if (parsed == nullptr) {
        return E_OUTOFMEMORY;
    }
    if (attributes != nullptr) {
        std::optional<Place> place = ResolveFrom(m_place, parsed);
        std::optional<SFGAOF> bits = place ? PlaceAttributes(*place, *attributes) : std::nullopt;
        *attributes = bits.value_or(0);
    }
    if (eaten != nullptr) {
        *eaten = static_cast<ULONG>(wide.size());
    }
    *list = parsed;
    return S_OK;
}

HRESULT NamespaceFolder::EnumObjects(HWND, SHCONTF flags, IEnumIDList** enumerator) {
    if (enumerator == nullptr) {
        return E_POINTER;
    }
    *enumerator = nullptr;
    m_showExtensions = ShowExtensionsNow();
    {
        std::lock_guard guard(m_statLock);
        m_stats.clear();
    }
    std::vector<ItemRef> items;
    HRESULT result = ListChildren(m_place, flags, items);
    if (FAILED(result)) {
        return result;
    }
    *enumerator = new ItemEnumerator(std::move(items));
    return S_OK;
}

HRESULT NamespaceFolder::BindToObject(PCUIDLIST_RELATIVE list, IBindCtx*, REFIID riid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (list == nullptr || ILIsEmpty(list)) {
        return E_INVALIDARG;
    }
    std::optional<Place> place = ResolveFrom(m_place, list);
    if (!place || place->kind == PlaceKind::File) {
        return E_INVALIDARG;
    }
    if (place->kind == PlaceKind::Directory) {
        std::optional<EntryStat> stat = StatHostPath(place->hostPath);
        if (!stat || !stat->directory) {
            return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
        }
    }
    LPITEMIDLIST absolute = ILCombine(m_absolute, list);
    HRESULT result = Create(*place, absolute, riid, object);
    ILFree(absolute);
    return result;
}

HRESULT NamespaceFolder::BindToStorage(PCUIDLIST_RELATIVE, IBindCtx*, REFIID, void** object) {
    if (object != nullptr) {
        *object = nullptr;
    }
    return E_NOTIMPL;
}

std::optional<EntryStat> NamespaceFolder::CachedStat(const Place& child) const {
    std::lock_guard guard(m_statLock);
    auto found = m_stats.find(child.name);
    if (found != m_stats.end()) {
        return found->second;
    }
    std::optional<EntryStat> stat = StatHostPath(child.hostPath);
    m_stats.emplace(child.name, stat);
    return stat;
}

int NamespaceFolder::CompareFirst(UINT column, const ItemView& first, const ItemView& second) const {
    int rank = KindRank(first.kind) - KindRank(second.kind);
    if (rank != 0 || first.kind == ItemKind::Home || first.kind == ItemKind::Computer ||
        first.kind == ItemKind::Internet) {
        return Sign(rank);
    }
    int byName = CompareNames(first.name, second.name);
    if (column == 0 || column >= kDetailColumns || byName == 0) {
        return byName;
    }
    std::optional<Place> a = ChildPlace(m_place, ItemRef{first.kind, std::string(first.name)});
    std::optional<Place> b = ChildPlace(m_place, ItemRef{second.kind, std::string(second.name)});
    if (!a || !b) {
        return byName;
    }
    int order = 0;
    if (column == 2) {
        order = CompareNames(PlaceTypeName(*a), PlaceTypeName(*b));
    } else if (a->HasPath()) {
        std::optional<EntryStat> statA = CachedStat(*a);
        std::optional<EntryStat> statB = CachedStat(*b);
        if (statA && statB) {
            order = column == 1 ? Sign(static_cast<long long>(statA->size > statB->size) -
                                       static_cast<long long>(statA->size < statB->size))
                                : Sign(CompareFileTime(&statA->modified, &statB->modified));
        }
    }
    return order != 0 ? order : byName;
}

HRESULT NamespaceFolder::CompareIDs(LPARAM column, PCUIDLIST_RELATIVE first, PCUIDLIST_RELATIVE second) {
    std::optional<ItemView> a = ViewItem(first);
    std::optional<ItemView> b = ViewItem(second);
    bool emptyA = first == nullptr || ILIsEmpty(first);
    bool emptyB = second == nullptr || ILIsEmpty(second);
    if (emptyA || emptyB) {
        return ShortResult(emptyA == emptyB ? 0 : (emptyA ? -1 : 1));
    }
    if (!a || !b) {
        return E_INVALIDARG;
    }
    int order = CompareFirst(static_cast<UINT>(column & 0xFFFF), *a, *b);
    if (order != 0) {
        return ShortResult(order);
    }
    LPITEMIDLIST restA = ILGetNext(first);
    LPITEMIDLIST restB = ILGetNext(second);
    bool endA = restA == nullptr || ILIsEmpty(restA);
    bool endB = restB == nullptr || ILIsEmpty(restB);
    if (endA || endB) {
        return ShortResult(endA == endB ? 0 : (endA ? -1 : 1));
    }
    LPITEMIDLIST head = ILCloneFirst(first);
    IShellFolder* child = nullptr;
    HRESULT bound = BindToObject(head, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&child));
    ILFree(head);
    if (FAILED(bound)) {
        return bound;
    }
    HRESULT result = child->CompareIDs(column, restA, restB);
    child->Release();
    return result;
}

HRESULT NamespaceFolder::CreateViewObject(HWND owner, REFIID riid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (riid == IID_IShellDetails) {
        *object = static_cast<IShellDetails*>(new FolderDetails(this));
        return S_OK;
    }
    if (riid == IID_IDropTarget && m_place.kind == PlaceKind::Directory) {
        *object = static_cast<IDropTarget*>(new FolderDropTarget(owner, m_place));
        return S_OK;
    }
    return E_NOINTERFACE;
}

HRESULT NamespaceFolder::GetAttributesOf(UINT count, PCUITEMID_CHILD_ARRAY items, SFGAOF* attributes) {
    if (attributes == nullptr || (count > 0 && items == nullptr)) {
        return E_POINTER;
    }
    SFGAOF asked = *attributes;
    SFGAOF common = asked & ~SFGAO_VALIDATE;
    if (count == 0) {
        std::optional<SFGAOF> own = PlaceAttributes(m_place, asked);
        if (!own) {
            return E_FAIL;
        }
        *attributes = *own;
        return S_OK;
    }
    for (UINT i = 0; i < count; ++i) {
        std::optional<Place> place = ResolveFrom(m_place, items[i]);
        if (!place || items[i] == nullptr || ILIsEmpty(items[i])) {
            return E_INVALIDARG;
        }
        std::optional<SFGAOF> bits = PlaceAttributes(*place, asked);
        if (!bits) {
            return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
        }
        common &= *bits;
    }
    *attributes = common;
    return S_OK;
}

HRESULT NamespaceFolder::GetUIObjectOf(HWND owner, UINT count, PCUITEMID_CHILD_ARRAY items, REFIID riid, UINT*,
                                       void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (count == 0 || items == nullptr) {
        return E_INVALIDARG;
    }
    std::vector<ItemRef> children;
    for (UINT i = 0; i < count; ++i) {
        std::optional<ItemRef> item = ReadItem(items[i]);
        if (!item || !ILIsEmpty(ILGetNext(items[i])) || !ChildPlace(m_place, *item)) {
            return E_INVALIDARG;
        }
        children.push_back(std::move(*item));
    }
    if (riid == IID_IContextMenu) {
        *object = static_cast<IContextMenu*>(new ItemContextMenu(m_place, m_absolute, std::move(children)));
        return S_OK;
    }
    if (riid == IID_IDropTarget) {
        std::optional<Place> target = ChildPlace(m_place, children[0]);
        if (count != 1 || target->kind != PlaceKind::Directory) {
            return E_NOINTERFACE;
        }
        *object = static_cast<IDropTarget*>(new FolderDropTarget(owner, std::move(*target)));
        return S_OK;
    }
    return E_NOINTERFACE;
}

HRESULT NamespaceFolder::GetDisplayNameOf(PCUITEMID_CHILD item, SHGDNF flags, STRRET* name) {
    if (name == nullptr) {
        return E_POINTER;
    }
    std::optional<Place> place = ResolveFrom(m_place, item);
    if (!place) {
        return E_INVALIDARG;
    }
    return FillStrRet(PlaceDisplayName(*place, flags, m_showExtensions), name);
}

HRESULT NamespaceFolder::SetNameOf(HWND, PCUITEMID_CHILD item, LPCWSTR name, SHGDNF flags, PITEMID_CHILD* newItem) {
    if (newItem != nullptr) {
        *newItem = nullptr;
    }
    std::optional<ItemRef> old = ReadItem(item);
    if (!old || name == nullptr || m_place.kind != PlaceKind::Directory || !ILIsEmpty(ILGetNext(item))) {
        return E_INVALIDARG;
    }
    std::string typed = AnsiToUtf8(FromWide(name));
    if (old->kind == ItemKind::File && (flags & SHGDN_FORPARSING) == 0 && !m_showExtensions) {
        typed += Extension(old->name);
    }
    ItemRef renamed{old->kind, typed};
    std::optional<Place> from = ChildPlace(m_place, *old);
    std::optional<Place> to = ChildPlace(m_place, renamed);
    if (!from || !to) {
        return HRESULT_FROM_WIN32(ERROR_INVALID_NAME);
    }
    if (typed != old->name) {
        if (StatHostPath(to->hostPath)) {
            return HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS);
        }
        if (std::rename(from->hostPath.c_str(), to->hostPath.c_str()) != 0) {
            return ErrnoResult(errno);
        }
    }
    if (newItem != nullptr) {
        *newItem = MakeItemId(renamed);
    }
    return S_OK;
}

HRESULT NamespaceFolder::GetDefaultSearchGUID(GUID*) { return E_NOTIMPL; }

HRESULT NamespaceFolder::EnumSearches(IEnumExtraSearch** enumerator) {
    if (enumerator != nullptr) {
        *enumerator = nullptr;
    }
    return E_NOTIMPL;
}

HRESULT NamespaceFolder::GetDefaultColumn(DWORD, ULONG* sort, ULONG* display) {
    if (sort == nullptr || display == nullptr) {
        return E_POINTER;
    }
    *sort = 0;
    *display = 0;
    return S_OK;
}

HRESULT NamespaceFolder::GetDefaultColumnState(UINT column, SHCOLSTATEF* state) {
    if (state == nullptr) {
        return E_POINTER;
    }
    if (column >= kDetailColumns) {
        return E_INVALIDARG;
    }
    static constexpr SHCOLSTATEF kTypes[kDetailColumns] = {SHCOLSTATE_TYPE_STR, SHCOLSTATE_TYPE_INT,
                                                           SHCOLSTATE_TYPE_STR, SHCOLSTATE_TYPE_DATE};
    *state = kTypes[column] | SHCOLSTATE_ONBYDEFAULT;
    return S_OK;
}

HRESULT NamespaceFolder::GetDetailsEx(PCUITEMID_CHILD, const SHCOLUMNID*, VARIANT*) { return E_NOTIMPL; }

HRESULT NamespaceFolder::GetDetailsOf(PCUITEMID_CHILD item, UINT column, SHELLDETAILS* details) {
    if (details == nullptr) {
        return E_POINTER;
    }
    if (column >= kDetailColumns) {
        return E_FAIL;
    }
    static constexpr int kWidths[kDetailColumns] = {25, 10, 20, 20};
    details->fmt = column == 1 ? LVCFMT_RIGHT : LVCFMT_LEFT;
    details->cxChar = kWidths[column];
    if (item == nullptr) {
        return FillStrRet(DetailHeading(column), &details->str);
    }
    std::optional<Place> place = ResolveFrom(m_place, item);
    if (!place) {
        return E_INVALIDARG;
    }
    return FillStrRet(DetailText(*place, column, m_showExtensions), &details->str);
}

HRESULT NamespaceFolder::MapColumnToSCID(UINT, SHCOLUMNID*) { return E_NOTIMPL; }

} // namespace ostrana::shellns
