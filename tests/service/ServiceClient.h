// A raw loopback client for the service tests: exact request bytes as the known client sends them,
// and replies read until they can be judged (a bounded wait, never a sleep).
#pragma once

#include "tests/support/ServiceProcess.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace ostrana::test {

class RawConnection {
public:
    explicit RawConnection(int port);
    ~RawConnection();
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;

    bool Connected() const { return m_fd >= 0; }
    bool Send(std::string_view bytes);
    // Receives until `done` holds for what came so far, the peer closes, or 30 s pass.
    std::string ReceiveUntil(const std::function<bool(const std::string&)>& done);
    // Everything up to the peer's close.
    std::string ReceiveAll();
    // One reply of the command language: up to and including its ".OK..." or ".ERR..." line.
    std::string ReadReply();
    // Exactly `count` bytes (fewer if the peer closes).
    std::string ReceiveExactly(std::size_t count);
    bool PeerClosed();
    void Close();

private:
    int m_fd = -1;
    std::string m_pending;
};

// The login request byte for byte, with Content-Length counted as the client counts it
// (350 + user id length + password length for ASCII texts) and the UTF-8 submit value.
std::string LoginRequest(const std::string& hostAndPort, const std::string& user, const std::string& password);
// The file-action POST that opens a command session.
std::string FileActionRequest(const std::string& host, const std::string& cookie);

// Logs in; the cookie value, or empty when refused. `reply` receives the whole reply.
std::string Login(int port, const std::string& user, const std::string& password, std::string* reply = nullptr);

// A logged-in command session.
class CommandClient {
public:
    CommandClient(int port, const std::string& user, const std::string& password);

    const std::string& Greeting() const { return m_greeting; }
    // Sends one line (the line ending included by the caller) and reads its reply.
    std::string Command(std::string_view line);
    RawConnection& Connection() { return m_connection; }

private:
    RawConnection m_connection;
    std::string m_greeting;
};

bool IsOkReply(const std::string& reply);
bool IsErrReply(const std::string& reply);

// Waits (on file change notifications, at most 30 s) until the service's log holds `needle`.
bool WaitForLog(const ServiceProcess& service, std::string_view needle);

} // namespace ostrana::test
