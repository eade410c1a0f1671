// Items and lists, the local folder enumeration, the size text, the overwrite prompt's texts and
// the overwrite check's modes and answers.
#include <filesystem>
#include <gtest/gtest.h>

#include "platform/base/InvalidArgException.h"
#include "platform/base/LocalPath.h"
#include "platform/window/MessageBox.h"
#include "session/ServerSession.h"
#include "session/SessionOwner.h"
#include "tests/support/AnsiText.h"
#include "tests/support/LocalTime.h"
#include "tests/support/TempDir.h"
#include "transfer/CheckOverwrite.h"
#include "transfer/FormatFileSize.h"
#include "transfer/OverwriteDlg.h"
#include "transfer/TransferList.h"

namespace fs = std::filesystem;
using ostrana::test::Ansi;
using ostrana::test::LocalTime;
using ostrana::test::TempDir;
using ostrana::test::WriteFileBytes;

namespace {

std::string Local(const fs::path& host) { return ostrana::HostToLocalPath(host.string()); }

std::vector<std::string> RelativeNames(const TransferList& list) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < list.Count(); ++i) {
        const TransferItem& item = list.ItemAt(i);
        names.push_back(item.m_strRelativeFolder + "|" + item.FileName() + (item.IsFolder() ? "/" : ""));
    }
    return names;
}

} // namespace

TEST(FormatFileSizeTest, BytesBelowAThousandThenKilobytesRoundedUp) {
    EXPECT_EQ(FormatFileSize(0), "0 Byte");
    EXPECT_EQ(FormatFileSize(999), "999 Byte");
    EXPECT_EQ(FormatFileSize(1000), "1 KByte");
    EXPECT_EQ(FormatFileSize(1024), "1 KByte");
    EXPECT_EQ(FormatFileSize(1025), "2 KByte");
    EXPECT_EQ(FormatFileSize(999 * 1024), "999 KByte");
    EXPECT_EQ(FormatFileSize(1048576), "1,024 KByte");
    EXPECT_EQ(FormatFileSize(1000000ULL * 1024), "1000,000 KByte");
}

TEST(TransferListTest, LocalFolderComesBeforeItsSubfoldersAndThenItsFiles) {
    TempDir dir;
    fs::create_directories(dir / "data" / "b" / "c");
    fs::create_directories(dir / "data" / "a");
    WriteFileBytes(dir / "data" / "z.txt", "zz");
    WriteFileBytes(dir / "data" / "b" / "in-b.txt", "b");
    WriteFileBytes(dir / "data" / "b" / "c" / "in-c.txt", "c");
    TransferList list;
    list.SetBaseFolder(Local(dir.Path()) + "\\");
    int counter = 0;
    ASSERT_TRUE(list.AddLocalFolder(Local(dir / "data") + "\\", "*.*", true, true, nullptr, &counter));
    EXPECT_EQ(RelativeNames(list), (std::vector<std::string>{"data|./", "data/a|./", "data/b|./", "data/b/c|./",
                                                              "data/b/c|in-c.txt", "data/b|in-b.txt", "data|z.txt"}));
    EXPECT_EQ(counter, 7);
    EXPECT_EQ(list.TotalSize(), 4u);
    EXPECT_EQ(list.ItemAt(0).m_strBaseFolder, Local(dir.Path()) + "\\");
}

TEST(TransferListTest, PatternFiltersFilesButNotFoldersAndCancelStopsEarly) {
    TempDir dir;
    fs::create_directories(dir / "sub");
    WriteFileBytes(dir / "a.txt", "a");
    WriteFileBytes(dir / "b.bin", "b");
    WriteFileBytes(dir / "sub" / "c.txt", "c");
    TransferList list;
    list.SetBaseFolder(Local(dir.Path()) + "\\");
    list.AddLocalFolder(Local(dir.Path()) + "\\", "*.txt", false, true);
    EXPECT_EQ(RelativeNames(list), (std::vector<std::string>{"sub|c.txt", "|a.txt"}));

    std::atomic<bool> cancel{true};
    TransferList cancelled;
    cancelled.AddLocalFolder(Local(dir.Path()) + "\\", "*.*", true, true, &cancel);
    EXPECT_EQ(cancelled.Count(), 1u); // only the folder's own entry was taken before the check
}

