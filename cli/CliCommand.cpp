// Dispatch, help texts and the session start shared by every command. The program has no main
// window, so it installs its own cookie holder as the process-wide one for the run.
#include "cli/CliCommand.h"

#include <algorithm>
#include <ostream>

#include "cli/PasswordSource.h"
#include "session/ServerSession.h"
#include "session/TextConversion.h"

namespace {

const char* const kProgramHelp =
    "usage: ostrana-cli [--server HOST[:PORT]] [--user ID] [--cookie VALUE] [--password-file FILE]\n"
    "                   COMMAND [COMMAND OPTIONS] ARGS...\n"
    "\n"
    "Browses and manages a web-disk storage server.\n"
    "\n"
    "Global options:\n"
    "  --server HOST[:PORT]  the server (default 127.0.0.1:8080, or OSTRANA_SERVER; port 80 if left out)\n"
    "  --user ID             the user id to log in with\n"
    "  --cookie VALUE        a session cookie from an earlier login; no login exchange is made\n"
    "  --password-file FILE  read the password from the first line of FILE\n"
    "  --help                this text; COMMAND --help describes a command\n"
    "\n"
    "The password comes from --password-file, else OSTRANA_PASSWORD, else a prompt without echo.\n"
    "Server folders end with \"/\": myfolder/, myhtml/, html/, filter/, @club/...\n"
    "\n"
    "Exit status: 0 success, 1 the server refused or could not be reached, 2 usage error.\n"
    "\n"
    "Commands:\n";

std::vector<CliCommand> AllCommands() {
    std::vector<CliCommand> commands = BrowseCommands();
    std::vector<CliCommand> transfer = TransferCommands();
    commands.insert(commands.end(), transfer.begin(), transfer.end());
    return commands;
}

bool Contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

void PrintProgramHelp(std::ostream& out) {
    out << kProgramHelp;
    for (const CliCommand& command : AllCommands()) {
        out << "  " << command.usage << "\n";
    }
}

void PrintCommandHelp(const CliCommand& command, std::ostream& out) {
    out << "usage: ostrana-cli [GLOBAL OPTIONS] " << command.usage << "\n\n" << command.help << "\n";
}

} // namespace

int CliContext::Fail(int status, const std::string& reason) const {
    err << "ostrana-cli: " << reason << "\n";
    return status;
}

int CliContext::StartSession() const {
    std::string server = options.host + ":" + std::to_string(options.port);
    std::string userId = Utf8ToLocal(options.userId);
    if (options.cookie) {
        session.SetLoginData(userId, "", Utf8ToLocal(options.host), options.port);
        owner.SetSessionCookie(Utf8ToLocal(*options.cookie));
        if (session.Connect() == 0) {
            return Fail(kExitFailed, "cannot connect to " + server);
        }
    } else {
        if (options.userId.empty()) {
            return Fail(kExitUsage, "give --user ID (or --cookie VALUE)");
        }
        std::string error;
        std::optional<std::string> password = ReadPassword(options.passwordFile, options.userId, error);
        if (!password) {
            return Fail(kExitUsage, error);
        }
        session.SetLoginData(userId, Utf8ToLocal(*password), Utf8ToLocal(options.host), options.port);
        if (session.Connect() == 0) {
            return Fail(kExitFailed, "cannot connect to " + server);
        }
        int status = LOGIN_STATUS_STARTED;
        if (session.Login(status) == 0) {
            return Fail(kExitFailed, "the server refused the login of " + options.userId);
        }
    }
    if (session.OpenCommandSession() == 0) {
        return Fail(kExitFailed, options.cookie ? "the server refused the session (cookie not valid?) at " + server
                                                : "the server refused the session at " + server);
    }
    return kExitOk;
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string error;
    std::optional<CliOptions> options = ParseCliOptions(args, error);
    if (!options) {
        err << "ostrana-cli: " << error << "\n(ostrana-cli --help lists the options and commands)\n";
        return kExitUsage;
    }
    if (options->command.empty()) {
        PrintProgramHelp(out);
        return kExitOk;
    }
    std::vector<CliCommand> commands = AllCommands();
    auto command = std::find_if(commands.begin(), commands.end(),
                                [&](const CliCommand& c) { return c.name == options->command; });
    if (command == commands.end()) {
        err << "ostrana-cli: unknown command " << options->command << "\n(ostrana-cli --help lists the commands)\n";
        return kExitUsage;
    }
    std::vector<std::string> positional;
    std::vector<std::string> flags;
    const std::vector<std::string>& arguments = options->arguments;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        if (arg == "--help" || arg == "-h") {
            PrintCommandHelp(*command, out);
            return kExitOk;
        }
        std::string name = arg.substr(0, arg.find('='));
        if (arg.starts_with("--") && Contains(command->flags, name + "=")) {
            if (name == arg && i + 1 >= arguments.size()) {
                err << "ostrana-cli: " << arg << " needs a value\n";
                return kExitUsage;
            }
            flags.push_back(name == arg ? arg + "=" + arguments[++i] : arg);
        } else if (arg.starts_with("--")) {
            if (!Contains(command->flags, arg)) {
                err << "ostrana-cli: " << command->name << " has no option " << arg << "\n";
                return kExitUsage;
            }
            flags.push_back(arg);
        } else {
            positional.push_back(arg);
        }
    }
    if (options->help) {
        PrintCommandHelp(*command, out);
        return kExitOk;
    }

    SimpleSessionOwner owner;
    SessionOwner* previous = GetSessionOwner();
    SetSessionOwner(&owner);
    ServerSession& session = TheServerSession();
    CliContext context{*options, session, owner, out, err};
    int status = command->run(context, positional, flags);
    session.Reset();
    SetSessionOwner(previous);
    return status;
}
