// Jobs against a scripted storage server: the order of the job's end, cancel, the quota check,
// folder creation, split ".GETFILE" replies, a server that closes mid-body, downloads that keep
// their target until the whole file is there, a file that shrinks while it is sent, files that
// cannot be created, and commands that must not interleave.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <future>
#include <gtest/gtest.h>

#include "platform/base/CodePage.h"
#include "platform/base/Event.h"
#include "platform/com/Com.h"
#include "tests/support/TempDir.h"
#include "tests/transfer/FakeStorageServer.h"
#include "tests/transfer/TransferHarness.h"
#include "transfer/RunDownload.h"
#include "transfer/ServerCollection.h"

namespace fs = std::filesystem;
using namespace ostrana::test;
using Kind = ostrana::ProgressCall::Kind;

namespace {

std::unique_ptr<TransferList> DownloadListOf(ServerSession& session, const std::vector<std::string>& paths) {
    std::string first = paths.front();
    std::string base = first.substr(0, first.find_last_of('/') + 1);
    return BuildDownloadList(session, paths, ListingLookup(session, base));
}

std::string Pattern(std::size_t size, char seed = 'a') {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>(seed + (i * 7 + i / 251) % 26);
    }
    return bytes;
}

class TransferJobTest : public ::testing::Test {
protected:
    FakeStorageServer server;
    TransferHarness harness{server.Port()};
    TempDir dir;
};

} // namespace

TEST_F(TransferJobTest, UploadCreatesFoldersParentFirstAndSendsExactPaths) {
    fs::create_directories(dir / "a" / "b");
    WriteFileBytes(dir / "a" / "b" / "c.txt", "hello");
    TransferTally tally = harness.Run(1, "myfolder/", UploadListOf({(dir / "a").string()}));
    EXPECT_EQ(tally.sent, 1);
    auto commands = server.Commands();
    std::vector<std::string> lines;
    for (const std::string& command : commands) {
        std::string line = command.substr(command.find(' ') + 1);
        if (line.rfind(".QUOTA", 0) != 0) {
            lines.push_back(line);
        }
    }
    EXPECT_EQ(lines, (std::vector<std::string>{".DIR \"myfolder/\"", ".DIR \"myfolder/a/\"", ".MKDIR \"myfolder/a\"",
                                               ".DIR \"myfolder/a/b/\"", ".MKDIR \"myfolder/a/b\"",
                                               ".SAVETO \"myfolder/a/b/c.txt\" 5"}));
    EXPECT_EQ(server.File("myfolder/a/b/c.txt"), "hello");
}

TEST_F(TransferJobTest, JobEndsInOrderAndReportsTheDialogItUsed) {
    WriteFileBytes(dir / "one.bin", Pattern(10000));
    WriteFileBytes(dir / "empty.bin", "");
    TransferTally tally = harness.Run(1, "myfolder/", UploadListOf({(dir / "one.bin").string(), (dir / "empty.bin").string()}));
    EXPECT_EQ(tally.sent, 2);
    EXPECT_EQ(server.File("myfolder/one.bin"), Pattern(10000));
    EXPECT_TRUE(server.HasFile("myfolder/empty.bin"));
    EXPECT_EQ(server.CommandsStartingWith(".SAVETO \"myfolder/empty.bin\"").front(), ".SAVETO \"myfolder/empty.bin\" 0");
    EXPECT_EQ(harness.doneMessages, 1);
    EXPECT_FALSE(harness.transferOpenWhenPosted); // closed before the end was posted
    auto calls = harness.progress->Calls();
    ASSERT_GE(calls.size(), 6u);
    EXPECT_EQ(calls[0].kind, Kind::Title);
    EXPECT_EQ(calls[0].text, "서버로 업로드중입니다...");
    EXPECT_EQ(calls[1].number, 102u); // the upload animation
    EXPECT_EQ(calls[2].text, "취소하셨습니다.");
    EXPECT_EQ(calls[3].kind, Kind::Start);
    EXPECT_EQ(calls[3].number, static_cast<DWORD>(PROGDLG_AUTOTIME));
    EXPECT_EQ(calls.back().kind, Kind::Stop);
    EXPECT_EQ(harness.progress->Lines(1).front(), "전송 준비중입니다...");
    EXPECT_EQ(harness.progress->LastCompleted(), 10000u);
    EXPECT_EQ(harness.progress->Lines(2).back(),
              "(" + ostrana::AnsiToUtf8(TransferHarness::Local(dir.Str())) + "\\)폴더에서 (myfolder/)폴더로..");
}

