#include "platform/gdi/TextMetric.h"

#include "platform/base/CodePage.h"

namespace ostrana {

FontMetric MetricOf(const FontInfo& font) {
    int height = font.height < 0 ? -font.height : font.height;
    if (height == 0) height = 12;
    return FontMetric{height, height / 2 > 0 ? height / 2 : 1, height};
}

std::size_t CharLength(std::string_view ansi, std::size_t pos) {
    if (pos >= ansi.size()) return 0;
    auto lead = static_cast<unsigned char>(ansi[pos]);
    if (lead < 0x80) return 1;
    std::size_t length = 2;
    if (GetACP() == CP_UTF8) {
        length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    }
    return pos + length <= ansi.size() ? length : ansi.size() - pos;
}

int TextWidth(const FontMetric& metric, std::string_view ansi) {
    int width = 0;
    for (std::size_t pos = 0; pos < ansi.size();) {
        std::size_t length = CharLength(ansi, pos);
        width += length == 1 ? metric.asciiWidth : metric.wideWidth;
        pos += length;
    }
    return width;
}

} // namespace ostrana
