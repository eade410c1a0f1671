#include <gtest/gtest.h>

#include <memory>

#include "dragdrop/CCF_FileGroupDescriptor.h"
#include "dragdrop/CCF_HDROP.h"
#include "dragdrop/CCF_RightMenu.h"
#include "dragdrop/CCF_ShellIDList.h"
#include "dragdrop/CCF_String.h"
#include "dragdrop/CCF_WebSite.h"
#include "dragdrop/ServerDragBlock.h"
#include "platform/ole/DropFiles.h"
#include "platform/ole/GlobalMemory.h"
#include "tests/dragdrop/PayloadTestSupport.h"

using ostrana::test::Dword;
using ostrana::test::LoadObject;
using ostrana::test::Raw;
using ostrana::test::StoreObject;

TEST(CCF_String, StoresTextAndFourZerosAndReadsUpToTheFirstZero) {
    CCF_String text("abc");
    EXPECT_EQ(StoreObject(text), Raw("abc\0\0\0\0"));

    for (std::size_t length : {0u, 259u, 260u, 261u, 600u}) {
        CCF_String original(std::string(length, 't'));
        CCF_String copy("previous");
        LoadObject(copy, StoreObject(original));
        EXPECT_EQ(copy.GetString(), original.GetString()) << "length " << length;
    }
    CCF_String cut;
    LoadObject(cut, Raw("ab\0cd\0\0\0\0"));
    EXPECT_EQ(cut.GetString(), "ab");
}

TEST(CCF_HDROP, StoresTheDroppedFilesBlock) {
    CCF_HDROP none;
    EXPECT_EQ(StoreObject(none), Dword(20) + Dword(0) + Dword(0) + Dword(0) + Dword(0) + Raw("\0"));

    CCF_HDROP files;
    files.SetDropPoint(POINT{5, -1}, TRUE);
    files.AddFileName("C:\\a.txt");
    files.AddFileName("C:\\\xC7\xD1\\b");
    files.AddFileName("myfolder/c");
    EXPECT_EQ(StoreObject(files), Dword(20) + Dword(5) + Dword(0xFFFFFFFF) + Dword(1) + Dword(0) +
                                      Raw("C:\\a.txt\0C:\\\xC7\xD1\\b\0myfolder/c\0\0"));
    EXPECT_EQ(files.GetCount(), 3);
    EXPECT_EQ(files.GetFileName(2), "myfolder/c");
    EXPECT_EQ(files.GetFileName(3), "");
    EXPECT_EQ(files.GetFileName(-1), "");
    EXPECT_EQ(none.GetFileName(0), "");
}

TEST(CCF_HDROP, StoredBlockAnswersTheDroppedFilesQuery) {
    CCF_HDROP files;
    files.SetDropPoint(POINT{7, 8}, FALSE);
    files.AddFileName("one");
    files.AddFileName("two");
    std::string bytes = StoreObject(files);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
    GlobalUnlock(memory);
    auto drop = reinterpret_cast<HDROP>(memory);
    EXPECT_EQ(DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0), 2u);
    char name[8];
    DragQueryFileA(drop, 1, name, sizeof name);
    EXPECT_STREQ(name, "two");
    POINT point{};
    EXPECT_TRUE(DragQueryPoint(drop, &point));
    EXPECT_EQ(point.x, 7);
    DragFinish(drop);
}

class ShellIDListLayout : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = ostrana::ILCreateFromItems({"home", "ana"}); // 6 + 5 + 2 = 13 bytes
        m_first = ostrana::ILCreateFromItems({"a.txt"});        // 7 + 2 = 9
        m_second = ostrana::ILCreateFromItems({"b"});           // 3 + 2 = 5
    }
    void TearDown() override {
        ILFree(m_folder);
        ILFree(m_first);
        ILFree(m_second);
    }
    static std::string Bytes(LPCITEMIDLIST list) {
        return std::string(reinterpret_cast<const char*>(list), ILGetSize(list));
    }

    LPITEMIDLIST m_folder = nullptr;
    LPITEMIDLIST m_first = nullptr;
    LPITEMIDLIST m_second = nullptr;
};

TEST_F(ShellIDListLayout, FewerThanTwoListsStoreNothing) {
    CCF_ShellIDList empty;
    EXPECT_EQ(StoreObject(empty), "");
    CCF_ShellIDList folderOnly;
    folderOnly.Add(m_folder);
    EXPECT_EQ(StoreObject(folderOnly), "");
}

TEST_F(ShellIDListLayout, OneItemAfterTheFolder) {
    CCF_ShellIDList lists;
    lists.Add(m_folder);
    lists.Add(m_first);
    // Offsets start after the count, two offsets and the four zero bytes: 8 + 4 x 2 = 16.
    EXPECT_EQ(StoreObject(lists),
              Dword(1) + Dword(16) + Dword(16 + 13) + Dword(0) + Bytes(m_folder) + Bytes(m_first));
}