TEST_F(TransferJobTest, SecondStartWhileOneRunsDoesNothing) {
    WriteFileBytes(dir / "big.bin", Pattern(400000));
    harness.session.QueryQuota("myfolder/");
    HANDLE done = harness.starter.DoneEvent();
    server.AddFile("myfolder/big.bin", "old");
    // The job exists until its owner ends it, however soon its thread is done.
    ASSERT_TRUE(harness.starter.StartTransfer(1, "myfolder/", UploadListOf({(dir / "big.bin").string()}), 1));
    EXPECT_FALSE(harness.starter.StartTransfer(1, "myfolder/", UploadListOf({(dir / "big.bin").string()}), 1));
    EXPECT_EQ(WaitForSingleObject(done, 20000), static_cast<DWORD>(WAIT_OBJECT_0));
    SetEvent(done);
    auto tally = harness.starter.StopTransfer();
    ASSERT_TRUE(tally.has_value());
    EXPECT_EQ(tally->skipped, 1); // the unanswered question counts as "아니오"
    EXPECT_EQ(server.File("myfolder/big.bin"), "old");
}

TEST_F(TransferJobTest, CancelBeforeTheFirstItemStillEndsTheJobInOrder) {
    WriteFileBytes(dir / "x.bin", "x");
    harness.progress->CancelWhen([](const ostrana::ProgressCall& call) { return call.kind == Kind::Start; });
    TransferTally tally = harness.Run(1, "myfolder/", UploadListOf({(dir / "x.bin").string()}));
    EXPECT_TRUE(tally.cancelled);
    EXPECT_EQ(tally.sent, 0);
    EXPECT_TRUE(server.CommandsStartingWith(".SAVETO").empty());
    EXPECT_EQ(harness.doneMessages, 1);
    EXPECT_EQ(harness.progress->Calls().back().kind, Kind::Stop);
}

TEST_F(TransferJobTest, CancelInTheMiddleOfAnUploadClosesTheTransferConnection) {
    WriteFileBytes(dir / "big.bin", Pattern(200000));
    WriteFileBytes(dir / "later.bin", "later");
    harness.progress->CancelWhen([](const ostrana::ProgressCall& call) {
        return call.kind == Kind::Progress && call.completed >= 40000 && call.completed < call.total;
    });
    TransferTally tally = harness.Run(1, "myfolder/", UploadListOf({(dir / "big.bin").string(), (dir / "later.bin").string()}));
    EXPECT_TRUE(tally.cancelled);
    EXPECT_FALSE(server.HasFile("myfolder/big.bin"));
    EXPECT_FALSE(server.HasFile("myfolder/later.bin"));
    EXPECT_FALSE(harness.session.IsTransferOpen());
    EXPECT_EQ(harness.doneMessages, 1);
}

TEST_F(TransferJobTest, CancelInTheMiddleOfADownloadLeavesTheTargetAsItWasAndNoTemporaryFile) {
    // One replaced file and one new one; each job is cancelled inside its body.
    server.AddFile("myfolder/big.bin", Pattern(300000));
    WriteFileBytes(dir / "big.bin", "keep me");
    harness.answerer->QueueAnswer(IDOK, 1);
    auto cancelInsideTheBody = [](const ostrana::ProgressCall& call) {
        return call.kind == Kind::Progress && call.completed >= 20000 && call.completed < call.total;
    };
    harness.progress->CancelWhen(cancelInsideTheBody);
    std::string destination = TransferHarness::Local(dir.Str()) + "\\";
    TransferTally tally = harness.Run(0, destination, DownloadListOf(harness.session, {"myfolder/big.bin"}));
    EXPECT_TRUE(tally.cancelled);
    EXPECT_EQ(tally.sent, 0);
    EXPECT_EQ(ReadFileBytes(dir / "big.bin"), "keep me");
    EXPECT_EQ(EntriesOf(dir.Path()), (std::vector<std::string>{"big.bin"}));
    EXPECT_FALSE(harness.session.IsTransferOpen());

    fs::remove(dir / "big.bin");
    harness.progress->CancelWhen(cancelInsideTheBody);
    harness.Run(0, destination, DownloadListOf(harness.session, {"myfolder/big.bin"}));
    EXPECT_EQ(EntriesOf(dir.Path()), std::vector<std::string>{}) << "no short file under the real name";
}

