#include "ui/UICellFormat.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "platform/base/Locale.h"

namespace ostrana {
namespace {

std::string LocaleText(LCTYPE type, const char* fallback) {
    char buffer[16] = {};
    return GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof buffer) != 0 ? std::string(buffer) : std::string(fallback);
}

bool IsZero(const std::string& text) { return text.empty() || std::strtod(text.c_str(), nullptr) == 0.0; }

} // namespace

std::string FormatThousands(const std::string& number) {
    if (IsZero(number)) return number;
    std::string decimal = LocaleText(LOCALE_SDECIMAL, ".");
    std::string thousand = LocaleText(LOCALE_STHOUSAND, ",");
    std::size_t fraction = number.find(decimal);
    std::string integer = number.substr(0, fraction);
    std::size_t digitsStart = 0;
    while (digitsStart < integer.size() && !std::isdigit(static_cast<unsigned char>(integer[digitsStart]))) ++digitsStart;
    std::size_t digitsEnd = digitsStart;
    while (digitsEnd < integer.size() && std::isdigit(static_cast<unsigned char>(integer[digitsEnd]))) ++digitsEnd;
    if (digitsEnd == digitsStart) return number;
    std::string grouped;
    std::size_t digits = digitsEnd - digitsStart;
    for (std::size_t i = 0; i < digits; ++i) {
        if (i != 0 && (digits - i) % 3 == 0) grouped += thousand;
        grouped += integer[digitsStart + i];
    }
    std::string result = integer.substr(0, digitsStart) + grouped + integer.substr(digitsEnd);
    if (fraction != std::string::npos) result += number.substr(fraction);
    return result;
}

std::string FormatMinutesSeconds(const std::string& seconds) {
    if (IsZero(seconds)) return seconds;
    unsigned total = 0;
    if (seconds.find(LocaleText(LOCALE_SDECIMAL, ".")) != std::string::npos) {
        double value = std::strtod(seconds.c_str(), nullptr);
        total = value > 0 ? static_cast<unsigned>(value) : 0;
    } else {
        total = static_cast<unsigned>(std::strtoul(seconds.c_str(), nullptr, 10));
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%u:%u", total / 60, total % 60);
    return buffer;
}

} // namespace ostrana
