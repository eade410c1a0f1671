// The lookup walks every address of the result and keeps the last one, as the server's clients
// always have.
#include "session/SocketHelpers.h"

#include <cctype>

int SendAll(SOCKET socket, const char* bytes, int length, int flags) {
    if (length == 0) {
        return 0;
    }
    int sent = 0;
    int result = 0;
    while (sent < length) {
        result = static_cast<int>(::send(socket, bytes + sent, static_cast<std::size_t>(length - sent), flags));
        if (result == 0 || result == SOCKET_ERROR) {
            (void)WSAGetLastError();
            return result;
        }
        sent += result;
    }
    return result;
}

bool IsDottedAddress(const std::string& host) {
    for (char c : host) {
        if (!std::isdigit(static_cast<unsigned char>(c)) && c != '.') {
            return false;
        }
    }
    return true;
}

std::string ResolveHost(const std::string& host) {
    if (IsDottedAddress(host)) {
        return host;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) {
        return {};
    }
    std::string last;
    for (addrinfo* item = found; item != nullptr; item = item->ai_next) {
        char dotted[INET_ADDRSTRLEN] = {};
        const auto* address = reinterpret_cast<const sockaddr_in*>(item->ai_addr);
        if (::inet_ntop(AF_INET, &address->sin_addr, dotted, sizeof(dotted)) != nullptr) {
            last = dotted;
        }
    }
    ::freeaddrinfo(found);
    return last;
}
