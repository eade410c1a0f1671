#include "shell/LocalListText.h"

#include <cstring>
#include <string_view>

#include "platform/base/Locale.h"
#include "platform/base/TimeFormat.h"

namespace {

constexpr std::string_view kSeparators = " -/,.:";

struct PictureEntry {
    std::string_view picture;
    std::string_view format;
};
constexpr PictureEntry kPictures[] = {
    {"M", "%#m"}, {"MM", "%m"},  {"MMM", "%b"},  {"MMMM", "%B"}, {"d", "%#d"}, {"dd", "%d"},
    {"dddd", "%A"}, {"yy", "%y"}, {"yyyy", "%Y"}, {"H", "%#H"},  {"HH", "%H"},  {"h", "%#I"},
    {"hh", "%I"}, {"mm", "%M"},  {"ss", "%S"},   {"tt", "%p"},
};

std::string FormatOfRun(std::string_view run) {
    for (const auto& entry : kPictures) {
        if (entry.picture == run) return std::string(entry.format);
    }
    return std::string(run);
}

std::string LocaleText(LCTYPE type) {
    char text[128] = {};
    return GetLocaleInfoA(LOCALE_USER_DEFAULT, type, text, sizeof text) > 0 ? text : "";
}

std::string Grouped(std::uint64_t value, const std::string& separator) {
    std::string digits = std::to_string(value);
    std::string result;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) result += separator;
        result += digits[i];
    }
    return result;
}

} // namespace

std::string LocalSizeText(std::uint64_t bytes, const std::string& thousandsSeparator) {
    std::uint64_t kilobytes = bytes <= 1024 ? 1 : bytes / 1024 + (bytes % 1024 != 0 ? 1 : 0);
    return Grouped(kilobytes, thousandsSeparator) + " KB";
}

std::string PictureToTimeFormat(const std::string& picture) {
    std::string format;
    size_t at = 0;
    while (at < picture.size()) {
        bool separator = kSeparators.find(picture[at]) != std::string_view::npos;
        size_t end = at;
        while (end < picture.size() && (kSeparators.find(picture[end]) != std::string_view::npos) == separator) ++end;
        std::string_view run(picture.data() + at, end - at);
        format += separator ? std::string(run) : FormatOfRun(run);
        at = end;
    }
    return format;
}

const std::string& LocalDateTimeFormat() {
    static const std::string format =
        PictureToTimeFormat(LocaleText(LOCALE_SSHORTDATE)) + " " + PictureToTimeFormat(LocaleText(LOCALE_STIMEFORMAT));
    return format;
}

const std::string& LocalThousandsSeparator() {
    static const std::string separator = LocaleText(LOCALE_STHOUSAND);
    return separator;
}

std::string LocalModifiedText(const FILETIME& lastWrite, const FILETIME& creation) {
    const FILETIME& time = (lastWrite.dwLowDateTime == 0 && lastWrite.dwHighDateTime == 0) ? creation : lastWrite;
    SYSTEMTIME parts{};
    std::optional<std::string> text;
    if (FileTimeToSystemTime(&time, &parts)) text = ostrana::FormatSystemTime(LocalDateTimeFormat(), parts);
    if (!text) return "Invalid DateTime";
    if (text->size() > 256) text->resize(256);
    return *text;
}
