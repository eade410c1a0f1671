#include "service/LoginThrottle.h"

namespace ostrana::service {

LoginThrottle::LoginThrottle(int maxFailures, std::chrono::seconds lockout, std::size_t capacity)
    : m_maxFailures(maxFailures), m_lockout(lockout), m_capacity(capacity) {}

void LoginThrottle::SetClockForTest(std::function<Clock::time_point()> clock) {
    std::lock_guard lock(m_mutex);
    m_clock = std::move(clock);
}

LoginThrottle::Clock::time_point LoginThrottle::Now() const { return m_clock ? m_clock() : Clock::now(); }

bool LoginThrottle::Allowed(std::string_view userId) {
    std::lock_guard lock(m_mutex);
    auto it = m_entries.find(std::string(userId));
    return it == m_entries.end() || it->second.lockedUntil <= Now();
}

void LoginThrottle::Failed(std::string_view userId) {
    if (m_lockout.count() <= 0) {
        return;
    }
    std::lock_guard lock(m_mutex);
    const Clock::time_point now = Now();
    auto it = m_entries.find(std::string(userId));
    if (it == m_entries.end()) {
        MakeRoom(now);
        it = m_entries.emplace(std::string(userId), Entry{}).first;
    }
    Entry& entry = it->second;
    if (entry.lockedUntil != Clock::time_point{} && entry.lockedUntil <= now) {
        entry = Entry{}; // a lockout that has run out starts a fresh count
    }
    if (++entry.failures >= m_maxFailures) {
        entry.failures = 0;
        entry.lockedUntil = now + m_lockout;
    }
}

void LoginThrottle::Succeeded(std::string_view userId) {
    std::lock_guard lock(m_mutex);
    m_entries.erase(std::string(userId));
}

// Counts for ids nobody is guessing any more go first; when every entry is live the table is
// emptied rather than grown, so a flood of invented ids cannot use up the memory.
void LoginThrottle::MakeRoom(Clock::time_point now) {
    if (m_entries.size() < m_capacity) {
        return;
    }
    std::erase_if(m_entries, [now](const auto& item) { return item.second.lockedUntil <= now; });
    if (m_entries.size() >= m_capacity) {
        m_entries.clear();
    }
}

} // namespace ostrana::service
