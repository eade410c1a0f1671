// Builds one JSON message for the page: the kind's number first, then named fields.
#pragma once

#include <string>
#include <string_view>

#include "host/HostProtocol.h"

namespace ostrana::host {

class MessageWriter {
public:
    explicit MessageWriter(ToPage kind);

    MessageWriter& Number(std::string_view name, long long value);
    MessageWriter& Text(std::string_view name, std::string_view utf8);
    MessageWriter& Flag(std::string_view name, bool value);
    // A value the caller already encoded as JSON (an array or object).
    MessageWriter& Raw(std::string_view name, std::string_view json);

    std::string Finish() const { return m_json + "}"; }

private:
    void Name(std::string_view name);
    std::string m_json;
};

// JSON string literal with quotes; control characters and bytes that are not UTF-8 are escaped so
// that the page's parser never fails on a window's text.
std::string JsonString(std::string_view utf8);

} // namespace ostrana::host
