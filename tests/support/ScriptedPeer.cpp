// One thread polls the listener, every open connection and a wake pipe; it records what arrives
// and runs the next step as soon as it can. Sends are blocking and small.
#include "tests/support/ScriptedPeer.h"

#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace ostrana::test {

namespace {
constexpr int kPollMs = 100;
}

ScriptedPeer::ScriptedPeer() {
    std::signal(SIGPIPE, SIG_IGN);
    m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
    int reuse = 1;
    ::setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof(reuse));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t size = sizeof(address);
    if (::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        ::listen(m_listener, 16) != 0 || ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &size) != 0 ||
        ::pipe(m_wake) != 0) {
        throw std::runtime_error("scripted peer cannot listen");
    }
    m_port = ntohs(address.sin_port);
}

ScriptedPeer::~ScriptedPeer() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    if (m_thread.joinable()) {
        char wake = 1;
        (void)::write(m_wake[1], &wake, 1);
        m_thread.join();
    }
    for (Connection& connection : m_connections) {
        if (connection.fd >= 0) {
            ::close(connection.fd);
        }
    }
    ::close(m_listener);
    ::close(m_wake[0]);
    ::close(m_wake[1]);
}

ScriptedPeer& ScriptedPeer::Accept() {
    m_steps.push_back({Step::AcceptKind, {}});
    return *this;
}

ScriptedPeer& ScriptedPeer::WaitFor(std::string text) {
    m_steps.push_back({Step::WaitKind, std::move(text)});
    return *this;
}

ScriptedPeer& ScriptedPeer::Send(std::string bytes) {
    m_steps.push_back({Step::SendKind, std::move(bytes)});
    return *this;
}

ScriptedPeer& ScriptedPeer::SendBytewise(std::string bytes) {
    m_steps.push_back({Step::SendBytewiseKind, std::move(bytes)});
    return *this;
}

ScriptedPeer& ScriptedPeer::Trickle(std::string bytes, std::chrono::milliseconds gap) {
    m_steps.push_back({Step::TrickleKind, std::move(bytes), gap});
    return *this;
}

ScriptedPeer& ScriptedPeer::Close() {
    m_steps.push_back({Step::CloseKind, {}});
    return *this;
}

void ScriptedPeer::Start() {
    m_stepStarted = std::chrono::steady_clock::now();
    m_thread = std::thread([this] { Run(); });
}

void ScriptedPeer::Run() {
    for (;;) {
        bool wantAccept = RunReadySteps();
        {
            std::lock_guard lock(m_mutex);
            if (m_stopping) {
                return;
            }
        }
        PollOnce(wantAccept);
    }
}

// Runs steps until one must wait; returns true when that step waits for a connection.
bool ScriptedPeer::RunReadySteps() {
    std::unique_lock lock(m_mutex);
    while (!m_done && m_next < m_steps.size()) {
        const Step& step = m_steps[m_next];
        if (step.kind == Step::AcceptKind) {
            if (std::chrono::steady_clock::now() - m_stepStarted > kDefaultWait) {
                m_error = "no connection came";
                m_done = true;
                break;
            }
            return true;
        }
        if (m_connections.empty()) {
            m_error = "a step needs a connection";
            m_done = true;
            break;
        }
        Connection& connection = m_connections.back();
        if (step.kind == Step::WaitKind) {
            std::size_t at = connection.received.find(step.text, connection.consumed);
            if (at == std::string::npos) {
                if (connection.closedByClient) {
                    m_error = "connection closed before \"" + step.text + "\"";
                    m_done = true;
                } else if (std::chrono::steady_clock::now() - m_stepStarted > kDefaultWait) {
                    m_error = "timed out waiting for \"" + step.text + "\"";
                    m_done = true;
                }
                break;
            }
            connection.consumed = at + step.text.size();
        } else if (step.kind == Step::TrickleKind) {
            if (!TrickleStep(m_steps[m_next], connection)) {
                break;
            }
        } else if (step.kind == Step::CloseKind) {
            // Only the sending side closes: the client still gets every byte, and what it sends
            // afterwards is still recorded.
            ::shutdown(connection.fd, SHUT_WR);
        } else {
            int fd = connection.fd;
            std::string bytes = step.text;
            bool bytewise = step.kind == Step::SendBytewiseKind;
            lock.unlock();
            SendOn(fd, bytes, bytewise);
            lock.lock();
        }
        ++m_next;
        m_stepStarted = std::chrono::steady_clock::now();
        if (m_next == m_steps.size()) {
            m_done = true;
        }
    }
    m_changed.notify_all();
    return false;
}

