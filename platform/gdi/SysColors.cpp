#include "platform/gdi/SysColors.h"

#include <array>

#include "platform/gdi/GdiObjects.h"

namespace {

constexpr std::array<COLORREF, 31> kColors = {
    RGB(212, 208, 200), RGB(58, 110, 165),  RGB(10, 36, 106),   RGB(128, 128, 128), RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(255, 255, 255),
    RGB(212, 208, 200), RGB(212, 208, 200), RGB(128, 128, 128), RGB(10, 36, 106),   RGB(255, 255, 255),
    RGB(212, 208, 200), RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(212, 208, 200),
    RGB(255, 255, 255), RGB(64, 64, 64),    RGB(212, 208, 200), RGB(0, 0, 0),       RGB(255, 255, 225),
    RGB(181, 181, 181), RGB(0, 0, 128),     RGB(166, 202, 240), RGB(192, 192, 192), RGB(49, 106, 197),
    RGB(236, 233, 216)};

} // namespace

DWORD GetSysColor(int index) {
    return index >= 0 && static_cast<std::size_t>(index) < kColors.size() ? kColors[static_cast<std::size_t>(index)] : 0;
}

HBRUSH GetSysColorBrush(int index) {
    static const std::array<HBRUSH, kColors.size()> brushes = [] {
        std::array<HBRUSH, kColors.size()> made{};
        for (std::size_t i = 0; i < made.size(); ++i) made[i] = CreateSolidBrush(kColors[i]);
        return made;
    }();
    return index >= 0 && static_cast<std::size_t>(index) < brushes.size() ? brushes[static_cast<std::size_t>(index)]
                                                                          : nullptr;
}

namespace ostrana {

bool ResolveBrushColor(HBRUSH brush, COLORREF& color) {
    auto value = reinterpret_cast<ULONG_PTR>(brush);
    if (value > 0 && value <= kColors.size()) {
        color = kColors[value - 1];
        return true;
    }
    auto info = BrushOf(brush);
    if (!info || info->null) return false;
    color = info->color;
    return true;
}

} // namespace ostrana
