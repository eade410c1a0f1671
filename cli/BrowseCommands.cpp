// The browsing and managing commands: login, ls, mkdir, rename, rm, quota. Arguments arrive in
// UTF-8 and go to the session in the ANSI code page; what the server sends is printed in UTF-8.
#include <cstdio>
#include <ostream>

#include "cli/CliCommand.h"
#include "cli/TerminalText.h"
#include "session/ListingEntry.h"
#include "session/ServerSession.h"
#include "session/TextConversion.h"

namespace {

using Args = std::vector<std::string>;

std::string AsFolder(const std::string& text) {
    return text.empty() || text.back() == '/' ? text : text + "/";
}

bool HasFlag(const Args& flags, const std::string& flag) {
    for (const std::string& f : flags) {
        if (f == flag) {
            return true;
        }
    }
    return false;
}

int WrongArguments(const CliContext& context, const std::string& command) {
    return context.Fail(kExitUsage, "wrong arguments for " + command + " (ostrana-cli " + command + " --help)");
}

std::string FormatEntry(const ListingEntry& entry) {
    char text[96];
    std::snprintf(text, sizeof(text), "%s %12s %04d-%02d-%02d %02d:%02d:%02d ", entry.Kind().c_str(),
                  entry.SizeText().c_str(), entry.Year(), entry.Month(), entry.Day(), entry.Hour(), entry.Minute(),
                  entry.Second());
    return text + TerminalSafeText(LocalToUtf8(entry.Name()));
}

int Login(const CliContext& context, const Args& args, const Args&) {
    if (!args.empty()) {
        return WrongArguments(context, "login");
    }
    if (context.options.cookie) {
        return context.Fail(kExitUsage, "login makes the login exchange; leave out --cookie");
    }
    int status = context.StartSession();
    if (status != kExitOk) {
        return status;
    }
    context.err << "logged in: " << TerminalSafeText(LocalToUtf8(context.owner.HomeLabel())) << " (" << context.options.userId
                << "), account kind " << context.owner.GreetingNumber() << "\n";
    context.out << LocalToUtf8(context.owner.GetSessionCookie()) << "\n";
    return kExitOk;
}

int List(const CliContext& context, const Args& args, const Args& flags) {
    if (args.size() != 1) {
        return WrongArguments(context, "ls");
    }
    if (int status = context.StartSession(); status != kExitOk) {
        return status;
    }
    std::string folder = AsFolder(args[0]);
    std::vector<std::string> lines;
    int listStatus = 0;
    if (context.session.ListFolder(Utf8ToLocal(folder), lines, listStatus) == 0) {
        return context.Fail(kExitFailed, "cannot list " + folder);
    }
    bool raw = HasFlag(flags, "--raw");
    for (const std::string& line : lines) {
        std::optional<ListingEntry> entry = ListingEntry::Parse(line);
        context.out << (raw || !entry ? TerminalSafeText(LocalToUtf8(line)) : FormatEntry(*entry)) << "\n";
    }
    return kExitOk;
}

int MakeFolder(const CliContext& context, const Args& args, const Args&) {
    if (args.size() != 2) {
        return WrongArguments(context, "mkdir");
    }
    if (int status = context.StartSession(); status != kExitOk) {
        return status;
    }
    std::string parent = AsFolder(args[0]);
    if (context.session.MakeFolder(Utf8ToLocal(parent), Utf8ToLocal(args[1])) == 0) {
        return context.Fail(kExitFailed, "cannot make the folder " + parent + args[1]);
    }
    return kExitOk;
}

int Rename(const CliContext& context, const Args& args, const Args&) {
    if (args.size() != 3) {
        return WrongArguments(context, "rename");
    }
    if (int status = context.StartSession(); status != kExitOk) {
        return status;
    }
    std::string folder = AsFolder(args[0]);
    if (context.session.RenameItem(Utf8ToLocal(folder), Utf8ToLocal(args[1]), Utf8ToLocal(args[2])) == 0) {
        return context.Fail(kExitFailed, "cannot rename " + folder + args[1] + " to " + args[2]);
    }
    return kExitOk;
}

int Remove(const CliContext& context, const Args& args, const Args&) {
    if (args.empty()) {
        return WrongArguments(context, "rm");
    }
    if (int status = context.StartSession(); status != kExitOk) {
        return status;
    }
    if (args.size() == 1) {
        if (context.session.RemoveItems(Utf8ToLocal(args[0])) == 0) {
            return context.Fail(kExitFailed, "cannot remove " + args[0]);
        }
        return kExitOk;
    }
    // One name at a time, so that every refusal is reported, not only the last.
    std::string folder = AsFolder(args[0]);
    int status = kExitOk;
    for (std::size_t i = 1; i < args.size(); ++i) {
        std::vector<std::string> names{Utf8ToLocal(args[i])};
        if (context.session.RemoveItems(Utf8ToLocal(folder), &names) == 0) {
            status = context.Fail(kExitFailed, "cannot remove " + folder + args[i]);
        }
    }
    return status;
}

int Quota(const CliContext& context, const Args& args, const Args&) {
    if (args.size() > 1) {
        return WrongArguments(context, "quota");
    }
    if (int status = context.StartSession(); status != kExitOk) {
        return status;
    }
    std::string folder = args.empty() ? "myfolder/" : args[0];
    if (context.session.QueryQuota(Utf8ToLocal(folder)) == 0) {
        return context.Fail(kExitFailed, "cannot read the quota of " + folder);
    }
    QuotaInfo quota = context.session.Quota();
    context.out << "total     " << quota.total << " bytes\n"
                << "used      " << quota.used << " bytes\n"
                << "remaining " << quota.remaining << " bytes\n";
    return kExitOk;
}

} // namespace

std::vector<CliCommand> BrowseCommands() {
    return {
        {"login", "login", "Logs in with --user and the password and prints the session cookie value,\n"
                           "which later commands can take with --cookie.", {}, Login},
        {"ls", "ls [--raw] FOLDER/",
         "Lists a server folder, one entry a line: kind (D folder, F file), size in bytes,\n"
         "date, time and name.\n  --raw  print the listing lines as the server sent them", {"--raw"}, List},
        {"mkdir", "mkdir PARENT/ NAME", "Makes the folder NAME in the server folder PARENT/.", {}, MakeFolder},
        {"rename", "rename FOLDER/ OLD NEW", "Renames the entry OLD of the server folder FOLDER/ to NEW.", {}, Rename},
        {"rm", "rm FOLDER/ NAME... | rm PATH",
         "Removes the named entries of FOLDER/, or the one entry PATH (a folder with its contents).", {}, Remove},
        {"quota", "quota [FOLDER]",
         "Shows the quota of the storage that holds FOLDER (default myfolder/): total, used and\n"
         "remaining bytes.", {}, Quota},
    };
}
