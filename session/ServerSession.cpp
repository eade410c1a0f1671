// Connections, sending and reading of the session. Connecting gives up after the connect time-out
// and a receive that waits longer than the receive time-out without a byte fails like a closed
// connection, so a silent server never hangs a caller.
#include "session/ServerSession.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/time.h>

#include "platform/base/CodePage.h"
#include "session/ReplyScanner.h"
#include "session/SessionOwner.h"
#include "session/SocketHelpers.h"
#include "session/TextConversion.h"

ServerSession& TheServerSession() {
    static ServerSession session;
    return session;
}

ServerSession::ServerSession() = default;

ServerSession::ServerSession(SessionOwner* owner) : m_owner(owner) {}

ServerSession::~ServerSession() {
    CloseSocket(m_transferSocket);
    CloseSocket(m_commandSocket);
}

SessionOwner* ServerSession::Owner() const { return m_owner != nullptr ? m_owner : GetSessionOwner(); }

std::string ServerSession::SessionCookie() const {
    SessionOwner* owner = Owner();
    return owner != nullptr ? owner->GetSessionCookie() : std::string();
}

void ServerSession::SetLoginData(const std::string& userId, const std::string& password, const std::string& host,
                                 int port) {
    std::lock_guard lock(m_commandLock);
    m_userId = userId;
    m_password = password;
    m_host = host;
    m_port = port;
}

void ServerSession::Reset() {
    std::lock_guard lock(m_commandLock);
    CloseSocket(m_commandSocket);
    CloseSocket(m_transferSocket);
    m_port = kDefaultPort;
    m_host.clear();
    m_userId.clear();
    m_password.clear();
}

void ServerSession::SetTimeouts(int connectMs, int receiveMs) {
    m_connectTimeoutMs = connectMs;
    m_receiveTimeoutMs = receiveMs;
}

QuotaInfo ServerSession::Quota() const {
    std::lock_guard lock(m_quotaLock);
    return m_quota;
}

int ServerSession::Connect() {
    std::lock_guard lock(m_commandLock);
    return ConnectSocket(m_commandSocket);
}

int ServerSession::ConnectTransfer() { return ConnectSocket(m_transferSocket); }

void ServerSession::CloseCommand() {
    std::lock_guard lock(m_commandLock);
    CloseSocket(m_commandSocket);
}

int ServerSession::CloseTransfer() {
    if (m_transferSocket == INVALID_SOCKET) {
        return 0;
    }
    int result = closesocket(m_transferSocket);
    m_transferSocket = INVALID_SOCKET;
    return result;
}

void ServerSession::CloseSocket(SOCKET& socket) {
    if (socket != INVALID_SOCKET) {
        closesocket(socket);
        socket = INVALID_SOCKET;
    }
}

int ServerSession::ConnectSocket(SOCKET& socket) {
    if (socket != INVALID_SOCKET) {
        return 0;
    }
    WSADATA data;
    WSAStartup(MAKEWORD(1, 1), &data);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(m_port));
    socket = ::socket(AF_INET, SOCK_STREAM, 0);
    if (socket == INVALID_SOCKET) {
        return 0;
    }
    auto fail = [&] {
        CloseSocket(socket);
        return 0;
    };
    std::string dotted = ResolveHost(m_host);
    address.sin_addr.s_addr = ::inet_addr(dotted.c_str());
    if (dotted.empty() || address.sin_addr.s_addr == INADDR_NONE) {
        return fail();
    }
    unsigned long nonBlocking = 1;
    if (ioctlsocket(socket, FIONBIO, &nonBlocking) != 0) {
        return fail();
    }
    if (::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        int error = WSAGetLastError();
        if (error != WSAEINPROGRESS && error != WSAEWOULDBLOCK) {
            return fail();
        }
        WSAPOLLFD poll{socket, POLLOUT, 0};
        socklen_t errorSize = sizeof(error);
        if (WSAPoll(&poll, 1, m_connectTimeoutMs) != 1 ||
            ::getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &errorSize) != 0 || error != 0) {
            return fail();
        }
    }
    unsigned long blocking = 0;
    if (ioctlsocket(socket, FIONBIO, &blocking) != 0) {
        return fail();
    }
    // A server that stops reading must not hang a sender either.
    timeval sendTimeout{m_receiveTimeoutMs / 1000, (m_receiveTimeoutMs % 1000) * 1000};
    ::setsockopt(socket, SOL_SOCKET, SO_SNDTIMEO, &sendTimeout, sizeof(sendTimeout));
    int noDelay = 1;
    ::setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof(noDelay));
    return 1;
}

