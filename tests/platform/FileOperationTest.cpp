// File operations in a sandbox: the trash and its records, removal, rename within the folder,
// moves and copies with their collisions, and the paths that are refused.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "platform/base/CodePage.h"
#include "platform/shell/FileOperation.h"
#include "platform/shell/Trash.h"
#include "platform/window/MessageBox.h"
#include "tests/support/ShellSandbox.h"

namespace ostrana::test {
namespace {

namespace fs = std::filesystem;

class FileOperationTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_boxes = std::make_shared<HeadlessMessageBoxPresenter>();
        SetMessageBoxPresenter(m_boxes);
    }
    void TearDown() override { SetMessageBoxPresenter(std::make_shared<HeadlessMessageBoxPresenter>()); }

    int Run(UINT function, const std::string& from, const std::string& to = "", FILEOP_FLAGS flags = 0,
            BOOL* aborted = nullptr) {
        std::string fromList = from + '\0';
        std::string toList = to + '\0';
        SHFILEOPSTRUCTA operation{};
        operation.wFunc = function;
        operation.pFrom = fromList.c_str();
        operation.pTo = to.empty() ? nullptr : toList.c_str();
        operation.fFlags = flags;
        int result = SHFileOperationA(&operation);
        if (aborted != nullptr) {
            *aborted = operation.fAnyOperationsAborted;
        }
        return result;
    }

    ShellSandbox m_sandbox;
    std::shared_ptr<HeadlessMessageBoxPresenter> m_boxes;
};

TEST_F(FileOperationTest, DeleteWithUndoLeavesTheItemAndItsRecordInTheTrash) {
    m_sandbox.MakeFile(m_sandbox.DriveD() / "docs" / "한글 a.txt", "keep me");
    m_sandbox.MakeFile(m_sandbox.DriveD() / "other" / "한글 a.txt", "second");
    std::string local = Utf8ToAnsi("D:\\docs\\한글 a.txt");
    ASSERT_EQ(Run(FO_DELETE, local, "", FOF_ALLOWUNDO), 0);
    ASSERT_EQ(m_boxes->Boxes().size(), 1u) << "the shell asks first";
    EXPECT_NE(m_boxes->Boxes()[0].text.find(Utf8ToAnsi("휴지통")), std::string::npos);
    EXPECT_FALSE(fs::exists(m_sandbox.DriveD() / "docs" / "한글 a.txt"));

    fs::path trash = m_sandbox.Home() / ".local" / "share" / "Trash";
    EXPECT_EQ(UserTrashFolder(), trash);
    EXPECT_EQ(ReadFileBytes(trash / "files" / "한글 a.txt"), "keep me");
    std::string record = ReadFileBytes(trash / "info" / "한글 a.txt.trashinfo");
    EXPECT_EQ(record.rfind("[Trash Info]\nPath=", 0), 0u) << record;
    EXPECT_NE(record.find("Path=" + TrashInfoPath((m_sandbox.DriveD() / "docs" / "한글 a.txt").string()) + "\n"),
              std::string::npos);
    EXPECT_NE(record.find("%ED%95%9C%EA%B8%80%20a.txt"), std::string::npos) << "bytes outside the plain set escaped";
    EXPECT_NE(record.find("\nDeletionDate=20"), std::string::npos);

    // A second item of the same name gets a name of its own.
    ASSERT_EQ(Run(FO_DELETE, Utf8ToAnsi("D:\\other\\한글 a.txt"), "", FOF_ALLOWUNDO | FOF_NOCONFIRMATION), 0);
    EXPECT_EQ(ReadFileBytes(trash / "files" / "한글 a.txt.2"), "second");
    EXPECT_TRUE(fs::exists(trash / "info" / "한글 a.txt.2.trashinfo"));
    EXPECT_EQ(ReadFileBytes(trash / "files" / "한글 a.txt"), "keep me");
}