namespace {

// Holds the first question until the test lets it go.
class GateAnswerer : public ostrana::OverwriteAnswerer {
public:
    INT_PTR Ask(COverwriteDlg&) override {
        asked.set_value();
        released.get_future().wait();
        return IDCANCEL;
    }
    std::promise<void> asked;
    std::promise<void> released;
};

} // namespace

TEST_F(TransferJobTest, AStopRequestOfTheOwnerEndsTheJobLikeCancel) {
    WriteFileBytes(dir / "a.txt", "a");
    WriteFileBytes(dir / "b.txt", "b");
    server.AddFile("myfolder/a.txt", "old");
    auto gate = std::make_shared<GateAnswerer>();
    ostrana::SetOverwriteAnswerer(gate);
    harness.session.QueryQuota("myfolder/");
    ASSERT_TRUE(harness.starter.StartTransfer(1, "myfolder/", UploadListOf({(dir / "a.txt").string(), (dir / "b.txt").string()}), 1));
    ASSERT_EQ(gate->asked.get_future().wait_for(std::chrono::seconds(20)), std::future_status::ready);
    harness.starter.RequestStop();
    gate->released.set_value();
    auto tally = harness.starter.StopTransfer();
    ASSERT_TRUE(tally.has_value());
    EXPECT_TRUE(tally->cancelled);
    EXPECT_FALSE(server.HasFile("myfolder/b.txt"));
    EXPECT_EQ(harness.doneMessages, 1);
}

TEST_F(TransferJobTest, QuotaRefusalShowsBothKilobyteFiguresAndZeroTotalPasses) {
    WriteFileBytes(dir / "a.bin", Pattern(5000));
    server.SetQuota(100, 98, 2);
    TransferTally refused = harness.Run(1, "myfolder/", UploadListOf({(dir / "a.bin").string()}));
    EXPECT_EQ(refused.sent, 0);
    ASSERT_EQ(harness.BoxTexts().size(), 1u);
    EXPECT_EQ(harness.BoxTexts()[0], "파일 전송을 위한 웹서버에 남은 용량이 부족합니다.\n\n남은 서버 용량 : 2 KByte\n\n"
                                     "전송하려는 파일 용량 : 4 KByte");
    EXPECT_EQ(harness.doneMessages, 0);

    // No quota information at all: an empty file still goes.
    WriteFileBytes(dir / "empty.bin", "");
    TransferHarness fresh(server.Port());
    EXPECT_TRUE(fresh.starter.StartTransfer(1, "myfolder/", UploadListOf({(dir / "empty.bin").string()}), 0));
    EXPECT_EQ(fresh.starter.StopTransfer()->sent, 1);
}

TEST_F(TransferJobTest, QuotaCheckUsesWholeByteCountsBeyondFourGigabytes) {
    // Remaining 1 GiB against a job of 5 GiB + 1 KiB: the low 32 bits alone would say 1 KiB.
    server.SetQuota(8LL * 1024 * 1024, 7LL * 1024 * 1024, 1024 * 1024);
    harness.session.QueryQuota("myfolder/");
    auto list = std::make_unique<TransferList>(0);
    TransferItem item;
    item.m_strPath = "C:\\nowhere\\huge.bin";
    item.m_dwAttributes = FILE_ATTRIBUTE_ARCHIVE;
    item.m_nSize = 5ULL * 1024 * 1024 * 1024 + 1024;
    list->Add(item);
    EXPECT_FALSE(harness.starter.StartTransfer(1, "myfolder/", std::move(list), 0));
    ASSERT_EQ(harness.BoxTexts().size(), 1u);
    EXPECT_NE(harness.BoxTexts()[0].find("1048576 KByte"), std::string::npos);
}

