// Quota accounting. Stored bytes are measured from the disk at the moment of each check, and the
// bytes of uploads still in flight are held as reservations, so two parallel uploads cannot both
// take the last free space.
#pragma once

#include "service/StoragePaths.h"

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

    QuotaFigures Figures(const QuotaScope& scope) const;

    // Sum of regular file sizes below the root; links are not followed.
    static std::uint64_t MeasureBytes(const std::filesystem::path& root);

private:
    void Give(const std::string& key, std::uint64_t bytes);

    mutable std::mutex m_mutex;
    std::map<std::string, std::uint64_t> m_reserved;
};

} // namespace ostrana::service
