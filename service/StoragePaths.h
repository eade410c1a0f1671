// Maps a network path to a place in the data folder, for one account. The areas are
// "myfolder" and "myhtml" (the account's own), "html" and "filter" (the site, webmaster only) and
// "@club" (members only); nothing else of the data folder is reachable.
#pragma once

#include "service/Account.h"
#include "service/ProtocolPath.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace ostrana::service {

// Whose storage an area counts against, and how much it may hold.
struct QuotaScope {
    std::filesystem::path root;
    std::int64_t limitKB = 0;
};

struct StorageLocation {
    std::filesystem::path areaRoot;
    std::filesystem::path full;          // areaRoot joined with every name
    std::vector<std::string> names;      // below the area root; empty for the area root itself
    std::string owner;                   // the listing's third field
    QuotaScope quota;

    bool IsAreaRoot() const { return names.empty(); }
    std::filesystem::path Parent() const { return full.parent_path(); }
};

class StoragePaths {
public:
    StoragePaths(std::filesystem::path root, std::int64_t sharedAreaQuotaKB);

    PathError Resolve(const Account& account, std::string_view text, StorageLocation& out) const;

    // The scope a ".QUOTA" text names: its first segment picks the area; anything unknown,
    // empty included, means the account's own storage. Fails only for an area the account may not use.
    bool ResolveQuota(const Account& account, std::string_view text, QuotaScope& out) const;

    const std::filesystem::path& Root() const { return m_root; }
    std::filesystem::path UserDir(std::string_view id) const { return m_root / "users" / std::string(id); }
    std::filesystem::path SiteDir() const { return m_root / "site"; }
    std::filesystem::path ClubDir(std::string_view club) const { return m_root / "clubs" / std::string(club); }
    // Uploads in progress; on the same file system as the areas so that the final rename is atomic.
    std::filesystem::path IncomingDir() const { return m_root / ".incoming"; }

private:
    PathError ResolveArea(const Account& account, std::string_view area, StorageLocation& out) const;

    std::filesystem::path m_root;
    std::int64_t m_sharedAreaQuotaKB;
};

} // namespace ostrana::service
