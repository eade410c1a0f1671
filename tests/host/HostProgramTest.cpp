// The `ostrana` program as a user starts it: address first on stdout, help, bad arguments, SIGTERM.
#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/TempDir.h"

namespace {

struct Started {
    pid_t pid = -1;
    int out = -1;
};

Started Start(std::vector<std::string> arguments)
{
    std::string program = std::string(std::getenv("OSTRANA_TEST_BINARY_DIR")) + "/host/ostrana";
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return {};
    pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeEnds[1], 1);
        close(pipeEnds[0]);
        std::vector<char*> argv{program.data()};
        for (auto& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(pipeEnds[1]);
    return {pid, pipeEnds[0]};
}

// Reads until a newline or the end, waiting at most ten seconds in all.
std::string FirstLine(int fd)
{
    std::string line;
    pollfd watch{fd, POLLIN, 0};
    char c;
    while (poll(&watch, 1, 10000) > 0 && read(fd, &c, 1) == 1 && c != '\n')
        line += c;
    return line;
}

int ExitCode(pid_t pid)
{
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(HostProgram, PrintsItsAddressAndEndsOnTerminate)
{
    // The program registers its control; that goes to a registry of the test's own.
    ostrana::test::ScopedRegistryFile registry;
    Started program = Start({"--no-open", "--port", "0"});
    ASSERT_GT(program.pid, 0);
    std::string line = FirstLine(program.out);
    EXPECT_TRUE(line.starts_with("http://127.0.0.1:")) << line;
    EXPECT_NE(line.find("/?t="), std::string::npos);
    EXPECT_EQ(line.size() - line.find("?t=") - 3, 32u);
    kill(program.pid, SIGTERM);
    EXPECT_EQ(ExitCode(program.pid), 0);
    close(program.out);
}

TEST(HostProgram, HelpAndBadArguments)
{
    Started help = Start({"--help"});
    EXPECT_TRUE(FirstLine(help.out).starts_with("usage: ostrana"));
    EXPECT_EQ(ExitCode(help.pid), 0);
    close(help.out);
    Started bad = Start({"--port", "x"});
    EXPECT_EQ(ExitCode(bad.pid), 2);
    close(bad.out);
}

} // namespace