TEST_F(TransferJobTest, FilesOfTwoGigabytesOrMoreAreRefusedAndTheJobGoesOn) {
    server.SetQuota(2000000000, 0, 2000000000);
    std::string huge = (dir / "huge.bin").string();
    WriteFileBytes(huge, "");
    fs::resize_file(huge, 0x80000000ULL); // sparse: one byte more than the protocol can announce
    WriteFileBytes(dir / "small.txt", "small");
    TransferTally up = harness.Run(1, "myfolder/", UploadListOf({huge, (dir / "small.txt").string()}));
    EXPECT_EQ(up.failed, 1);
    EXPECT_EQ(up.sent, 1);
    EXPECT_TRUE(server.CommandsStartingWith(".SAVETO \"myfolder/huge.bin\"").empty());
    EXPECT_EQ(harness.BoxTexts(), (std::vector<std::string>{"huge.bin 파일은 2GB 이상이어서 전송할 수 없습니다."}));

    server.AddListedFile("myfolder/listed-huge.bin", "3000000000");
    fs::create_directory(dir / "down");
    TransferTally down = harness.Run(0, TransferHarness::Local((dir / "down").string()) + "\\",
                                     DownloadListOf(harness.session, {"myfolder/listed-huge.bin", "myfolder/small.txt"}));
    EXPECT_EQ(down.failed, 1);
    EXPECT_EQ(down.sent, 1);
    EXPECT_TRUE(server.CommandsStartingWith(".GETFILE \"myfolder/listed-huge.bin\"").empty());
    EXPECT_EQ(ReadFileBytes(dir / "down" / "small.txt"), "small");
}

TEST_F(TransferJobTest, ProgressDialogMissingReportsStringTwelveAndEndsTheJob) {
    ostrana::SetProgressPresenter(nullptr);
    WriteFileBytes(dir / "x.bin", "x");
    TransferTally tally = harness.Run(1, "myfolder/", UploadListOf({(dir / "x.bin").string()}));
    EXPECT_EQ(tally.sent, 0);
    EXPECT_EQ(harness.BoxTexts(), (std::vector<std::string>{"IE 5.0 버전 이상에서 사용 가능합니다."}));
    EXPECT_EQ(harness.boxes->Boxes()[0].caption, "Quorel Report");
    EXPECT_EQ(harness.doneMessages, 1);
}

TEST_F(TransferJobTest, UploadOfAFileThatCannotBeOpenedWarnsAndGoesOn) {
    WriteFileBytes(dir / "gone.bin", "x");
    WriteFileBytes(dir / "ok.bin", "ok");
    auto list = UploadListOf({(dir / "gone.bin").string(), (dir / "ok.bin").string()});
    fs::remove(dir / "gone.bin");
    TransferTally tally = harness.Run(1, "myfolder/", std::move(list));
    EXPECT_EQ(tally.sent, 1);
    EXPECT_EQ(tally.failed, 1);
    EXPECT_EQ(harness.BoxTexts(), (std::vector<std::string>{
                                      "gone.bin 파일을 여는데 실패하였습니다.\n다른 프로그램에서 사용중인지 확인해 주십시요."}));
}

TEST_F(TransferJobTest, RefusedSaveToSkipsTheFileOnAFreshConnection) {
    WriteFileBytes(dir / "no.bin", "no");
    WriteFileBytes(dir / "yes.bin", "yes");
    server.RefuseSaveTo("myfolder/no.bin");
    TransferTally tally = harness.Run(1, "myfolder/", UploadListOf({(dir / "no.bin").string(), (dir / "yes.bin").string()}));
    EXPECT_EQ(tally.failed, 1);
    EXPECT_EQ(tally.sent, 1);
    EXPECT_EQ(server.File("myfolder/yes.bin"), "yes");
}

TEST_F(TransferJobTest, UploadAnnouncesTheLengthAtOpeningNotTheRecordedOne) {
    WriteFileBytes(dir / "grew.bin", "short");
    auto list = UploadListOf({(dir / "grew.bin").string()});
    WriteFileBytes(dir / "grew.bin", "now somewhat longer");
    harness.Run(1, "myfolder/", std::move(list));
    EXPECT_EQ(server.CommandsStartingWith(".SAVETO").front(), ".SAVETO \"myfolder/grew.bin\" 19");
    EXPECT_EQ(server.File("myfolder/grew.bin"), "now somewhat longer");
}

