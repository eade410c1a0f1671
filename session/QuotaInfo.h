// The storage quota from the last quota query, in bytes; all zero before the first and after a
// failed one.
#pragma once

#include <cstdint>

struct QuotaInfo {
    std::int64_t total = 0;
    std::int64_t used = 0;
    std::int64_t remaining = 0;
};
