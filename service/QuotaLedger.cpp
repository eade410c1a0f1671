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

std::uint64_t QuotaLedger::MeasureBytes(const std::filesystem::path& root) {
    std::uint64_t total = 0;
    std::error_code ec;
    std::filesystem::recursive_directory_iterator it(root, std::filesystem::directory_options::skip_permission_denied,
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

bool QuotaLedger::Reserve(const QuotaScope& scope, std::uint64_t bytes, std::uint64_t replacedBytes,
                          Reservation& out) {
    const std::string key = scope.root.string();
    const std::uint64_t limit = static_cast<std::uint64_t>(scope.limitKB) * 1024;
    std::lock_guard lock(m_mutex);
    if (bytes > replacedBytes) {
        const std::uint64_t stored = MeasureBytes(scope.root);
        const std::uint64_t reserved = m_reserved[key];
        const std::uint64_t kept = stored > replacedBytes ? stored - replacedBytes : 0;
        if (kept + reserved + bytes > limit) {
            return false;
        }
    }
    m_reserved[key] += bytes;
    out.Release();
    out.m_ledger = this;
    out.m_key = key;
    out.m_bytes = bytes;
    return true;
}

void QuotaLedger::Give(const std::string& key, std::uint64_t bytes) {
    std::lock_guard lock(m_mutex);
    const auto it = m_reserved.find(key);
    if (it == m_reserved.end()) {
        return;
    }
    it->second -= std::min(it->second, bytes);
    if (it->second == 0) {
        m_reserved.erase(it);
    }
}

QuotaFigures QuotaLedger::Figures(const QuotaScope& scope) const {
    const std::uint64_t stored = MeasureBytes(scope.root);
    QuotaFigures figures;
    figures.totalKB = scope.limitKB;
    figures.usedKB = static_cast<std::int64_t>((stored + 1023) / 1024);
    figures.remainingKB = figures.totalKB > figures.usedKB ? figures.totalKB - figures.usedKB : 0;
    return figures;
}

} // namespace ostrana::service
