// Digits are accumulated with a saturating multiply, so no length of text overflows.
#include "session/DecimalText.h"

#include <limits>

std::optional<std::uint64_t> ReadDecimal(std::string_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        auto digit = static_cast<std::uint64_t>(c - '0');
        value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;
    }
    return value;
}

std::optional<std::int32_t> ReadDecimal32(std::string_view text) {
    std::optional<std::uint64_t> value = ReadDecimal(text);
    if (!value) {
        return std::nullopt;
    }
    if (*value > std::numeric_limits<std::uint32_t>::max()) {
        return -1;
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(*value));
}
