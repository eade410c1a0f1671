// GUID texts and the ProgID lookup; see Guid.h.
#include "platform/com/Guid.h"

#include <cstdio>
#include <cstring>

#include "platform/base/CodePage.h"
#include "platform/registry/RegistryText.h"

namespace ostrana {
namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads `digits` hex digits at `at`; false on anything else.
bool ReadHex(const std::string& text, size_t at, int digits, unsigned long long& value) {
    value = 0;
    for (int i = 0; i < digits; ++i) {
        int digit = HexDigit(text[at + static_cast<size_t>(i)]);
        if (digit < 0) return false;
        value = value * 16 + static_cast<unsigned>(digit);
    }
    return true;
}

} // namespace

std::string GuidText(REFGUID guid) {
    char buffer[40];
    std::snprintf(buffer, sizeof(buffer), "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", static_cast<unsigned>(guid.Data1),
                  guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4],
                  guid.Data4[5], guid.Data4[6], guid.Data4[7]);
    return buffer;
}

std::optional<GUID> ParseGuid(const std::string& text) {
    if (text.size() != 38 || text[0] != '{' || text[37] != '}' || text[9] != '-' || text[14] != '-' || text[19] != '-' ||
        text[24] != '-') {
        return std::nullopt;
    }
    GUID guid{};
    unsigned long long value = 0;
    if (!ReadHex(text, 1, 8, value)) return std::nullopt;
    guid.Data1 = static_cast<DWORD>(value);
    if (!ReadHex(text, 10, 4, value)) return std::nullopt;
    guid.Data2 = static_cast<WORD>(value);
    if (!ReadHex(text, 15, 4, value)) return std::nullopt;
    guid.Data3 = static_cast<WORD>(value);
    const size_t bytes[8] = {20, 22, 25, 27, 29, 31, 33, 35};
    for (int i = 0; i < 8; ++i) {
        if (!ReadHex(text, bytes[i], 2, value)) return std::nullopt;
        guid.Data4[i] = static_cast<BYTE>(value);
    }
    return guid;
}

} // namespace ostrana

int StringFromGUID2(REFGUID guid, LPOLESTR buffer, int capacity) {
    std::string text = ostrana::GuidText(guid);
    if (buffer == nullptr || capacity < static_cast<int>(text.size()) + 1) return 0;
    for (size_t i = 0; i < text.size(); ++i) buffer[i] = static_cast<OLECHAR>(text[i]);
    buffer[text.size()] = 0;
    return static_cast<int>(text.size()) + 1;
}

HRESULT CLSIDFromString(LPCOLESTR text, CLSID* clsid) {
    if (text == nullptr || clsid == nullptr) return E_INVALIDARG;
    std::string narrow;
    for (LPCOLESTR c = text; *c != 0; ++c) {
        if (*c > 0x7F) return CO_E_CLASSSTRING;
        narrow += static_cast<char>(*c);
    }
    auto guid = ostrana::ParseGuid(narrow);
    if (!guid) return CO_E_CLASSSTRING;
    *clsid = *guid;
    return S_OK;
}

HRESULT CLSIDFromProgID(LPCOLESTR progId, CLSID* clsid) {
    if (progId == nullptr || clsid == nullptr) return E_INVALIDARG;
    std::string name = ostrana::FromWide(std::u16string_view(progId));
    auto text = ostrana::ReadRegistryText(HKEY_CLASSES_ROOT, name + "\\CLSID", "", 63);
    if (!text) return CO_E_CLASSSTRING;
    auto guid = ostrana::ParseGuid(*text);
    if (!guid) return CO_E_CLASSSTRING;
    *clsid = *guid;
    return S_OK;
}
