// The head of the one HTTP request that opens every connection: the request line and its header
// fields, bounded in size. Bodies are left in the connection for the handler to read.
#pragma once

#include "service/Connection.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ostrana::service {

struct HttpRequest {
    std::string method;
    std::string target;
    std::vector<std::pair<std::string, std::string>> headers;

    // The first field of that name, compared without regard to case; empty when absent.
    std::string Header(std::string_view name) const;
    // The path part of the target, without its query.
    std::string_view Path() const;
    // One cookie's value from the Cookie header; empty when absent.
    std::string Cookie(std::string_view name) const;
};

inline constexpr std::size_t kMaxHeaderBytes = 16 * 1024;
inline constexpr std::size_t kMaxHeaderFields = 100;

enum class HeadStatus { Ok, Closed, TooLarge, Malformed };

HeadStatus ReadHttpRequest(Connection& connection, HttpRequest& request);

// Parses a head already split into lines (request line first), for tests and the reader above.
HeadStatus ParseHttpHead(const std::vector<std::string>& lines, HttpRequest& request);

} // namespace ostrana::service
