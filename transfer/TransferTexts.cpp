#include "transfer/TransferTexts.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

#include "res/Resources.h"

std::string LoadText(UINT id) {
    auto* module = ostrana::ModuleResources::FromHandle(AfxGetResourceHandle());
    return module->String(id).value_or(std::string());
}

std::string FormatText(UINT id, ...) {
    std::string format = LoadText(id);
    va_list args;
    va_start(args, id);
    va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(nullptr, 0, format.c_str(), copy);
    va_end(copy);
    std::string text;
    if (length > 0) {
        std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format.c_str(), args);
        text.assign(buffer.data(), static_cast<std::size_t>(length));
    }
    va_end(args);
    return text;
}

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
