// Orderings of the server list columns; see ServerListCompare.h.
#include "server/ServerListCompare.h"

#include <cctype>
#include <limits>

#include "platform/base/DateTimeParse.h"
#include "platform/base/FileTime.h"
#include "platform/base/Locale.h"
#include "platform/base/StringCompare.h"

namespace {

template <typename T> int Order(T a, T b) { return a < b ? -1 : (b < a ? 1 : 0); }

bool ParseDate(const std::string& text, ULONGLONG& ticks) {
    SYSTEMTIME time{};
    FILETIME file{};
    if (!ostrana::ParseLocaleDateTime(GetUserDefaultLCID(), text, time) || !SystemTimeToFileTime(&time, &file)) return false;
    ticks = ostrana::FileTimeToTicks(file);
    return true;
}

int CompareDates(const std::string& first, const std::string& second) {
    ULONGLONG a = 0, b = 0;
    if (!ParseDate(first, a) || !ParseDate(second, b)) return 0;
    // Equal times still order: the first counts as the later one.
    return a < b ? -1 : 1;
}

} // namespace

long long LeadingFigure(const std::string& text) {
    long long value = 0;
    for (char c : text) {
        if (c == ',') continue;
        if (!std::isdigit(static_cast<unsigned char>(c))) break;
        int digit = c - '0';
        if (value > (std::numeric_limits<long long>::max() - digit) / 10) return std::numeric_limits<long long>::max();
        value = value * 10 + digit;
    }
    return value;
}

int CompareServerCells(int sortType, const std::string& first, const std::string& second) {
    switch (sortType) {
    case kServerSortNumber: return Order(LeadingFigure(first), LeadingFigure(second));
    case kServerSortDate: return CompareDates(first, second);
    default: return CompareStringA(GetUserDefaultLCID(), NORM_IGNORECASE, first.c_str(), -1, second.c_str(), -1) - 2;
    }
}