TEST_F(ShellIDListLayout, ThreeListsAndAnAbsentOne) {
    CCF_ShellIDList lists;
    lists.Add(m_folder);
    lists.Add(m_first);
    lists.Add(m_second);
    std::string stored = StoreObject(lists);
    EXPECT_EQ(stored, Dword(2) + Dword(20) + Dword(20 + 13) + Dword(20 + 13 + 9) + Dword(0) +
                          Bytes(m_folder) + Bytes(m_first) + Bytes(m_second));

    CCF_ShellIDList copy;
    LoadObject(copy, stored);
    ASSERT_EQ(copy.GetCount(), 3);
    EXPECT_TRUE(ostrana::ILIsSameBytes(copy.GetAt(0), m_folder));
    EXPECT_TRUE(ostrana::ILIsSameBytes(copy.GetAt(2), m_second));
    EXPECT_EQ(copy.GetAt(3), nullptr);
    EXPECT_EQ(copy.GetAt(-1), nullptr);

    CCF_ShellIDList withGap;
    withGap.Add(m_folder);
    withGap.Add(nullptr);
    withGap.Add(m_second);
    EXPECT_EQ(StoreObject(withGap),
              Dword(2) + Dword(20) + Dword(33) + Dword(33) + Dword(0) + Bytes(m_folder) + Bytes(m_second));
    CCF_ShellIDList gapCopy;
    LoadObject(gapCopy, StoreObject(withGap));
    ASSERT_EQ(gapCopy.GetCount(), 3);
    EXPECT_EQ(gapCopy.GetAt(1), nullptr);
    EXPECT_TRUE(ostrana::ILIsSameBytes(gapCopy.GetAt(2), m_second));
}

TEST_F(ShellIDListLayout, DamagedArraysAreRefused) {
    const std::string damaged[] = {
        Raw("\1\0"),
        Dword(0xFFFFFFFF) + Dword(8),                              // count wraps around
        Dword(1000) + Dword(0),                                    // more offsets than bytes
        Dword(1) + Dword(16) + Dword(500) + Dword(0) + Bytes(m_folder), // offset outside
        Dword(1) + Dword(4) + Dword(16) + Dword(0) + Bytes(m_folder),   // offset into the header
        Dword(1) + Dword(16) + Dword(20) + Dword(0) + Raw("\x09\0abcdefg"), // list without end
    };
    for (const std::string& bytes : damaged) {
        CCF_ShellIDList lists;
        lists.Add(m_folder);
        EXPECT_THROW(LoadObject(lists, bytes), CArchiveException) << "size " << bytes.size();
        ASSERT_EQ(lists.GetCount(), 1);
        EXPECT_TRUE(ostrana::ILIsSameBytes(lists.GetAt(0), m_folder));
    }
}

TEST(CCF_RightMenu, OneByteFlag) {
    CCF_RightMenu right(TRUE);
    CCF_RightMenu left;
    EXPECT_EQ(StoreObject(right), Raw("\1"));
    EXPECT_EQ(StoreObject(left), Raw("\0"));
    left.SetRightMenu(TRUE);
    EXPECT_TRUE(left.GetRightMenu());
    CCF_RightMenu read;
    LoadObject(read, Raw("\1"));
    EXPECT_TRUE(read.GetRightMenu());
    EXPECT_THROW(LoadObject(read, ""), CArchiveException);
}

TEST(CCF_WebSite, StringsAndNumbersInTheirOrder) {
    CCF_App app(0x01020304);
    EXPECT_EQ(StoreObject(app), Raw("\4\3\2\1"));
    CCF_WebSite site("first", "second");
    EXPECT_EQ(StoreObject(site), Raw("\5first\6second"));
    CCF_FolderType folder(7, "first", "second");
    EXPECT_EQ(StoreObject(folder), Dword(7) + Raw("\6second\5first"));

    CCF_FolderType folderCopy;
    LoadObject(folderCopy, StoreObject(folder));
    EXPECT_EQ(folderCopy.GetType(), 7);
    EXPECT_EQ(folderCopy.GetFirstString(), "first");
    EXPECT_EQ(folderCopy.GetSecondString(), "second");
}

TEST(CCF_WebSite, ListsRoundTrip) {
    CCF_WebSites sites(3);
    sites.AddTail(std::make_unique<CCF_WebSite>("a", "b"));
    sites.AddTail(std::make_unique<CCF_WebSite>("c", std::string(300, 'd')));
    CCF_WebSites sitesCopy;
    LoadObject(sitesCopy, StoreObject(sites));
    EXPECT_EQ(sitesCopy.GetApp().GetApp(), 3);
    ASSERT_EQ(sitesCopy.GetCount(), 2);
    EXPECT_EQ(sitesCopy.GetAt(1)->GetSecondString(), std::string(300, 'd'));
    EXPECT_EQ(sitesCopy.GetAt(2), nullptr);

    CCF_DBFolderList folders(9);
    folders.SetName("db");
    folders.AddTail(std::make_unique<CCF_FolderType>(1, "x", "y"));
    std::string stored = StoreObject(folders);
    EXPECT_EQ(stored, Dword(9) + Raw("\2db\1\0") + Dword(1) + Raw("\1y\1x"));
    CCF_DBFolderList foldersCopy;
    LoadObject(foldersCopy, stored);
    EXPECT_EQ(foldersCopy.GetName(), "db");
    ASSERT_EQ(foldersCopy.GetCount(), 1);
    EXPECT_EQ(foldersCopy.GetAt(0)->GetSecondString(), "y");

    // A forged element count ends at the data's end instead of allocating for it.
    CCF_WebSites forged;
    EXPECT_THROW(LoadObject(forged, Dword(0) + Raw("\xFF\xFF\xFF\xFF\xFF\x7F")), CArchiveException);
}

