// Names are compared after widening, folding only ASCII letters, so that the trail bytes of
// double-byte characters are never folded as if they were letters.
#include "platform/window/ClipboardFormat.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/base/CodePage.h"
#include "platform/base/LastError.h"

namespace {

constexpr UINT kFirstRegistered = 0xC000;
constexpr UINT kLastRegistered = 0xFFFF;
constexpr std::size_t kMaxNameLength = 255;

struct FormatTable {
    std::mutex lock;
    std::unordered_map<std::u16string, UINT> byFoldedName;
    std::vector<std::string> names; // index = format - kFirstRegistered
};

FormatTable& Table() {
    static FormatTable table;
    return table;
}

std::u16string FoldedName(const std::string& name) {
    std::u16string wide = ostrana::ToWide(name, CP_ACP);
    for (char16_t& unit : wide) {
        if (unit >= u'a' && unit <= u'z') {
            unit = static_cast<char16_t>(unit - u'a' + u'A');
        }
    }
    return wide;
}

} // namespace

UINT RegisterClipboardFormatA(LPCSTR formatName) {
    if (formatName == nullptr || *formatName == '\0' || std::strlen(formatName) > kMaxNameLength) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::string name(formatName);
    std::u16string folded = FoldedName(name);
    FormatTable& table = Table();
    std::lock_guard guard(table.lock);
    if (auto found = table.byFoldedName.find(folded); found != table.byFoldedName.end()) {
        return found->second;
    }
    if (kFirstRegistered + table.names.size() > kLastRegistered) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    auto format = static_cast<UINT>(kFirstRegistered + table.names.size());
    table.names.push_back(std::move(name));
    table.byFoldedName.emplace(std::move(folded), format);
    return format;
}

int GetClipboardFormatNameA(UINT format, LPSTR formatName, int maxCount) {
    if (formatName == nullptr || maxCount <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    FormatTable& table = Table();
    std::lock_guard guard(table.lock);
    if (format < kFirstRegistered || format - kFirstRegistered >= table.names.size()) {
        formatName[0] = '\0';
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::string& name = table.names[format - kFirstRegistered];
    std::size_t copied = std::min(name.size(), static_cast<std::size_t>(maxCount - 1));
    std::memcpy(formatName, name.data(), copied);
    formatName[copied] = '\0';
    return static_cast<int>(copied);
}
