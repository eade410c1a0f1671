// ostrana-cli end to end against the real service: the program binary for login and help, the
// same code in-process for the other commands.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

#include "cli/CliCommand.h"
#include "tests/support/ServiceProcess.h"
#include "tests/support/TempDir.h"

namespace ostrana::test {
namespace {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

// In a forked child: becomes the built ostrana-cli with OSTRANA_PASSWORD set to `password`.
[[noreturn]] void ExecCli(const std::vector<std::string>& args, const std::string& password) {
    std::string binary = std::string(std::getenv("OSTRANA_TEST_BINARY_DIR")) + "/cli/ostrana-cli";
    ::setenv("OSTRANA_PASSWORD", password.c_str(), 1);
    std::vector<char*> argv{binary.data()};
    std::vector<std::string> copies = args;
    for (std::string& arg : copies) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    ::execv(binary.c_str(), argv.data());
    ::_exit(127);
}

// Runs the built ostrana-cli with OSTRANA_PASSWORD set to `password`.
CliRun RunBinary(const std::vector<std::string>& args, const std::string& password) {
    TempDir dir;
    std::string outPath = (dir / "out").string();
    std::string errPath = (dir / "err").string();
    pid_t pid = fork();
    if (pid == 0) {
        int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(out, 1);
        ::dup2(err, 2);
        int null = ::open("/dev/null", O_RDONLY);
        ::dup2(null, 0);
        ExecCli(args, password);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFileBytes(outPath), ReadFileBytes(errPath)};
}

// Runs the built ostrana-cli on a new terminal (stdin, stdout and stderr), with OSTRANA_PASSWORD
// set; `out` receives everything the terminal showed.
CliRun RunOnTerminal(const std::vector<std::string>& args, const std::string& password) {
    int terminal = -1;
    pid_t pid = ::forkpty(&terminal, nullptr, nullptr, nullptr);
    if (pid == 0) {
        ExecCli(args, password);
    }
    std::string shown;
    char buffer[4096];
    for (;;) {
        pollfd wait{terminal, POLLIN, 0};
        if (::poll(&wait, 1, 60000) != 1) {
            break;
        }
        ssize_t got = ::read(terminal, buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        shown.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(terminal);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, shown, {}};
}

class CliServiceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_service = new ServiceProcess(); }
    static void TearDownTestSuite() {
        delete s_service;
        s_service = nullptr;
    }

    std::string Server() const { return s_service->Host() + ":" + std::to_string(s_service->Port()); }

    CliRun RunIn(std::vector<std::string> args, const std::string& password = "demo1234") {
        args.insert(args.begin(), {"--server", Server(), "--user", "demo"});
        setenv("OSTRANA_PASSWORD", password.c_str(), 1);
        std::ostringstream out;
        std::ostringstream err;
        int status = RunCli(args, out, err);
        unsetenv("OSTRANA_PASSWORD");
        return {status, out.str(), err.str()};
    }

    static ServiceProcess* s_service;
};

ServiceProcess* CliServiceTest::s_service = nullptr;

TEST_F(CliServiceTest, TheProgramLogsInAndPrintsTheCookie) {
    CliRun login = RunBinary({"--server", Server(), "--user", "demo", "login"}, "demo1234");
    ASSERT_EQ(login.status, 0) << login.err;
    ASSERT_EQ(login.out.size(), 33u) << "a 128-bit token in hex and a line feed: " << login.out;
    EXPECT_NE(login.err.find("데모 (demo), account kind 1"), std::string::npos) << login.err;

    std::string cookie = login.out.substr(0, 32);
    CliRun list = RunBinary({"--server", Server(), "--cookie", cookie, "ls", "--raw", "myfolder/"}, "");
    EXPECT_EQ(list.status, 0) << list.err;
    EXPECT_NE(list.out.find(" readme.txt\n"), std::string::npos) << list.out;

    CliRun refused = RunBinary({"--server", Server(), "--user", "demo", "login"}, "wrong");
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, "ostrana-cli: the server refused the login of demo\n");
}

TEST_F(CliServiceTest, FoldersAreManagedAndListedInUtf8) {
    EXPECT_EQ(RunIn({"mkdir", "myfolder/", "여행 사진"}).status, 0);
    EXPECT_EQ(RunIn({"rename", "myfolder/", "여행 사진", "앨범"}).status, 0);
    CliRun list = RunIn({"ls", "myfolder/"});
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_NE(list.out.find(" 앨범\n"), std::string::npos) << list.out;
    EXPECT_EQ(list.out.find("여행 사진"), std::string::npos);
    EXPECT_NE(list.out.find("F           22 "), std::string::npos) << "kind and size in bytes: " << list.out;
    EXPECT_TRUE(std::filesystem::is_directory(s_service->Root() / "users/demo/myfolder/앨범"));

    EXPECT_EQ(RunIn({"mkdir", "myfolder/앨범", "안"}).status, 0) << "a folder without its slash gets one";
    EXPECT_EQ(RunIn({"rm", "myfolder/앨범/"}).status, 0);
    EXPECT_FALSE(std::filesystem::exists(s_service->Root() / "users/demo/myfolder/앨범"));
}

TEST_F(CliServiceTest, RemovingSeveralNamesReportsEachRefusal) {
    ASSERT_EQ(RunIn({"mkdir", "myfolder/", "a"}).status, 0);
    ASSERT_EQ(RunIn({"mkdir", "myfolder/", "b"}).status, 0);
    CliRun run = RunIn({"rm", "myfolder/", "a", "missing", "b"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "ostrana-cli: cannot remove myfolder/missing\n");
    EXPECT_FALSE(std::filesystem::exists(s_service->Root() / "users/demo/myfolder/a"));
    EXPECT_FALSE(std::filesystem::exists(s_service->Root() / "users/demo/myfolder/b"));
}

TEST_F(CliServiceTest, QuotaIsShownInBytes) {
    CliRun run = RunIn({"quota"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("total     104857600 bytes\n"), std::string::npos) << run.out;
}

TEST_F(CliServiceTest, RefusalsExitWithOneAndOneLineOnStderr) {
    CliRun wrong = RunIn({"ls", "myfolder/"}, "wrong");
    EXPECT_EQ(wrong.status, 1);
    EXPECT_EQ(wrong.err, "ostrana-cli: the server refused the login of demo\n");
    CliRun missing = RunIn({"ls", "myfolder/nowhere/"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "ostrana-cli: cannot list myfolder/nowhere/\n");
    CliRun html = RunIn({"mkdir", "html/", "x"});
    EXPECT_EQ(html.status, 1);
    CliRun rename = RunIn({"rename", "myfolder/", "nothing", "else"});
    EXPECT_EQ(rename.status, 1);
}

TEST_F(CliServiceTest, ATerminalSeesThisMachinesPathsInProgressAndMessages) {
    TempDir dir;
    std::filesystem::path blocked = dir / "down" / "readme.txt";
    std::filesystem::create_directories(blocked);
    CliRun run = RunOnTerminal({"--server", Server(), "--user", "demo", "get", "--overwrite=always",
                                "myfolder/readme.txt", (dir / "down").string()},
                               "demo1234");
    EXPECT_EQ(run.status, 1) << run.out;
    EXPECT_NE(run.out.find((dir / "down").string() + "/)폴더로"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(blocked.string() + " 파일을 만들 수 없습니다"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("C:\\"), std::string::npos) << run.out;
}

} // namespace
} // namespace ostrana::test
