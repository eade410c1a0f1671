#include "platform/base/TimeFormat.h"

#include <array>
#include <cstdio>

#include "platform/base/Locale.h"

namespace {

constexpr std::array<const char*, 12> kMonths = {"January", "February", "March",     "April",   "May",      "June",
                                                 "July",    "August",   "September", "October", "November", "December"};
constexpr std::array<const char*, 7> kDays = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                              "Thursday", "Friday", "Saturday"};

bool IsLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

bool IsValid(const SYSTEMTIME& t) {
    static constexpr int kDaysIn[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (t.wYear < 1601 || t.wYear > 30827 || t.wMonth < 1 || t.wMonth > 12 || t.wDay < 1) return false;
    int days = kDaysIn[t.wMonth - 1] + (t.wMonth == 2 && IsLeap(t.wYear) ? 1 : 0);
    return t.wDay <= days && t.wHour < 24 && t.wMinute < 60 && t.wSecond < 60;
}

// Day of the week from the date itself, so a caller's wDayOfWeek cannot disagree with it.
int DayOfWeek(int year, int month, int day) {
    static constexpr int kOffsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 3) year -= 1;
    return (year + year / 4 - year / 100 + year / 400 + kOffsets[month - 1] + day) % 7;
}

std::string Number(int value, bool padded, int width = 2) {
    char text[16];
    if (padded) {
        std::snprintf(text, sizeof text, "%0*d", width, value);
    } else {
        std::snprintf(text, sizeof text, "%d", value);
    }
    return text;
}

std::string LocaleText(LCTYPE type) {
    char text[32] = {};
    return GetLocaleInfoA(LOCALE_USER_DEFAULT, type, text, sizeof text) > 0 ? text : "";
}

std::optional<std::string> Field(char specifier, bool padded, const SYSTEMTIME& t) {
    int hour12 = t.wHour % 12 == 0 ? 12 : t.wHour % 12;
    switch (specifier) {
    case 'Y': return Number(t.wYear, padded, 4);
    case 'y': return Number(t.wYear % 100, padded);
    case 'm': return Number(t.wMonth, padded);
    case 'd': return Number(t.wDay, padded);
    case 'H': return Number(t.wHour, padded);
    case 'I': return Number(hour12, padded);
    case 'M': return Number(t.wMinute, padded);
    case 'S': return Number(t.wSecond, padded);
    case 'p': return LocaleText(t.wHour < 12 ? LOCALE_S1159 : LOCALE_S2359);
    case 'B': return std::string(kMonths[t.wMonth - 1]);
    case 'b': return std::string(kMonths[t.wMonth - 1], 3);
    case 'A': return std::string(kDays[DayOfWeek(t.wYear, t.wMonth, t.wDay)]);
    case 'a': return std::string(kDays[DayOfWeek(t.wYear, t.wMonth, t.wDay)], 3);
    case '%': return std::string("%");
    default: return std::nullopt;
    }
}

} // namespace

namespace ostrana {

std::optional<std::string> FormatSystemTime(const std::string& format, const SYSTEMTIME& time) {
    if (!IsValid(time)) return std::nullopt;
    std::string result;
    for (size_t at = 0; at < format.size(); ++at) {
        if (format[at] != '%') {
            result += format[at];
            continue;
        }
        bool padded = true;
        if (at + 1 < format.size() && format[at + 1] == '#') {
            padded = false;
            ++at;
        }
        if (at + 1 >= format.size()) return std::nullopt;
        auto field = Field(format[++at], padded, time);
        if (!field) return std::nullopt;
        result += *field;
    }
    return result;
}

} // namespace ostrana
