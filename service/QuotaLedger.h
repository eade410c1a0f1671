// Quota accounting. A scope's stored bytes are measured from the disk once and then kept current
// with the changes this service makes; a measurement older than kFreshness is taken again, which
// also picks up files changed behind the service's back. Uploads still in flight are held as
// reservations, so two parallel uploads cannot both take the last free space.
#pragma once

#include "service/StoragePaths.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>

namespace ostrana::service {

struct QuotaFigures {
    std::int64_t totalKB = 0;
    std::int64_t usedKB = 0;
    std::int64_t remainingKB = 0;
};

class QuotaLedger {
public:
    static constexpr std::chrono::seconds kFreshness{30};

    // Gives its bytes back when destroyed.
    class Reservation {
    public:
        Reservation() = default;
        Reservation(Reservation&& other) noexcept;
        Reservation& operator=(Reservation&& other) noexcept;
        ~Reservation();
        void Release();

    private:
        friend class QuotaLedger;
        QuotaLedger* m_ledger = nullptr;
        std::string m_key;
        std::uint64_t m_bytes = 0;
    };

    // Allows the upload when it does not grow the stored size or when stored - replaced + reserved +
    // bytes stays within the limit.
    bool Reserve(const QuotaScope& scope, std::uint64_t bytes, std::uint64_t replacedBytes, Reservation& out);

    // Records a change made in the scope: a stored upload (its size minus what it replaced) or a removal.
    void Adjust(const QuotaScope& scope, std::int64_t deltaBytes);

    QuotaFigures Figures(const QuotaScope& scope);

    // Sum of regular file sizes at or below the path; links are not followed.
    static std::uint64_t MeasureBytes(const std::filesystem::path& path);

private:
    struct ScopeState {
        std::uint64_t stored = 0;
        std::chrono::steady_clock::time_point measuredAt;
        bool measured = false;
        std::uint64_t reserved = 0;
    };

    // Callers hold m_mutex.
    ScopeState& Current(const QuotaScope& scope);
    void Give(const std::string& key, std::uint64_t bytes);

    std::mutex m_mutex;
    std::map<std::string, ScopeState> m_scopes;
};

} // namespace ostrana::service
