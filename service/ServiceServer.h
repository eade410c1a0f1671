// The listening socket and the connection threads: one thread per connection, at most
// limits.maxConnections at once (further peers wait in the listen backlog until one ends). Stop
// may be called from any thread; Run returns after every connection thread has been joined.
#pragma once

#include "service/ServiceContext.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace ostrana::service {

class ServiceServer {
public:
    explicit ServiceServer(ServiceContext& context);
    ~ServiceServer();
    ServiceServer(const ServiceServer&) = delete;
    ServiceServer& operator=(const ServiceServer&) = delete;

    // Binds an IPv4 address ("127.0.0.1") and port (0 picks a free one).
    bool Listen(const std::string& address, std::uint16_t port, std::string& error);
    std::uint16_t Port() const { return m_port; }

    void Run();
    void Stop();

private:
    void Serve(std::uint64_t serial, int fd, std::string peer);
    bool Register(int fd);
    bool IsFull();
    void Unregister(std::uint64_t serial, int fd);
    // Wakes Run from its poll.
    void Wake();
    // Empties the wake pipe; true when the wake was Stop's.
    bool TakeWake();
    void JoinFinished();

    ServiceContext& m_context;
    int m_listenFd = -1;
    int m_wakeRead = -1;
    int m_wakeWrite = -1;
    std::uint16_t m_port = 0;

    std::mutex m_mutex;
    std::condition_variable m_idle;
    std::set<int> m_active;
    bool m_stopping = false;
    std::uint64_t m_nextSerial = 0;
    std::map<std::uint64_t, std::thread> m_threads;
    std::vector<std::uint64_t> m_finished;
};

} // namespace ostrana::service
