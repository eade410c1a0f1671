// ostrana-service: prepares the data folder, then serves until SIGINT or SIGTERM.
#include "service/AccountStore.h"
#include "service/DemoData.h"
#include "service/PasswordHash.h"
#include "service/PasswordPrompt.h"
#include "service/QuotaLedger.h"
#include "service/ServiceContext.h"
#include "service/ServiceLog.h"
#include "service/ServiceOptions.h"
#include "service/ServiceServer.h"
#include "service/SessionTable.h"
#include "service/StoragePaths.h"

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <pthread.h>
#include <thread>
#include <unistd.h>

using namespace ostrana::service;

namespace {

constexpr std::size_t kSessionCapacity = 10000;
constexpr int kFailedLoginsBeforeLockout = 10;

int Fail(const std::string& message) {
    std::cerr << "ostrana-service: " << message << "\n";
    return 1;
}

// Leftovers of uploads cut by a crash are never completed; they go before serving starts.
bool PrepareDataFolder(const StoragePaths& paths, std::string& error) {
    std::error_code ec;
    std::filesystem::create_directories(paths.Root(), ec);
    std::filesystem::remove_all(paths.IncomingDir(), ec);
    std::filesystem::create_directories(paths.IncomingDir(), ec);
    if (ec) {
        error = "cannot prepare " + paths.Root().string() + ": " + ec.message();
        return false;
    }
    return true;
}

int AddUser(const ServiceOptions& options, AccountStore& accounts, const StoragePaths& paths) {
    Account account;
    account.id = options.addUser;
    account.displayName = options.displayName.empty() ? options.addUser : options.displayName;
    account.kind = options.kind;
    account.quotaKB = options.quotaKB;
    account.clubs = options.clubs;
    if (!AccountStore::IsValidId(account.id)) {
        return Fail("bad account id " + account.id);
    }
    if (accounts.Find(account.id) != nullptr) {
        return Fail("account " + account.id + " exists");
    }
    const std::optional<std::string> password = PromptPassword("Password for " + account.id + ": ");
    if (!password || password->empty()) {
        return Fail("no password given");
    }
    account.passwordHash = PasswordHash::Make(*password);
    std::string error;
    if (account.passwordHash.empty()) {
        return Fail("cannot hash the password");
    }
    if (!accounts.Add(account, error) || !accounts.Save(error) ||
        !DemoData::CreateUserFolders(paths, account.id, error)) {
        return Fail(error);
    }
    std::cerr << "ostrana-service: added account " << account.id << " to " << accounts.File().string() << "\n";
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    ServiceOptions options;
    std::string error;
    if (!ParseServiceOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::cerr << "ostrana-service: " << error << "\n(see ostrana-service --help)\n";
        return 2;
    }
    if (options.help) {
        std::cout << ServiceHelpText();
        return 0;
    }
    const StoragePaths paths(options.root, options.sharedQuotaKB);
    if (!PrepareDataFolder(paths, error)) {
        return Fail(error);
    }
    AccountStore accounts(options.AccountsPath());
    if (!accounts.Load(error)) {
        return Fail(error);
    }
    if (!options.addUser.empty()) {
        return AddUser(options, accounts, paths);
    }
    if (options.demo) {
        bool created = false;
        if (!DemoData::Fill(accounts, paths, created, error)) {
            return Fail("demo data: " + error);
        }
        if (!created) {
            std::cerr << "ostrana-service: the data folder is not empty; --demo left it as it is\n";
        }
    }
    if (accounts.Empty()) {
        std::cerr << "ostrana-service: no accounts yet; nobody can log in (see --add-user and --demo)\n";
    }

    // Signals are taken by one waiting thread; every other thread, started after this, blocks them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    SessionTable sessions(std::chrono::seconds(options.sessionExpirySeconds), kSessionCapacity);
    QuotaLedger ledger;
    ServiceLog log(std::cerr);
    LoginThrottle throttle(kFailedLoginsBeforeLockout, std::chrono::seconds(options.loginLockoutSeconds));
    ServiceContext context{paths, accounts, sessions, ledger, log, throttle, ServiceLimits{}};
    context.limits.idleTimeoutSeconds = options.idleTimeoutSeconds;
    context.limits.requestTimeoutSeconds = options.requestTimeoutSeconds;
    context.limits.maxConnections = options.maxConnections;

    ServiceServer server(context);
    if (!server.Listen(options.listenAddress, options.listenPort, error)) {
        return Fail(error);
    }
    std::cout << "ostrana-service listening on " << options.listenAddress << ":" << server.Port() << std::endl;

    std::thread signalWaiter([&] {
        int received = 0;
        sigwait(&stopSignals, &received);
        server.Stop();
    });
    server.Run();
    // Run can also end on its own; this wakes the waiter in that case.
    pthread_kill(signalWaiter.native_handle(), SIGTERM);
    signalWaiter.join();
    log.Write("-", "-", "stopped");
    return 0;
}
