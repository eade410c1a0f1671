// Uploads and downloads against the real storage service: single files, empty files, names with
// spaces and Korean, nested folders, whole server trees, every overwrite mode and answer, and the
// quota refusal.
#include <filesystem>
#include <gtest/gtest.h>

#include "tests/support/AnsiText.h"
#include "tests/support/ServiceProcess.h"
#include "tests/support/TempDir.h"
#include "tests/transfer/TransferHarness.h"
#include "transfer/ServerCollection.h"

namespace fs = std::filesystem;
using namespace ostrana::test;

namespace {

std::string Pattern(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>((i * 131 + i / 977) & 0xFF);
    }
    return bytes;
}

class TransferServiceTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(harness.LogIn("demo", "demo1234")); }

    fs::path Stored(const std::string& relative) const { return service.Root() / "users" / "demo" / "myfolder" / relative; }
    std::string LocalFolder(const fs::path& host) const { return TransferHarness::Local(host.string()) + "\\"; }
    std::unique_ptr<TransferList> Download(const std::vector<std::string>& utf8Paths) {
        std::vector<std::string> paths;
        for (const std::string& path : utf8Paths) {
            paths.push_back(Ansi(path));
        }
        std::string base = paths.front().substr(0, paths.front().find_last_of('/') + 1);
        return BuildDownloadList(harness.session, paths, ListingLookup(harness.session, base));
    }

    ServiceProcess service;
    TransferHarness harness{service.Port()};
    TempDir dir;
};

} // namespace

TEST_F(TransferServiceTest, FilesWithSpacesKoreanNamesAndNoBytesGoUpAndComeBackWhole) {
    fs::create_directories(dir / "up");
    WriteFileBytes(dir / "up" / "two words.bin", Pattern(123457));
    WriteFileBytes(dir / "up" / "한글 이름.txt", "안녕하세요");
    WriteFileBytes(dir / "up" / "empty", "");
    TransferTally up = harness.Run(1, "myfolder/", UploadListOf({(dir / "up" / "two words.bin").string(),
                                                                 (dir / "up" / "한글 이름.txt").string(),
                                                                 (dir / "up" / "empty").string()}));
    EXPECT_EQ(up.sent, 3);
    EXPECT_EQ(ReadFileBytes(Stored("two words.bin")), Pattern(123457));
    EXPECT_EQ(ReadFileBytes(Stored("한글 이름.txt")), "안녕하세요");
    EXPECT_TRUE(fs::exists(Stored("empty")));

    fs::create_directory(dir / "down");
    TransferTally down = harness.Run(0, LocalFolder(dir / "down"),
                                     Download({"myfolder/two words.bin", "myfolder/한글 이름.txt", "myfolder/empty"}));
    EXPECT_EQ(down.sent, 3);
    EXPECT_EQ(ReadFileBytes(dir / "down" / "two words.bin"), Pattern(123457));
    EXPECT_EQ(ReadFileBytes(dir / "down" / "한글 이름.txt"), "안녕하세요");
    EXPECT_TRUE(fs::exists(dir / "down" / "empty"));
}

TEST_F(TransferServiceTest, NestedLocalFoldersAreCreatedParentFirstWithTheExactPath) {
    fs::create_directories(dir / "a" / "b");
    WriteFileBytes(dir / "a" / "b" / "c.txt", "nested");
    TransferTally tally = harness.Run(1, "myfolder/", UploadListOf({(dir / "a").string()}));
    EXPECT_EQ(tally.sent, 1);
    EXPECT_EQ(ReadFileBytes(Stored("a/b/c.txt")), "nested");
    // The order of the folder commands is checked byte for byte against the scripted server;
    // the service logs each command after answering it, on the thread of its connection.
    EXPECT_TRUE(fs::is_directory(Stored("a/b")));
}

TEST_F(TransferServiceTest, AServerTreeComesDownWithAllItsContents) {
    fs::create_directories(Stored("tree/빈 폴더"));
    fs::create_directories(Stored("tree/x/y"));
    WriteFileBytes(Stored("tree/top.txt"), "top");
    WriteFileBytes(Stored("tree/x/y/deep.bin"), Pattern(70000));
    TransferTally tally = harness.Run(0, LocalFolder(dir.Path()), Download({"myfolder/tree"}));
    EXPECT_EQ(tally.sent, 2);
    EXPECT_EQ(ReadFileBytes(dir / "tree" / "top.txt"), "top");
    EXPECT_EQ(ReadFileBytes(dir / "tree" / "x" / "y" / "deep.bin"), Pattern(70000));
    EXPECT_TRUE(fs::is_directory(dir / "tree" / "빈 폴더"));
}