TEST(CCF_FileGroupDescriptor, OneShortcutDescriptor) {
    CCF_FileGroupDescriptor group("Example");
    std::string stored = StoreObject(group);
    ASSERT_EQ(stored.size(), 4u + 332u);
    std::string descriptor(332, '\0');
    descriptor.replace(0, 4, Dword(0x00008040));
    descriptor.replace(68, 4, Dword(std::string("Example.url").size() + 24));
    descriptor.replace(72, 11, "Example.url");
    EXPECT_EQ(stored, Dword(1) + descriptor);

    CCF_FileGroupDescriptor copy;
    LoadObject(copy, stored);
    ASSERT_EQ(copy.GetCount(), 1u);
    EXPECT_STREQ(copy.GetDescriptor(0)->cFileName, "Example.url");
    EXPECT_EQ(copy.GetDescriptor(0)->dwFlags, static_cast<DWORD>(FD_FILESIZE | FD_LINKUI));
    EXPECT_EQ(copy.GetDescriptor(0)->nFileSizeLow, 35u);
    EXPECT_EQ(copy.GetDescriptor(1), nullptr);
}

TEST(CCF_FileGroupDescriptor, EmptyAndOverlongBaseNames) {
    CCF_FileGroupDescriptor empty;
    EXPECT_EQ(StoreObject(empty), Dword(0));

    // 200 double-byte characters: the name is cut on a character boundary to fit 260 bytes.
    std::string korean;
    for (int i = 0; i < 200; ++i) {
        korean += "\xC7\xD1";
    }
    CCF_FileGroupDescriptor longName(korean);
    std::string name = longName.ShortcutFileName();
    EXPECT_EQ(name, korean.substr(0, 254) + ".url");
    std::string stored = StoreObject(longName);
    EXPECT_EQ(stored.substr(4 + 72, name.size() + 1), name + std::string(1, '\0'));

    CCF_FileGroupDescriptor forged;
    EXPECT_THROW(LoadObject(forged, Dword(0xFFFFFFFF) + std::string(332, 'x')), CArchiveException);
    EXPECT_EQ(forged.GetCount(), 0u);
}

TEST(ServerDragBlock, TwoEntriesFillSixtyFourBytes) {
    std::vector<BYTE> block = BuildServerDragBlock({"myfolder/a", "myfolder/b.txt"});
    std::string expected =
        Dword(20) + Dword(0) + Dword(0) + Dword(0) + Dword(0) + Raw("myfolder/a\0myfolder/b.txt\0");
    expected.resize(64, '\0');
    EXPECT_EQ(std::string(block.begin(), block.end()), expected);
}

TEST(ServerDragBlock, SizeRoundsUpInStepsOf32) {
    EXPECT_EQ(BuildServerDragBlock({}).size(), 32u);
    EXPECT_EQ(BuildServerDragBlock({std::string(8, 'p')}).size(), 32u);  // total 9: 31 / 32 + 1
    EXPECT_EQ(BuildServerDragBlock({std::string(9, 'p')}).size(), 64u);  // total 10: 32 / 32 + 1
    EXPECT_EQ(BuildServerDragBlock({std::string(41, 'p')}).size(), 96u); // total 42: 64 / 32 + 1

    HGLOBAL memory = CreateServerDragBlock({"myfolder/a", "html/b c"});
    ASSERT_NE(memory, nullptr);
    EXPECT_EQ(GlobalSize(memory), 64u);
    auto drop = reinterpret_cast<HDROP>(memory);
    ASSERT_EQ(DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0), 2u);
    char name[MAX_PATH];
    DragQueryFileA(drop, 1, name, sizeof name);
    EXPECT_STREQ(name, "html/b c");
    DragFinish(drop);
}

TEST(PayloadClasses, EveryClassIsCreatedByNameWithSchemaZero) {
    for (const char* name :
         {"CCF_String", "CCF_HDROP", "CCF_ShellIDList", "CCF_RightMenu", "CCF_App", "CCF_WebSite",
          "CCF_FolderType", "CCF_WebSites", "CCF_DBFolderList", "CCF_FileGroupDescriptor"}) {
        const CRuntimeClass* runtimeClass = CRuntimeClass::FromName(name);
        ASSERT_NE(runtimeClass, nullptr) << name;
        EXPECT_EQ(runtimeClass->m_wSchema, 0u) << name;
        std::unique_ptr<CObject> object(runtimeClass->CreateObject());
        ASSERT_NE(object, nullptr) << name;
        EXPECT_STREQ(object->GetRuntimeClass()->m_lpszClassName, name);
    }
}
