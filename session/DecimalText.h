// Strict reading of the sizes, counts and quota figures that the server sends: a figure is one or
// more decimal digits and nothing else, so garbage fails what it belongs to instead of reading
// as 0 or as its leading digits.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// The value of a text of decimal digits only; nothing for an empty text, a sign, a space or any
// other character. A value too large for 64 bits reads as the largest one (still a number, so
// the caller's own limit refuses it).
std::optional<std::uint64_t> ReadDecimal(std::string_view text);

// A well-formed figure read as a signed 32-bit number, as the protocol's fields are read:
// values from 2^31 on come out negative, as they always have.
std::optional<std::int32_t> ReadDecimal32(std::string_view text);