TEST_F(TransferJobTest, FileThatShrinksDuringTheUploadFailsAndTheNextStartsInStep) {
    std::string path = (dir / "shrinks.bin").string();
    WriteFileBytes(path, Pattern(300000));
    WriteFileBytes(dir / "z-next.bin", "next file");
    // Cut the file to 50,000 bytes once 20,000 of its bytes are out (on the worker, between blocks).
    bool cut = false;
    harness.progress->CancelWhen([&](const ostrana::ProgressCall& call) {
        if (!cut && call.kind == Kind::Progress && call.completed >= 20000) {
            fs::resize_file(path, 50000);
            cut = true;
        }
        return false;
    });
    TransferTally tally = harness.Run(1, "myfolder/", UploadListOf({path, (dir / "z-next.bin").string()}));
    EXPECT_EQ(tally.failed, 1);
    EXPECT_EQ(tally.sent, 1);
    EXPECT_FALSE(server.HasFile("myfolder/shrinks.bin"));
    EXPECT_EQ(server.File("myfolder/z-next.bin"), "next file");
    EXPECT_TRUE(server.WaitForBrokenUploads(1));
    EXPECT_EQ(server.BrokenUploads(), 1);
}

TEST_F(TransferJobTest, DownloadOfAServerTreeBringsEveryFolderAndFile) {
    server.AddFolder("myfolder/t/");
    server.AddFolder("myfolder/t/empty/");
    server.AddFolder("myfolder/t/s p/");
    server.AddFile("myfolder/t/top.txt", "top");
    server.AddFile("myfolder/t/s p/한글 이름.txt", Pattern(9000));
    server.AddFile("myfolder/t/zero.txt", "");
    TransferTally tally =
        harness.Run(0, TransferHarness::Local(dir.Str()) + "\\", DownloadListOf(harness.session, {"myfolder/t"}));
    EXPECT_EQ(tally.sent, 3);
    EXPECT_EQ(ReadFileBytes(dir / "t" / "top.txt"), "top");
    EXPECT_EQ(ReadFileBytes(dir / "t" / "s p" / "한글 이름.txt"), Pattern(9000));
    EXPECT_TRUE(fs::exists(dir / "t" / "zero.txt"));
    EXPECT_TRUE(fs::is_directory(dir / "t" / "empty"));
    EXPECT_EQ(harness.progress->LastCompleted(), 9003u);
}

TEST_F(TransferJobTest, SplitGetFileRepliesAreConsumedExactlyAtEveryBoundary) {
    const std::string body = "0123456789";
    const std::size_t replySize = std::string(".OK 10\n").size() + body.size() + 4;
    server.AddFile("myfolder/f.txt", body);
    server.AddFile("myfolder/g.txt", "second");
    for (std::size_t cut = 1; cut < replySize; ++cut) {
        fs::remove_all(dir / "out");
        fs::create_directory(dir / "out");
        server.CutNextGetFileAt(cut);
        TransferTally tally = harness.Run(0, TransferHarness::Local((dir / "out").string()) + "\\",
                                          DownloadListOf(harness.session, {"myfolder/f.txt", "myfolder/g.txt"}));
        EXPECT_EQ(tally.sent, 2) << "cut at " << cut;
        EXPECT_EQ(ReadFileBytes(dir / "out" / "f.txt"), body) << "cut at " << cut;
        EXPECT_EQ(ReadFileBytes(dir / "out" / "g.txt"), "second") << "cut at " << cut;
    }
    // A larger body cut inside the data and next to the trailer.
    server.AddFile("myfolder/big.bin", Pattern(10000));
    for (std::size_t cut : {std::size_t{9}, std::size_t{4096}, std::size_t{10008}, std::size_t{10010}}) {
        fs::remove_all(dir / "out");
        fs::create_directory(dir / "out");
        server.CutNextGetFileAt(cut);
        harness.Run(0, TransferHarness::Local((dir / "out").string()) + "\\",
                    DownloadListOf(harness.session, {"myfolder/big.bin", "myfolder/g.txt"}));
        EXPECT_EQ(ReadFileBytes(dir / "out" / "big.bin"), Pattern(10000)) << "cut at " << cut;
        EXPECT_EQ(ReadFileBytes(dir / "out" / "g.txt"), "second") << "cut at " << cut;
    }
}

