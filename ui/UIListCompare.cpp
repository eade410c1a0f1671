#include "ui/UIListCompare.h"

#include <cctype>
#include <cstdlib>

#include "platform/base/DateTimeParse.h"
#include "platform/base/Locale.h"
#include "platform/base/StringCompare.h"

namespace ostrana {
namespace {

template <typename T> int Order(T a, T b) { return a < b ? -1 : (b < a ? 1 : 0); }

std::string Filtered(const std::string& text, bool numberCharacters) {
    std::string kept;
    for (char c : text) {
        bool digit = std::isdigit(static_cast<unsigned char>(c)) != 0;
        if (digit || (numberCharacters && (c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E'))) kept += c;
    }
    return kept;
}

// Texts without a date sort before every date.
ULONGLONG DateKey(const std::string& text) {
    SYSTEMTIME time{};
    FILETIME file{};
    if (!ParseLocaleDateTime(GetUserDefaultLCID(), text, time) || !SystemTimeToFileTime(&time, &file)) return 0;
    return FileTimeToTicks(file);
}

} // namespace

int CompareCellTexts(int columnType, const std::string& first, const std::string& second) {
    switch (columnType) {
    case 1: return Order(std::atoi(first.c_str()), std::atoi(second.c_str()));
    case 2: return Order(std::atoll(Filtered(first, false).c_str()), std::atoll(Filtered(second, false).c_str()));
    case 5: return Order(std::strtod(first.c_str(), nullptr), std::strtod(second.c_str(), nullptr));
    case 6: return Order(std::strtod(Filtered(first, true).c_str(), nullptr), std::strtod(Filtered(second, true).c_str(), nullptr));
    case 9: return Order(DateKey(first), DateKey(second));
    default:
        return CompareStringA(GetUserDefaultLCID(), NORM_IGNORECASE | NORM_IGNOREKANATYPE, first.c_str(), -1, second.c_str(), -1) - 2;
    }
}

} // namespace ostrana
