// Slows password guessing: after a run of wrong passwords for one user id, that id is refused for
// a while whatever password comes. Unknown ids are counted too, so the answer does not tell which
// ids exist. Shared by every connection thread, hence the lock.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

namespace ostrana::service {

class LoginThrottle {
public:
    using Clock = std::chrono::steady_clock;

    // A lockout of zero seconds turns the throttle off.
    LoginThrottle(int maxFailures, std::chrono::seconds lockout, std::size_t capacity = 10000);

    // False while the id is locked out.
    bool Allowed(std::string_view userId);
    void Failed(std::string_view userId);
    void Succeeded(std::string_view userId);

    // For tests: the time the throttle considers "now" (a live clock when not set).
    void SetClockForTest(std::function<Clock::time_point()> clock);

private:
    struct Entry {
        int failures = 0;
        Clock::time_point lockedUntil{};
    };

    Clock::time_point Now() const;
    void MakeRoom(Clock::time_point now);

    std::mutex m_mutex;
    int m_maxFailures;
    std::chrono::seconds m_lockout;
    std::size_t m_capacity;
    std::unordered_map<std::string, Entry> m_entries;
    std::function<Clock::time_point()> m_clock;
};

} // namespace ostrana::service
