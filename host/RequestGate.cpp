// Request checks of the container's web server.
#include "host/RequestGate.h"

#include <array>
#include <random>

namespace ostrana::host {

namespace {

struct PageFile {
    const char* path;
    const char* file;
    const char* type;
};

constexpr std::array kPageFiles{
    PageFile{"/app.js", "app.js", "text/javascript; charset=utf-8"},
    PageFile{"/protocol.js", "protocol.js", "text/javascript; charset=utf-8"},
    PageFile{"/wire.js", "wire.js", "text/javascript; charset=utf-8"},
    PageFile{"/style.css", "style.css", "text/css; charset=utf-8"},
};

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string PercentDecode(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i] == '+' ? ' ' : text[i];
        }
    }
    return out;
}

// Same length and same bytes, without stopping at the first difference.
bool ConstantTimeEqual(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    unsigned char difference = 0;
    for (size_t i = 0; i < a.size(); ++i)
        difference |= static_cast<unsigned char>(a[i] ^ b[i]);
    return difference == 0;
}

// Artwork names are plain file names below the image folder: letters, digits, '_', '-', '.', and
// at most one '/' for the artwork's subfolder; no part may start with a dot.
bool PlainImageName(const std::string& name)
{
    if (name.empty() || name.size() > 200)
        return false;
    int slashes = 0;
    char previous = '/';
    for (char c : name) {
        bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
                     c == '.' || c == '/';
        if (!plain || (c == '.' && previous == '/') || (c == '/' && previous == '/'))
            return false;
        if (c == '/')
            ++slashes;
        previous = c;
    }
    return slashes <= 1 && previous != '/';
}

std::string ImageType(const std::filesystem::path& file)
{
    std::string extension = file.extension().string();
    if (extension == ".svg")
        return "image/svg+xml";
    if (extension == ".png")
        return "image/png";
    if (extension == ".bmp")
        return "image/bmp";
    if (extension == ".gif")
        return "image/gif";
    if (extension == ".ico" || extension == ".cur")
        return "image/x-icon";
    return {};
}

} // namespace

std::string QueryParameter(const std::string& query, const std::string& name)
{
    size_t start = 0;
    while (start <= query.size()) {
        size_t end = query.find('&', start);
        if (end == std::string::npos)
            end = query.size();
        std::string pair = query.substr(start, end - start);
        size_t equals = pair.find('=');
        if (PercentDecode(pair.substr(0, equals)) == name)
            return equals == std::string::npos ? std::string() : PercentDecode(pair.substr(equals + 1));
        start = end + 1;
    }
    return {};
}

RequestGate::RequestGate(std::string token, int port, std::filesystem::path webDir, std::filesystem::path imageDir)
    : m_token(std::move(token)), m_port(port), m_webDir(std::move(webDir)), m_imageDir(std::move(imageDir))
{
}

std::string RequestGate::NewToken()
{
    std::random_device source;
    std::string token;
    static constexpr char kDigits[] = "0123456789abcdef";
    for (int i = 0; i < 8; ++i) {
        unsigned value = source();
        for (int nibble = 0; nibble < 4; ++nibble)
            token += kDigits[(value >> (nibble * 4)) & 0xF];
    }
    return token;
}

bool RequestGate::HostAllowed(const std::string& host) const
{
    std::string port = ":" + std::to_string(m_port);
    return host == "127.0.0.1" + port || host == "localhost" + port;
}

bool RequestGate::OriginAllowed(const std::string& origin) const
{
    return origin.starts_with("http://") && HostAllowed(origin.substr(7));
}

bool RequestGate::TokenMatches(const std::string& query) const
{
    return ConstantTimeEqual(QueryParameter(query, "t"), m_token);
}

std::optional<std::filesystem::path> RequestGate::ImageFile(const std::string& name) const
{
    if (!PlainImageName(name) || ImageType(name).empty())
        return std::nullopt;
    std::error_code error;
    // A link inside the folder must not lead out of it.
    auto root = std::filesystem::canonical(m_imageDir, error);
    if (error)
        return std::nullopt;
    auto file = std::filesystem::canonical(m_imageDir / name, error);
    if (error || !std::filesystem::is_regular_file(file, error))
        return std::nullopt;
    auto relative = file.lexically_relative(root);
    if (relative.empty() || relative.native().starts_with(".."))
        return std::nullopt;
    return file;
}

GateDecision RequestGate::Decide(const GateRequest& request) const
{
    if (!request.host || !HostAllowed(*request.host))
        return {GateVerdict::Forbidden, {}, {}};
    // Browsers always send an Origin on sockets; a page elsewhere must not reach us through one.
    if (request.origin ? !OriginAllowed(*request.origin) : request.webSocket)
        return {GateVerdict::Forbidden, {}, {}};
    if (!TokenMatches(request.query))
        return {GateVerdict::Forbidden, {}, {}};
    if (request.method != "GET" && request.method != "HEAD")
        return {GateVerdict::BadMethod, {}, {}};
    if (request.path == "/ws")
        return {request.webSocket ? GateVerdict::Socket : GateVerdict::NotFound, {}, {}};
    if (request.webSocket)
        return {GateVerdict::NotFound, {}, {}};
    if (request.path == "/")
        return {GateVerdict::Page, m_webDir / "index.html", "text/html; charset=utf-8"};
    for (const PageFile& page : kPageFiles)
        if (request.path == page.path)
            return {GateVerdict::Asset, m_webDir / page.file, page.type};
    if (request.path.starts_with("/res/")) {
        if (auto file = ImageFile(request.path.substr(5)))
            return {GateVerdict::Image, *file, ImageType(*file)};
    }
    return {GateVerdict::NotFound, {}, {}};
}

std::string RequestGate::ContentSecurityPolicy() const
{
    std::string sockets = "ws://127.0.0.1:" + std::to_string(m_port) + " ws://localhost:" + std::to_string(m_port);
    // The web view may go to any web address, so frames may come from any http or https origin;
    // the page sandboxes them, and nothing else (data:, blob:, scripts) may be framed.
    return "default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self' blob: data:; font-src 'self'; "
           "connect-src 'self' " + sockets + "; frame-src 'self' http: https:; base-uri 'none'; form-action 'none'; "
           "frame-ancestors 'none'";
}

} // namespace ostrana::host