TEST_F(FileOperationTest, WithoutAHomeForTheTrashADeleteThatMayBeUndoneRemovesNothing) {
    m_sandbox.MakeFile(m_sandbox.DriveD() / "keep.txt", "k");
    unsetenv("HOME"); // the sandbox puts it back
    EXPECT_NE(Run(FO_DELETE, "D:\\keep.txt", "", FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_NOERRORUI), 0);
    EXPECT_EQ(ReadFileBytes(m_sandbox.DriveD() / "keep.txt"), "k");
}

TEST_F(FileOperationTest, DeleteWithoutUndoRemovesFoldersAndFilesAndNoAnswerKeepsThem) {
    m_sandbox.MakeFile(m_sandbox.DriveD() / "tree" / "deep" / "x.txt");
    m_sandbox.MakeFile(m_sandbox.DriveD() / "keep.txt");
    m_boxes->QueueAnswer(IDNO);
    BOOL aborted = FALSE;
    EXPECT_NE(Run(FO_DELETE, "D:\\keep.txt", "", 0, &aborted), 0);
    EXPECT_TRUE(aborted);
    EXPECT_TRUE(fs::exists(m_sandbox.DriveD() / "keep.txt"));

    std::string both = std::string("D:\\tree") + '\0' + "D:\\keep.txt";
    ASSERT_EQ(Run(FO_DELETE, both), 0);
    EXPECT_FALSE(fs::exists(m_sandbox.DriveD() / "tree"));
    EXPECT_FALSE(fs::exists(m_sandbox.DriveD() / "keep.txt"));
    EXPECT_FALSE(fs::exists(m_sandbox.Home() / ".local" / "share" / "Trash" / "files" / "tree"));
}

TEST_F(FileOperationTest, DrivesRootsDotStepsAndPathsWithoutDrivesAreRefused) {
    m_sandbox.MakeFile(m_sandbox.DriveD() / "docs" / "a.txt");
    m_sandbox.MakeFile(m_sandbox.DriveD() / "secret.txt");
    for (const char* refused : {"D:\\", "D:", "D:\\docs\\..\\secret.txt", "docs\\a.txt", "\\docs\\a.txt", "D:\\docs/a.txt"}) {
        m_boxes->Clear();
        EXPECT_NE(Run(FO_DELETE, refused, "", FOF_NOCONFIRMATION), 0) << refused;
        EXPECT_EQ(m_boxes->Boxes().size(), 1u) << "the failure is shown: " << refused;
    }
    EXPECT_NE(Run(FO_DELETE, "D:\\missing.txt", "", FOF_NOCONFIRMATION | FOF_NOERRORUI), 0);
    EXPECT_TRUE(fs::exists(m_sandbox.DriveD() / "secret.txt"));
    EXPECT_TRUE(fs::exists(m_sandbox.DriveD() / "docs" / "a.txt"));
}

TEST_F(FileOperationTest, RenameStaysInItsFolderAndNeverReplaces) {
    m_sandbox.MakeFile(m_sandbox.DriveD() / "docs" / "a.txt", "a");
    m_sandbox.MakeFile(m_sandbox.DriveD() / "docs" / "b.txt", "b");
    ASSERT_EQ(Run(FO_RENAME, "D:\\docs\\a.txt", "D:\\docs\\c.txt"), 0);
    EXPECT_EQ(ReadFileBytes(m_sandbox.DriveD() / "docs" / "c.txt"), "a");
    ASSERT_EQ(Run(FO_RENAME, "D:\\docs\\c.txt", "d.txt"), 0) << "a bare name is taken in the item's folder";
    EXPECT_TRUE(fs::exists(m_sandbox.DriveD() / "docs" / "d.txt"));

    EXPECT_NE(Run(FO_RENAME, "D:\\docs\\d.txt", "D:\\docs\\b.txt", FOF_NOERRORUI), 0);
    EXPECT_EQ(ReadFileBytes(m_sandbox.DriveD() / "docs" / "b.txt"), "b");
    for (const char* outside : {"D:\\moved.txt", "D:\\docs\\..\\moved.txt", "..\\moved.txt"}) {
        EXPECT_NE(Run(FO_RENAME, "D:\\docs\\d.txt", outside, FOF_NOERRORUI), 0) << outside;
    }
    EXPECT_TRUE(fs::exists(m_sandbox.DriveD() / "docs" / "d.txt"));
    EXPECT_FALSE(fs::exists(m_sandbox.DriveD() / "moved.txt"));
}

