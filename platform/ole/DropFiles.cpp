// The names are parsed afresh on every query; blocks are small and queries few, and nothing is
// cached that could go stale when the block is freed.
#include "platform/ole/DropFiles.h"

#include <algorithm>
#include <cstring>

#include "platform/base/CodePage.h"
#include "platform/base/LastError.h"
#include "platform/ole/GlobalMemory.h"

namespace {

constexpr UINT kCountQuery = 0xFFFFFFFF;

HGLOBAL AsGlobal(HDROP drop) { return reinterpret_cast<HGLOBAL>(drop); }

// The names of a block in the ANSI code page; names that run past the block are dropped.
bool ParseNames(HDROP drop, std::vector<std::string>& names) {
    SIZE_T size = GlobalSize(AsGlobal(drop));
    ostrana::GlobalLockGuard data(AsGlobal(drop));
    if (!data || size < sizeof(DROPFILES)) {
        return false;
    }
    DROPFILES header;
    std::memcpy(&header, data.Data(), sizeof header);
    if (header.pFiles < sizeof(DROPFILES) || header.pFiles > size) {
        return false;
    }
    const BYTE* at = data.Data() + header.pFiles;
    const BYTE* end = data.Data() + size;
    if (header.fWide) {
        while (end - at >= 2) {
            std::u16string name;
            const BYTE* cursor = at;
            bool terminated = false;
            for (; end - cursor >= 2; cursor += 2) {
                auto unit = static_cast<char16_t>(cursor[0] | (cursor[1] << 8));
                if (unit == 0) {
                    terminated = true;
                    break;
                }
                name.push_back(unit);
            }
            if (!terminated || name.empty()) {
                break;
            }
            names.push_back(ostrana::FromWide(name, CP_ACP));
            at = cursor + 2;
        }
        return true;
    }
    while (at < end) {
        const void* zero = std::memchr(at, 0, static_cast<SIZE_T>(end - at));
        if (zero == nullptr || zero == at) {
            break;
        }
        const auto* terminator = static_cast<const BYTE*>(zero);
        names.emplace_back(reinterpret_cast<const char*>(at), static_cast<SIZE_T>(terminator - at));
        at = terminator + 1;
    }
    return true;
}

} // namespace

UINT DragQueryFileA(HDROP drop, UINT index, LPSTR file, UINT size) {
    std::vector<std::string> names;
    if (!ParseNames(drop, names)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    if (index == kCountQuery) {
        return static_cast<UINT>(names.size());
    }
    if (index >= names.size()) {
        return 0;
    }
    const std::string& name = names[index];
    if (file == nullptr) {
        return static_cast<UINT>(name.size());
    }
    if (size == 0) {
        return 0;
    }
    UINT copied = static_cast<UINT>(std::min<SIZE_T>(name.size(), size - 1));
    std::memcpy(file, name.data(), copied);
    file[copied] = '\0';
    return copied;
}

BOOL DragQueryPoint(HDROP drop, LPPOINT point) {
    SIZE_T size = GlobalSize(AsGlobal(drop));
    ostrana::GlobalLockGuard data(AsGlobal(drop));
    if (!data || size < sizeof(DROPFILES) || point == nullptr) {
        return FALSE;
    }
    DROPFILES header;
    std::memcpy(&header, data.Data(), sizeof header);
    *point = header.pt;
    return header.fNC ? FALSE : TRUE;
}

void DragFinish(HDROP drop) { GlobalFree(AsGlobal(drop)); }

namespace ostrana {

HDROP CreateDropFiles(const std::vector<std::string>& names, POINT point, BOOL nonClient) {
    SIZE_T size = sizeof(DROPFILES) + 1;
    for (const std::string& name : names) {
        size += name.empty() ? 0 : name.size() + 1;
    }
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE | GMEM_ZEROINIT, size);
    GlobalLockGuard data(memory);
    if (!data) {
        GlobalFree(memory);
        return nullptr;
    }
    DROPFILES header{sizeof(DROPFILES), point, nonClient, FALSE};
    std::memcpy(data.Data(), &header, sizeof header);
    BYTE* at = data.Data() + sizeof(DROPFILES);
    for (const std::string& name : names) {
        // An empty name would read as the end of the list.
        if (!name.empty()) {
            std::memcpy(at, name.data(), name.size());
            at += name.size() + 1;
        }
    }
    return reinterpret_cast<HDROP>(memory);
}

} // namespace ostrana
