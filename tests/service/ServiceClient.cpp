// Socket plumbing for the service tests, with SO_RCVTIMEO as the bound on every wait.
#include "tests/service/ServiceClient.h"

#include "tests/support/LoopbackSocket.h"

#include <cerrno>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>
#include <chrono>
#include <poll.h>
#include <sys/inotify.h>

namespace ostrana::test {

namespace {

constexpr int kReceiveTimeoutSeconds = 30;
constexpr std::string_view kBoundary = "-----------------------------------7d417c254e8";

bool HasReplyEnd(const std::string& text) {
    std::size_t lineStart = 0;
    while (lineStart < text.size()) {
        const std::size_t feed = text.find('\n', lineStart);
        if (feed == std::string::npos) {
            return false;
        }
        const std::string_view line(text.data() + lineStart, feed - lineStart);
        if (line.rfind(".OK", 0) == 0 || line.rfind(".ERR", 0) == 0) {
            return true;
        }
        lineStart = feed + 1;
    }
    return false;
}

} // namespace

RawConnection::RawConnection(int port) {
    m_fd = ConnectLoopback(port, kReceiveTimeoutSeconds);
    if (m_fd < 0)
        return;
    timeval timeout {};
    timeout.tv_sec = kReceiveTimeoutSeconds;
    setsockopt(m_fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
}

RawConnection::~RawConnection() { Close(); }

void RawConnection::Close() {
    if (m_fd >= 0) {
        close(m_fd);
        m_fd = -1;
    }
}

bool RawConnection::Send(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

std::string RawConnection::ReceiveUntil(const std::function<bool(const std::string&)>& done) {
    std::string text = std::move(m_pending);
    m_pending.clear();
    char chunk[65536];
    while (!done(text)) {
        const ssize_t count = recv(m_fd, chunk, sizeof chunk, 0);
        if (count <= 0) {
            break;
        }
        text.append(chunk, static_cast<std::size_t>(count));
    }
    return text;
}

std::string RawConnection::ReceiveAll() {
    return ReceiveUntil([](const std::string&) { return false; });
}

std::string RawConnection::ReadReply() {
    std::string text = ReceiveUntil(HasReplyEnd);
    // Keep anything behind the reply's last line for the next read.
    std::size_t lineStart = 0;
    while (lineStart < text.size()) {
        const std::size_t feed = text.find('\n', lineStart);
        if (feed == std::string::npos) {
            break;
        }
        if (text.compare(lineStart, 3, ".OK") == 0 || text.compare(lineStart, 4, ".ERR") == 0) {
            m_pending = text.substr(feed + 1);
            text.resize(feed + 1);
            break;
        }
        lineStart = feed + 1;
    }
    return text;
}

std::string RawConnection::ReceiveExactly(std::size_t count) {
    std::string text = ReceiveUntil([count](const std::string& so) { return so.size() >= count; });
    if (text.size() > count) {
        m_pending = text.substr(count);
        text.resize(count);
    }
    return text;
}

bool RawConnection::PeerClosed() {
    char byte;
    return m_pending.empty() && recv(m_fd, &byte, 1, 0) == 0;
}

std::string LoginRequest(const std::string& hostAndPort, const std::string& user, const std::string& password) {
    const std::string boundaryLine = std::string(kBoundary) + "\r\n";
    std::string body = boundaryLine + "Content-Disposition: form-data; name=\"UID\"\r\n\r\n" + user + "\r\n" +
                       boundaryLine + "Content-Disposition: form-data; name=\"PASSWD\"\r\n\r\n" + password + "\r\n" +
                       boundaryLine + "Content-Disposition: form-data; name=\"submit\"\r\n\r\n" +
                       "\xEC\xA0\x91\xEC\x86\x8D\r\n" + std::string(kBoundary) + "--\r\n\r\n";
    const std::size_t contentLength = 350 + user.size() + password.size();
    return "POST /_login? HTTP/1.1\r\nReferer: http://" + hostAndPort +
           "/_login\r\nAccept-Language: ko\r\nContent-Type: multipart/form-data; boundary=" + std::string(kBoundary) +
           "\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows 98; Wind 9x 4.90; .NET CLR 1.1.4322)\r\n"
           "Host: " + hostAndPort + "\r\nContent-Length: " + std::to_string(contentLength) +
           "\r\nConnection: Keep-Alive\r\nCache-Control: no-cache\r\n\r\n\r\n" + body;
}

std::string FileActionRequest(const std::string& host, const std::string& cookie) {
    return "POST /_file?act=laction HTTP/1.1\r\nHost: " + host + "\r\nContent-length: 41\r\nCookie: WAXLO_AUTH=" +
           cookie + "\r\n\r\n";
}

std::string Login(int port, const std::string& user, const std::string& password, std::string* reply) {
    RawConnection connection(port);
    connection.Send(LoginRequest("127.0.0.1:" + std::to_string(port), user, password));
    const std::string text = connection.ReceiveAll();
    if (reply != nullptr) {
        *reply = text;
    }
    constexpr std::string_view kName = "WAXLO_AUTH=";
    const std::size_t first = text.find(kName);
    const std::size_t second = first == std::string::npos ? first : text.find(kName, first + kName.size());
    if (first == 0 || second == std::string::npos) {
        return {};
    }
    const std::size_t start = second + kName.size();
    return text.substr(start, text.find(';', start) - start);
}

CommandClient::CommandClient(int port, const std::string& user, const std::string& password)
    : CommandClient(port, Login(port, user, password)) {}

CommandClient::CommandClient(int port, const std::string& cookie) : m_connection(port) {
    m_connection.Send(FileActionRequest("127.0.0.1", cookie));
    m_greeting = m_connection.ReceiveUntil([](const std::string& so) { return so.find('\n') != std::string::npos; });
}

std::string CommandClient::Command(std::string_view line) {
    if (!m_connection.Send(line)) {
        return {};
    }
    return m_connection.ReadReply();
}

bool IsOkReply(const std::string& reply) {
    return reply.size() >= 4 && reply.compare(reply.size() - 4, 4, ".OK\n") == 0;
}

bool IsErrReply(const std::string& reply) {
    if (reply.empty() || reply.back() != '\n') {
        return false;
    }
    const std::size_t previous = reply.rfind('\n', reply.size() - 2);
    const std::size_t start = reply.size() < 2 || previous == std::string::npos ? 0 : previous + 1;
    return reply.compare(start, 4, ".ERR") == 0;
}

bool WaitForLog(const ServiceProcess& service, std::string_view needle) {
    const std::filesystem::path log = service.Root().parent_path() / "service.log";
    const int watch = inotify_init1(IN_CLOEXEC);
    inotify_add_watch(watch, log.c_str(), IN_MODIFY);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    bool found = false;
    while (!(found = service.LogText().find(needle) != std::string::npos)) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd wait{watch, POLLIN, 0};
        if (left.count() <= 0 || poll(&wait, 1, static_cast<int>(left.count())) <= 0) {
            break;
        }
        char events[4096];
        [[maybe_unused]] const ssize_t ignored = read(watch, events, sizeof events);
    }
    close(watch);
    return found;
}

} // namespace ostrana::test
