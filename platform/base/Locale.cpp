#include "platform/base/Locale.h"

#include <cstring>
#include <string>

#include "platform/base/CodePage.h"
#include "platform/base/LastError.h"

namespace {
constexpr LCID kKorean = 0x0412;

const char* KoreanPicture(LCTYPE type) {
    switch (type) {
    case LOCALE_SDECIMAL: return ".";
    case LOCALE_STHOUSAND: return ",";
    case LOCALE_SSHORTDATE: return "yyyy-MM-dd";
    case LOCALE_SLONGDATE: return "yyyy'년' M'월' d'일' dddd";
    case LOCALE_S1159: return "오전";
    case LOCALE_S2359: return "오후";
    case LOCALE_STIMEFORMAT: return "tt h:mm:ss";
    case LOCALE_IDEFAULTANSICODEPAGE: return nullptr;
    default: return nullptr;
    }
}
} // namespace

LCID GetUserDefaultLCID() { return kKorean; }

LCID GetSystemDefaultLCID() { return kKorean; }

int GetLocaleInfoA(LCID /*locale*/, LCTYPE type, LPSTR data, int size) {
    std::string value;
    if (type == LOCALE_IDEFAULTANSICODEPAGE) {
        value = std::to_string(GetACP());
    } else if (const char* picture = KoreanPicture(type)) {
        value = ostrana::Utf8ToAnsi(picture);
    } else {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    int needed = static_cast<int>(value.size()) + 1;
    if (size == 0) {
        return needed;
    }
    if (data == nullptr || size < needed) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(data, value.c_str(), static_cast<std::size_t>(needed));
    return needed;
}
