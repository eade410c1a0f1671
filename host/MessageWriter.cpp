// Encoding of the container's messages to the page.
#include "host/MessageWriter.h"

#include <cstdio>

namespace ostrana::host {

namespace {

// Length of a well-formed UTF-8 sequence starting at i, or 0.
size_t Utf8Length(std::string_view text, size_t i)
{
    unsigned char lead = static_cast<unsigned char>(text[i]);
    size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || (length == 2 && lead < 0xC2) || i + length > text.size())
        return 0;
    for (size_t k = 1; k < length; ++k)
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
            return 0;
    unsigned char second = static_cast<unsigned char>(length > 1 ? text[i + 1] : 0);
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) || (lead == 0xF0 && second < 0x90) ||
        (lead == 0xF4 && second >= 0x90) || lead > 0xF4)
        return 0;
    return length;
}

} // namespace

std::string JsonString(std::string_view utf8)
{
    std::string out = "\"";
    for (size_t i = 0; i < utf8.size();) {
        char c = utf8[i];
        size_t length = Utf8Length(utf8, i);
        if (length == 0) {
            out += "\\ufffd";
            ++i;
            continue;
        }
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
            out += escaped;
        } else {
            out.append(utf8.substr(i, length));
        }
        i += length;
    }
    return out + "\"";
}

MessageWriter::MessageWriter(ToPage kind) : m_json("{\"k\":" + std::to_string(static_cast<int>(kind))) {}

void MessageWriter::Name(std::string_view name)
{
    m_json += ',';
    m_json += JsonString(name);
    m_json += ':';
}

MessageWriter& MessageWriter::Number(std::string_view name, long long value)
{
    Name(name);
    m_json += std::to_string(value);
    return *this;
}

MessageWriter& MessageWriter::Text(std::string_view name, std::string_view utf8)
{
    Name(name);
    m_json += JsonString(utf8);
    return *this;
}

MessageWriter& MessageWriter::Flag(std::string_view name, bool value)
{
    Name(name);
    m_json += value ? "true" : "false";
    return *this;
}

MessageWriter& MessageWriter::Raw(std::string_view name, std::string_view json)
{
    Name(name);
    m_json.append(json);
    return *this;
}

} // namespace ostrana::host