TEST_F(TransferJobTest, ServerClosingMidBodyFailsTheFileKeepsTheTargetAndGoesOn) {
    server.AddFile("myfolder/cut.bin", Pattern(50000));
    server.AddFile("myfolder/new.bin", Pattern(30000, 'k'));
    server.AddFile("myfolder/next.txt", "next");
    WriteFileBytes(dir / "cut.bin", "previous");
    std::string destination = TransferHarness::Local(dir.Str()) + "\\";
    // Cut inside the first block and further in, into an existing file (replace agreed) and a new one.
    for (std::size_t sent : {std::size_t{5}, std::size_t{20000}}) {
        harness.answerer->QueueAnswer(IDOK, 0);
        server.CloseGetFileAfter("myfolder/cut.bin", sent);
        TransferTally replaced = harness.Run(0, destination, DownloadListOf(harness.session, {"myfolder/cut.bin", "myfolder/next.txt"}));
        EXPECT_EQ(replaced.failed, 1) << sent;
        EXPECT_EQ(replaced.sent, 1) << sent;
        EXPECT_EQ(ReadFileBytes(dir / "cut.bin"), "previous") << sent;
        EXPECT_EQ(ReadFileBytes(dir / "next.txt"), "next") << sent;
        EXPECT_EQ(harness.progress->LastCompleted(), 50004u) << "the cut file counts whole";
        fs::remove(dir / "next.txt");

        server.CloseGetFileAfter("myfolder/new.bin", sent);
        TransferTally fresh = harness.Run(0, destination, DownloadListOf(harness.session, {"myfolder/new.bin"}));
        EXPECT_EQ(fresh.failed, 1) << sent;
        EXPECT_EQ(EntriesOf(dir.Path()), (std::vector<std::string>{"cut.bin"})) << sent;
    }
    // The same files whole, afterwards: nothing of the failures stands in their way.
    harness.answerer->QueueAnswer(IDOK, 1);
    TransferTally whole = harness.Run(0, destination, DownloadListOf(harness.session, {"myfolder/cut.bin", "myfolder/new.bin"}));
    EXPECT_EQ(whole.sent, 2);
    EXPECT_EQ(ReadFileBytes(dir / "cut.bin"), Pattern(50000));
    EXPECT_EQ(ReadFileBytes(dir / "new.bin"), Pattern(30000, 'k'));
    EXPECT_EQ(EntriesOf(dir.Path()), (std::vector<std::string>{"cut.bin", "new.bin"}));
}

TEST_F(TransferJobTest, TheTemporaryNameNeverTakesOverAnEntryThatIsThere) {
    // The user's own files of the first temporary names, and a server file that is called so.
    std::string leftover = ".a.txt.ostrana-part";
    WriteFileBytes(dir / leftover, "mine");
    fs::create_directory(dir / ".a.txt.1.ostrana-part");
    server.AddFile("myfolder/a.txt", Pattern(9000));
    server.AddFile("myfolder/.b.txt.ostrana-part", "a real file");
    server.AddFile("myfolder/b.txt", "bee");
    TransferTally tally = harness.Run(0, TransferHarness::Local(dir.Str()) + "\\",
                                      DownloadListOf(harness.session, {"myfolder/a.txt", "myfolder/.b.txt.ostrana-part", "myfolder/b.txt"}));
    EXPECT_EQ(tally.sent, 3);
    EXPECT_EQ(ReadFileBytes(dir / "a.txt"), Pattern(9000));
    EXPECT_EQ(ReadFileBytes(dir / leftover), "mine");
    EXPECT_EQ(ReadFileBytes(dir / ".b.txt.ostrana-part"), "a real file");
    EXPECT_EQ(ReadFileBytes(dir / "b.txt"), "bee");
    EXPECT_EQ(EntriesOf(dir.Path()), (std::vector<std::string>{".a.txt.1.ostrana-part", leftover, ".b.txt.ostrana-part",
                                                               "a.txt", "b.txt"}));
}

TEST_F(TransferJobTest, ANameTooLongForTheTemporaryNameAsItIsStillDownloads) {
    std::string name = std::string(169, 'x') + "한국어 이름" + std::string(40, 'y') + "가나다라마바사.txt"; // 250 bytes in UTF-8
    ASSERT_EQ(name.size(), 250u);
    server.AddFile("myfolder/" + name, "long");
    TransferTally tally = harness.Run(0, TransferHarness::Local(dir.Str()) + "\\", DownloadListOf(harness.session, {"myfolder/" + ostrana::Utf8ToAnsi(name)}));
    EXPECT_EQ(tally.sent, 1);
    EXPECT_EQ(ReadFileBytes(dir / name), "long");
    EXPECT_EQ(EntriesOf(dir.Path()), (std::vector<std::string>{name}));
}

