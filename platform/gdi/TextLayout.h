// Lays out text as DrawText does with the fixed metric: prefix characters, line breaks, word
// breaking, alignment. Pure, so controls and tests can measure without a device context.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/gdi/TextMetric.h"

namespace ostrana {

struct TextLine {
    std::string text; // ANSI, prefix characters removed
    RECT rect{};      // where the line is drawn
};

struct TextLayout {
    std::vector<TextLine> lines;
    int width = 0;  // widest line
    int height = 0; // all lines
};

TextLayout LayoutText(std::string_view ansi, const RECT& rect, UINT format, const FontMetric& metric);
// "&&" becomes "&", a single "&" disappears.
std::string StripPrefix(std::string_view ansi);

} // namespace ostrana
