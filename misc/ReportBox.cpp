#include "misc/ReportBox.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

#include "platform/window/Focus.h"
#include "platform/window/MessageBox.h"
#include "res/Resources.h"

namespace {

constexpr int kStringBufferSize = 512;
constexpr const char* kReportCaption = "Quorel Report";

std::string FormatV(const char* format, va_list args) {
    va_list measure;
    va_copy(measure, args);
    int needed = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (needed <= 0) {
        return {};
    }
    std::vector<char> buffer(static_cast<std::size_t>(needed) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    return std::string(buffer.data(), static_cast<std::size_t>(needed));
}

} // namespace

std::string LoadResourceString(UINT id) {
    char buffer[kStringBufferSize];
    if (LoadStringA(AfxGetResourceHandle(), id, buffer, kStringBufferSize) == 0) {
        return {};
    }
    return buffer;
}

namespace {

std::string LoadAndFormatV(UINT id, va_list args) {
    std::string format = LoadResourceString(id);
    if (format.empty()) {
        return {};
    }
    return FormatV(format.c_str(), args);
}

} // namespace

std::string LoadAndFormat(UINT id, ...) {
    va_list args;
    va_start(args, id);
    std::string text = LoadAndFormatV(id, args);
    va_end(args);
    return text;
}

void ThrowExceptionEx(UINT id, ...) {
    va_list args;
    va_start(args, id);
    std::string text = LoadAndFormatV(id, args);
    va_end(args);
    throw CExceptionEx(std::move(text));
}

int ReportBox(const char* text, UINT type, const char* captionSuffix) {
    std::string caption = kReportCaption;
    if (captionSuffix != nullptr) {
        caption += captionSuffix;
    }
    return MessageBoxA(GetFocus(), text, caption.c_str(), type);
}

int WarnById(UINT id, ...) {
    va_list args;
    va_start(args, id);
    std::string text = LoadAndFormatV(id, args);
    va_end(args);
    return ReportBox(text.c_str(), REPORT_BOX_TYPE);
}

int WarnByFormat(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = FormatV(format, args);
    va_end(args);
    return ReportBox(text.c_str(), REPORT_BOX_TYPE);
}
