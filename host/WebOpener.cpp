// Web addresses to the page, documents to the desktop's opener.
#include "host/WebOpener.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <thread>
#include <vector>

#include "platform/base/CodePage.h"
#include "platform/base/LocalPath.h"
#include "platform/shell/ShellExecute.h"

extern char** environ;

namespace ostrana::host {

namespace {

bool StartsWithNoCase(const std::string& text, const char* prefix)
{
    for (size_t i = 0; prefix[i]; ++i)
        if (i >= text.size() || std::tolower(static_cast<unsigned char>(text[i])) != prefix[i])
            return false;
    return true;
}

// As the platform opens a document when no container is there: OSTRANA_OPENER or xdg-open,
// not waited for, reaped by a detached thread.
bool OpenOnThisMachine(const std::string& target)
{
    const char* configured = std::getenv("OSTRANA_OPENER");
    std::string opener = configured && *configured ? configured : "xdg-open";
    std::string argument = LocalToHostPath(target).value_or(AnsiToUtf8(target));
    std::vector<char*> argv{opener.data(), argument.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return false;
    std::thread([pid] {
        int status = 0;
        waitpid(pid, &status, 0);
    }).detach();
    return true;
}

} // namespace

bool IsWebAddress(const std::string& target)
{
    // Line breaks would let an address smuggle a second message or command.
    return (StartsWithNoCase(target, "http://") || StartsWithNoCase(target, "https://")) &&
           target.find_first_of("\r\n") == std::string::npos;
}

WebOpener::WebOpener(std::function<bool(const std::string&)> toPage) : m_toPage(std::move(toPage))
{
    SetDocumentOpener([this](const std::string& target) { return Open(target); });
}

WebOpener::~WebOpener()
{
    SetDocumentOpener({});
}

bool WebOpener::Open(const std::string& target) const
{
    if (IsWebAddress(target) && m_toPage(AnsiToUtf8(target)))
        return true;
    return OpenOnThisMachine(target);
}

} // namespace ostrana::host