TEST(TransferListTest, LinkedFoldersAreNotFollowedButLinkedFilesAreFiles) {
    TempDir dir;
    fs::create_directories(dir / "tree" / "inner");
    WriteFileBytes(dir / "tree" / "inner" / "f.txt", "12345");
    fs::create_directory_symlink(dir / "tree", dir / "tree" / "inner" / "loop");
    fs::create_symlink(dir / "tree" / "inner" / "f.txt", dir / "tree" / "link.txt");
    TransferList list;
    list.SetBaseFolder(Local(dir.Path()) + "\\");
    list.AddLocalFolder(Local(dir / "tree") + "\\");
    EXPECT_EQ(RelativeNames(list),
              (std::vector<std::string>{"tree|./", "tree/inner|./", "tree/inner|f.txt", "tree|link.txt"}));
    EXPECT_EQ(list.ItemAt(3).m_nSize, 5u);
}

TEST(TransferListTest, AddModesOrderTheInsertAndSideRulesRefuseTheWrongKind) {
    TransferList list;
    auto item = [](const char* path, ULONGLONG size) {
        TransferItem result;
        result.m_strPath = path;
        result.m_nSize = size;
        result.m_dwAttributes = FILE_ATTRIBUTE_ARCHIVE;
        return result;
    };
    list.Add(item("C:\\b", 20), TransferList::AscendingSize);
    list.Add(item("C:\\a", 10), TransferList::AscendingSize);
    list.Add(item("C:\\c", 30), TransferList::AscendingSize);
    EXPECT_EQ(list.ItemAt(0).m_nSize, 10u);
    EXPECT_EQ(list.ItemAt(2).m_nSize, 30u);
    list.Add(item("C:\\0", 99), TransferList::DescendingSize);
    EXPECT_EQ(list.ItemAt(0).m_strPath, "C:\\0");
    TransferList byPath;
    byPath.Add(item("C:\\m", 1), TransferList::DescendingPath);
    byPath.Add(item("C:\\z", 1), TransferList::DescendingPath);
    byPath.Add(item("C:\\a", 1), TransferList::AscendingPath);
    EXPECT_EQ(byPath.ItemAt(0).m_strPath, "C:\\a");
    EXPECT_THROW(byPath.ItemAt(3), CInvalidArgException);

    TransferList server(1);
    EXPECT_FALSE(server.AddLocalPath("C:\\tmp"));
    EXPECT_FALSE(server.AddLocalFolder("C:\\tmp\\"));
    EXPECT_FALSE(list.AddServerEntry(false, "myfolder/", "x", "1", "20240101", "000000"));
}

