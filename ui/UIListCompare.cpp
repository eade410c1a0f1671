#include "ui/UIListCompare.h"

#include <array>
#include <cctype>
#include <cstdlib>
#include <limits>

#include "platform/base/DateTimeParse.h"
#include "platform/base/Locale.h"
#include "platform/base/StringCompare.h"

namespace ostrana {
namespace {

template <typename T> int Order(T a, T b) { return a < b ? -1 : (b < a ? 1 : 0); }

// The digits of a text read as one number; a number too long to hold saturates.
long long DigitsValue(const std::string& text) {
    long long value = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) continue;
        int digit = c - '0';
        if (value > (std::numeric_limits<long long>::max() - digit) / 10) return std::numeric_limits<long long>::max();
        value = value * 10 + digit;
    }
    return value;
}

// The number characters of a text read as a floating-point number.
double NumberCharactersValue(const std::string& text) {
    std::array<char, 64> kept{};
    std::size_t length = 0;
    for (char c : text) {
        bool number = std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E';
        if (number && length + 1 < kept.size()) kept[length++] = c;
    }
    return std::strtod(kept.data(), nullptr);
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
    case 2: return Order(DigitsValue(first), DigitsValue(second));
    case 5: return Order(std::strtod(first.c_str(), nullptr), std::strtod(second.c_str(), nullptr));
    case 6: return Order(NumberCharactersValue(first), NumberCharactersValue(second));
    case 9: return Order(DateKey(first), DateKey(second));
    default:
        return CompareStringA(GetUserDefaultLCID(), NORM_IGNORECASE | NORM_IGNOREKANATYPE, first.c_str(), -1, second.c_str(), -1) - 2;
    }
}

} // namespace ostrana
