// Sizes of 1000 bytes and more are shown in kilobytes, rounded up, with a thousands comma.
#include "transfer/FormatFileSize.h"

#include <cstdio>

std::string FormatFileSize(ULONGLONG size) {
    char text[64];
    if (size < 1000) {
        std::snprintf(text, sizeof text, "%d Byte", static_cast<int>(size));
        return text;
    }
    auto kilobytes = static_cast<DWORD>((size + 1023) / 1024);
    if (kilobytes > 999) {
        std::snprintf(text, sizeof text, "%d,%03d KByte", static_cast<int>(kilobytes / 1000), static_cast<int>(kilobytes % 1000));
    } else {
        std::snprintf(text, sizeof text, "%d KByte", static_cast<int>(kilobytes));
    }
    return text;
}
