// The names are walked afresh on every query, without copying the ones before the asked index;
// nothing is cached that could go stale when the block is freed. DragQueryFiles reads them all in
// one pass for callers that want every name.
#include "platform/ole/DropFiles.h"

#include <algorithm>
#include <cstring>

#include "platform/base/CodePage.h"
#include "platform/base/LastError.h"
#include "platform/ole/GlobalMemory.h"

namespace {

constexpr UINT kCountQuery = 0xFFFFFFFF;

HGLOBAL AsGlobal(HDROP drop) { return reinterpret_cast<HGLOBAL>(drop); }

// One name's bytes inside a locked block, terminator excluded.
struct NameSpan {
    const BYTE* begin;
    const BYTE* end;
};

// The end of the name starting at `at` (its terminator), or null when no terminator fits in the
// block or the name is empty, which ends the list.
const BYTE* NameEnd(const BYTE* at, const BYTE* end, bool wide) {
    if (!wide) {
        const void* zero = at < end ? std::memchr(at, 0, static_cast<SIZE_T>(end - at)) : nullptr;
        return zero != nullptr && zero != at ? static_cast<const BYTE*>(zero) : nullptr;
    }
    const BYTE* cursor = at;
    for (; end - cursor >= 2; cursor += 2) {
        if (cursor[0] == 0 && cursor[1] == 0) {
            return cursor != at ? cursor : nullptr;
        }
    }
    return nullptr;
}

std::string DecodeName(NameSpan name, bool wide) {
    if (!wide) {
        return std::string(reinterpret_cast<const char*>(name.begin),
                           static_cast<SIZE_T>(name.end - name.begin));
    }
    std::u16string units;
    for (const BYTE* at = name.begin; at < name.end; at += 2) {
        units.push_back(static_cast<char16_t>(at[0] | (at[1] << 8)));
    }
    return ostrana::FromWide(units, CP_ACP);
}

// Calls visit(index, name, wide) for the names of a block in order until it returns false.
// FALSE when the handle or the header is not valid.
template <typename Visit> bool WalkNames(HDROP drop, Visit visit) {
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
    bool wide = header.fWide != FALSE;
    const BYTE* end = data.Data() + size;
    const BYTE* at = data.Data() + header.pFiles;
    UINT index = 0;
    for (const BYTE* nameEnd = NameEnd(at, end, wide); nameEnd != nullptr; nameEnd = NameEnd(at, end, wide)) {
        if (!visit(index++, NameSpan{at, nameEnd}, wide)) {
            break;
        }
        at = nameEnd + (wide ? 2 : 1);
    }
    return true;
}

} // namespace

UINT DragQueryFileA(HDROP drop, UINT index, LPSTR file, UINT size) {
    UINT count = 0;
    std::string name;
    bool found = false;
    bool valid = WalkNames(drop, [&](UINT at, NameSpan span, bool wide) {
        count = at + 1;
        if (at == index) {
            name = DecodeName(span, wide);
            found = true;
            return false;
        }
        return true;
    });
    if (!valid) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    if (index == kCountQuery) {
        return count;
    }
    if (!found) {
        return 0;
    }
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

std::vector<std::string> DragQueryFiles(HDROP drop) {
    std::vector<std::string> names;
    WalkNames(drop, [&](UINT, NameSpan span, bool wide) {
        names.push_back(DecodeName(span, wide));
        return true;
    });
    return names;
}

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
