// The namespace entry points: the Desktop folder, special folder locations, paths of id lists and
// string records.
#include "platform/shell/ShellFolder.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/base/CodePage.h"
#include "platform/shell/NamespaceFolder.h"
#include "platform/shell/ShellItem.h"
#include "platform/shell/ShellMalloc.h"

using ostrana::shellns::ItemKind;
using ostrana::shellns::ItemRef;

HRESULT StrRetToBufA(STRRET* record, PCUITEMID_CHILD item, LPSTR buffer, UINT size) {
    if (record == nullptr || buffer == nullptr || size == 0) {
        return E_INVALIDARG;
    }
    std::string text;
    switch (record->uType) {
    case STRRET_WSTR:
        if (record->pOleStr != nullptr) {
            text = ostrana::FromWide(record->pOleStr);
            CoTaskMemFree(record->pOleStr);
            record->pOleStr = nullptr;
        }
        break;
    case STRRET_CSTR:
        text.assign(record->cStr, strnlen(record->cStr, sizeof record->cStr));
        break;
    case STRRET_OFFSET: {
        UINT itemSize = item == nullptr ? 0 : ILGetSize(item);
        if (record->uOffset >= itemSize) {
            buffer[0] = '\0';
            return E_INVALIDARG;
        }
        const char* at = reinterpret_cast<const char*>(item) + record->uOffset;
        text.assign(at, strnlen(at, itemSize - record->uOffset));
        break;
    }
    default:
        buffer[0] = '\0';
        return E_INVALIDARG;
    }
    std::size_t count = std::min<std::size_t>(text.size(), size - 1);
    std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
    return S_OK;
}

HRESULT SHGetDesktopFolder(IShellFolder** folder) {
    if (folder == nullptr) {
        return E_POINTER;
    }
    return ostrana::shellns::NamespaceFolder::Create(ostrana::shellns::Place{}, nullptr, IID_IShellFolder,
                                                     reinterpret_cast<void**>(folder));
}

HRESULT SHGetSpecialFolderLocation(HWND, int folder, PIDLIST_ABSOLUTE* list) {
    if (list == nullptr) {
        return E_POINTER;
    }
    *list = nullptr;
    std::vector<ItemRef> items;
    switch (folder) {
    case CSIDL_DESKTOP:
        break;
    case CSIDL_INTERNET:
        items.push_back({ItemKind::Internet, ""});
        break;
    case CSIDL_DRIVES:
        items.push_back({ItemKind::Computer, ""});
        break;
    case CSIDL_PERSONAL:
    case CSIDL_PROFILE:
        if (std::optional<ItemRef> home = ostrana::shellns::HomeItem()) {
            items.push_back(std::move(*home));
            break;
        }
        return E_FAIL;
    default:
        return E_INVALIDARG;
    }
    *list = ostrana::shellns::MakeIdList(items);
    return *list != nullptr ? S_OK : E_OUTOFMEMORY;
}

BOOL SHGetPathFromIDListA(PCIDLIST_ABSOLUTE list, LPSTR path) {
    if (path == nullptr) {
        return FALSE;
    }
    path[0] = '\0';
    std::optional<ostrana::shellns::Place> place = ostrana::shellns::ResolvePlace(list);
    if (list == nullptr || !place || !place->HasExactPath() || place->localPath.size() >= MAX_PATH) {
        return FALSE;
    }
    std::memcpy(path, place->localPath.c_str(), place->localPath.size() + 1);
    return TRUE;
}
