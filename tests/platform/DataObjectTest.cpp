#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/base/Archive.h"
#include "platform/ole/FormatEnumerator.h"
#include "platform/ole/GlobalMemory.h"
#include "platform/ole/OleDataObject.h"
#include "platform/ole/OleDataSource.h"
#include "platform/ole/SharedFile.h"

namespace {

HGLOBAL GlobalText(const std::string& text) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, text.size());
    ostrana::GlobalLockGuard data(memory);
    std::memcpy(data.Data(), text.data(), text.size());
    return memory;
}

std::string GlobalContent(HGLOBAL memory) {
    ostrana::GlobalLockGuard data(memory);
    return std::string(reinterpret_cast<const char*>(data.Data()), GlobalSize(memory));
}

// A data object seen by a receiver, holding its own reference.
void AttachTo(COleDataObject& receiver, const COleDataSource& source) {
    IDataObject* dataObject = source.GetDataObject();
    dataObject->AddRef();
    receiver.Attach(dataObject);
}

} // namespace

TEST(DataSource, ReceiversGetCopiesOfTheCachedData) {
    COleDataSource source;
    source.CacheGlobalData(CF_TEXT, GlobalText("hello"));
    COleDataObject receiver;
    AttachTo(receiver, source);

    EXPECT_TRUE(receiver.IsDataAvailable(CF_TEXT));
    EXPECT_FALSE(receiver.IsDataAvailable(CF_HDROP));
    for (int i = 0; i < 2; ++i) {
        HGLOBAL first = receiver.GetGlobalData(CF_TEXT);
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(GlobalContent(first), "hello");
        GlobalFree(first);
    }
    EXPECT_EQ(receiver.GetGlobalData(CF_HDROP), nullptr);
}

TEST(DataSource, CachingAFormatAgainReplacesIt) {
    COleDataSource source;
    source.CacheGlobalData(CF_TEXT, GlobalText("old"));
    source.CacheGlobalData(CF_TEXT, GlobalText("new"));
    source.CacheGlobalData(CF_HDROP, GlobalText("files"));
    COleDataObject receiver;
    AttachTo(receiver, source);

    receiver.BeginEnumFormats();
    FORMATETC format{};
    std::vector<CLIPFORMAT> offered;
    while (receiver.GetNextFormat(&format)) {
        offered.push_back(format.cfFormat);
        EXPECT_EQ(format.tymed, static_cast<DWORD>(TYMED_HGLOBAL));
    }
    EXPECT_EQ(offered, (std::vector<CLIPFORMAT>{CF_TEXT, CF_HDROP}));
    HGLOBAL text = receiver.GetGlobalData(CF_TEXT);
    EXPECT_EQ(GlobalContent(text), "new");
    GlobalFree(text);
}

TEST(DataSource, TheDataObjectOutlivesItsSourceButNotItsCache) {
    COleDataObject receiver;
    {
        COleDataSource source;
        source.CacheGlobalData(CF_TEXT, GlobalText("gone"));
        AttachTo(receiver, source);
    }
    EXPECT_FALSE(receiver.IsDataAvailable(CF_TEXT));
    EXPECT_EQ(receiver.GetFileData(CF_TEXT), nullptr);
}

