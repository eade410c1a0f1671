// What every connection handler shares: the data folder's layout, the accounts, the live sessions,
// the quota ledger, the log, the login throttle and the limits. The objects live in main for the whole run.
#pragma once

#include "service/AccountStore.h"
#include "service/LoginThrottle.h"
#include "service/QuotaLedger.h"
#include "service/ServiceLog.h"
#include "service/SessionTable.h"
#include "service/StoragePaths.h"

#include <cstddef>

namespace ostrana::service {

struct ServiceLimits {
    std::size_t maxCommandLine = 8 * 1024;
    std::size_t maxLoginBody = 64 * 1024;
    int idleTimeoutSeconds = 300;
    int requestTimeoutSeconds = 30;  // for the opening request: its head and a login body
    int maxConnections = 64;
};

struct ServiceContext {
    const StoragePaths& paths;
    const AccountStore& accounts;
    SessionTable& sessions;
    QuotaLedger& ledger;
    ServiceLog& log;
    LoginThrottle& throttle;
    ServiceLimits limits;
};

} // namespace ostrana::service
