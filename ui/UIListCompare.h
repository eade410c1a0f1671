// The default row comparison of the toolkit list: two cell texts compared by column type
// (0 text, 1 whole numbers, 2 whole numbers of the digits only, 5 floating point, 6 floating
// point of the number characters only, 9 date and time in the user's locale; others as text).
#pragma once

#include <string>

namespace ostrana {

// <0, 0 or >0 for ascending order.
int CompareCellTexts(int columnType, const std::string& first, const std::string& second);

} // namespace ostrana