int ServerSession::Receive(SOCKET socket, char* buffer, int size) {
    // While a body streams in, the bytes are usually there already: only wait when they are not.
    ssize_t got;
    do {
        got = ::recv(socket, buffer, static_cast<std::size_t>(size), MSG_DONTWAIT);
    } while (got < 0 && errno == EINTR);
    if (got >= 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) {
        return got < 0 ? -1 : static_cast<int>(got);
    }
    WSAPOLLFD poll{socket, POLLIN, 0};
    if (WSAPoll(&poll, 1, m_receiveTimeoutMs) != 1) {
        return -1;
    }
    do {
        got = ::recv(socket, buffer, static_cast<std::size_t>(size), 0);
    } while (got < 0 && errno == EINTR);
    return got < 0 ? -1 : static_cast<int>(got);
}

int ServerSession::ReceiveUntil(SOCKET socket, std::string& block, bool (*complete)(std::string_view block)) {
    char buffer[kReceiveBlock];
    while (block.size() < kMaxJudgedReply) {
        int want = static_cast<int>(std::min<std::size_t>(kReceiveBlock, kMaxJudgedReply - block.size()));
        int got = Receive(socket, buffer, want);
        if (got <= 0) {
            return block.empty() ? got : static_cast<int>(block.size());
        }
        block.append(buffer, static_cast<std::size_t>(got));
        if (complete(block)) {
            break;
        }
    }
    return static_cast<int>(block.size());
}

int ServerSession::ReceiveLine(SOCKET socket, std::string& line) {
    char buffer[kReceiveBlock];
    while (line.size() < kMaxJudgedReply) {
        WSAPOLLFD poll{socket, POLLIN, 0};
        if (WSAPoll(&poll, 1, m_receiveTimeoutMs) != 1) {
            return line.empty() ? -1 : static_cast<int>(line.size());
        }
        ssize_t seen;
        do {
            seen = ::recv(socket, buffer, sizeof buffer, MSG_PEEK);
        } while (seen < 0 && errno == EINTR);
        if (seen <= 0) {
            return line.empty() ? static_cast<int>(seen) : static_cast<int>(line.size());
        }
        const char* lineFeed = static_cast<const char*>(std::memchr(buffer, '\n', static_cast<std::size_t>(seen)));
        int take = lineFeed == nullptr ? static_cast<int>(seen) : static_cast<int>(lineFeed - buffer) + 1;
        int got = Receive(socket, buffer, take);
        if (got <= 0) {
            return line.empty() ? got : static_cast<int>(line.size());
        }
        line.append(buffer, static_cast<std::size_t>(got));
        if (lineFeed != nullptr) {
            break;
        }
    }
    return static_cast<int>(line.size());
}

int ServerSession::SendText(SOCKET socket, const std::string& text) {
    if (socket == INVALID_SOCKET) {
        return -1;
    }
    std::string bytes = LocalToUtf8(text);
    return SendAll(socket, bytes.data(), static_cast<int>(bytes.size()));
}

int ServerSession::ReadReply(std::string& reply, int& ok) {
    std::lock_guard lock(m_commandLock);
    if (m_commandSocket == INVALID_SOCKET) {
        return -1;
    }
    reply.clear();
    ok = 0;
    std::string bytes;
    ReplyScanner scanner;
    char buffer[kReceiveBlock];
    for (;;) {
        int got = Receive(m_commandSocket, buffer, kReceiveBlock - 1);
        if (got <= 0) {
            reply = Utf8ToLocal(std::string_view(bytes).substr(0, ostrana::CompleteUtf8Prefix(bytes)));
            return -1;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
        ReplyScanner::Result result = scanner.Scan(bytes);
        if (result == ReplyScanner::Result::Ok) {
            reply = Utf8ToLocal(std::string_view(bytes).substr(0, scanner.MarkerPos()));
            ok = 1;
            return 1;
        }
        if (result == ReplyScanner::Result::Err) {
            std::string_view error = std::string_view(bytes).substr(scanner.MarkerPos());
            reply = Utf8ToLocal(error.substr(0, ostrana::CompleteUtf8Prefix(error)));
            return 1;
        }
    }
}

int ServerSession::SendBody(const char* bytes, int length, bool more) {
    if (m_transferSocket == INVALID_SOCKET) {
        return 0;
    }
    int result = SendAll(m_transferSocket, bytes, length, more ? MSG_MORE : 0);
    if (result == SOCKET_ERROR || (result == 0 && length != 0)) {
        return -1;
    }
    return length;
}

int ServerSession::ReceiveBody(char* buffer, int size) {
    if (m_transferSocket == INVALID_SOCKET) {
        return 0;
    }
    // A peer that closes in the middle of a body is a failure, not an endless run of empty blocks.
    int got = Receive(m_transferSocket, buffer, size);
    return got == 0 && size > 0 ? -1 : got;
}

void ServerSession::FinishTransferFile(bool cancelled) {
    if (cancelled) {
        CloseTransfer();
    }
    if (m_transferSocket != INVALID_SOCKET) {
        std::string reply;
        ReceiveUntil(m_transferSocket, reply, HoldsLineFeed);
    }
}
