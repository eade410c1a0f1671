// Child process handling with posix_spawn (safe in multi-threaded test programs), a poll-bounded
// wait for the start line and a pidfd-bounded wait for the exit; no sleeps.
#include "tests/support/ServiceProcess.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/inotify.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace ostrana::test {

namespace {

constexpr int kStartTimeoutMs = 60000;
constexpr int kStopTimeoutMs = 20000;
constexpr std::string_view kListeningPrefix = "ostrana-service listening on 127.0.0.1:";

// Reads one line from the pipe, giving up when the deadline passes or the pipe closes.
std::string ReadStartLine(int fd) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartTimeoutMs);
    std::string line;
    while (line.find('\n') == std::string::npos) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            break;
        }
        pollfd wait{fd, POLLIN, 0};
        const int ready = poll(&wait, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            break;
        }
        char chunk[256];
        const ssize_t count = read(fd, chunk, sizeof chunk);
        if (count <= 0) {
            break;
        }
        line.append(chunk, static_cast<std::size_t>(count));
    }
    return line.substr(0, line.find('\n'));
}

} // namespace

std::filesystem::path ServiceProcess::BinaryPath() {
    const char* dir = std::getenv("OSTRANA_TEST_BINARY_DIR");
    if (dir == nullptr) {
        throw std::runtime_error("OSTRANA_TEST_BINARY_DIR is not set");
    }
    return std::filesystem::path(dir) / "service" / "ostrana-service";
}

ServiceProcess::ServiceProcess() : ServiceProcess(std::vector<std::string>{}) {}

ServiceProcess::ServiceProcess(const std::vector<std::string>& extraArguments) { Start(extraArguments); }

ServiceProcess::~ServiceProcess() { Terminate(); }

std::string ServiceProcess::LogText() const { return ReadFileBytes(m_dir.Path() / "service.log"); }

int ServiceProcess::CountInLog(const std::string& needle, int atLeast) const {
    auto count = [&] {
        std::string log = LogText();
        int found = 0;
        for (std::size_t at = log.find(needle); at != std::string::npos; at = log.find(needle, at + 1)) ++found;
        return found;
    };
    int found = count();
    if (found >= atLeast) return found;
    int watch = inotify_init1(IN_CLOEXEC);
    inotify_add_watch(watch, (m_dir.Path() / "service.log").c_str(), IN_MODIFY);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while ((found = count()) < atLeast) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd wait{watch, POLLIN, 0};
        if (left.count() <= 0 || poll(&wait, 1, static_cast<int>(left.count())) <= 0) break;
        char events[4096];
        [[maybe_unused]] ssize_t ignored = read(watch, events, sizeof events);
    }
    close(watch);
    return found;
}

void ServiceProcess::Start(const std::vector<std::string>& extraArguments) {
    const std::string binary = BinaryPath().string();
    std::vector<std::string> arguments = {binary, "--root", Root().string(), "--demo", "--listen", "127.0.0.1:0"};
    arguments.insert(arguments.end(), extraArguments.begin(), extraArguments.end());
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe2 failed");
    }
    const std::string logPath = (m_dir.Path() / "service.log").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int spawned = posix_spawn(&m_pid, binary.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
        close(pipeFds[0]);
        m_pid = -1;
        throw std::runtime_error("cannot start " + binary);
    }
    const std::string line = ReadStartLine(pipeFds[0]);
    close(pipeFds[0]);
    if (line.rfind(kListeningPrefix, 0) == 0) {
        m_port = std::atoi(line.c_str() + kListeningPrefix.size());
    }
    if (m_port <= 0) {
        Terminate();
        throw std::runtime_error("ostrana-service did not start: \"" + line + "\"\n" + LogText());
    }
}

void ServiceProcess::Terminate() {
    if (m_pid <= 0) {
        return;
    }
    kill(m_pid, SIGTERM);
    const int pidFd = static_cast<int>(syscall(SYS_pidfd_open, m_pid, 0));
    if (pidFd >= 0) {
        pollfd wait{pidFd, POLLIN, 0};
        if (poll(&wait, 1, kStopTimeoutMs) <= 0) {
            kill(m_pid, SIGKILL);
        }
        close(pidFd);
    }
    int status = 0;
    while (waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
    }
    m_pid = -1;
}

} // namespace ostrana::test
