// Expired sessions are swept whenever a session is opened, so the table never outgrows its capacity.
#include "service/SessionTable.h"

#include "service/PasswordHash.h"

namespace ostrana::service {

SessionTable::SessionTable(std::chrono::seconds idleExpiry, std::size_t capacity)
    : m_idleExpiry(idleExpiry), m_capacity(capacity) {}

void SessionTable::SetClockForTest(std::function<Clock::time_point()> clock) {
    std::lock_guard lock(m_mutex);
    m_clock = std::move(clock);
}

SessionTable::Clock::time_point SessionTable::Now() const { return m_clock ? m_clock() : Clock::now(); }

void SessionTable::DropExpired(Clock::time_point now) {
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        it = now - it->second.lastUse > m_idleExpiry ? m_entries.erase(it) : std::next(it);
    }
}

void SessionTable::DropLeastRecent() {
    auto oldest = m_entries.begin();
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        if (it->second.lastUse < oldest->second.lastUse) {
            oldest = it;
        }
    }
    if (oldest != m_entries.end()) {
        m_entries.erase(oldest);
    }
}

std::string SessionTable::Open(std::string_view accountId) {
    std::string token = RandomHex(16);
    if (token.empty()) {
        return token;
    }
    std::lock_guard lock(m_mutex);
    const Clock::time_point now = Now();
    DropExpired(now);
    while (!m_entries.empty() && m_entries.size() >= m_capacity) {
        DropLeastRecent();
    }
    m_entries[token] = Entry{std::string(accountId), now};
    return token;
}

std::optional<std::string> SessionTable::Lookup(std::string_view token) {
    std::lock_guard lock(m_mutex);
    const auto it = m_entries.find(std::string(token));
    if (it == m_entries.end()) {
        return std::nullopt;
    }
    const Clock::time_point now = Now();
    if (now - it->second.lastUse > m_idleExpiry) {
        m_entries.erase(it);
        return std::nullopt;
    }
    it->second.lastUse = now;
    return it->second.accountId;
}

} // namespace ostrana::service
