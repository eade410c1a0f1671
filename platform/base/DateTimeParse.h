// Reading a date and time text written with the user's locale pictures (LOCALE_SSHORTDATE, then
// optionally LOCALE_STIMEFORMAT), the inverse of formatting with those pictures. The time may
// also be given on a 24-hour clock without the morning/afternoon marker, and without seconds.
#pragma once

#include <string_view>

#include "platform/base/FileTime.h"

namespace ostrana {

// False, with `result` untouched, when the text does not hold a valid date (and time).
bool ParseLocaleDateTime(LCID locale, std::string_view text, SYSTEMTIME& result);

} // namespace ostrana
