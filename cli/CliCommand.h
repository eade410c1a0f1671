// The commands of ostrana-cli and what they share: the options, the session with its cookie
// holder, the output streams and the exit statuses. Each command group adds its table.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "cli/CliOptions.h"
#include "session/SessionOwner.h"

class ServerSession;

enum CliExit { kExitOk = 0, kExitFailed = 1, kExitUsage = 2 };

struct CliContext {
    const CliOptions& options;
    ServerSession& session;
    SimpleSessionOwner& owner;
    std::ostream& out;
    std::ostream& err;

    // One line on stderr; returns the exit status to give.
    int Fail(int status, const std::string& reason) const;
    // Logs in (or takes --cookie) and opens the command session; an exit status on failure.
    int StartSession() const;
};

struct CliCommand {
    std::string name;
    std::string usage;
    std::string help;
    // Command options the command accepts (e.g. "--raw"); any other option is a usage error.
    // A name ending in "=" takes a value ("--overwrite skip" or "--overwrite=skip"), which
    // reaches the command as "--overwrite=skip".
    std::vector<std::string> flags;
    std::function<int(const CliContext&, const std::vector<std::string>& args, const std::vector<std::string>& flags)>
        run;
};

std::vector<CliCommand> BrowseCommands();
std::vector<CliCommand> TransferCommands();

// The whole program: parses, runs one command, returns the exit status.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
