// Decides what a request to the container may reach: only loopback hosts, our own origin, the
// session's token, and a fixed set of page files and artwork; everything else is refused.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace ostrana::host {

struct GateRequest {
    std::string method;
    std::string path;  // without the query
    std::string query; // without the '?'
    std::optional<std::string> host;
    std::optional<std::string> origin;
    bool webSocket = false;
};

enum class GateVerdict { Page, Asset, Image, Socket, Forbidden, NotFound, BadMethod };

struct GateDecision {
    GateVerdict verdict = GateVerdict::NotFound;
    std::filesystem::path file; // for Page, Asset and Image
    std::string contentType;
};

class RequestGate {
public:
    RequestGate(std::string token, int port, std::filesystem::path webDir, std::filesystem::path imageDir);

    GateDecision Decide(const GateRequest& request) const;
    std::string ContentSecurityPolicy() const;
    const std::string& Token() const { return m_token; }

    // 32 hex digits from the system's random source.
    static std::string NewToken();

private:
    bool HostAllowed(const std::string& host) const;
    bool OriginAllowed(const std::string& origin) const;
    bool TokenMatches(const std::string& query) const;
    std::optional<std::filesystem::path> ImageFile(const std::string& name) const;

    std::string m_token;
    int m_port;
    std::filesystem::path m_webDir;
    std::filesystem::path m_imageDir;
};

// The value of one parameter of a query string, percent-decoded; empty when absent.
std::string QueryParameter(const std::string& query, const std::string& name);

} // namespace ostrana::host
