// Opening documents and running programs; see ShellExecute.h.
#include "platform/shell/ShellExecute.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <mutex>
#include <thread>

#include "platform/base/CodePage.h"
#include "platform/base/LastError.h"
#include "platform/base/LocalPath.h"

extern char** environ;

namespace ostrana {
namespace {

std::mutex g_hookLock;
DocumentOpener g_opener;
ProgramLauncher g_launcher;

bool CarriesLineBreak(const std::string& text) { return text.find_first_of("\r\n") != std::string::npos; }

bool LooksLikeDrivePath(const std::string& text) {
    return text.size() >= 2 && text[1] == ':' && ((text[0] >= 'A' && text[0] <= 'Z') || (text[0] >= 'a' && text[0] <= 'z'));
}

// A local path becomes the host's path; anything else (web addresses) only changes code page.
std::string HostArgument(const std::string& ansi) {
    if (LooksLikeDrivePath(ansi)) {
        if (auto host = LocalToHostPath(ansi)) return *host;
    }
    return AnsiToUtf8(ansi);
}

bool ExecutableOnPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    if (path == nullptr) return false;
    std::string folders = path;
    size_t start = 0;
    while (start <= folders.size()) {
        size_t end = folders.find(':', start);
        if (end == std::string::npos) end = folders.size();
        std::string candidate = folders.substr(start, end - start) + "/" + name;
        if (end > start && access(candidate.c_str(), X_OK) == 0) return true;
        start = end + 1;
    }
    return false;
}

// Starts the program without waiting for it; a detached thread reaps it so that no zombie stays.
bool SpawnDetached(const std::vector<std::string>& hostArguments) {
    if (hostArguments.empty()) return false;
    std::vector<char*> argv;
    for (const std::string& argument : hostArguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
    std::thread([pid] {
        int status = 0;
        waitpid(pid, &status, 0);
    }).detach();
    return true;
}

bool DefaultLaunch(const std::vector<std::string>& arguments) {
    std::vector<std::string> host;
    for (const std::string& argument : arguments) host.push_back(HostArgument(argument));
    return SpawnDetached(host);
}

bool DefaultOpen(const std::string& target) {
    const char* configured = std::getenv("OSTRANA_OPENER");
    std::string opener = configured != nullptr && *configured != '\0' ? configured : "";
    if (opener.empty()) {
        if (!ExecutableOnPath("xdg-open")) return false;
        opener = "xdg-open";
    }
    return SpawnDetached({opener, HostArgument(target)});
}

} // namespace

void SetDocumentOpener(DocumentOpener opener) {
    std::lock_guard<std::mutex> guard(g_hookLock);
    g_opener = std::move(opener);
}

void SetProgramLauncher(ProgramLauncher launcher) {
    std::lock_guard<std::mutex> guard(g_hookLock);
    g_launcher = std::move(launcher);
}

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
    std::vector<std::string> arguments;
    std::string current;
    bool inArgument = false;
    bool quoted = false;
    for (size_t i = 0; i < commandLine.size(); ++i) {
        char c = commandLine[i];
        if (c == '\\') {
            size_t run = 0;
            while (i + run < commandLine.size() && commandLine[i + run] == '\\') ++run;
            bool beforeQuote = i + run < commandLine.size() && commandLine[i + run] == '"';
            current.append(beforeQuote ? run / 2 : run, '\\');
            i += run - 1;
            inArgument = true;
            if (beforeQuote && run % 2 == 1) {
                current += '"';
                ++i;
            }
            continue;
        }
        if (c == '"') {
            quoted = !quoted;
            inArgument = true;
            continue;
        }
        if ((c == ' ' || c == '\t') && !quoted) {
            if (inArgument) arguments.push_back(current);
            current.clear();
            inArgument = false;
            continue;
        }
        current += c;
        inArgument = true;
    }
    if (inArgument) arguments.push_back(current);
    return arguments;
}

} // namespace ostrana

HINSTANCE ShellExecuteA(HWND, LPCSTR verb, LPCSTR file, LPCSTR, LPCSTR, INT) {
    auto result = [](INT_PTR code) { return reinterpret_cast<HINSTANCE>(code); };
    if (file == nullptr || *file == '\0') return result(SE_ERR_FNF);
    std::string target = file;
    if (ostrana::CarriesLineBreak(target)) return result(ERROR_BAD_FORMAT);
    if (verb != nullptr && std::string(verb) != "open") return result(SE_ERR_NOASSOC);
    ostrana::DocumentOpener opener;
    {
        std::lock_guard<std::mutex> guard(ostrana::g_hookLock);
        opener = ostrana::g_opener;
    }
    bool opened = opener ? opener(target) : ostrana::DefaultOpen(target);
    return result(opened ? 42 : SE_ERR_NOASSOC);
}

UINT WinExec(LPCSTR commandLine, UINT) {
    if (commandLine == nullptr) return ERROR_FILE_NOT_FOUND;
    std::string line = commandLine;
    if (ostrana::CarriesLineBreak(line)) return ERROR_BAD_FORMAT;
    std::vector<std::string> arguments = ostrana::SplitCommandLine(line);
    if (arguments.empty()) return ERROR_FILE_NOT_FOUND;
    ostrana::ProgramLauncher launcher;
    {
        std::lock_guard<std::mutex> guard(ostrana::g_hookLock);
        launcher = ostrana::g_launcher;
    }
    bool started = launcher ? launcher(arguments) : ostrana::DefaultLaunch(arguments);
    return started ? 33 : ERROR_FILE_NOT_FOUND;
}
