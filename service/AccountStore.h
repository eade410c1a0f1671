// The accounts text file: one account a line, tab-separated fields
// "id, password hash, display name, kind, quota in KB, clubs (comma-separated)", "#" starts a comment.
// Loaded once at start; the serving threads only read it, so it needs no lock.
#pragma once

#include "service/Account.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace ostrana::service {

class AccountStore {
public:
    explicit AccountStore(std::filesystem::path file);

    // A missing file is an empty store. A malformed line fails the load with its line number.
    bool Load(std::string& error);
    // Writes the whole file to a temporary name and renames it over the old one.
    bool Save(std::string& error) const;

    const Account* Find(std::string_view id) const;
    bool Add(Account account, std::string& error);
    bool Empty() const { return m_accounts.empty(); }
    const std::filesystem::path& File() const { return m_file; }

    // Ids and club ids: 1 to 32 of A-Z a-z 0-9 . _ -, not starting with "." or "-".
    static bool IsValidId(std::string_view id);
    // Display names: UTF-8 without tab, control characters or "]", at most 64 bytes.
    static bool IsValidDisplayName(std::string_view name);

private:
    std::filesystem::path m_file;
    std::vector<Account> m_accounts;
};

} // namespace ostrana::service