TEST_F(TransferServiceTest, UploadOverwriteAnswersAndModes) {
    fs::create_directories(dir / "s");
    fs::create_directories(Stored("s/sub"));
    WriteFileBytes(Stored("s/one.txt"), "old one");
    WriteFileBytes(Stored("s/two.txt"), "old two");
    WriteFileBytes(Stored("s/Case.txt"), "old case");
    WriteFileBytes(Stored("s/sub/elsewhere.txt"), "old elsewhere");
    WriteFileBytes(dir / "s" / "one.txt", "new one");
    WriteFileBytes(dir / "s" / "two.txt", "new two");
    WriteFileBytes(dir / "s" / "case.txt", "new case");          // differs only in case: no question
    WriteFileBytes(dir / "s" / "elsewhere.txt", "new elsewhere"); // same name, other folder: no question

    // "아니오" skips one file only; the next match asks again and "예" replaces it.
    harness.answerer->QueueAnswer(IDCANCEL);
    harness.answerer->QueueAnswer(IDOK, 0);
    TransferTally tally = harness.Run(1, "myfolder/", UploadListOf({(dir / "s").string()}));
    EXPECT_EQ(harness.answerer->Questions().size(), 2u);
    EXPECT_EQ(tally.skipped, 1);
    EXPECT_EQ(tally.sent, 3);
    EXPECT_EQ(ReadFileBytes(Stored("s/one.txt")), "old one");
    EXPECT_EQ(ReadFileBytes(Stored("s/two.txt")), "new two");
    EXPECT_EQ(ReadFileBytes(Stored("s/Case.txt")), "old case");
    EXPECT_EQ(ReadFileBytes(Stored("s/case.txt")), "new case");
    EXPECT_EQ(ReadFileBytes(Stored("s/sub/elsewhere.txt")), "old elsewhere");
    auto question = harness.answerer->Questions()[0];
    EXPECT_EQ(question.m_strFolder, "myfolder/s/");
    EXPECT_EQ(question.m_strOldSize, "7 Byte");

    // "예" with "항상 건너뛰기": this and every later match skipped without asking.
    WriteFileBytes(dir / "s" / "one.txt", "newer one");
    WriteFileBytes(dir / "s" / "two.txt", "newer two");
    harness.answerer->QueueAnswer(IDOK, 2);
    tally = harness.Run(1, "myfolder/", UploadListOf({(dir / "s").string()}));
    EXPECT_EQ(harness.answerer->Questions().size(), 3u);
    EXPECT_EQ(tally.skipped, 4);
    EXPECT_EQ(ReadFileBytes(Stored("s/two.txt")), "new two");

    // "예" with "항상 겹쳐 쓰기": replaced, and no more questions; every new job asks again.
    harness.answerer->QueueAnswer(IDOK, 1);
    tally = harness.Run(1, "myfolder/", UploadListOf({(dir / "s").string()}));
    EXPECT_EQ(harness.answerer->Questions().size(), 4u);
    EXPECT_EQ(tally.sent, 4);
    EXPECT_EQ(ReadFileBytes(Stored("s/one.txt")), "newer one");
    EXPECT_EQ(ReadFileBytes(Stored("s/two.txt")), "newer two");
}

TEST_F(TransferServiceTest, DownloadOverwriteAsksBeforeRequestingAndKeepsSkippedFiles) {
    fs::create_directories(Stored("d/in"));
    WriteFileBytes(Stored("d/in/f.txt"), "server f");
    WriteFileBytes(Stored("d/g.txt"), "server g");
    fs::create_directories(dir / "d" / "in");
    WriteFileBytes(dir / "d" / "in" / "f.txt", "local f");
    WriteFileBytes(dir / "d" / "G.txt", "local G");
    harness.answerer->QueueAnswer(IDCANCEL);
    TransferTally tally = harness.Run(0, LocalFolder(dir.Path()), Download({"myfolder/d"}));
    EXPECT_EQ(harness.answerer->Questions().size(), 1u);
    EXPECT_EQ(tally.skipped, 1);
    EXPECT_EQ(ReadFileBytes(dir / "d" / "in" / "f.txt"), "local f");
    EXPECT_EQ(ReadFileBytes(dir / "d" / "g.txt"), "server g");
    EXPECT_EQ(service.LogText().find(".GETFILE \"myfolder/d/in/f.txt\""), std::string::npos);

    harness.answerer->QueueAnswer(IDOK, 1);
    tally = harness.Run(0, LocalFolder(dir.Path()), Download({"myfolder/d"}));
    EXPECT_EQ(ReadFileBytes(dir / "d" / "in" / "f.txt"), "server f");
    EXPECT_EQ(tally.sent, 2);
}

TEST_F(TransferServiceTest, QuotaRefusalNamesBothFiguresAndSendsNothing) {
    // A sparse file larger than the demo account's 100 MB: refused before a byte is read.
    std::string path = (dir / "huge.bin").string();
    WriteFileBytes(path, "");
    fs::resize_file(path, 101ULL * 1024 * 1024);
    TransferTally tally = harness.Run(1, "myfolder/", UploadListOf({path}));
    EXPECT_EQ(tally.sent, 0);
    ASSERT_EQ(harness.BoxTexts().size(), 1u);
    const std::string text = harness.BoxTexts()[0];
    EXPECT_EQ(text.rfind("파일 전송을 위한 웹서버에 남은 용량이 부족합니다.", 0), 0u);
    EXPECT_NE(text.find("전송하려는 파일 용량 : 103424 KByte"), std::string::npos);
    EXPECT_EQ(service.LogText().find(".SAVETO"), std::string::npos);
}
