// Quota checks and figures. The KB figures round usage up, so a single stored byte shows as used.
#include "service/QuotaLedger.h"

#include <system_error>

namespace ostrana::service {

QuotaLedger::Reservation::Reservation(Reservation&& other) noexcept
    : m_ledger(other.m_ledger), m_key(std::move(other.m_key)), m_bytes(other.m_bytes) {
    other.m_ledger = nullptr;
}

QuotaLedger::Reservation& QuotaLedger::Reservation::operator=(Reservation&& other) noexcept {
    if (this != &other) {
        Release();
        m_ledger = other.m_ledger;
        m_key = std::move(other.m_key);
        m_bytes = other.m_bytes;
        other.m_ledger = nullptr;
    }
    return *this;
}

QuotaLedger::Reservation::~Reservation() { Release(); }

void QuotaLedger::Reservation::Release() {
    if (m_ledger != nullptr) {
        m_ledger->Give(m_key, m_bytes);
        m_ledger = nullptr;
    }
}

std::uint64_t QuotaLedger::MeasureBytes(const std::filesystem::path& path) {
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::symlink_status(path, ec);
    if (ec) {
        return 0;
    }
    if (std::filesystem::is_regular_file(status)) {
        const auto size = std::filesystem::file_size(path, ec);
        return ec ? 0 : size;
    }
    if (!std::filesystem::is_directory(status)) {
        return 0;
    }
    std::uint64_t total = 0;
    std::filesystem::recursive_directory_iterator it(path, std::filesystem::directory_options::skip_permission_denied,
                                                     ec);
    for (const std::filesystem::recursive_directory_iterator end; !ec && it != end; it.increment(ec)) {
        std::error_code statError;
        if (it->is_regular_file(statError) && !it->is_symlink(statError)) {
            const auto size = it->file_size(statError);
            if (!statError) {
                total += size;
            }
        }
    }
    return total;
}

QuotaLedger::ScopeState& QuotaLedger::Current(const QuotaScope& scope) {
    ScopeState& state = m_scopes[scope.root.string()];
    const auto now = std::chrono::steady_clock::now();
    if (!state.measured || now - state.measuredAt > kFreshness) {
        state.stored = MeasureBytes(scope.root);
        state.measuredAt = now;
        state.measured = true;
    }
    return state;
}

bool QuotaLedger::Reserve(const QuotaScope& scope, std::uint64_t bytes, std::uint64_t replacedBytes,
                          Reservation& out) {
    const std::uint64_t limit = static_cast<std::uint64_t>(scope.limitKB) * 1024;
    std::lock_guard lock(m_mutex);
    ScopeState& state = Current(scope);
    if (bytes > replacedBytes) {
        const std::uint64_t kept = state.stored > replacedBytes ? state.stored - replacedBytes : 0;
        if (kept + state.reserved + bytes > limit) {
            return false;
        }
    }
    state.reserved += bytes;
    out.Release();
    out.m_ledger = this;
    out.m_key = scope.root.string();
    out.m_bytes = bytes;
    return true;
}

void QuotaLedger::Adjust(const QuotaScope& scope, std::int64_t deltaBytes) {
    std::lock_guard lock(m_mutex);
    const auto it = m_scopes.find(scope.root.string());
    if (it == m_scopes.end() || !it->second.measured) {
        return;
    }
    std::uint64_t& stored = it->second.stored;
    if (deltaBytes >= 0) {
        stored += static_cast<std::uint64_t>(deltaBytes);
    } else {
        stored -= std::min(stored, static_cast<std::uint64_t>(-deltaBytes));
    }
}

void QuotaLedger::Give(const std::string& key, std::uint64_t bytes) {
    std::lock_guard lock(m_mutex);
    const auto it = m_scopes.find(key);
    if (it != m_scopes.end()) {
        it->second.reserved -= std::min(it->second.reserved, bytes);
    }
}

QuotaFigures QuotaLedger::Figures(const QuotaScope& scope) {
    std::uint64_t stored = 0;
    {
        std::lock_guard lock(m_mutex);
        stored = Current(scope).stored;
    }
    QuotaFigures figures;
    figures.totalKB = scope.limitKB;
    figures.usedKB = static_cast<std::int64_t>((stored + 1023) / 1024);
    figures.remainingKB = figures.totalKB > figures.usedKB ? figures.totalKB - figures.usedKB : 0;
    return figures;
}

} // namespace ostrana::service
