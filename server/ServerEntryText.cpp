// Column texts of listed server entries; see ServerEntryText.h.
#include "server/ServerEntryText.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "misc/ReportBox.h"
#include "session/DecimalText.h"

namespace {

constexpr UINT kMorningString = 26;
constexpr UINT kAfternoonString = 27;

int LeadingNumber(const std::string& text, size_t at, size_t length) {
    return at < text.size() ? std::atoi(text.substr(at, length).c_str()) : 0;
}

} // namespace

std::string FormatSizeKB(const std::string& sizeText) {
    // The signed 32-bit read taken as unsigned; 64-bit sums, so sizes near 4 GiB cannot wrap to 0KB.
    std::uint64_t bytes = static_cast<std::uint32_t>(ReadDecimal32(sizeText).value_or(0));
    std::uint64_t kilobytes = (bytes + 1023) / 1024;
    char text[32];
    if (kilobytes < 1000) {
        std::snprintf(text, sizeof(text), "%uKB", static_cast<unsigned>(kilobytes));
    } else {
        std::snprintf(text, sizeof(text), "%u,%03uKB", static_cast<unsigned>((bytes + 1023) / 1024000),
                      static_cast<unsigned>(kilobytes % 1000));
    }
    return text;
}

std::string FormatServerDate(const std::string& dateText, const std::string& timeText) {
    std::string year = dateText.substr(0, 4);
    std::string month = dateText.size() > 4 ? dateText.substr(4, 2) : std::string();
    std::string day = dateText.size() >= 2 ? dateText.substr(dateText.size() - 2) : dateText;
    int hour = LeadingNumber(timeText, 0, 2);
    int minute = LeadingNumber(timeText, 2, 2);
    std::string period = hour < 13 ? LoadAndFormat(kMorningString, hour) : LoadAndFormat(kAfternoonString, hour - 12);
    return year + "-" + month + "-" + day + " " + period + ":" + std::to_string(minute);
}