TEST(TransferListTest, ServerEntriesCarryFolderFlagSizeTimeAndBackslashRelativeFolders) {
    TransferList list(1);
    list.SetBaseFolder("myfolder/a/");
    list.AddServerEntry(false, "myfolder/a/", "x.txt", "10", "20240305", "140709");
    list.AddServerEntry(true, "myfolder/a/", "sub", "0", "20240305", "140709");
    list.AddServerEntry(false, "myfolder/a/sub/deep/", "y z.txt", "3000000000", "20240305", "140709");
    EXPECT_EQ(RelativeNames(list), (std::vector<std::string>{"|x.txt", "sub|/", "sub\\deep|y z.txt"}));
    EXPECT_EQ(list.ItemAt(0).m_dwAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_TRUE(list.ItemAt(1).IsFolder());
    EXPECT_EQ(list.ItemAt(0).FolderPart(), "myfolder/a/");
    // Totals are whole 64-bit byte counts.
    EXPECT_EQ(list.TotalSize(), 3000000010ULL);
    EXPECT_EQ(list.ItemAt(0).m_tModified, static_cast<std::int64_t>(LocalTime(2024, 3, 5, 14, 7, 9)));
    EXPECT_THROW(list.AddListingEntry("myfolder/", {"F", "1", "x", "20240101", "000000"}), CInvalidArgException);
}

namespace {

TransferItem ServerFile(TransferList& list, const std::string& folder, const std::string& name, const char* size = "1") {
    list.AddServerEntry(false, folder, name, size, "20240305", "140709");
    return list.ItemAt(list.Count() - 1);
}

TransferItem LocalFile(const std::string& base, const std::string& relative, const std::string& name, ULONGLONG size) {
    TransferList list;
    list.SetBaseFolder(base);
    TransferItem item;
    item.m_strPath = base + relative + (relative.empty() ? "" : "\\") + name;
    item.m_dwAttributes = FILE_ATTRIBUTE_ARCHIVE;
    item.m_nSize = size;
    item.m_tModified = 0;
    list.Add(item);
    return list.ItemAt(0);
}

class CheckOverwriteTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_answerer = std::make_shared<ostrana::ScriptedOverwriteAnswerer>();
        ostrana::SetOverwriteAnswerer(m_answerer);
        m_destination.SetBaseFolder("myfolder/");
        ServerFile(m_destination, "myfolder/", "a.txt");
        ServerFile(m_destination, "myfolder/sub/", "b.txt");
    }
    void TearDown() override { ostrana::SetOverwriteAnswerer(nullptr); }

    SimpleSessionOwner m_owner;
    ServerSession m_session{&m_owner};
    std::shared_ptr<ostrana::ScriptedOverwriteAnswerer> m_answerer;
    TransferList m_destination{1};
};

} // namespace

TEST_F(CheckOverwriteTest, OnlySameNameInSameRelativeFolderAsks) {
    TransferJob job(m_session);
    EXPECT_FALSE(CheckOverwrite(job, m_destination, "myfolder/", LocalFile("C:\\up\\", "", "A.txt", 1)));
    EXPECT_FALSE(CheckOverwrite(job, m_destination, "myfolder/", LocalFile("C:\\up\\", "other", "a.txt", 1)));
    EXPECT_FALSE(CheckOverwrite(job, m_destination, "", LocalFile("C:\\up\\", "", "a.txt", 1)));
    EXPECT_TRUE(m_answerer->Questions().empty());
    EXPECT_TRUE(CheckOverwrite(job, m_destination, "myfolder/sub/", LocalFile("C:\\up\\", "sub", "b.txt", 1)));
    EXPECT_EQ(m_answerer->Questions().size(), 1u); // no answer queued: closed, skip only this one
    EXPECT_EQ(job.m_nOverwriteMode, TransferJob::AlwaysAsk);
}

TEST_F(CheckOverwriteTest, AnswersSetTheModeForTheRestOfTheJob) {
    TransferJob job(m_session);
    TransferItem a = LocalFile("C:\\up\\", "", "a.txt", 1);
    m_answerer->QueueAnswer(IDOK, 0);
    EXPECT_FALSE(CheckOverwrite(job, m_destination, "myfolder/", a)); // "예", keep asking
    m_answerer->QueueAnswer(IDCANCEL);
    EXPECT_TRUE(CheckOverwrite(job, m_destination, "myfolder/", a)); // "아니오": this file only
    m_answerer->QueueAnswer(IDOK, TransferJob::AlwaysOverwrite);
    EXPECT_FALSE(CheckOverwrite(job, m_destination, "myfolder/", a));
    EXPECT_FALSE(CheckOverwrite(job, m_destination, "myfolder/", a));
    EXPECT_EQ(m_answerer->Questions().size(), 3u);

    TransferJob skipping(m_session);
    m_answerer->QueueAnswer(IDOK, TransferJob::AlwaysSkip);
    EXPECT_TRUE(CheckOverwrite(skipping, m_destination, "myfolder/", a));
    EXPECT_TRUE(CheckOverwrite(skipping, m_destination, "myfolder/sub/", LocalFile("C:\\up\\", "sub", "b.txt", 1)));
    EXPECT_EQ(m_answerer->Questions().size(), 4u);
}

