// Type icons from the shell: named by the registered table, one index per image, the same in both
// system lists, and folders, drives and extensions told apart.
#include <gtest/gtest.h>

#include "platform/base/CodePage.h"
#include "platform/base/FileApi.h"
#include "platform/base/FileTypeIcons.h"
#include "platform/shell/FileInfo.h"

namespace ostrana::test {
namespace {

int IconOf(const char* path, UINT flags = 0, DWORD attributes = 0) {
    SHFILEINFOA info;
    EXPECT_NE(0u, SHGetFileInfoA(path, attributes, &info, sizeof info, SHGFI_SYSICONINDEX | flags));
    return info.iIcon;
}

constexpr FileTypeIcon kTestTypes[] = {
    {"folder", "icon test_folder"}, {"drive", "icon test_drive"}, {".txt", "icon test_text"}, {".log", "icon test_text"},
    {".zip", "icon test_archive"},
};

TEST(FileInfo, TypeIconsComeFromTheRegisteredTableWithOneIndexInBothSystemLists) {
    SHFILEINFOA info;
    EXPECT_EQ(0u, SHGetFileInfoA("a.txt", 0, &info, sizeof info, 0));
    EXPECT_EQ(reinterpret_cast<DWORD_PTR>(SystemImageList(false)), SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX));
    EXPECT_EQ(reinterpret_cast<DWORD_PTR>(SystemImageList(true)),
              SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));

    // Without a table the platform's own images stand.
    RegisterFileTypeIcons({});
    EXPECT_EQ("system file", ImageListEntry(SystemImageList(false), IconOf("C:\\x\\plain.dat")));
    EXPECT_EQ("system folder", ImageListEntry(SystemImageList(false), IconOf("C:\\x\\")));

    RegisterFileTypeIcons(kTestTypes);
    int text = IconOf("C:\\x\\notes.TXT");
    EXPECT_EQ(text, IconOf("/srv/log.txt", SHGFI_SMALLICON));
    EXPECT_EQ(text, IconOf("/srv/today.log")) << "kinds with one image share its entry";
    EXPECT_EQ("icon test_text", ImageListEntry(SystemImageList(false), text));
    EXPECT_EQ("icon test_text", ImageListEntry(SystemImageList(true), text));
    EXPECT_EQ("icon test_drive", ImageListEntry(SystemImageList(false), IconOf("C:\\")));
    EXPECT_EQ("icon test_folder", ImageListEntry(SystemImageList(false), IconOf("C:\\x.zip\\")));
    EXPECT_EQ("icon test_folder",
              ImageListEntry(SystemImageList(false), IconOf("C:\\pack", SHGFI_USEFILEATTRIBUTES, FILE_ATTRIBUTE_DIRECTORY)));
    EXPECT_EQ("system file", ImageListEntry(SystemImageList(false), IconOf("C:\\dir.v2\\README")));
    EXPECT_EQ("icon test_archive", ImageListEntry(SystemImageList(false), IconOf("C:\\a.zip")));
    RegisterFileTypeIcons({});
}

std::string TypeNameOf(const char* path, UINT flags = SHGFI_USEFILEATTRIBUTES, DWORD attributes = 0) {
    SHFILEINFOA info;
    EXPECT_EQ(1u, SHGetFileInfoA(path, attributes, &info, sizeof info, SHGFI_TYPENAME | flags));
    return AnsiToUtf8(info.szTypeName);
}

TEST(FileInfo, TypeNamesGoByFolderOrExtensionWithoutTouchingTheFile) {
    EXPECT_EQ("파일 폴더", TypeNameOf("New Folder", SHGFI_USEFILEATTRIBUTES, FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ("텍스트 문서", TypeNameOf("notes.TXT"));
    EXPECT_EQ("HWP 파일", TypeNameOf("report.hwp"));
    EXPECT_EQ("GZ 파일", TypeNameOf("dir.v2/pack.tar.gz"));
    EXPECT_EQ("파일", TypeNameOf("README"));
    EXPECT_EQ("파일", TypeNameOf("dir.v2/README")) << "a dot in a folder name is no extension";
    EXPECT_EQ("파일", TypeNameOf("trailing."));
    EXPECT_EQ("한글A 파일", TypeNameOf(Utf8ToAnsi("문서.한글a").c_str()));

    // Type name and icon index in one query.
    SHFILEINFOA info;
    EXPECT_EQ(reinterpret_cast<DWORD_PTR>(SystemImageList(true)),
              SHGetFileInfoA("a.zip", 0, &info, sizeof info, SHGFI_TYPENAME | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES));
    EXPECT_EQ("압축(ZIP) 폴더", AnsiToUtf8(info.szTypeName));
}

} // namespace
} // namespace ostrana::test