void ScriptedPeer::SendOn(int fd, const std::string& bytes, bool bytewise) {
    if (fd < 0) {
        return;
    }
    std::size_t step = bytewise ? 1 : bytes.size();
    for (std::size_t sent = 0; sent < bytes.size();) {
        ssize_t result = ::send(fd, bytes.data() + sent, std::min(step, bytes.size() - sent), MSG_NOSIGNAL);
        if (result <= 0) {
            if (result < 0 && errno == EINTR) {
                continue;
            }
            return;
        }
        sent += static_cast<std::size_t>(result);
    }
}

bool ScriptedPeer::TrickleStep(Step& step, Connection& connection) {
    if (connection.closedByClient || step.trickled >= step.text.size()) {
        return true;
    }
    // The step's start time doubles as the moment the last byte went out.
    if (step.trickled > 0 && std::chrono::steady_clock::now() - m_stepStarted < step.gap) {
        return false;
    }
    if (::send(connection.fd, step.text.data() + step.trickled, 1, MSG_NOSIGNAL) != 1) {
        return true;
    }
    ++step.trickled;
    m_stepStarted = std::chrono::steady_clock::now();
    return step.trickled >= step.text.size();
}

void ScriptedPeer::PollOnce(bool wantAccept) {
    std::vector<pollfd> fds;
    std::vector<std::size_t> owners;
    fds.push_back({m_wake[0], POLLIN, 0});
    if (wantAccept) {
        fds.push_back({m_listener, POLLIN, 0});
    }
    std::size_t first = fds.size();
    {
        std::lock_guard lock(m_mutex);
        for (std::size_t i = 0; i < m_connections.size(); ++i) {
            if (m_connections[i].fd >= 0 && !m_connections[i].closedByClient) {
                fds.push_back({m_connections[i].fd, POLLIN, 0});
                owners.push_back(i);
            }
        }
    }
    if (::poll(fds.data(), fds.size(), kPollMs) <= 0) {
        return;
    }
    if (wantAccept && (fds[1].revents & POLLIN) != 0) {
        int fd = ::accept(m_listener, nullptr, nullptr);
        if (fd >= 0) {
            int noDelay = 1;
            ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof(noDelay));
            std::lock_guard lock(m_mutex);
            Connection connection;
            connection.fd = fd;
            m_connections.push_back(std::move(connection));
            ++m_next;
            m_stepStarted = std::chrono::steady_clock::now();
            m_done = m_next == m_steps.size();
        }
    }
    for (std::size_t i = first; i < fds.size(); ++i) {
        if ((fds[i].revents & (POLLIN | POLLHUP | POLLERR)) == 0) {
            continue;
        }
        char buffer[65536];
        ssize_t got = ::recv(fds[i].fd, buffer, sizeof(buffer), 0);
        std::lock_guard lock(m_mutex);
        Connection& connection = m_connections[owners[i - first]];
        if (got > 0) {
            connection.received.append(buffer, static_cast<std::size_t>(got));
        } else if (got == 0 || (errno != EINTR && errno != EAGAIN)) {
            connection.closedByClient = true;
        }
    }
    m_changed.notify_all();
}

bool ScriptedPeer::WaitDone(std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_mutex);
    m_changed.wait_for(lock, timeout, [&] { return m_done; });
    return m_done && m_error.empty();
}

bool ScriptedPeer::WaitClosedByClient(std::size_t index, std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, timeout, [&] {
        return index < m_connections.size() && m_connections[index].closedByClient;
    });
}

bool ScriptedPeer::WaitReceived(std::size_t index, const std::string& text, std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, timeout, [&] {
        return index < m_connections.size() && m_connections[index].received.find(text) != std::string::npos;
    });
}

std::string ScriptedPeer::Received(std::size_t index) const {
    std::lock_guard lock(m_mutex);
    return index < m_connections.size() ? m_connections[index].received : std::string();
}

std::size_t ScriptedPeer::ConnectionCount() const {
    std::lock_guard lock(m_mutex);
    return m_connections.size();
}

std::string ScriptedPeer::Error() const {
    std::lock_guard lock(m_mutex);
    return m_error;
}

} // namespace ostrana::test
