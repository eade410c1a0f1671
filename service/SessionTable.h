// Session cookies: random 128-bit tokens in hex, each bound to one account and forgotten after an
// idle period. Shared by every connection thread, hence the lock.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace ostrana::service {

class SessionTable {
public:
    using Clock = std::chrono::steady_clock;

    SessionTable(std::chrono::seconds idleExpiry, std::size_t capacity);

    // Empty when the random source fails. A full table drops its least recently used session.
    std::string Open(std::string_view accountId);
    // The account of a live session, refreshing its idle time; nothing for unknown or expired tokens.
    std::optional<std::string> Lookup(std::string_view token);

    // For tests: the time the table considers "now" (a live clock when not set).
    void SetClockForTest(std::function<Clock::time_point()> clock);

private:
    struct Entry {
        std::string accountId;
        Clock::time_point lastUse;
    };

    Clock::time_point Now() const;
    void DropExpired(Clock::time_point now);
    void DropLeastRecent();

    std::mutex m_mutex;
    std::chrono::seconds m_idleExpiry;
    std::size_t m_capacity;
    std::unordered_map<std::string, Entry> m_entries;
    std::function<Clock::time_point()> m_clock;
};

} // namespace ostrana::service