TEST_F(CheckOverwriteTest, FirstEntryDecidesAlsoForEntriesAddedAfterAQuestion) {
    TransferJob job(m_session);
    TransferItem c = LocalFile("C:\\up\\", "", "c.txt", 1);
    EXPECT_FALSE(CheckOverwrite(job, m_destination, "myfolder/", c));
    ServerFile(m_destination, "myfolder/", "c.txt", "5");
    ServerFile(m_destination, "myfolder/", "c.txt", "9");
    EXPECT_TRUE(CheckOverwrite(job, m_destination, "myfolder/", c));
    ASSERT_EQ(m_answerer->Questions().size(), 1u);
    EXPECT_EQ(m_answerer->Questions()[0].m_strOldSize, "5 Byte");
}

TEST_F(CheckOverwriteTest, DownloadMatchesLocalRelativeFoldersWrittenWithSlashes) {
    TransferJob job(m_session);
    TransferList local;
    local.SetBaseFolder("C:\\dl\\");
    local.Add(LocalFile("C:\\dl\\", "x\\y", "f.txt", 5));
    TransferList server(1);
    server.SetBaseFolder("myfolder/");
    TransferItem incoming = ServerFile(server, "myfolder/x/y/", "f.txt", "7");
    m_answerer->QueueAnswer(IDCANCEL);
    EXPECT_TRUE(CheckOverwrite(job, local, "C:\\dl\\x\\y", incoming));
    auto questions = m_answerer->Questions();
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].m_strOldSize, "5 Byte");
    EXPECT_EQ(questions[0].m_strNewSize, "7 Byte");
    EXPECT_EQ(questions[0].m_strIconPath, "C:\\dl\\x\\y\\f.txt"); // the download's local file
}

TEST(OverwriteDlgTest, FillsSevenTextsWithTheHourRule) {
    TransferItem existing;
    existing.m_nServer = 1;
    existing.m_strPath = "myfolder/a.txt";
    existing.m_nSize = 1048576;
    existing.m_tModified = LocalTime(2024, 3, 5, 12, 30, 5);
    TransferItem incoming;
    incoming.m_strPath = "C:\\up\\a.txt";
    incoming.m_nSize = 999;
    incoming.m_tModified = LocalTime(2024, 3, 5, 23, 7, 5);
    COverwriteDlg dialog;
    dialog.m_nRadio = 2;
    dialog.Fill("myfolder/", existing, incoming);
    EXPECT_EQ(dialog.m_strFolder, "myfolder/");
    EXPECT_EQ(dialog.m_strOldName, "a.txt");
    EXPECT_EQ(dialog.m_strOldSize, "1,024 KByte");
    EXPECT_EQ(dialog.m_strOldDate, Ansi("2024년 3월 5일 오전 12:30:5 수정됨"));
    EXPECT_EQ(dialog.m_strNewName, "a.txt");
    EXPECT_EQ(dialog.m_strNewSize, "999 Byte");
    EXPECT_EQ(dialog.m_strNewDate, Ansi("2024년 3월 5일 오후 11:7:5 수정됨"));
    EXPECT_EQ(dialog.m_nRadio, 0);
    EXPECT_EQ(dialog.m_strIconPath, "C:\\up\\a.txt"); // an upload's incoming file is the local one
    EXPECT_EQ(COverwriteDlg::FormatModified(LocalTime(2024, 3, 5, 0, 30, 5)), Ansi("2024년 3월 5일 오전 0:30:5 수정됨"));
}
