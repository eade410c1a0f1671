#include <gtest/gtest.h>

#include <cstring>

#include "dragdrop/CCF_FileGroupDescriptor.h"
#include "dragdrop/CCF_HDROP.h"
#include "dragdrop/CCF_RightMenu.h"
#include "dragdrop/CCF_ShellIDList.h"
#include "dragdrop/CCF_String.h"
#include "dragdrop/ClipboardFormats.h"
#include "dragdrop/ServerDragBlock.h"
#include "platform/ole/GlobalMemory.h"
#include "tests/dragdrop/PayloadTestSupport.h"

namespace {

// A receiver's view of a source, holding its own reference as a drop target would.
class Receiver {
public:
    explicit Receiver(const COleDataSource& source) {
        IDataObject* dataObject = source.GetDataObject();
        dataObject->AddRef();
        m_dataObject.Attach(dataObject);
    }
    COleDataObject* operator->() { return &m_dataObject; }
    COleDataObject* Get() { return &m_dataObject; }

private:
    COleDataObject m_dataObject;
};

HGLOBAL GlobalBytes(const std::string& bytes) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, bytes.size());
    std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
    GlobalUnlock(memory);
    return memory;
}

} // namespace

TEST(ClipboardFormats, NineFormatsStandardThenRegistered) {
    EXPECT_EQ(CClipboardFormats::FormatAt(CFI_TEXT), CF_TEXT);
    EXPECT_EQ(CClipboardFormats::FormatAt(CFI_HDROP), CF_HDROP);
    const char* names[] = {"UniformResourceLocator", "CF_WD_WEBSITE",       "HTML Format",
                           "CF_WD_WEBSITE_CATEGORY", "CF_WD_RIGHTMENU",     "FileGroupDescriptor",
                           "Shell IDList Array"};
    for (int index = CFI_URL; index < CFI_COUNT; ++index) {
        CLIPFORMAT format = CClipboardFormats::FormatAt(index);
        EXPECT_GE(format, 0xC000) << index;
        EXPECT_EQ(format, RegisterClipboardFormatA(names[index - CFI_URL])) << index;
        EXPECT_EQ(CClipboardFormats::Table()[index], format);
    }
    EXPECT_EQ(CClipboardFormats::FormatAt(CFI_COUNT), 0);
    EXPECT_EQ(CClipboardFormats::FormatAt(-1), 0);
}

TEST(ClipboardFormats, KnownFormatIsAnyOfTheNine) {
    COleDataSource source;
    source.CacheGlobalData(static_cast<CLIPFORMAT>(RegisterClipboardFormatA("Ostrana Foreign")),
                           GlobalBytes("x"));
    Receiver receiver(source);
    EXPECT_FALSE(CClipboardFormats::HasKnownFormat(receiver.Get()));
    source.CacheGlobalData(CClipboardFormats::FormatAt(CFI_RIGHTMENU), GlobalBytes("\1"));
    EXPECT_TRUE(CClipboardFormats::HasKnownFormat(receiver.Get()));
    EXPECT_FALSE(CClipboardFormats::HasKnownFormat(nullptr));
}

TEST(ClipboardFormats, TextTravelsInAGrowthStepBlock) {
    COleDataSource source;
    CCF_String text("abc");
    ASSERT_TRUE(CClipboardFormats::PutOnDataSource(&source, &text, CFI_TEXT));
    Receiver receiver(source);
    HGLOBAL memory = receiver->GetGlobalData(CF_TEXT);
    ASSERT_NE(memory, nullptr);
    EXPECT_EQ(GlobalSize(memory), 4096u);
    {
        ostrana::GlobalLockGuard data(memory);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(data.Data()), 8),
                  ostrana::test::Raw("abc\0\0\0\0\0"));
    }
    GlobalFree(memory);

    CCF_String copy("old");
    EXPECT_TRUE(CClipboardFormats::GetFromDataObject(receiver.Get(), &copy, CFI_TEXT));
    EXPECT_EQ(copy.GetString(), "abc");
}

TEST(ClipboardFormats, DroppedFilesAreAppendedInOrder) {
    COleDataSource source;
    CCF_HDROP files;
    std::string longName = "C:\\" + std::string(300, 'L');
    files.AddFileName("C:\\a.txt");
    files.AddFileName(longName);
    files.AddFileName("C:\\b");
    ASSERT_TRUE(CClipboardFormats::PutOnDataSource(&source, &files, CFI_HDROP));

    Receiver receiver(source);
    CCF_HDROP dropped;
    dropped.AddFileName("kept");
    EXPECT_TRUE(CClipboardFormats::GetFromDataObject(receiver.Get(), &dropped, CFI_HDROP));
    ASSERT_EQ(dropped.GetCount(), 4);
    EXPECT_EQ(dropped.GetFileName(0), "kept");
    EXPECT_EQ(dropped.GetFileName(1), "C:\\a.txt");
    EXPECT_EQ(dropped.GetFileName(2), longName);
    EXPECT_EQ(dropped.GetFileName(3), "C:\\b");
}

