// The demo data set: two accounts and a few sample folders and files, written only into a data
// folder that has no accounts yet, so a real data folder is never touched.
#pragma once

#include "service/AccountStore.h"
#include "service/StoragePaths.h"

#include <string>

namespace ostrana::service {

class DemoData {
public:
    // Returns false with a reason; `created` tells whether anything was written.
    static bool Fill(AccountStore& accounts, const StoragePaths& paths, bool& created, std::string& error);

    // No accounts and nothing in the data folder but the upload folder and the accounts file.
    static bool IsEmptyDataFolder(const AccountStore& accounts, const StoragePaths& paths);

    // The folders every account starts with.
    static bool CreateUserFolders(const StoragePaths& paths, const std::string& id, std::string& error);
};

} // namespace ostrana::service
