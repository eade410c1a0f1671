// put and get: upload local files and folders into a server folder, download server files and
// folders into a local folder. Local paths are this machine's paths; the client's own local
// paths (drive C: is the root) are made from them. Progress goes to stderr on a terminal, the
// overwrite question to the terminal or to --overwrite, and a summary closes every run.
#include <filesystem>
#include <iostream>
#include <set>
#include <unistd.h>

#include "cli/CliCommand.h"
#include "cli/TerminalOverwriteAnswerer.h"
#include "platform/base/CodePage.h"
#include "platform/base/LocalPath.h"
#include "platform/shell/ConsoleProgressPresenter.h"
#include "platform/window/MessageBox.h"
#include "session/ServerSession.h"
#include "session/TextConversion.h"
#include "transfer/ServerCollection.h"
#include "transfer/TransferStarter.h"

namespace fs = std::filesystem;

namespace {

using Args = std::vector<std::string>;

struct TransferOptions {
    std::string overwrite = "ask";
    bool quiet = false;
};

std::optional<TransferOptions> ReadOptions(const CliContext& context, const Args& flags) {
    TransferOptions options;
    for (const std::string& flag : flags) {
        if (flag == "--quiet") {
            options.quiet = true;
        } else if (flag.starts_with("--overwrite=")) {
            options.overwrite = flag.substr(flag.find('=') + 1);
        }
    }
    if (options.overwrite != "ask" && options.overwrite != "always" && options.overwrite != "skip") {
        context.Fail(kExitUsage, "--overwrite takes ask, always or skip");
        return std::nullopt;
    }
    return options;
}

// Message boxes of a job on the terminal, below the progress lines, with this machine's paths.
class JobMessageBoxPresenter : public ostrana::MessageBoxPresenter {
public:
    explicit JobMessageBoxPresenter(std::shared_ptr<ostrana::ConsoleProgressPresenter> progress)
        : m_progress(std::move(progress)) {}
    int Present(const ostrana::MessageBoxRequest& request) override {
        m_progress->BreakLines();
        ostrana::MessageBoxRequest shown = request;
        shown.text = ostrana::Utf8ToAnsi(ostrana::HostPathsInText(ostrana::AnsiToUtf8(request.text)));
        return m_console.Present(shown);
    }

private:
    std::shared_ptr<ostrana::ConsoleProgressPresenter> m_progress;
    ostrana::ConsoleMessageBoxPresenter m_console;
};

// Installs the program's presenters for one job and puts the previous ones back afterwards.
class TransferPresenters {
public:
    TransferPresenters(const CliContext& context, const TransferOptions& options)
        : m_previousBoxes(ostrana::CurrentMessageBoxPresenter()), m_previousAnswerer(ostrana::CurrentOverwriteAnswerer()) {
        auto progress = std::make_shared<ostrana::ConsoleProgressPresenter>(options.quiet);
        ostrana::SetProgressPresenter(progress);
        ostrana::SetMessageBoxPresenter(std::make_shared<JobMessageBoxPresenter>(progress));
        std::shared_ptr<ostrana::OverwriteAnswerer> answerer;
        if (options.overwrite == "always") {
            answerer = std::make_shared<ostrana::FixedOverwriteAnswerer>(1);
        } else if (options.overwrite == "skip") {
            answerer = std::make_shared<ostrana::FixedOverwriteAnswerer>(2);
        } else {
            answerer = std::make_shared<TerminalOverwriteAnswerer>(std::cin, context.err, ::isatty(STDIN_FILENO) == 1,
                                                                   [progress] { progress->BreakLines(); });
        }
        ostrana::SetOverwriteAnswerer(answerer);
    }
    ~TransferPresenters() {
        ostrana::SetProgressPresenter(nullptr);
        ostrana::SetMessageBoxPresenter(m_previousBoxes);
        ostrana::SetOverwriteAnswerer(m_previousAnswerer);
    }
    TransferPresenters(const TransferPresenters&) = delete;
    TransferPresenters& operator=(const TransferPresenters&) = delete;

private:
    std::shared_ptr<ostrana::MessageBoxPresenter> m_previousBoxes;
    std::shared_ptr<ostrana::OverwriteAnswerer> m_previousAnswerer;
};

// Runs one job to its end and prints the summary; the exit status of the run.
int RunJob(const CliContext& context, const TransferOptions& options, int direction, const std::string& destination,
           std::unique_ptr<TransferList> list, int missing) {
    TransferPresenters presenters(context, options);
    TransferStarter starter(context.session);
    if (!starter.StartTransfer(direction, destination, std::move(list), 0)) {
        return context.Fail(kExitFailed, "nothing was transferred");
    }
    TransferTally tally = starter.StopTransfer().value_or(TransferTally{});
    tally.failed += missing;
    context.err << (direction != 0 ? "sent " : "received ") << tally.sent << ", skipped " << tally.skipped
                << ", failed " << tally.failed << (tally.cancelled ? " (cancelled)" : "") << "\n";
    return tally.failed > 0 || tally.cancelled ? kExitFailed : kExitOk;
}

// The client's local path of a path of this machine, in the ANSI code page.
std::string LocalPathOf(const std::string& hostPath) {
    return ostrana::HostToLocalPath(fs::absolute(fs::path(hostPath)).lexically_normal().string());
}

std::string WithoutTrailing(std::string text, char separator) {
    while (text.size() > 1 && text.back() == separator) {
        text.pop_back();
    }
    return text;
}

int Put(const CliContext& context, const Args& args, const Args& flags) {
    auto options = ReadOptions(context, flags);
    if (!options) {
        return kExitUsage;
    }
    if (args.size() < 2 || args.back().empty() || args.back().back() != '/') {
        return context.Fail(kExitUsage, "put needs LOCAL... SERVERFOLDER/ (ostrana-cli put --help)");
    }
    if (int status = context.StartSession(); status != kExitOk) {
        return status;
    }
    std::string folder = Utf8ToLocal(args.back());
    // The quota check before the upload needs current figures, as the main window keeps them.
    context.session.QueryQuota(folder);
    auto list = std::make_unique<TransferList>(0);
    int missing = 0;
    for (std::size_t i = 0; i + 1 < args.size(); ++i) {
        std::string local = WithoutTrailing(LocalPathOf(args[i]), '\\');
        if (list->Count() == 0 && list->BaseFolder().empty()) {
            list->SetBaseFolder(local.substr(0, local.find_last_of('\\') + 1));
        }
        std::error_code error;
        fs::file_status status = fs::status(args[i], error);
        if (fs::is_directory(status)) {
            list->AddLocalFolder(local + "\\");
        } else if (fs::is_regular_file(status) && list->AddLocalPath(local)) {
        } else {
            context.Fail(kExitFailed, "no such file or folder: " + args[i]);
            ++missing;
        }
    }
    return RunJob(context, *options, 1, folder, std::move(list), missing);
}

int Get(const CliContext& context, const Args& args, const Args& flags) {
    auto options = ReadOptions(context, flags);
    if (!options) {
        return kExitUsage;
    }
    if (args.size() < 2) {
        return context.Fail(kExitUsage, "get needs SERVERPATH... LOCALFOLDER (ostrana-cli get --help)");
    }
    std::vector<std::string> paths;
    for (std::size_t i = 0; i + 1 < args.size(); ++i) {
        paths.push_back(WithoutTrailing(Utf8ToLocal(args[i]), '/'));
    }
    std::string base = paths.front().substr(0, paths.front().find_last_of('/') + 1);
    for (const std::string& path : paths) {
        if (path.size() <= base.size() || path.compare(0, base.size(), base) != 0 ||
            path.find('/', base.size()) != std::string::npos) {
            return context.Fail(kExitUsage, "the server paths of one get must share their folder");
        }
    }
    std::error_code error;
    fs::create_directories(args.back(), error);
    if (!fs::is_directory(args.back())) {
        return context.Fail(kExitFailed, "cannot make the local folder " + args.back());
    }
    if (int status = context.StartSession(); status != kExitOk) {
        return status;
    }
    ServerEntryLookup listed = ListingLookup(context.session, base);
    std::set<std::string> names;
    std::vector<std::string> present;
    int missing = 0;
    for (const std::string& path : paths) {
        // A name the folder does not list has nothing to fetch.
        ServerEntryInfo info = listed(path.substr(base.size()));
        if (info.folder || !info.size.empty()) {
            present.push_back(path);
        } else {
            context.Fail(kExitFailed, "no such file or folder: " + LocalToUtf8(path));
            ++missing;
        }
    }
    if (present.empty()) {
        return kExitFailed;
    }
    auto list = BuildDownloadList(context.session, present, listed);
    std::string target = WithoutTrailing(LocalPathOf(args.back()), '\\') + "\\";
    return RunJob(context, *options, 0, target, std::move(list), missing);
}

} // namespace

std::vector<CliCommand> TransferCommands() {
    return {
        {"put", "put [--overwrite ask|always|skip] [--quiet] LOCAL... SERVERFOLDER/",
         "Uploads local files and folders (with everything in them) into SERVERFOLDER/, after checking\n"
         "the quota. A file that already exists there is asked about (--overwrite ask, the default),\n"
         "replaced (always) or kept (skip). --quiet draws no progress bar. Ctrl-C cancels.\n"
         "Exit status 1 when any file failed; the last line sums up what was sent, skipped and failed.",
         {"--quiet", "--overwrite="},
         Put},
        {"get", "get [--overwrite ask|always|skip] [--quiet] SERVERPATH... LOCALFOLDER",
         "Downloads server files and folders (with everything in them) of one server folder into\n"
         "LOCALFOLDER, which is made when missing. A file is written beside its target first and\n"
         "replaces it only once complete. Options and exit status as for put.",
         {"--quiet", "--overwrite="},
         Get},
    };
}
