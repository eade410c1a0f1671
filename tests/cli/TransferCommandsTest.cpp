// ostrana-cli put and get against the real service: a folder goes up and comes back the same,
// the overwrite options, the summary and the exit statuses; a get cut off by Ctrl-C, against a
// scripted server; and the terminal's overwrite question.
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <future>
#include <gtest/gtest.h>
#include <sstream>

#include "cli/CliCommand.h"
#include "cli/TerminalOverwriteAnswerer.h"
#include "platform/window/MessageBox.h"
#include "tests/support/ServiceProcess.h"
#include "tests/support/TempDir.h"
#include "tests/transfer/FakeStorageServer.h"

namespace fs = std::filesystem;
using namespace ostrana::test;

namespace {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

class TransferCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFileBytes(dir / "password", "demo1234\n");
        // The overwrite question must find no terminal, also when the tests run from one.
        ASSERT_NE(std::freopen("/dev/null", "r", stdin), nullptr);
    }

    CliRun Cli(std::vector<std::string> args) {
        std::vector<std::string> all = {"--server", "127.0.0.1:" + std::to_string(service.Port()), "--user", "demo",
                                        "--password-file", (dir / "password").string()};
        all.insert(all.end(), args.begin(), args.end());
        std::ostringstream out, err;
        int status = RunCli(all, out, err);
        return {status, out.str(), err.str()};
    }

    static std::string LastLine(const std::string& text) {
        std::string trimmed = text.substr(0, text.find_last_not_of('\n') + 1);
        return trimmed.substr(trimmed.find_last_of('\n') + 1);
    }

    ServiceProcess service;
    TempDir dir;
};

bool SameTree(const fs::path& a, const fs::path& b) {
    std::vector<std::string> left, right;
    for (const auto& entry : fs::recursive_directory_iterator(a)) {
        left.push_back(fs::relative(entry.path(), a).string() + (entry.is_directory() ? "/" : "=" + ReadFileBytes(entry.path())));
    }
    for (const auto& entry : fs::recursive_directory_iterator(b)) {
        right.push_back(fs::relative(entry.path(), b).string() + (entry.is_directory() ? "/" : "=" + ReadFileBytes(entry.path())));
    }
    std::sort(left.begin(), left.end());
    std::sort(right.begin(), right.end());
    return left == right;
}

} // namespace

TEST_F(TransferCommandsTest, AFolderGoesUpAndComesBackTheSame) {
    fs::create_directories(dir / "보낼 폴더" / "sub" / "empty");
    WriteFileBytes(dir / "보낼 폴더" / "a.txt", "alpha");
    WriteFileBytes(dir / "보낼 폴더" / "sub" / "b c.bin", std::string(70000, 'b'));
    WriteFileBytes(dir / "보낼 폴더" / "zero", "");
    CliRun put = Cli({"put", "--quiet", (dir / "보낼 폴더").string(), "myfolder/"});
    EXPECT_EQ(put.status, 0) << put.err;
    EXPECT_EQ(LastLine(put.err), "sent 3, skipped 0, failed 0");

    CliRun get = Cli({"get", "--quiet", "myfolder/보낼 폴더/", (dir / "back").string()});
    EXPECT_EQ(get.status, 0) << get.err;
    EXPECT_EQ(LastLine(get.err), "received 3, skipped 0, failed 0");
    EXPECT_TRUE(SameTree(dir / "보낼 폴더", dir / "back" / "보낼 폴더"));
}

TEST_F(TransferCommandsTest, OverwriteOptionsDecideWithoutATerminal) {
    WriteFileBytes(dir / "f.txt", "first");
    ASSERT_EQ(Cli({"put", "--quiet", (dir / "f.txt").string(), "myfolder/"}).status, 0);
    WriteFileBytes(dir / "f.txt", "second");
    CliRun asked = Cli({"put", "--quiet", (dir / "f.txt").string(), "myfolder/"});
    EXPECT_EQ(asked.status, 0);
    EXPECT_EQ(LastLine(asked.err), "sent 0, skipped 1, failed 0");
    EXPECT_NE(asked.err.find("no terminal to ask"), std::string::npos);
    CliRun skipped = Cli({"put", "--overwrite", "skip", "--quiet", (dir / "f.txt").string(), "myfolder/"});
    EXPECT_EQ(LastLine(skipped.err), "sent 0, skipped 1, failed 0");
    EXPECT_EQ(ReadFileBytes(service.Root() / "users" / "demo" / "myfolder" / "f.txt"), "first");
    CliRun replaced = Cli({"put", "--overwrite=always", "--quiet", (dir / "f.txt").string(), "myfolder/"});
    EXPECT_EQ(LastLine(replaced.err), "sent 1, skipped 0, failed 0");
    EXPECT_EQ(ReadFileBytes(service.Root() / "users" / "demo" / "myfolder" / "f.txt"), "second");
}

