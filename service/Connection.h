// One accepted TCP connection with a read buffer: lines, exact byte counts and raw chunks come out
// of the same buffer, so bytes that arrived early (a body behind its command line) are never lost.
// Every receive waits at most the idle time-out, and no longer than the read deadline when one is
// set; a quiet or too slow peer ends as a closed connection.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ostrana::service {

enum class ReadStatus { Ok, Closed, TooLong };

class Connection {
public:
    Connection(int fd, std::string peer);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void SetIdleTimeout(int seconds);
    // Bounds the total time of the reads that follow, against peers that trickle bytes.
    void SetReadDeadline(std::chrono::steady_clock::time_point deadline);
    void ClearReadDeadline();

    // Reads up to and including a line feed; the line comes back without it and without one
    // carriage return before it. A line longer than maxLength gives TooLong.
    ReadStatus ReadLine(std::string& line, std::size_t maxLength);

    // Copies what is buffered, or else does one receive, into `buffer`: the count, 0 when closed.
    std::size_t ReadSome(char* buffer, std::size_t size);

    bool Send(std::string_view bytes);

    // Stops sending, then reads and discards for a short while so that the peer gets everything
    // already sent instead of a reset caused by unread bytes. The socket itself closes with the object.
    void Finish();

    const std::string& Peer() const { return m_peer; }
    int Fd() const { return m_fd; }

private:
    bool Fill();

    int m_fd;
    std::string m_peer;
    std::string m_buffer;
    std::size_t m_start = 0;
    int m_idleSeconds = 0;
    std::optional<std::chrono::steady_clock::time_point> m_deadline;
};

} // namespace ostrana::service
