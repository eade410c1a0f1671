// The fixed text metric: every font of a given height has one width for single-byte characters
// and one for double-byte characters, so measurements agree in tests and in the browser.
// 굴림 9 pt (12 pixels) gives 6 and 12 pixels.
#pragma once

#include <string_view>

#include "platform/gdi/DisplayList.h"

namespace ostrana {

struct FontMetric {
    int height;     // cell height in pixels
    int asciiWidth; // a single-byte character
    int wideWidth;  // a double-byte character
};

FontMetric MetricOf(const FontInfo& font);
// Bytes taken by the character starting at `pos` of ANSI text (1 or 2 in code page 949).
std::size_t CharLength(std::string_view ansi, std::size_t pos);
int TextWidth(const FontMetric& metric, std::string_view ansi);

} // namespace ostrana
