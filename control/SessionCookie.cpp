// The session cookie value in a page's cookie string; see SessionCookie.h.
#include "control/SessionCookie.h"

namespace {
constexpr const char* kCookieName = "WAXLO_AUTH=";
} // namespace

bool ExtractSessionCookie(const std::string& cookieText, std::string& cookie) {
    if (cookieText.empty()) return false;
    size_t last = cookieText.rfind(kCookieName);
    if (last == std::string::npos) return false;
    std::string rest = cookieText.substr(last);
    size_t equals = rest.find('=');
    size_t semicolon = rest.find(';');
    if (semicolon == std::string::npos) semicolon = rest.size();
    // A ";" inside the name cannot come before its "=": the name is fixed, so equals < semicolon.
    cookie = rest.substr(equals + 1, semicolon - equals - 1);
    return true;
}