TEST_F(TransferCommandsTest, MissingFilesFailWithStatusOneAndUsageErrorsWithTwo) {
    WriteFileBytes(dir / "here.txt", "here");
    CliRun put = Cli({"put", "--quiet", (dir / "here.txt").string(), (dir / "not-here.txt").string(), "myfolder/"});
    EXPECT_EQ(put.status, 1);
    EXPECT_EQ(LastLine(put.err), "sent 1, skipped 0, failed 1");
    CliRun get = Cli({"get", "--quiet", "myfolder/nothing.txt", (dir / "down").string()});
    EXPECT_EQ(get.status, 1);
    EXPECT_EQ(Cli({"put", (dir / "here.txt").string(), "myfolder"}).status, 2);
    EXPECT_EQ(Cli({"put", "--overwrite", "maybe", (dir / "here.txt").string(), "myfolder/"}).status, 2);
    EXPECT_EQ(Cli({"get", "myfolder/a", "html/b", (dir / "down").string()}).status, 2);
}

namespace {

class InterruptedGetTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(std::freopen("/dev/null", "r", stdin), nullptr);
        server.AddFile("myfolder/big.bin", std::string(60000, 'n'));
    }
    CliRun Get(const std::vector<std::string>& args) {
        std::vector<std::string> all = {"--server", "127.0.0.1:" + std::to_string(server.Port()), "--cookie", "c", "get"};
        all.insert(all.end(), args.begin(), args.end());
        std::ostringstream out, err;
        int status = RunCli(all, out, err);
        return {status, out.str(), err.str()};
    }

    FakeStorageServer server;
    TempDir dir;
};

} // namespace

TEST_F(InterruptedGetTest, CtrlCMidBodyKeepsTheOldFile) {
    WriteFileBytes(dir / "big.bin", "old");
    server.HoldGetFileAfter("myfolder/big.bin", 20000);
    auto run = std::async(std::launch::async, [&] { return Get({"--overwrite=always", "--quiet", "myfolder/big.bin", dir.Str()}); });
    ASSERT_TRUE(server.WaitGetFileHeld());
    // Delivered to this thread before raise returns: the job sees it at its next block.
    std::raise(SIGINT);
    server.ReleaseHeldGetFile();
    CliRun get = run.get();
    EXPECT_EQ(get.status, 1);
    EXPECT_NE(get.err.find("(cancelled)"), std::string::npos) << get.err;
    EXPECT_EQ(ReadFileBytes(dir / "big.bin"), "old");
    EXPECT_EQ(EntriesOf(dir.Path()), (std::vector<std::string>{"big.bin"}));
}

TEST(TerminalOverwriteAnswererTest, AsksUntilItUnderstandsTheAnswer) {
    std::istringstream in("maybe\nA\nn\ns\n");
    std::ostringstream err;
    TerminalOverwriteAnswerer answerer(in, err, true);
    COverwriteDlg dialog;
    dialog.m_strFolder = "myfolder/";
    dialog.m_strOldName = "x.txt";
    EXPECT_EQ(answerer.Ask(dialog), IDOK);
    EXPECT_EQ(dialog.m_nRadio, 1);
    EXPECT_EQ(answerer.Ask(dialog), IDCANCEL);
    EXPECT_EQ(answerer.Ask(dialog), IDOK);
    EXPECT_EQ(dialog.m_nRadio, 2);
    EXPECT_EQ(answerer.Ask(dialog), IDCANCEL); // end of input
    EXPECT_NE(err.str().find("myfolder/: x.txt exists"), std::string::npos);

    std::istringstream none;
    std::ostringstream downloadErr;
    TerminalOverwriteAnswerer download(none, downloadErr, false);
    dialog.m_strFolder = "C:\\tmp\\down\\";
    download.Ask(dialog);
    EXPECT_NE(downloadErr.str().find("/tmp/down/: x.txt exists"), std::string::npos) << downloadErr.str();
}
