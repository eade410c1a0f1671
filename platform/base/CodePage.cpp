// iconv does the table work; this file adds the Windows calling contract and the "?" rule.
#include "platform/base/CodePage.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iconv.h>
#include <string>
#include <vector>

#include "platform/base/Cp949Decoder.h"
#include "platform/base/LastError.h"

namespace {

UINT ReadAnsiCodePage() {
    const char* env = std::getenv("OSTRANA_ACP");
    if (env != nullptr && *env != '\0') {
        char* end = nullptr;
        long value = std::strtol(env, &end, 10);
        if (end != env && *end == '\0' && (value == 949 || value == 65001 || value == 1252 || value == 932 ||
                                           value == 936 || value == 950 || value == 437)) {
            return static_cast<UINT>(value);
        }
    }
    return 949;
}

UINT ResolveCodePage(UINT codePage) {
    if (codePage == CP_ACP || codePage == CP_OEMCP) {
        return GetACP();
    }
    return codePage;
}

const char* IconvName(UINT codePage) {
    switch (codePage) {
    case 949: return "CP949";
    case 65001: return "UTF-8";
    case 1252: return "CP1252";
    case 932: return "CP932";
    case 936: return "CP936";
    case 950: return "CP950";
    case 437: return "CP437";
    case CP_UTF16LE: return "UTF-16LE";
    default: return nullptr;
    }
}

// One conversion descriptor per call keeps the functions thread-safe without locks.
class Iconv {
public:
    Iconv(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Iconv() {
        if (Ok()) {
            iconv_close(m_cd);
        }
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    bool Ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t Get() const { return m_cd; }

private:
    iconv_t m_cd;
};

// Decodes `in` (code page) into UTF-16 code units. Undecodable bytes become U+FFFD, or in a
// double-byte code page "?" as Windows does; `invalid` reports that any were met.
std::u16string DecodeToUtf16(UINT codePage, const char* in, std::size_t size, bool& invalid, bool& ok) {
    std::u16string out;
    invalid = false;
    ok = false;
    if (codePage == 949) {
        ok = true;
        return ostrana::DecodeCp949(std::string_view(in, size), invalid);
    }
    const char* name = IconvName(codePage);
    if (name == nullptr) {
        return out;
    }
    Iconv cd("UTF-16LE", name);
    if (!cd.Ok()) {
        return out;
    }
    std::vector<char> buffer(size * 2 + 16);
    char* src = const_cast<char*>(in);
    std::size_t srcLeft = size;
    while (srcLeft > 0) {
        char* dst = buffer.data();
        std::size_t dstLeft = buffer.size();
        std::size_t rc = iconv(cd.Get(), &src, &srcLeft, &dst, &dstLeft);
        std::size_t produced = buffer.size() - dstLeft;
        for (std::size_t i = 0; i + 1 < produced; i += 2) {
            out.push_back(static_cast<char16_t>(static_cast<unsigned char>(buffer[i]) |
                                                (static_cast<unsigned char>(buffer[i + 1]) << 8)));
        }
        if (rc == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG) {
                continue;
            }
            // EILSEQ or an incomplete sequence at the end: replace one byte and go on.
            invalid = true;
            out.push_back(codePage == CP_UTF8 ? u'\uFFFD' : u'?');
            ++src;
            --srcLeft;
            iconv(cd.Get(), nullptr, nullptr, nullptr, nullptr);
        }
    }
    ok = true;
    return out;
}

// Encodes UTF-16 into the code page, one character at a time on failure so that each
// unrepresentable character becomes the default character.
std::string EncodeFromUtf16(UINT codePage, const char16_t* in, std::size_t count, const std::string& defaultChar,
                            bool& usedDefault, bool& ok) {
    std::string out;
    usedDefault = false;
    ok = false;
    const char* name = IconvName(codePage);
    if (name == nullptr) {
        return out;
    }
    Iconv cd(name, "UTF-16LE");
    if (!cd.Ok()) {
        return out;
    }
    std::vector<char> bytes(count * 2);
    for (std::size_t i = 0; i < count; ++i) {
        bytes[2 * i] = static_cast<char>(in[i] & 0xff);
        bytes[2 * i + 1] = static_cast<char>((in[i] >> 8) & 0xff);
    }
    std::vector<char> buffer(count * 4 + 16);
    char* src = bytes.data();
    std::size_t srcLeft = bytes.size();
    while (srcLeft > 0) {
        char* dst = buffer.data();
        std::size_t dstLeft = buffer.size();
        std::size_t rc = iconv(cd.Get(), &src, &srcLeft, &dst, &dstLeft);
        out.append(buffer.data(), buffer.size() - dstLeft);
        if (rc == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG) {
                continue;
            }
            usedDefault = true;
            out += codePage == CP_UTF8 ? std::string("\xEF\xBF\xBD") : defaultChar;
            // Skip one UTF-16 unit, or a whole surrogate pair.
            std::size_t skip = 2;
            if (srcLeft >= 4) {
                unsigned unit = static_cast<unsigned char>(src[0]) | (static_cast<unsigned char>(src[1]) << 8);
                unsigned next = static_cast<unsigned char>(src[2]) | (static_cast<unsigned char>(src[3]) << 8);
                if (unit >= 0xD800 && unit <= 0xDBFF && next >= 0xDC00 && next <= 0xDFFF) {
                    skip = 4;
                }
            }
            skip = std::min(skip, srcLeft);
            src += skip;
            srcLeft -= skip;
            iconv(cd.Get(), nullptr, nullptr, nullptr, nullptr);
        }
    }
    ok = true;
    return out;
}

} // namespace

