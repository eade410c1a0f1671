#include "platform/gdi/ScreenSize.h"

#include <atomic>
#include <cstdint>

namespace ostrana {
namespace {

// Width and height in one word, so a reader never sees a width from one setting and a height
// from another.
std::uint64_t Pack(SIZE size) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(size.cx)) << 32) | static_cast<std::uint32_t>(size.cy);
}

std::atomic<std::uint64_t>& Setting() {
    static std::atomic<std::uint64_t> packed{Pack(SIZE{1920, 1080})};
    return packed;
}

} // namespace

SIZE ScreenSize() {
    std::uint64_t packed = Setting().load();
    return SIZE{static_cast<LONG>(packed >> 32), static_cast<LONG>(packed & 0xFFFFFFFFu)};
}

RECT ScreenRect() {
    SIZE size = ScreenSize();
    return RECT{0, 0, size.cx, size.cy};
}

bool SetScreenSize(SIZE size) {
    if (size.cx < 1 || size.cy < 1) return false;
    Setting().store(Pack(size));
    return true;
}

} // namespace ostrana
