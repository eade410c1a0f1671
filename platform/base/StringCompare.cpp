#include "platform/base/StringCompare.h"

#include <algorithm>
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

std::string_view View(LPCSTR text, int length) {
    return length < 0 ? std::string_view(text) : std::string_view(text, static_cast<std::size_t>(length));
}

bool IsAscii(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

// Texts of ASCII characters only, compared without converting them.
int CompareAscii(std::string_view first, std::string_view second, DWORD flags) {
    std::size_t common = std::min(first.size(), second.size());
    for (std::size_t i = 0; i < common; ++i) {
        char16_t a = static_cast<unsigned char>(first[i]);
        char16_t b = static_cast<unsigned char>(second[i]);
        if (flags & NORM_IGNORECASE) {
            a = FoldCase(a);
            b = FoldCase(b);
        }
        if (a != b) return a < b ? -1 : 1;
    }
    return first.size() == second.size() ? 0 : (first.size() < second.size() ? -1 : 1);
}

} // namespace

int CompareStringA(LCID /*locale*/, DWORD flags, LPCSTR first, int firstLength, LPCSTR second, int secondLength) {
    if (first == nullptr || second == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::string_view a = View(first, firstLength);
    std::string_view b = View(second, secondLength);
    int order = IsAscii(a) && IsAscii(b) ? CompareAscii(a, b, flags) : Folded(first, firstLength, flags).compare(Folded(second, secondLength, flags));
    if (order < 0) return CSTR_LESS_THAN;
    return order == 0 ? CSTR_EQUAL : CSTR_GREATER_THAN;
}
