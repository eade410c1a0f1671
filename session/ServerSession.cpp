// Connections, sending and reading of the session. Connecting gives up after the connect time-out,
// a receive that waits longer than the receive time-out without a byte fails like a closed
// connection, and a reply or header that has not ended by its exchange deadline fails the same
// way, so neither a silent nor a trickling server hangs a caller.
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

void ServerSession::SetTimeouts(int connectMs, int receiveMs, int exchangeMs) {
    m_connectTimeoutMs = connectMs;
    m_receiveTimeoutMs = receiveMs;
    m_exchangeTimeoutMs = exchangeMs;
}

ServerSession::Clock::time_point ServerSession::ExchangeDeadline() const {
    return Clock::now() + std::chrono::milliseconds(m_exchangeTimeoutMs);
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
    m_transferAhead.Clear();
    return result;
}

void ServerSession::CloseSocket(SOCKET& socket) {
    if (socket != INVALID_SOCKET) {
        closesocket(socket);
        socket = INVALID_SOCKET;
    }
    if (&socket == &m_transferSocket) {
        m_transferAhead.Clear();
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

// The caller says which connection it reads: the user-interface thread's command exchanges must not
// look at the transfer socket, which the transfer thread opens and closes meanwhile.
int ServerSession::Receive(SOCKET socket, bool transfer, char* buffer, int size, Clock::time_point deadline) {
    if (!transfer || socket == INVALID_SOCKET) {
        return ReceiveFromSocket(socket, buffer, size, deadline);
    }
    if (size <= 0) {
        return 0;
    }
    if (m_transferAhead.Empty()) {
        int got = FillReadAhead(deadline);
        if (got <= 0) {
            return got;
        }
    }
    return static_cast<int>(m_transferAhead.Take(buffer, static_cast<std::size_t>(size)));
}

int ServerSession::FillReadAhead(Clock::time_point deadline) {
    char* space = m_transferAhead.Space();
    int got = ReceiveFromSocket(m_transferSocket, space, static_cast<int>(ReadAhead::kCapacity), deadline);
    if (got > 0) {
        m_transferAhead.Filled(static_cast<std::size_t>(got));
    }
    return got;
}

int ServerSession::ReceiveFromSocket(SOCKET socket, char* buffer, int size, Clock::time_point deadline) {
    // While a body streams in, the bytes are usually there already: only wait when they are not.
    ssize_t got;
    do {
        got = ::recv(socket, buffer, static_cast<std::size_t>(size), MSG_DONTWAIT);
    } while (got < 0 && errno == EINTR);
    if (got >= 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) {
        return got < 0 ? -1 : static_cast<int>(got);
    }
    int waitMs = m_receiveTimeoutMs;
    if (deadline != kNoDeadline) {
        auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            return -1;
        }
        waitMs = static_cast<int>(std::min<long long>(waitMs, left));
    }
    WSAPOLLFD poll{socket, POLLIN, 0};
    if (WSAPoll(&poll, 1, waitMs) != 1) {
        return -1;
    }
    do {
        got = ::recv(socket, buffer, static_cast<std::size_t>(size), 0);
    } while (got < 0 && errno == EINTR);
    return got < 0 ? -1 : static_cast<int>(got);
}

int ServerSession::ReceiveUntil(SOCKET socket, bool transfer, std::string& block, bool (*complete)(std::string_view block)) {
    Clock::time_point deadline = ExchangeDeadline();
    char buffer[kReceiveBlock];
    while (block.size() < kMaxJudgedReply) {
        int want = static_cast<int>(std::min<std::size_t>(kReceiveBlock, kMaxJudgedReply - block.size()));
        int got = Receive(socket, transfer, buffer, want, deadline);
        if (got < 0) {
            return -1;
        }
        if (got == 0) {
            return block.empty() ? 0 : static_cast<int>(block.size());
        }
        block.append(buffer, static_cast<std::size_t>(got));
        if (complete(block)) {
            break;
        }
    }
    return static_cast<int>(block.size());
}

int ServerSession::ReceiveTransferLine(std::string& line) {
    Clock::time_point deadline = ExchangeDeadline();
    while (line.size() < kMaxJudgedReply) {
        if (m_transferSocket == INVALID_SOCKET) {
            return -1;
        }
        if (m_transferAhead.Empty()) {
            int got = FillReadAhead(deadline);
            if (got < 0) {
                return -1;
            }
            if (got == 0) {
                return line.empty() ? 0 : static_cast<int>(line.size());
            }
        }
        std::string_view ahead = m_transferAhead.Bytes();
        std::size_t lineFeed = ahead.find('\n');
        std::size_t take = lineFeed == std::string_view::npos ? ahead.size() : lineFeed + 1;
        line.append(ahead.substr(0, take));
        m_transferAhead.Skip(take);
        if (lineFeed != std::string_view::npos) {
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
    Clock::time_point deadline = ExchangeDeadline();
    for (;;) {
        int got = Receive(m_commandSocket, false, buffer, kReceiveBlock - 1, deadline);
        if (got <= 0) {
            reply = Utf8ToLocal(std::string_view(bytes).substr(0, ostrana::CompleteUtf8Prefix(bytes)));
            return -1;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
        if (bytes.size() > m_replyLimit) return -1;
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
    int got = Receive(m_transferSocket, true, buffer, size);
    return got == 0 && size > 0 ? -1 : got;
}

void ServerSession::FinishTransferFile(bool cancelled) {
    if (cancelled) {
        CloseTransfer();
    }
    if (m_transferSocket != INVALID_SOCKET) {
        std::string reply;
        ReceiveUntil(m_transferSocket, true, reply, HoldsLineFeed);
    }
}
