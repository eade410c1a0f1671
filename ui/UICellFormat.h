// Number formats for list cells, with the user's thousands and decimal separators.
#pragma once

#include <string>

namespace ostrana {

// "1234567.5" becomes "1,234,567.5": a separator every three digits of the integer part, the
// part after the decimal separator kept. "0" and texts without digits stay as they are.
std::string FormatThousands(const std::string& number);
// A count of seconds as "%u:%u" (minutes, seconds); a text with the decimal separator is read as
// a floating-point number first. "0" stays as it is.
std::string FormatMinutesSeconds(const std::string& seconds);

} // namespace ostrana
