// Type icons from the shell: one index per type, the same in both system lists, and folders,
// drives and extensions told apart.
#include <gtest/gtest.h>

#include "platform/base/FileApi.h"
#include "platform/shell/FileInfo.h"

namespace ostrana::test {
namespace {

int IconOf(const char* path, UINT flags = 0, DWORD attributes = 0) {
    SHFILEINFOA info;
    EXPECT_NE(0u, SHGetFileInfoA(path, attributes, &info, sizeof info, SHGFI_SYSICONINDEX | flags));
    return info.iIcon;
}

TEST(FileInfo, TypeIconsShareOneIndexInBothSystemLists) {
    SHFILEINFOA info;
    EXPECT_EQ(0u, SHGetFileInfoA("a.txt", 0, &info, sizeof info, 0));
    EXPECT_EQ(reinterpret_cast<DWORD_PTR>(SystemImageList(false)), SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX));
    EXPECT_EQ(reinterpret_cast<DWORD_PTR>(SystemImageList(true)),
              SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));

    int text = IconOf("C:\\x\\notes.TXT");
    EXPECT_EQ(text, IconOf("/srv/log.txt", SHGFI_SMALLICON));
    EXPECT_EQ("icon filetype_text", ImageListEntry(SystemImageList(false), text));
    EXPECT_EQ("icon filetype_text", ImageListEntry(SystemImageList(true), text));
    EXPECT_EQ("icon filetype_drive", ImageListEntry(SystemImageList(false), IconOf("C:\\")));
    EXPECT_EQ("icon filetype_folder", ImageListEntry(SystemImageList(false), IconOf("C:\\x.zip\\")));
    EXPECT_EQ("icon filetype_folder",
              ImageListEntry(SystemImageList(false), IconOf("C:\\pack", SHGFI_USEFILEATTRIBUTES, FILE_ATTRIBUTE_DIRECTORY)));
    EXPECT_EQ("icon filetype_file", ImageListEntry(SystemImageList(false), IconOf("C:\\dir.v2\\README")));
    EXPECT_EQ("icon filetype_archive", ImageListEntry(SystemImageList(false), IconOf("C:\\a.zip")));
}

} // namespace
} // namespace ostrana::test
