// Winsock calls mapped onto POSIX sockets; errno becomes the thread's Winsock error.
#include "platform/base/Winsock.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>

namespace {

int WinsockErrorFromErrno(int err) {
    switch (err) {
    case EWOULDBLOCK: return WSAEWOULDBLOCK;
    case EINPROGRESS: return WSAEINPROGRESS;
    case ETIMEDOUT: return WSAETIMEDOUT;
    case ECONNREFUSED: return WSAECONNREFUSED;
    case ECONNRESET:
    case EPIPE: return WSAECONNRESET;
    case EBADF:
    case ENOTSOCK: return WSAENOTSOCK;
    case EINVAL: return WSAEINVAL;
    default: return err;
    }
}

} // namespace

int WSAStartup(WORD versionRequested, LPWSADATA data) {
    static std::once_flag once;
    std::call_once(once, [] { std::signal(SIGPIPE, SIG_IGN); });
    if (data != nullptr) {
        std::memset(data, 0, sizeof(*data));
        data->wVersion = versionRequested;
        data->wHighVersion = MAKEWORD(2, 2);
        std::strncpy(data->szDescription, "POSIX sockets", sizeof(data->szDescription) - 1);
        std::strncpy(data->szSystemStatus, "Running", sizeof(data->szSystemStatus) - 1);
    }
    return 0;
}

int WSACleanup() { return 0; }

int WSAGetLastError() { return WinsockErrorFromErrno(errno); }

int closesocket(SOCKET socket) { return ::close(socket) == 0 ? 0 : SOCKET_ERROR; }

int ioctlsocket(SOCKET socket, unsigned long command, unsigned long* mode) {
    if (command != FIONBIO || mode == nullptr) {
        errno = EINVAL;
        return SOCKET_ERROR;
    }
    int flags = ::fcntl(socket, F_GETFL, 0);
    if (flags < 0) {
        return SOCKET_ERROR;
    }
    flags = *mode != 0 ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK);
    return ::fcntl(socket, F_SETFL, flags) == 0 ? 0 : SOCKET_ERROR;
}

int WSAPoll(WSAPOLLFD* fds, unsigned long count, int timeoutMs) {
    int result;
    do {
        result = ::poll(fds, static_cast<nfds_t>(count), timeoutMs);
    } while (result < 0 && errno == EINTR);
    return result;
}
