// Log lines carry the local time, the peer, the account ("-" before login) and the event.
#include "service/ServiceLog.h"

#include <cstdio>
#include <ctime>

namespace ostrana::service {

namespace {
constexpr std::size_t kMaxShown = 300;
}

ServiceLog::ServiceLog(std::ostream& out) : m_out(out) {}

std::string ServiceLog::Printable(std::string_view text) {
    std::string shown;
    for (const char c : text.substr(0, kMaxShown)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '\\') {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            shown += escaped;
        } else {
            shown += c;
        }
    }
    if (text.size() > kMaxShown) {
        shown += "...";
    }
    return shown;
}

void ServiceLog::Write(std::string_view peer, std::string_view user, std::string_view what) {
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
    std::string line = std::string(stamp) + " " + std::string(peer) + " " + (user.empty() ? "-" : Printable(user)) +
                       " " + Printable(what) + "\n";
    std::lock_guard lock(m_mutex);
    m_out << line << std::flush;
}

} // namespace ostrana::service
