// Accepting waits in poll on the listening socket and a wake pipe, so Stop needs no signal tricks;
// the pipe also tells a full server that a connection ended. Stop shuts every live socket down,
// which wakes its thread out of any blocking receive.
#include "service/ServiceServer.h"

#include "service/Connection.h"
#include "service/ConnectionHandler.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace ostrana::service {

ServiceServer::ServiceServer(ServiceContext& context) : m_context(context) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) == 0) {
        m_wakeRead = fds[0];
        m_wakeWrite = fds[1];
    }
}

ServiceServer::~ServiceServer() {
    Stop();
    for (const int fd : {m_listenFd, m_wakeRead, m_wakeWrite}) {
        if (fd >= 0) {
            close(fd);
        }
    }
}

bool ServiceServer::Listen(const std::string& address, std::uint16_t port, std::string& error) {
    sockaddr_in local {};
    local.sin_family = AF_INET;
    local.sin_port = htons(port);
    if (inet_pton(AF_INET, address.c_str(), &local.sin_addr) != 1) {
        error = "not an IPv4 address: " + address;
        return false;
    }
    m_listenFd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_listenFd < 0 || m_wakeRead < 0) {
        error = std::string("socket: ") + std::strerror(errno);
        return false;
    }
    const int yes = 1;
    setsockopt(m_listenFd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    if (bind(m_listenFd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 ||
        listen(m_listenFd, SOMAXCONN) != 0) {
        error = "cannot listen on " + address + ":" + std::to_string(port) + ": " + std::strerror(errno);
        return false;
    }
    sockaddr_in bound {};
    socklen_t length = sizeof bound;
    getsockname(m_listenFd, reinterpret_cast<sockaddr*>(&bound), &length);
    m_port = ntohs(bound.sin_port);
    return true;
}

bool ServiceServer::Register(int fd) {
    std::lock_guard lock(m_mutex);
    if (m_stopping) {
        return false;
    }
    m_active.insert(fd);
    return true;
}

bool ServiceServer::IsFull() {
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_active.size()) >= m_context.limits.maxConnections;
}

void ServiceServer::Unregister(std::uint64_t serial, int fd) {
    std::lock_guard lock(m_mutex);
    const bool wasFull = static_cast<int>(m_active.size()) >= m_context.limits.maxConnections;
    m_active.erase(fd);
    m_finished.push_back(serial);
    if (wasFull) {
        Wake();
    }
    if (m_active.empty()) {
        m_idle.notify_all();
    }
}

void ServiceServer::Wake() {
    if (m_wakeWrite >= 0) {
        const char byte = 0;
        [[maybe_unused]] const ssize_t ignored = write(m_wakeWrite, &byte, 1);
    }
}

bool ServiceServer::TakeWake() {
    char bytes[64];
    while (read(m_wakeRead, bytes, sizeof bytes) > 0) {
    }
    std::lock_guard lock(m_mutex);
    return m_stopping;
}

void ServiceServer::JoinFinished() {
    std::vector<std::thread> done;
    {
        std::lock_guard lock(m_mutex);
        for (const std::uint64_t serial : m_finished) {
            const auto it = m_threads.find(serial);
            if (it != m_threads.end()) {
                done.push_back(std::move(it->second));
                m_threads.erase(it);
            }
        }
        m_finished.clear();
    }
    for (std::thread& thread : done) {
        thread.join();
    }
}

void ServiceServer::Serve(std::uint64_t serial, int fd, std::string peer) {
    {
        Connection connection(fd, std::move(peer));
        try {
            ConnectionHandler(m_context).Serve(connection);
        } catch (const std::exception& failure) {
            m_context.log.Write(connection.Peer(), {}, std::string("connection failed: ") + failure.what());
        }
        // Leaves the registry before the socket closes, so Stop never shuts down a reused number.
        Unregister(serial, fd);
    }
}

void ServiceServer::Run() {
    bool reported = false;
    while (true) {
        // At the limit the listening socket is left alone: new peers wait in its backlog until a
        // connection ends and wakes the loop.
        const bool full = IsFull();
        if (full && !reported) {
            m_context.log.Write("-", {}, "connection limit reached; new connections wait");
        }
        reported = full;
        pollfd waits[2] = {{full ? -1 : m_listenFd, POLLIN, 0}, {m_wakeRead, POLLIN, 0}};
        if (poll(waits, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        if (waits[1].revents != 0) {
            if (TakeWake()) {
                break;
            }
            continue;
        }
        if (waits[0].revents == 0) {
            continue;
        }
        sockaddr_in remote {};
        socklen_t length = sizeof remote;
        const int fd = accept4(m_listenFd, reinterpret_cast<sockaddr*>(&remote), &length, SOCK_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        char text[INET_ADDRSTRLEN] = "?";
        inet_ntop(AF_INET, &remote.sin_addr, text, sizeof text);
        std::string peer = std::string(text) + ":" + std::to_string(ntohs(remote.sin_port));
        if (!Register(fd)) {
            close(fd);
            continue;
        }
        const int noDelay = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
        JoinFinished();
        // The thread is stored under the lock before it can finish, so JoinFinished always finds it.
        std::lock_guard lock(m_mutex);
        const std::uint64_t serial = m_nextSerial++;
        try {
            m_threads.emplace(serial, std::thread(&ServiceServer::Serve, this, serial, fd, std::move(peer)));
        } catch (const std::system_error&) {
            m_active.erase(fd);
            close(fd);
        }
    }
    Stop();
    {
        std::unique_lock lock(m_mutex);
        m_idle.wait(lock, [this] { return m_active.empty(); });
    }
    JoinFinished();
}

void ServiceServer::Stop() {
    std::lock_guard lock(m_mutex);
    if (!m_stopping) {
        m_stopping = true;
        Wake();
    }
    for (const int fd : m_active) {
        shutdown(fd, SHUT_RDWR);
    }
}

} // namespace ostrana::service