TEST(DataSource, AspectAndMediumMustMatch) {
    COleDataSource source;
    source.CacheGlobalData(CF_TEXT, GlobalText("x"));
    IDataObject* dataObject = source.GetDataObject();
    FORMATETC icon{CF_TEXT, nullptr, DVASPECT_ICON, -1, TYMED_HGLOBAL};
    EXPECT_EQ(dataObject->QueryGetData(&icon), DV_E_DVASPECT);
    FORMATETC stream{CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_ISTREAM};
    EXPECT_EQ(dataObject->QueryGetData(&stream), DV_E_TYMED);
    FORMATETC other{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    EXPECT_EQ(dataObject->GetData(&other, &medium), DV_E_FORMATETC);
    EXPECT_EQ(medium.hGlobal, nullptr);
}

TEST(DataSource, SetDataTakesOrCopiesTheMedium) {
    COleDataSource source;
    IDataObject* dataObject = source.GetDataObject();
    FORMATETC text = ostrana::DefaultFormatEtc(CF_TEXT);
    STGMEDIUM kept{};
    kept.tymed = TYMED_HGLOBAL;
    kept.hGlobal = GlobalText("copy");
    EXPECT_EQ(dataObject->SetData(&text, &kept, FALSE), S_OK);
    EXPECT_EQ(GlobalContent(kept.hGlobal), "copy");
    ReleaseStgMedium(&kept);
    EXPECT_EQ(kept.tymed, static_cast<DWORD>(TYMED_NULL));

    COleDataObject receiver;
    AttachTo(receiver, source);
    HGLOBAL stored = receiver.GetGlobalData(CF_TEXT);
    EXPECT_EQ(GlobalContent(stored), "copy");
    GlobalFree(stored);
}

TEST(SharedFile, GrowsInStepsAndReadsBackThroughAnArchive) {
    CSharedFile file(GMEM_MOVEABLE | GMEM_SHARE, 4096);
    {
        CArchive ar(&file, CArchive::store);
        ar << std::string(5000, 'k') << DWORD{7};
        ar.Close();
    }
    EXPECT_EQ(file.GetLength(), 3u + 5000u + 4u);
    HGLOBAL memory = file.Detach();
    ASSERT_NE(memory, nullptr);
    EXPECT_EQ(GlobalSize(memory), 8192u);
    EXPECT_EQ(file.GetLength(), 0u);

    CSharedFile reader;
    reader.SetHandle(memory, FALSE);
    EXPECT_EQ(reader.GetLength(), 8192u);
    CArchive ar(&reader, CArchive::load);
    std::string text;
    DWORD number = 0;
    ar >> text >> number;
    EXPECT_EQ(text, std::string(5000, 'k'));
    EXPECT_EQ(number, 7u);
    reader.SeekToEnd();
    EXPECT_THROW(reader.Write("x", 1), CFileException);
}

namespace {

// A data object that keeps its block and lends it out with a release interface, as another
// process's data object may.
class LendingDataObject final : public IDataObject {
public:
    explicit LendingDataObject(HGLOBAL memory) : m_memory(memory) {}
    ~LendingDataObject() { GlobalFree(m_memory); }

    HRESULT QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }
    HRESULT GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (format->cfFormat != CF_TEXT) {
            return DV_E_FORMATETC;
        }
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = m_memory;
        medium->pUnkForRelease = &m_releaser;
        m_releaser.AddRef();
        return S_OK;
    }
    HRESULT QueryGetData(FORMATETC* format) override {
        return format->cfFormat == CF_TEXT ? S_OK : DV_E_FORMATETC;
    }
    HRESULT SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT EnumFormatEtc(DWORD, IEnumFORMATETC** enumerator) override {
        *enumerator = nullptr;
        return E_NOTIMPL;
    }

    struct Releaser final : IUnknown {
        HRESULT QueryInterface(REFIID, void** object) override {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        ULONG AddRef() override { return static_cast<ULONG>(++lent); }
        ULONG Release() override { return static_cast<ULONG>(--lent); }
        int lent = 0;
    };

    HGLOBAL m_memory;
    Releaser m_releaser;
};

} // namespace

TEST(DataObject, LentBlocksAreCopiedAndGivenBackThroughTheirReleaseInterface) {
    LendingDataObject lender(GlobalText("lent"));
    COleDataObject receiver;
    receiver.Attach(&lender, FALSE);

    HGLOBAL copy = receiver.GetGlobalData(CF_TEXT);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, lender.m_memory);
    EXPECT_EQ(lender.m_releaser.lent, 0);
    EXPECT_EQ(GlobalContent(lender.m_memory), "lent");
    EXPECT_EQ(GlobalContent(copy), "lent");
    GlobalFree(copy);

    std::unique_ptr<CFile> file = receiver.GetFileData(CF_TEXT);
    ASSERT_NE(file, nullptr);
    char bytes[8] = {};
    EXPECT_EQ(file->Read(bytes, sizeof bytes), 4u);
    EXPECT_STREQ(bytes, "lent");
    EXPECT_EQ(GlobalSize(lender.m_memory), 4u);

    // Without an enumerator the receiver simply sees no formats.
    receiver.BeginEnumFormats();
    FORMATETC format{};
    EXPECT_FALSE(receiver.GetNextFormat(&format));
}

TEST(FormatEnumerator, BatchesSkipsAndClonesFromItsPosition) {
    std::vector<FORMATETC> formats = {ostrana::DefaultFormatEtc(CF_TEXT), ostrana::DefaultFormatEtc(CF_HDROP),
                                      ostrana::DefaultFormatEtc(CF_DIB)};
    auto* enumerator = new ostrana::FormatEnumerator(formats);
    FORMATETC batch[2] = {};
    ULONG fetched = 0;
    EXPECT_EQ(enumerator->Next(2, batch, &fetched), S_OK);
    EXPECT_EQ(fetched, 2u);
    EXPECT_EQ(batch[1].cfFormat, CF_HDROP);

    IEnumFORMATETC* clone = nullptr;
    ASSERT_EQ(enumerator->Clone(&clone), S_OK);
    EXPECT_EQ(enumerator->Next(2, batch, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 1u);
    EXPECT_EQ(batch[0].cfFormat, CF_DIB);
    EXPECT_EQ(enumerator->Skip(1), S_FALSE);

    EXPECT_EQ(clone->Next(1, batch, nullptr), S_OK);
    EXPECT_EQ(batch[0].cfFormat, CF_DIB);
    clone->Reset();
    EXPECT_EQ(clone->Skip(3), S_OK);
    EXPECT_EQ(clone->Next(1, batch, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 0u);
    EXPECT_EQ(clone->Release(), 0u);
    EXPECT_EQ(enumerator->Release(), 0u);
}
