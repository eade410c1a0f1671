#include <gtest/gtest.h>

#include "shell/LocalFileOps.h"

namespace {

const std::string kFolderType = "파일 폴더";
const std::string kBase = "새폴더";

TEST(LocalFileOps, NewFolderNamesCountFoldersStartingWithTheBase) {
    std::vector<LocalRowKind> rows = {{"a.txt", "텍스트 문서"}, {"새폴더.txt", "텍스트 문서"}};
    EXPECT_EQ(NextNewFolderName(rows, kBase, kFolderType), "새폴더");
    rows.push_back({"새폴더", kFolderType});
    EXPECT_EQ(NextNewFolderName(rows, kBase, kFolderType), "새폴더1");
    rows.push_back({"새폴더1", kFolderType});
    rows.push_back({"다른 폴더", kFolderType});
    EXPECT_EQ(NextNewFolderName(rows, kBase, kFolderType), "새폴더2");
}

TEST(LocalFileOps, RenameStaysInTheFolderAndKeepsHiddenExtensions) {
    EXPECT_EQ(RenameTarget("C:\\home\\ana\\report.txt", "final", false), "C:\\home\\ana\\final.txt");
    EXPECT_EQ(RenameTarget("C:\\home\\ana\\report.txt", "final.md", true), "C:\\home\\ana\\final.md");
    EXPECT_EQ(RenameTarget("C:\\home\\ana\\.profile", "x", false), "C:\\home\\ana\\x");
    EXPECT_EQ(RenameTarget("C:\\home\\ana\\archive.tar.gz", "b", false), "C:\\home\\ana\\b.gz");
    for (const char* escape : {"..\\evil.txt", "sub\\x", "../x", "..", ".", ""}) {
        EXPECT_FALSE(RenameTarget("C:\\home\\ana\\report.txt", escape, true)) << escape;
    }
    EXPECT_FALSE(RenameTarget("C:\\home\\ana\\a", std::string(300, 'n'), true)) << "too long for a path";
}

TEST(LocalFileOps, DeleteBufferHoldsOnlyPathsOfTheShownFolder) {
    auto buffer = DeleteBuffer("C:\\home\\ana", {"C:\\home\\ana\\a.txt", "C:\\home\\ana\\sub"});
    ASSERT_TRUE(buffer);
    EXPECT_EQ(*buffer, std::string("C:\\home\\ana\\a.txt\0C:\\home\\ana\\sub\0\0", 35));
    EXPECT_TRUE(DeleteBuffer("C:\\home\\ana\\", {"C:\\home\\ana\\a.txt"})) << "a trailing separator is the same folder";
    EXPECT_TRUE(DeleteBuffer("C:\\", {"C:\\tmp"}));

    EXPECT_FALSE(DeleteBuffer("C:\\home\\ana", {"C:\\home\\ana\\a.txt", "C:\\home\\bob\\b.txt"})) << "one foreign path spoils all";
    EXPECT_FALSE(DeleteBuffer("C:\\home\\ana", {"C:\\home\\ana\\sub\\deep.txt"}));
    EXPECT_FALSE(DeleteBuffer("C:\\home\\ana", {"C:\\home\\ana\\.."}));
    EXPECT_FALSE(DeleteBuffer("C:\\home\\ana", {"C:\\home"}));
    EXPECT_FALSE(DeleteBuffer("", {"C:\\home"})) << "a folder without a path deletes nothing";
    EXPECT_FALSE(DeleteBuffer("C:\\home\\ana", {}));
}

TEST(LocalFileOps, ServerNamesAndExtensions) {
    EXPECT_TRUE(IsServerDropName("myfolder/a.txt"));
    EXPECT_FALSE(IsServerDropName("C:\\home\\ana\\a.txt"));
    EXPECT_EQ(WithoutExtension("a.b.txt"), "a.b");
    EXPECT_EQ(WithoutExtension(".profile"), ".profile");
    EXPECT_EQ(WithoutExtension("plain"), "plain");
}

} // namespace
