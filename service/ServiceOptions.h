// The command line of ostrana-service and its help text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ostrana::service {

struct ServiceOptions {
    std::string root;
    std::string listenAddress = "127.0.0.1";
    std::uint16_t listenPort = 8080;
    std::string accountsFile;      // empty: <root>/accounts.txt
    bool demo = false;
    bool help = false;

    std::string addUser;           // non-empty: add this account and exit
    std::string displayName;
    int kind = 1;
    std::int64_t quotaKB = 102400;
    std::vector<std::string> clubs;

    int idleTimeoutSeconds = 300;
    int requestTimeoutSeconds = 30;
    int sessionExpirySeconds = 1800;
    int maxConnections = 64;
    int loginLockoutSeconds = 60;  // 0: no lockout
    std::int64_t sharedQuotaKB = 1048576;

    std::string AccountsPath() const;
};

// Fills `options` or returns false with a one-line reason in `error`.
bool ParseServiceOptions(const std::vector<std::string>& arguments, ServiceOptions& options, std::string& error);

const char* ServiceHelpText();

} // namespace ostrana::service
