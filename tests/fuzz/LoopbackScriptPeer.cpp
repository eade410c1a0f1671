// The peer waits on the listening socket and a wake pipe together; a wake with no connection
// pending means the round is over, because the client's connects all completed before End.
#include "tests/fuzz/LoopbackScriptPeer.h"

#include <arpa/inet.h>
#include <cstdio>
#include <cstdlib>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

LoopbackScriptPeer::LoopbackScriptPeer() {
    m_listen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (m_listen < 0 || ::bind(m_listen, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(m_listen, 16) != 0 || ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
        ::pipe(m_wake) != 0) {
        std::perror("loopback peer");
        std::abort();
    }
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { Run(); });
}

LoopbackScriptPeer::~LoopbackScriptPeer() {
    {
        std::lock_guard lock(m_lock);
        m_stopping = true;
    }
    char byte = 0;
    (void)!::write(m_wake[1], &byte, 1);
    m_thread.join();
    ::close(m_listen);
    ::close(m_wake[0]);
    ::close(m_wake[1]);
}

void LoopbackScriptPeer::Begin(std::string script) {
    std::lock_guard lock(m_lock);
    m_script = std::move(script);
    m_ending = false;
}

void LoopbackScriptPeer::End() {
    std::unique_lock lock(m_lock);
    m_ending = true;
    char byte = 0;
    (void)!::write(m_wake[1], &byte, 1);
    m_idle.wait(lock, [this] { return !m_ending; });
}

void LoopbackScriptPeer::Run() {
    for (;;) {
        pollfd waits[2] = {{m_listen, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
        ::poll(waits, 2, -1);
        if ((waits[0].revents & POLLIN) != 0) {
            int fd = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd >= 0) {
                Serve(fd);
            }
            continue;
        }
        char byte;
        (void)!::read(m_wake[0], &byte, 1);
        std::lock_guard lock(m_lock);
        if (m_stopping) {
            return;
        }
        if (m_ending) {
            m_ending = false;
            m_idle.notify_all();
        }
    }
}

void LoopbackScriptPeer::Serve(int fd) {
    std::string script;
    {
        std::lock_guard lock(m_lock);
        script.swap(m_script);
    }
    std::size_t sent = 0;
    while (sent < script.size()) {
        ssize_t count = ::send(fd, script.data() + sent, script.size() - sent, MSG_NOSIGNAL);
        if (count <= 0) {
            break;
        }
        sent += static_cast<std::size_t>(count);
    }
    ::shutdown(fd, SHUT_WR);
    char drain[4096];
    while (::recv(fd, drain, sizeof drain, 0) > 0) {
    }
    ::close(fd);
}
