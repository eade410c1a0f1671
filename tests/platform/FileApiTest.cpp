#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/base/CodePage.h"
#include "platform/base/FileApi.h"
#include "platform/base/LastError.h"
#include "platform/base/LocalPath.h"
#include "tests/support/TempDir.h"

namespace {

using ostrana::test::TempDir;

std::string Local(const std::filesystem::path& host) { return ostrana::HostToLocalPath(host.string()); }

TEST(LocalPaths, DriveCIsTheRootAndBackslashesBecomeSlashes) {
    EXPECT_EQ(ostrana::LocalToHostPath("C:\\home\\ana\\a.txt").value(), "/home/ana/a.txt");
    EXPECT_EQ(ostrana::LocalToHostPath("c:\\\\home\\\\ana").value(), "/home/ana");
    EXPECT_EQ(ostrana::LocalToHostPath("C:\\").value(), "/");
    EXPECT_EQ(ostrana::HostToLocalPath("/home/ana/a.txt"), "C:\\home\\ana\\a.txt");
    EXPECT_EQ(ostrana::HostToLocalPath("/"), "C:\\");
    EXPECT_FALSE(ostrana::LocalToHostPath("Q:\\x").has_value());
}

TEST(LocalPaths, ExtraDrivesComeFromTheEnvironmentAndKoreanNamesConvert) {
    setenv("OSTRANA_DRIVES", "D=/mnt/data;bogus;E=/media/usb/", 1);
    EXPECT_EQ(ostrana::LocalToHostPath("D:\\a\\b").value(), "/mnt/data/a/b");
    EXPECT_EQ(ostrana::LocalToHostPath("e:\\x").value(), "/media/usb/x");
    EXPECT_EQ(ostrana::HostToLocalPath("/mnt/data/a"), "D:\\a");
    EXPECT_EQ(ostrana::HostToLocalPath("/mnt/database"), "C:\\mnt\\database");
    unsetenv("OSTRANA_DRIVES");
    std::string local = "C:\\tmp\\" + ostrana::Utf8ToAnsi("접속");
    EXPECT_EQ(ostrana::LocalToHostPath(local).value(), "/tmp/접속");
}

TEST(LocalPaths, PathsInsideDisplayTextsBecomeThisMachinesPaths) {
    EXPECT_EQ(ostrana::HostPathsInText("(C:\\tmp\\work\\)폴더에서 (myfolder/)폴더로.."),
              "(/tmp/work/)폴더에서 (myfolder/)폴더로..");
    EXPECT_EQ(ostrana::HostPathsInText("C:\\home\\ana\\my x.txt 파일을 만들 수 없습니다."),
              "/home/ana/my x.txt 파일을 만들 수 없습니다.");
    EXPECT_EQ(ostrana::HostPathsInText("\"C:\\\\a\\b\" and \"C:\\\""), "\"/a/b\" and \"/\"");
    setenv("OSTRANA_DRIVES", "D=/mnt/data", 1);
    EXPECT_EQ(ostrana::HostPathsInText("[d:\\x\\y]"), "[/mnt/data/x/y]");
    unsetenv("OSTRANA_DRIVES");
    // Only a mapped drive that starts a word is a path; everything else is left as it stands.
    EXPECT_EQ(ostrana::HostPathsInText("Q:\\x ABC:\\y a\\b C: done"), "Q:\\x ABC:\\y a\\b C: done");
}

TEST(FileApi, WriteReadAndSizeInBinary) {
    TempDir dir;
    std::string path = Local(dir / "data.bin");
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const char bytes[] = {'a', '\0', '\r', '\n', '\xff'};
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(file, bytes, sizeof bytes, &written, nullptr));
    EXPECT_EQ(written, sizeof bytes);
    CloseHandle(file);

