// Decoding of code page 949 through a table of every double-byte character, made once from the
// encoding direction. The system converter is not used for this direction: it reads out of
// bounds (and crashes) on some unassigned double-byte pairs, and a table is also much faster.
#pragma once

#include <string>
#include <string_view>

namespace ostrana {

// Unassigned pairs, a lead byte at the end and a lead byte before a byte that cannot follow it
// become "?" (the following byte is then read on its own), as Windows does; `invalid` tells
// whether any did.
std::u16string DecodeCp949(std::string_view bytes, bool& invalid);

} // namespace ostrana