UINT GetACP() {
    static const UINT acp = ReadAnsiCodePage();
    return acp;
}

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR multiByte, int cbMultiByte, LPWSTR wideChar,
                        int cchWideChar) {
    if (multiByte == nullptr || cbMultiByte == 0 || cbMultiByte < -1 || cchWideChar < 0 ||
        (cchWideChar > 0 && wideChar == nullptr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::size_t size = cbMultiByte == -1 ? std::strlen(multiByte) + 1 : static_cast<std::size_t>(cbMultiByte);
    bool invalid = false;
    bool ok = false;
    std::u16string wide = DecodeToUtf16(ResolveCodePage(codePage), multiByte, size, invalid, ok);
    if (!ok) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (invalid && (flags & MB_ERR_INVALID_CHARS) != 0) {
        SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return 0;
    }
    if (cchWideChar == 0) {
        return static_cast<int>(wide.size());
    }
    if (wide.size() > static_cast<std::size_t>(cchWideChar)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(wideChar, wide.data(), wide.size() * sizeof(char16_t));
    return static_cast<int>(wide.size());
}

int WideCharToMultiByte(UINT codePage, DWORD /*flags*/, LPCWSTR wideChar, int cchWideChar, LPSTR multiByte,
                        int cbMultiByte, LPCSTR defaultChar, LPBOOL usedDefaultChar) {
    if (wideChar == nullptr || cchWideChar == 0 || cchWideChar < -1 || cbMultiByte < 0 ||
        (cbMultiByte > 0 && multiByte == nullptr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::size_t count = 0;
    if (cchWideChar == -1) {
        while (wideChar[count] != 0) {
            ++count;
        }
        ++count;
    } else {
        count = static_cast<std::size_t>(cchWideChar);
    }
    bool usedDefault = false;
    bool ok = false;
    std::string bytes = EncodeFromUtf16(ResolveCodePage(codePage), wideChar, count,
                                        defaultChar != nullptr ? std::string(defaultChar) : std::string("?"),
                                        usedDefault, ok);
    if (!ok) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (usedDefaultChar != nullptr) {
        *usedDefaultChar = usedDefault ? TRUE : FALSE;
    }
    if (cbMultiByte == 0) {
        return static_cast<int>(bytes.size());
    }
    if (bytes.size() > static_cast<std::size_t>(cbMultiByte)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(multiByte, bytes.data(), bytes.size());
    return static_cast<int>(bytes.size());
}

namespace ostrana {

std::u16string ToWide(std::string_view text, UINT codePage) {
    if (text.empty()) {
        return {};
    }
    bool invalid = false;
    bool ok = false;
    return DecodeToUtf16(ResolveCodePage(codePage), text.data(), text.size(), invalid, ok);
}

std::string FromWide(std::u16string_view text, UINT codePage) {
    if (text.empty()) {
        return {};
    }
    bool usedDefault = false;
    bool ok = false;
    return EncodeFromUtf16(ResolveCodePage(codePage), text.data(), text.size(), "?", usedDefault, ok);
}

std::string AnsiToUtf8(std::string_view ansi) {
    if (GetACP() == CP_UTF8) {
        return std::string(ansi);
    }
    return FromWide(ToWide(ansi, CP_ACP), CP_UTF8);
}

std::string Utf8ToAnsi(std::string_view utf8) {
    if (GetACP() == CP_UTF8) {
        return std::string(utf8);
    }
    return FromWide(ToWide(utf8, CP_UTF8), CP_ACP);
}

std::size_t CompleteUtf8Prefix(std::string_view bytes) {
    // Look back at most three bytes for the lead byte of a character that may be cut.
    std::size_t size = bytes.size();
    std::size_t back = 0;
    while (back < size && back < 4) {
        unsigned char c = static_cast<unsigned char>(bytes[size - 1 - back]);
        if ((c & 0xC0) != 0x80) {
            std::size_t need = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 1;
            return back + 1 >= need ? size : size - back - 1;
        }
        ++back;
    }
    return size;
}

} // namespace ostrana