    EXPECT_EQ(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));

    file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    LARGE_INTEGER size{};
    EXPECT_TRUE(GetFileSizeEx(file, &size));
    EXPECT_EQ(size.QuadPart, 5);
    char back[16];
    DWORD read = 0;
    EXPECT_TRUE(ReadFile(file, back, sizeof back, &read, nullptr));
    EXPECT_EQ(std::string(back, read), std::string(bytes, sizeof bytes));
    EXPECT_TRUE(ReadFile(file, back, sizeof back, &read, nullptr));
    EXPECT_EQ(read, 0u);
    CloseHandle(file);
    EXPECT_TRUE(DeleteFileA(path.c_str()));
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(FileApi, FindReturnsDotEntriesFirstThenTheFolderContents) {
    TempDir dir;
    std::filesystem::create_directory(dir / "sub");
    ostrana::test::WriteFileBytes(dir / "b.TXT", "12345");
    ostrana::test::WriteFileBytes(dir / "a.dat", "");
    ostrana::test::WriteFileBytes(dir / ".hidden", "x");
    std::filesystem::create_directory_symlink(dir / "sub", dir / "link");

    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((Local(dir.Path()) + "\\*.*").c_str(), &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    std::vector<std::string> names{data.cFileName};
    std::vector<DWORD> attributes{data.dwFileAttributes};
    std::vector<DWORD> sizes{data.nFileSizeLow};
    while (FindNextFileA(find, &data)) {
        names.push_back(data.cFileName);
        attributes.push_back(data.dwFileAttributes);
        sizes.push_back(data.nFileSizeLow);
    }
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
    EXPECT_TRUE(FindClose(find));
    ASSERT_EQ(names, (std::vector<std::string>{".", "..", ".hidden", "a.dat", "b.TXT", "link", "sub"}));
    EXPECT_TRUE(attributes[0] & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(attributes[2] & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(sizes[4], 5u);
    EXPECT_TRUE(attributes[5] & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(attributes[5] & FILE_ATTRIBUTE_REPARSE_POINT); // a link to a folder is marked
    EXPECT_FALSE(attributes[6] & FILE_ATTRIBUTE_REPARSE_POINT);

    find = FindFirstFileA((Local(dir.Path()) + "\\*.txt").c_str(), &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    EXPECT_STREQ(data.cFileName, "b.TXT"); // wildcards compare without case
    EXPECT_FALSE(FindNextFileA(find, &data));
    FindClose(find);

    EXPECT_EQ(FindFirstFileA((Local(dir.Path()) + "\\missing\\*").c_str(), &data), INVALID_HANDLE_VALUE);
}

TEST(FileApi, FoldersAndFileStatus) {
    TempDir dir;
    std::string folder = Local(dir / "새 폴더");
    EXPECT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    EXPECT_FALSE(CreateDirectoryA(folder.c_str(), nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_TRUE(GetFileAttributesA(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(std::filesystem::is_directory(dir / "새 폴더"));

    struct _stat64 status {};
    EXPECT_EQ(_stat64(folder.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & _S_IFMT, _S_IFDIR);
    ostrana::test::WriteFileBytes(dir / "f", "abc");
    EXPECT_EQ(_stat64(Local(dir / "f").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & _S_IFMT, _S_IFREG);
    EXPECT_EQ(status.st_size, 3);
    EXPECT_EQ(_stat64(Local(dir / "none").c_str(), &status), -1);

    std::string moved = Local(dir / "g");
    EXPECT_TRUE(MoveFileExA(Local(dir / "f").c_str(), moved.c_str(), 0));
    ostrana::test::WriteFileBytes(dir / "h", "zz");
    EXPECT_FALSE(MoveFileExA(Local(dir / "h").c_str(), moved.c_str(), 0)); // no silent replace
    EXPECT_EQ(ostrana::test::ReadFileBytes(dir / "g"), "abc");
    EXPECT_TRUE(MoveFileExA(Local(dir / "h").c_str(), moved.c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(ostrana::test::ReadFileBytes(dir / "g"), "zz");
    EXPECT_TRUE(RemoveDirectoryA(folder.c_str()));
}

} // namespace