TEST_F(TransferJobTest, AReadOnlyFileOrAFolderOfTheTargetNameIsNotReplaced) {
    server.AddFile("myfolder/locked.txt", "new");
    server.AddFile("myfolder/later.txt", "later");
    WriteFileBytes(dir / "locked.txt", "old");
    fs::permissions(dir / "locked.txt", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    harness.answerer->QueueAnswer(IDOK, 0);
    std::string destination = TransferHarness::Local(dir.Str()) + "\\";
    TransferTally tally = harness.Run(0, destination, DownloadListOf(harness.session, {"myfolder/locked.txt", "myfolder/later.txt"}));
    EXPECT_EQ(tally.failed, 1);
    EXPECT_EQ(tally.sent, 0) << "the job ends as when the file cannot be created";
    EXPECT_EQ(ReadFileBytes(dir / "locked.txt"), "old");
    ASSERT_EQ(harness.BoxTexts().size(), 1u);
    EXPECT_NE(harness.BoxTexts()[0].find("locked.txt 파일을 만들 수 없습니다."), std::string::npos);

    fs::create_directory(dir / "folder.txt");
    server.AddFile("myfolder/folder.txt", "a file");
    TransferTally folder = harness.Run(0, destination, DownloadListOf(harness.session, {"myfolder/folder.txt"}));
    EXPECT_EQ(folder.failed, 1);
    EXPECT_TRUE(fs::is_directory(dir / "folder.txt"));
    EXPECT_EQ(EntriesOf(dir.Path()), (std::vector<std::string>{"folder.txt", "locked.txt"}));
}

TEST_F(TransferJobTest, LocalFileThatCannotBeCreatedIsReportedAndEndsTheJob) {
    server.AddFolder("myfolder/d/");
    server.AddFile("myfolder/d/a.txt", "a");
    server.AddFile("myfolder/d/b.txt", "b");
    WriteFileBytes(dir / "d", "a file where the folder should go");
    TransferTally tally = harness.Run(0, TransferHarness::Local(dir.Str()) + "\\", DownloadListOf(harness.session, {"myfolder/d"}));
    EXPECT_EQ(tally.sent, 0);
    EXPECT_EQ(tally.failed, 1);
    ASSERT_EQ(harness.BoxTexts().size(), 1u);
    EXPECT_EQ(harness.BoxTexts()[0].rfind(ostrana::AnsiToUtf8(TransferHarness::Local(dir.Str())), 0), 0u);
    EXPECT_NE(harness.BoxTexts()[0].find("a.txt 파일을 만들 수 없습니다."), std::string::npos);
    EXPECT_EQ(server.CommandsStartingWith(".GETFILE").size(), 1u);
    EXPECT_EQ(harness.doneMessages, 1);
}

TEST_F(TransferJobTest, CommandsOfTheUserInterfaceDoNotInterleaveWithAnUpload) {
    for (int folder = 0; folder < 20; ++folder) {
        fs::create_directories(dir / "tree" / ("f" + std::to_string(folder)));
        WriteFileBytes(dir / "tree" / ("f" + std::to_string(folder)) / "x.txt", "x");
    }
    server.AddFolder("myfolder/known/");
    server.AddFile("myfolder/known/k.txt", "kk");
    server.SetQuota(100000, 1000, 99000);
    harness.session.QueryQuota("myfolder/");
    ASSERT_TRUE(harness.starter.StartTransfer(1, "myfolder/", UploadListOf({(dir / "tree").string()}), 1));
    int listed = 0;
    bool ended = false;
    while (!ended || listed < 50) {
        // The done event resets itself when a wait sees it: remember that it was seen.
        ended = ended || WaitForSingleObject(harness.starter.DoneEvent(), 0) == WAIT_OBJECT_0;
        std::vector<std::string> lines;
        int status = 0;
        ASSERT_EQ(harness.session.ListFolder("myfolder/known/", lines, status), 1);
        ASSERT_EQ(lines, (std::vector<std::string>{"F 2 demo 20240305 140709 k.txt"}));
        ASSERT_EQ(harness.session.QueryQuota("myfolder/"), 1);
        ASSERT_EQ(harness.session.Quota().remaining, 99000LL * 1024);
        ++listed;
    }
    SetEvent(harness.starter.DoneEvent());
    EXPECT_EQ(harness.starter.StopTransfer()->sent, 20);
    EXPECT_EQ(server.FileCount(), 21u);
}

TEST_F(TransferJobTest, ALyingServerCannotMakeADownloadWriteOutsideTheChosenFolder) {
    fs::create_directory(dir / "dest");
    server.AddFolder("myfolder/evil/");
    server.AddFile("myfolder/evil/ok.txt", "fine");
    // Each hostile entry is also served, so only the client's rule keeps it out. Names without
    // "/" the fake lists by itself; the others need a line of their own.
    server.AddFile("myfolder/evil/C:drive.txt", "bad!");
    server.AddFile("myfolder/evil/ctl\x1b[2Jname", "bad!");
    server.AddFolder("myfolder/evil/..\\up/");
    server.AddFile("myfolder/evil/..\\up/x.txt", "bad!");
    server.AddListingLine("myfolder/evil/", "F 4 demo 20240305 140709 ../../escape.txt");
    server.AddFile("myfolder/evil/../../escape.txt", "bad!");
    server.AddListingLine("myfolder/evil/", "D 0 demo 20240305 140709 sub/../../../up");
    server.AddFolder("myfolder/evil/sub/../../../up/");
    server.AddFile("myfolder/evil/sub/../../../up/x.txt", "bad!");
    TransferTally tally = harness.Run(0, TransferHarness::Local((dir / "dest").string()) + "\\",
                                      DownloadListOf(harness.session, {"myfolder/evil"}));
    EXPECT_EQ(tally.sent, 1);
    EXPECT_EQ(tally.failed, 5);
    EXPECT_EQ(ReadFileBytes(dir / "dest" / "evil" / "ok.txt"), "fine");
    std::vector<std::string> created;
    for (const auto& entry : fs::recursive_directory_iterator(dir.Path())) {
        created.push_back(fs::relative(entry.path(), dir.Path()).string());
    }
    std::sort(created.begin(), created.end());
    EXPECT_EQ(created, (std::vector<std::string>{"dest", "dest/evil", "dest/evil/ok.txt"}));
    EXPECT_EQ(server.CommandsStartingWith(".GETFILE"), (std::vector<std::string>{".GETFILE \"myfolder/evil/ok.txt\""}));
    EXPECT_EQ(server.CommandsStartingWith(".DIR").size(), 2u) << "a refused folder is never listed";
    ASSERT_EQ(harness.BoxTexts().size(), 1u) << "one report for the job";
    const std::string report = harness.BoxTexts()[0];
    EXPECT_EQ(report.rfind("서버가 보낸 이름이 올바르지 않은 항목 5개는 받지 않았습니다: ", 0), 0u) << report;
    EXPECT_NE(report.find("myfolder/evil/../../escape.txt"), std::string::npos);
    EXPECT_NE(report.find("myfolder/evil/ctl?[2Jname"), std::string::npos) << "no control character reaches the screen";
}

TEST_F(TransferJobTest, GarbledFiguresFromTheServerFailOnlyWhatTheyBelongTo) {
    server.AddFile("myfolder/abc.txt", "hello");
    server.SetGetFileHeader("myfolder/abc.txt", ".OK abc\n");
    server.AddFile("myfolder/next.txt", "next");
    server.AddFolder("myfolder/g/");
    server.AddFile("myfolder/g/good.txt", "good");
    server.AddListedFile("myfolder/g/garbled.txt", "12abc");
    TransferTally tally = harness.Run(0, TransferHarness::Local(dir.Str()) + "\\",
                                      DownloadListOf(harness.session, {"myfolder/abc.txt", "myfolder/next.txt", "myfolder/g"}));
    EXPECT_EQ(tally.sent, 2);
    EXPECT_EQ(tally.failed, 1);
    EXPECT_FALSE(fs::exists(dir / "abc.txt")) << "a header without a size writes nothing";
    EXPECT_EQ(ReadFileBytes(dir / "next.txt"), "next");
    EXPECT_EQ(ReadFileBytes(dir / "g" / "good.txt"), "good");
    EXPECT_TRUE(server.CommandsStartingWith(".GETFILE \"myfolder/g/garbled.txt").empty())
        << "a line with a garbled size is passed over";
}
