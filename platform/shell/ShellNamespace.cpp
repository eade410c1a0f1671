// The namespace entry points: the Desktop folder, special folder locations, paths of id lists and
// string records.
#include "platform/shell/ShellFolder.h"

#include <cstring>
#include <string>

#include "platform/base/CodePage.h"
#include "platform/shell/ShellMalloc.h"

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
        if (item == nullptr) {
            return E_INVALIDARG;
        }
        const char* at = reinterpret_cast<const char*>(item) + record->uOffset;
        UINT itemSize = ILGetSize(item);
        if (record->uOffset >= itemSize) {
            return E_INVALIDARG;
        }
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
    *folder = nullptr;
    return E_NOTIMPL;
}

HRESULT SHGetSpecialFolderLocation(HWND, int, PIDLIST_ABSOLUTE* list) {
    if (list == nullptr) {
        return E_POINTER;
    }
    *list = nullptr;
    return E_NOTIMPL;
}

BOOL SHGetPathFromIDListA(PCIDLIST_ABSOLUTE, LPSTR path) {
    if (path != nullptr) {
        path[0] = '\0';
    }
    return FALSE;
}
