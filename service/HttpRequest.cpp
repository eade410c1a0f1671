// A deliberately small HTTP head reader: only what the login and file-action requests carry.
#include "service/HttpRequest.h"

#include <cctype>

namespace ostrana::service {

namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

} // namespace

std::string HttpRequest::Header(std::string_view name) const {
    for (const auto& [field, value] : headers) {
        if (EqualsIgnoringCase(field, name)) {
            return value;
        }
    }
    return {};
}

std::string_view HttpRequest::Path() const {
    const std::string_view whole = target;
    return whole.substr(0, whole.find('?'));
}

std::string HttpRequest::Cookie(std::string_view name) const {
    const std::string header = Header("Cookie");
    std::string_view rest = header;
    while (!rest.empty()) {
        const std::size_t semicolon = rest.find(';');
        const std::string_view pair = Trim(rest.substr(0, semicolon));
        const std::size_t equals = pair.find('=');
        if (equals != std::string_view::npos && pair.substr(0, equals) == name) {
            return std::string(pair.substr(equals + 1));
        }
        if (semicolon == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(semicolon + 1);
    }
    return {};
}

HeadStatus ParseHttpHead(const std::vector<std::string>& lines, HttpRequest& request) {
    request = HttpRequest{};
    if (lines.empty()) {
        return HeadStatus::Malformed;
    }
    const std::string_view first = lines.front();
    const std::size_t space1 = first.find(' ');
    const std::size_t space2 = space1 == std::string_view::npos ? space1 : first.find(' ', space1 + 1);
    if (space2 == std::string_view::npos || first.substr(space2 + 1).rfind("HTTP/", 0) != 0) {
        return HeadStatus::Malformed;
    }
    request.method = first.substr(0, space1);
    request.target = first.substr(space1 + 1, space2 - space1 - 1);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos || colon == 0) {
            return HeadStatus::Malformed;
        }
        request.headers.emplace_back(std::string(line.substr(0, colon)), std::string(Trim(line.substr(colon + 1))));
    }
    return HeadStatus::Ok;
}

HeadStatus ReadHttpRequest(Connection& connection, HttpRequest& request) {
    std::vector<std::string> lines;
    std::size_t total = 0;
    while (true) {
        std::string line;
        const ReadStatus status = connection.ReadLine(line, kMaxHeaderBytes - total);
        if (status == ReadStatus::Closed) {
            return HeadStatus::Closed;
        }
        if (status == ReadStatus::TooLong) {
            return HeadStatus::TooLarge;
        }
        if (line.empty()) {
            break;
        }
        total += line.size() + 2;
        if (total >= kMaxHeaderBytes || lines.size() > kMaxHeaderFields) {
            return HeadStatus::TooLarge;
        }
        lines.push_back(std::move(line));
    }
    return ParseHttpHead(lines, request);
}

} // namespace ostrana::service