TEST_F(FileOperationTest, MoveAndCopyGoIntoFoldersAskBeforeReplacingAndNeverIntoThemselves) {
    m_sandbox.MakeFile(m_sandbox.DriveD() / "src" / "inner" / "x.txt", "new");
    m_sandbox.MakeFile(m_sandbox.DriveD() / "src" / "note.txt", "note");
    m_sandbox.MakeFile(m_sandbox.DriveD() / "dst" / "note.txt", "old");
    m_sandbox.MakeFolder(m_sandbox.DriveD() / "dst");

    ASSERT_EQ(Run(FO_COPY, "D:\\src\\inner", "D:\\dst"), 0);
    EXPECT_EQ(ReadFileBytes(m_sandbox.DriveD() / "dst" / "inner" / "x.txt"), "new");
    EXPECT_TRUE(fs::exists(m_sandbox.DriveD() / "src" / "inner" / "x.txt"));

    m_boxes->QueueAnswer(IDNO);
    BOOL aborted = FALSE;
    Run(FO_MOVE, "D:\\src\\note.txt", "D:\\dst", 0, &aborted);
    EXPECT_TRUE(aborted);
    EXPECT_EQ(ReadFileBytes(m_sandbox.DriveD() / "dst" / "note.txt"), "old");
    EXPECT_TRUE(fs::exists(m_sandbox.DriveD() / "src" / "note.txt"));
    ASSERT_EQ(Run(FO_MOVE, "D:\\src\\note.txt", "D:\\dst"), 0) << "the default answer replaces";
    EXPECT_EQ(ReadFileBytes(m_sandbox.DriveD() / "dst" / "note.txt"), "note");
    EXPECT_FALSE(fs::exists(m_sandbox.DriveD() / "src" / "note.txt"));

    ASSERT_EQ(Run(FO_COPY, "D:\\dst\\note.txt", "D:\\dst"), 0);
    EXPECT_EQ(ReadFileBytes(m_sandbox.DriveD() / "dst" / "note - 복사본.txt"), "note") << "a copy onto itself";

    m_boxes->Clear();
    EXPECT_NE(Run(FO_MOVE, "D:\\src", "D:\\src\\inner"), 0);
    EXPECT_NE(Run(FO_COPY, "D:\\src", "D:\\src\\inner", FOF_NOERRORUI), 0);
    EXPECT_EQ(m_boxes->Boxes().size(), 1u);
    EXPECT_FALSE(fs::exists(m_sandbox.DriveD() / "src" / "inner" / "src"));
    EXPECT_TRUE(fs::exists(m_sandbox.DriveD() / "src" / "inner" / "x.txt"));

    m_sandbox.MakeFolder(m_sandbox.DriveD() / "dst" / "clash.txt" / "kept");
    m_sandbox.MakeFile(m_sandbox.DriveD() / "src" / "clash.txt", "file");
    EXPECT_NE(Run(FO_MOVE, "D:\\src\\clash.txt", "D:\\dst", FOF_NOCONFIRMATION | FOF_NOERRORUI), 0);
    EXPECT_TRUE(fs::exists(m_sandbox.DriveD() / "dst" / "clash.txt" / "kept")) << "a file never replaces a folder";
    EXPECT_TRUE(fs::exists(m_sandbox.DriveD() / "src" / "clash.txt"));

    ASSERT_EQ(Run(FO_COPY, "D:\\src\\inner", "D:\\src"), 0);
    EXPECT_TRUE(fs::exists(m_sandbox.DriveD() / "src" / "inner - 복사본" / "x.txt")) << "a folder's copy keeps its whole name";

    ASSERT_EQ(Run(FO_MOVE, "D:\\src\\inner", "D:\\renamed"), 0) << "one source to a new name";
    EXPECT_EQ(ReadFileBytes(m_sandbox.DriveD() / "renamed" / "x.txt"), "new");
}

} // namespace
} // namespace ostrana::test
