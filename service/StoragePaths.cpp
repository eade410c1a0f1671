// Area rules. The syntax check of ProtocolPath already excludes "..", so joining the names under an
// area root can never leave it.
#include "service/StoragePaths.h"

#include "service/AccountStore.h"

namespace ostrana::service {

StoragePaths::StoragePaths(std::filesystem::path root, std::int64_t sharedAreaQuotaKB)
    : m_root(std::move(root)), m_sharedAreaQuotaKB(sharedAreaQuotaKB) {}

PathError StoragePaths::ResolveArea(const Account& account, std::string_view area, StorageLocation& out) const {
    if (area == "myfolder" || area == "myhtml") {
        out.areaRoot = UserDir(account.id) / std::string(area);
        out.owner = account.id;
        out.quota = {UserDir(account.id), account.quotaKB};
        return PathError::None;
    }
    if (area == "html" || area == "filter") {
        if (!account.IsWebmaster()) {
            return PathError::Denied;
        }
        out.areaRoot = SiteDir() / std::string(area);
        out.owner = "site";
        out.quota = {SiteDir(), m_sharedAreaQuotaKB};
        return PathError::None;
    }
    if (area.size() > 1 && area.front() == '@') {
        const std::string_view club = area.substr(1);
        if (!AccountStore::IsValidId(club)) {
            return PathError::UnknownArea;
        }
        if (!account.IsMemberOf(club)) {
            return PathError::Denied;
        }
        out.areaRoot = ClubDir(club);
        out.owner = std::string(area);
        out.quota = {ClubDir(club), m_sharedAreaQuotaKB};
        return PathError::None;
    }
    return PathError::UnknownArea;
}

PathError StoragePaths::Resolve(const Account& account, std::string_view text, StorageLocation& out) const {
    out = StorageLocation{};
    ProtocolPath parsed;
    if (const PathError error = ParseProtocolPath(text, parsed); error != PathError::None) {
        return error;
    }
    if (const PathError error = ResolveArea(account, parsed.area, out); error != PathError::None) {
        return error;
    }
    out.full = out.areaRoot;
    for (const std::string& name : parsed.names) {
        out.full /= name;
    }
    out.names = std::move(parsed.names);
    return PathError::None;
}

bool StoragePaths::ResolveQuota(const Account& account, std::string_view text, QuotaScope& out) const {
    const std::size_t slash = text.find('/');
    const std::string_view area = text.substr(0, slash);
    StorageLocation location;
    const PathError error = ResolveArea(account, area, location);
    if (error == PathError::Denied) {
        return false;
    }
    out = error == PathError::None ? location.quota : QuotaScope{UserDir(account.id), account.quotaKB};
    return true;
}

} // namespace ostrana::service
