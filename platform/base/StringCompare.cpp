#include "platform/base/StringCompare.h"

#include <cstring>
#include <string>
#include <string_view>

#include "platform/base/CodePage.h"
#include "platform/base/LastError.h"

namespace {

char16_t FoldCase(char16_t c) {
    if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 0x20);
    if (c >= 0xFF21 && c <= 0xFF3A) return static_cast<char16_t>(c + 0x20); // full-width Latin
    if (c >= 0x00C0 && c <= 0x00DE && c != 0x00D7) return static_cast<char16_t>(c + 0x20);
    if (c >= 0x0391 && c <= 0x03A9) return static_cast<char16_t>(c + 0x20); // Greek
    if (c >= 0x0410 && c <= 0x042F) return static_cast<char16_t>(c + 0x20); // Cyrillic
    return c;
}

char16_t FoldKana(char16_t c) {
    if (c >= 0x30A1 && c <= 0x30F6) return static_cast<char16_t>(c - 0x60); // katakana to hiragana
    return c;
}

char16_t FoldWidth(char16_t c) {
    if (c >= 0xFF01 && c <= 0xFF5E) return static_cast<char16_t>(c - 0xFEE0);
    return c;
}

std::u16string Folded(LPCSTR text, int length, DWORD flags) {
    std::string_view bytes = length < 0 ? std::string_view(text) : std::string_view(text, static_cast<std::size_t>(length));
    std::u16string wide = ostrana::ToWide(bytes, CP_ACP);
    for (char16_t& c : wide) {
        if (flags & NORM_IGNOREWIDTH) c = FoldWidth(c);
        if (flags & NORM_IGNORECASE) c = FoldCase(c);
        if (flags & NORM_IGNOREKANATYPE) c = FoldKana(c);
    }
    return wide;
}

} // namespace

int CompareStringA(LCID /*locale*/, DWORD flags, LPCSTR first, int firstLength, LPCSTR second, int secondLength) {
    if (first == nullptr || second == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    int order = Folded(first, firstLength, flags).compare(Folded(second, secondLength, flags));
    if (order < 0) return CSTR_LESS_THAN;
    return order == 0 ? CSTR_EQUAL : CSTR_GREATER_THAN;
}
