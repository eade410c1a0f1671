// The service's log: one line per request or command on stderr, written whole under a lock so that
// lines of parallel connections never mix. Control characters from the network are escaped.
#pragma once

#include <mutex>
#include <ostream>
#include <string>
#include <string_view>

namespace ostrana::service {

class ServiceLog {
public:
    explicit ServiceLog(std::ostream& out);

    // `user` and `what` may come from the network; both are made printable.
    void Write(std::string_view peer, std::string_view user, std::string_view what);

    // Printable form of untrusted text: control bytes become \xNN, a length cap keeps lines short.
    static std::string Printable(std::string_view text);

private:
    std::mutex m_mutex;
    std::ostream& m_out;
};

} // namespace ostrana::service
