// strftime for a SYSTEMTIME with the "#" flag of the Windows runtime: "%#d", "%#m", "%#H", "%#I"
// drop the leading zero. The half-day texts are the locale's (LOCALE_S1159, LOCALE_S2359).
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "platform/base/FileTime.h"

namespace ostrana {

// Empty when the time is not a valid date and time or a specifier is not known.
std::optional<std::string> FormatSystemTime(const std::string& format, const SYSTEMTIME& time);

} // namespace ostrana
