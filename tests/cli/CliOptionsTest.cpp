// The command line of ostrana-cli: options, usage errors and help, without a server.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/CliCommand.h"
#include "cli/CliOptions.h"
#include "cli/TerminalText.h"

namespace {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

CliRun RunWith(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    int status = RunCli(args, out, err);
    return {status, out.str(), err.str()};
}

TEST(CliOptionsTest, GlobalOptionsComeBeforeTheCommand) {
    std::string error;
    auto options = ParseCliOptions({"--server", "files.example:8081", "--user", "demo", "--cookie", "abc", "ls",
                                    "--raw", "myfolder/"},
                                   error);
    ASSERT_TRUE(options.has_value()) << error;
    EXPECT_EQ(options->host, "files.example");
    EXPECT_EQ(options->port, 8081);
    EXPECT_EQ(options->userId, "demo");
    EXPECT_EQ(options->cookie, "abc");
    EXPECT_EQ(options->command, "ls");
    EXPECT_EQ(options->arguments, (std::vector<std::string>{"--raw", "myfolder/"}));
}

TEST(CliOptionsTest, ServerAddressesTakeAnOptionalPort) {
    std::string host;
    int port = 0;
    EXPECT_TRUE(ParseServerAddress("example", host, port));
    EXPECT_EQ(host, "example");
    EXPECT_EQ(port, 80);
    EXPECT_TRUE(ParseServerAddress("127.0.0.1:65535", host, port));
    EXPECT_EQ(port, 65535);
    EXPECT_FALSE(ParseServerAddress("127.0.0.1:0", host, port));
    EXPECT_FALSE(ParseServerAddress("127.0.0.1:http", host, port));
    EXPECT_FALSE(ParseServerAddress("127.0.0.1:", host, port));
}

TEST(CliUsageTest, UsageErrorsExitWithTwoAndSayWhy) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {},
             {"--bogus", "ls"},
             {"--server"},
             {"--server", "host:99999", "ls", "myfolder/"},
             {"frobnicate"},
             {"ls"},
             {"ls", "--long", "myfolder/"},
             {"mkdir", "myfolder/"},
             {"rename", "myfolder/", "a"},
             {"rm"},
             {"quota", "a/", "b/"},
             {"--server", "127.0.0.1:1", "ls", "myfolder/"},
             {"--cookie", "x", "login"}}) {
        CliRun run = RunWith(args);
        EXPECT_EQ(run.status, 2) << ::testing::PrintToString(args);
        EXPECT_NE(run.err.find("ostrana-cli: "), std::string::npos);
    }
}

TEST(CliUsageTest, HelpDescribesTheProgramAndEachCommand) {
    CliRun program = RunWith({"--help"});
    EXPECT_EQ(program.status, 0);
    for (const char* text : {"--server", "--user", "--cookie", "OSTRANA_PASSWORD", "Exit status", "ls [--raw] FOLDER/",
                             "rm FOLDER/ NAME... | rm PATH", "quota [FOLDER]"}) {
        EXPECT_NE(program.out.find(text), std::string::npos) << text;
    }
    for (const char* command : {"login", "ls", "mkdir", "rename", "rm", "quota"}) {
        CliRun help = RunWith({command, "--help"});
        EXPECT_EQ(help.status, 0);
        EXPECT_NE(help.out.find(std::string("usage: ostrana-cli [GLOBAL OPTIONS] ") + command), std::string::npos);
    }
}

TEST(CliUsageTest, AnUnreachableServerExitsWithOne) {
    CliRun run = RunWith({"--server", "127.0.0.1:1", "--cookie", "x", "quota"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "ostrana-cli: cannot connect to 127.0.0.1:1\n");
}

} // namespace

namespace {

// A server name carrying a terminal escape sequence or line breaks must not reach the terminal as
// such; ordinary names, Korean ones included, are shown unchanged.
TEST(TerminalTextTest, ControlCharactersFromTheServerAreShownAsEscapes) {
    EXPECT_EQ(TerminalSafeText("\x1b]0;owned\x07name"), "\\x1B]0;owned\\x07name");
    EXPECT_EQ(TerminalSafeText("two\r\nlines\x7f"), "two\\x0D\\x0Alines\\x7F");
    EXPECT_EQ(TerminalSafeText("보고서 2024 (final).txt"), "보고서 2024 (final).txt");
    EXPECT_EQ(TerminalSafeText(std::string("a\0b", 3)), "a\\x00b");
}

}  // namespace
