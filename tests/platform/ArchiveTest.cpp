#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/base/Archive.h"
#include "platform/base/CodePage.h"
#include "platform/base/MemFile.h"
#include "tests/support/TempDir.h"

namespace {

using Bytes = std::vector<BYTE>;

Bytes Store(const std::function<void(CArchive&)>& write) {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    write(ar);
    ar.Close();
    return file.Bytes();
}

std::string LoadString(const Bytes& bytes) {
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    return ar.ReadString();
}

Bytes Concat(const Bytes& prefix, const std::string& text) {
    Bytes bytes = prefix;
    bytes.insert(bytes.end(), text.begin(), text.end());
    return bytes;
}

} // namespace

TEST(Archive, NumbersAreLittleEndianAtTheirWidth) {
    Bytes bytes = Store([](CArchive& ar) {
        ar << BYTE{0x01} << WORD{0x0302} << DWORD{0x07060504} << LONG{-2} << ULONGLONG{0x0F0E0D0C0B0A0908};
    });
    Bytes expected = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0xFE, 0xFF, 0xFF, 0xFF,
                      0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F};
    EXPECT_EQ(bytes, expected);

    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    BYTE b;
    WORD w;
    DWORD d;
    LONG l;
    ULONGLONG q;
    ar >> b >> w >> d >> l >> q;
    EXPECT_EQ(b, 0x01);
    EXPECT_EQ(w, 0x0302);
    EXPECT_EQ(d, 0x07060504u);
    EXPECT_EQ(l, -2);
    EXPECT_EQ(q, 0x0F0E0D0C0B0A0908ull);
}

TEST(Archive, StringLengthPrefixesChangeAtTheirBoundaries) {
    struct Case {
        std::size_t length;
        Bytes prefix;
    };
    const Case cases[] = {
        {0, {0x00}},
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {65533, {0xFF, 0xFD, 0xFF}},
        {65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {65535, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
    };
    for (const Case& c : cases) {
        std::string text(c.length, 'x');
        if (!text.empty()) {
            text.back() = 'z';
        }
        Bytes bytes = Store([&](CArchive& ar) { ar << text; });
        EXPECT_EQ(bytes, Concat(c.prefix, text)) << "length " << c.length;
        EXPECT_EQ(LoadString(bytes), text) << "length " << c.length;
    }
}

TEST(Archive, WideMarkedStringsAreConvertedToTheCodePage) {
    Bytes ascii = {0xFF, 0xFE, 0xFF, 0x02, 'a', 0x00, 'b', 0x00};
    EXPECT_EQ(LoadString(ascii), "ab");

    // "한글" in UTF-16.
    Bytes korean = {0xFF, 0xFE, 0xFF, 0x02, 0x5C, 0xD5, 0x00, 0xAE};
    EXPECT_EQ(LoadString(korean), ostrana::FromWide(u"한글", CP_ACP));
    if (GetACP() == 949) {
        EXPECT_EQ(LoadString(korean), "\xC7\xD1\xB1\xDB");
    }

    Bytes longWide = {0xFF, 0xFE, 0xFF, 0xFF, 0x00, 0x01};
    for (int i = 0; i < 256; ++i) {
        longWide.push_back('w');
        longWide.push_back(0);
    }
    EXPECT_EQ(LoadString(longWide), std::string(256, 'w'));
}

TEST(Archive, ShortDataThrowsInsteadOfReadingPastIt) {
    const Bytes damaged[] = {
        {},
        {0x05, 'a', 'b'},
        {0xFF, 0x00},
        {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'a', 'b'}, // claims 4 GB
        {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'a'},
        {0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF, 0x01, 'a'}, // the marker twice
    };
    for (const Bytes& bytes : damaged) {
        EXPECT_THROW(LoadString(bytes), CArchiveException) << "size " << bytes.size();
    }

    Bytes three = {0x01, 0x02, 0x03};
    CMemFile file(three.data(), 3);
    CArchive ar(&file, CArchive::load);
    DWORD value = 0;
    try {
        ar >> value;
        FAIL() << "read past the end";
    } catch (const CException& error) {
        ASSERT_TRUE(error.IsKindOf(RUNTIME_CLASS(CArchiveException)));
        EXPECT_FALSE(error.IsKindOf(RUNTIME_CLASS(CFileException)));
        EXPECT_EQ(static_cast<const CArchiveException&>(error).m_cause, CArchiveException::endOfFile);
    }
}

TEST(Archive, RefusesTheWrongDirection) {
    CMemFile file;
    CArchive storing(&file, CArchive::store);
    BYTE byte = 0;
    EXPECT_THROW(storing >> byte, CArchiveException);
    CArchive loading(&file, CArchive::load);
    EXPECT_THROW(loading << byte, CArchiveException);
}

TEST(Archive, CountsUseTheShortFormBelow0xFFFF) {
    Bytes bytes = Store([](CArchive& ar) {
        ar.WriteCount(3);
        ar.WriteCount(0xFFFF);
    });
    EXPECT_EQ(bytes, (Bytes{0x03, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}));
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    EXPECT_EQ(ar.ReadCount(), 3u);
    EXPECT_EQ(ar.ReadCount(), 0xFFFFu);
}

TEST(Archive, DataLargerThanTheBufferPassesThroughAFileOnDisk) {
    ostrana::test::TempDir dir;
    std::string path = (dir / "archive.bin").string();
    std::string big(10000, 'q');
    {
        CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store, 512);
        ar << DWORD{42} << big << std::string("tail");
        ar.Close();
    }
    EXPECT_EQ(ostrana::test::ReadFileBytes(path).size(), 4u + 3u + big.size() + 1u + 4u);
    CFile file(path.c_str(), CFile::modeRead);
    CArchive ar(&file, CArchive::load, 512);
    DWORD number = 0;
    std::string first;
    std::string second;
    ar >> number >> first >> second;
    EXPECT_EQ(number, 42u);
    EXPECT_EQ(first, big);
    EXPECT_EQ(second, "tail");
    EXPECT_THROW(CFile((dir / "missing.bin").string().c_str(), CFile::modeRead), CFileException);
}