TEST(ClipboardFormats, ServerEntriesArriveAsDroppedFiles) {
    COleDataSource source;
    source.CacheGlobalData(CClipboardFormats::FormatAt(CFI_HDROP),
                           CreateServerDragBlock({"myfolder/a", "myfolder/b.txt"}));
    Receiver receiver(source);
    CCF_HDROP dropped;
    EXPECT_TRUE(CClipboardFormats::GetFromDataObject(receiver.Get(), &dropped, CFI_HDROP));
    ASSERT_EQ(dropped.GetCount(), 2);
    EXPECT_EQ(dropped.GetFileName(1), "myfolder/b.txt");
}

TEST(ClipboardFormats, AbsentFormatLeavesThePayloadAlone) {
    COleDataSource source;
    CCF_RightMenu flag(TRUE);
    ASSERT_TRUE(CClipboardFormats::PutOnDataSource(&source, &flag, CFI_RIGHTMENU));
    Receiver receiver(source);

    CCF_String text("unchanged");
    EXPECT_TRUE(CClipboardFormats::GetFromDataObject(receiver.Get(), &text, CFI_TEXT));
    EXPECT_EQ(text.GetString(), "unchanged");
    CCF_HDROP files;
    EXPECT_TRUE(CClipboardFormats::GetFromDataObject(receiver.Get(), &files, CFI_HDROP));
    EXPECT_EQ(files.GetCount(), 0);

    CCF_RightMenu copy;
    EXPECT_TRUE(CClipboardFormats::GetFromDataObject(receiver.Get(), &copy, CFI_RIGHTMENU));
    EXPECT_TRUE(copy.GetRightMenu());

    EXPECT_FALSE(CClipboardFormats::GetFromDataObject(nullptr, &copy, CFI_RIGHTMENU));
    EXPECT_FALSE(CClipboardFormats::GetFromDataObject(receiver.Get(), nullptr, CFI_RIGHTMENU));
    EXPECT_FALSE(CClipboardFormats::PutOnDataSource(nullptr, &copy, CFI_RIGHTMENU));
    EXPECT_FALSE(CClipboardFormats::PutOnDataSource(&source, &copy, CFI_COUNT));
}

TEST(ClipboardFormats, FolderAloneOffersNoShellIdListArray) {
    COleDataSource source;
    LPITEMIDLIST folder = ostrana::ILCreateFromItems({"home"});
    LPITEMIDLIST item = ostrana::ILCreateFromItems({"a"});
    CCF_ShellIDList lists;
    lists.Add(folder);
    EXPECT_FALSE(CClipboardFormats::PutOnDataSource(&source, &lists, CFI_SHELLIDLIST));
    Receiver receiver(source);
    CLIPFORMAT format = CClipboardFormats::FormatAt(CFI_SHELLIDLIST);
    EXPECT_FALSE(receiver->IsDataAvailable(format));

    lists.Add(item);
    EXPECT_TRUE(CClipboardFormats::PutOnDataSource(&source, &lists, CFI_SHELLIDLIST));
    EXPECT_TRUE(receiver->IsDataAvailable(format));
    CCF_ShellIDList copy;
    EXPECT_TRUE(CClipboardFormats::GetFromDataObject(receiver.Get(), &copy, CFI_SHELLIDLIST));
    ASSERT_EQ(copy.GetCount(), 2);
    EXPECT_TRUE(ostrana::ILIsSameBytes(copy.GetAt(1), item));
    ILFree(folder);
    ILFree(item);
}

TEST(ClipboardFormats, DamagedPayloadFromAnotherProcessIsReportedNotTrusted) {
    COleDataSource source;
    CLIPFORMAT format = CClipboardFormats::FormatAt(CFI_FILEGROUPDESCRIPTOR);
    source.CacheGlobalData(format, GlobalBytes(ostrana::test::Dword(0x7FFFFFFF) + std::string(332, 'z')));
    Receiver receiver(source);
    CCF_FileGroupDescriptor group;
    EXPECT_FALSE(CClipboardFormats::GetFromDataObject(receiver.Get(), &group, CFI_FILEGROUPDESCRIPTOR));
    EXPECT_EQ(group.GetCount(), 0u);
}
