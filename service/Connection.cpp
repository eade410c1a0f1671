// Socket reads and writes with time-outs from SO_RCVTIMEO/SO_SNDTIMEO; MSG_NOSIGNAL keeps a peer
// that went away from killing the process with SIGPIPE.
#include "service/Connection.h"

#include <cerrno>
#include <algorithm>
#include <cstring>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace ostrana::service {

namespace {

constexpr std::size_t kReceiveChunk = 64 * 1024;
constexpr int kLingerSeconds = 2;
constexpr std::size_t kLingerBytes = 256 * 1024;

void SetTimeouts(int fd, int seconds) {
    timeval value {};
    value.tv_sec = seconds;
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &value, sizeof value);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &value, sizeof value);
}

void SetReceiveTimeout(int fd, std::chrono::microseconds wait) {
    timeval value {};
    value.tv_sec = static_cast<time_t>(wait.count() / 1000000);
    value.tv_usec = static_cast<suseconds_t>(wait.count() % 1000000);
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &value, sizeof value);
}

} // namespace

Connection::Connection(int fd, std::string peer) : m_fd(fd), m_peer(std::move(peer)) {}

Connection::~Connection() {
    if (m_fd >= 0) {
        close(m_fd);
    }
}

void Connection::SetIdleTimeout(int seconds) {
    m_idleSeconds = seconds;
    SetTimeouts(m_fd, seconds);
}

void Connection::SetReadDeadline(std::chrono::steady_clock::time_point deadline) { m_deadline = deadline; }

void Connection::ClearReadDeadline() {
    m_deadline.reset();
    SetTimeouts(m_fd, m_idleSeconds);
}

bool Connection::Fill() {
    if (m_start > 0 && m_start == m_buffer.size()) {
        m_buffer.clear();
        m_start = 0;
    } else if (m_start > kReceiveChunk) {
        m_buffer.erase(0, m_start);
        m_start = 0;
    }
    if (m_deadline) {
        const auto left = std::chrono::duration_cast<std::chrono::microseconds>(*m_deadline -
                                                                                 std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return false;
        }
        const std::chrono::microseconds idle = std::chrono::seconds(m_idleSeconds);
        SetReceiveTimeout(m_fd, m_idleSeconds > 0 ? std::min(left, idle) : left);
    }
    const std::size_t old = m_buffer.size();
    m_buffer.resize(old + kReceiveChunk);
    ssize_t received;
    do {
        received = recv(m_fd, m_buffer.data() + old, kReceiveChunk, 0);
    } while (received < 0 && errno == EINTR);
    m_buffer.resize(old + (received > 0 ? static_cast<std::size_t>(received) : 0));
    return received > 0;
}

ReadStatus Connection::ReadLine(std::string& line, std::size_t maxLength) {
    std::size_t searched = m_start;
    while (true) {
        const std::size_t feed = m_buffer.find('\n', searched);
        if (feed != std::string::npos) {
            std::size_t end = feed;
            if (end > m_start && m_buffer[end - 1] == '\r') {
                --end;
            }
            if (end - m_start > maxLength) {
                return ReadStatus::TooLong;
            }
            line.assign(m_buffer, m_start, end - m_start);
            m_start = feed + 1;
            return ReadStatus::Ok;
        }
        // One byte of slack for the carriage return that may precede the line feed.
        if (m_buffer.size() - m_start > maxLength + 1) {
            return ReadStatus::TooLong;
        }
        searched = m_buffer.size();
        const std::size_t offset = searched - m_start;
        if (!Fill()) {
            return ReadStatus::Closed;
        }
        searched = m_start + offset;
    }
}

std::size_t Connection::ReadSome(char* buffer, std::size_t size) {
    if (m_start == m_buffer.size() && !Fill()) {
        return 0;
    }
    const std::size_t count = std::min(size, m_buffer.size() - m_start);
    std::memcpy(buffer, m_buffer.data() + m_start, count);
    m_start += count;
    return count;
}

bool Connection::Send(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

void Connection::Finish() {
    shutdown(m_fd, SHUT_WR);
    SetTimeouts(m_fd, kLingerSeconds);
    char scratch[4096];
    std::size_t drained = 0;
    while (drained < kLingerBytes) {
        const ssize_t received = recv(m_fd, scratch, sizeof scratch, 0);
        if (received <= 0) {
            break;
        }
        drained += static_cast<std::size_t>(received);
    }
}

} // namespace ostrana::service
