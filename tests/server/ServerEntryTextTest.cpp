// Column texts of listed server entries and the row record's run-time class.
#include <gtest/gtest.h>

#include <memory>

#include "platform/base/CodePage.h"
#include "server/ServerEntryText.h"
#include "server/ServerFileList.h"

namespace {

TEST(ServerEntryText, SizesRoundUpToKilobytesWithOneSeparator) {
    struct Case {
        const char* bytes;
        const char* text;
    };
    for (const Case& c : {Case{"0", "0KB"}, Case{"1", "1KB"}, Case{"1024", "1KB"}, Case{"1025", "2KB"},
                          Case{"1022976", "999KB"}, Case{"1023999", "1,000KB"}, Case{"1048576", "1,024KB"},
                          Case{"1048576000", "1024,000KB"}, Case{"4294967295", "4194,304KB"}}) {
        EXPECT_EQ(c.text, FormatSizeKB(c.bytes)) << c.bytes;
    }
}

TEST(ServerEntryText, DatesShowTheHalfDayAndUnpaddedMinutes) {
    EXPECT_EQ(ostrana::Utf8ToAnsi("2007-03-05 오후 2:7"), FormatServerDate("20070305", "140705"));
    EXPECT_EQ(ostrana::Utf8ToAnsi("2007-03-05 오전 9:30"), FormatServerDate("20070305", "093000"));
    EXPECT_EQ(ostrana::Utf8ToAnsi("2026-12-31 오전 12:0"), FormatServerDate("20261231", "120000"));
    EXPECT_EQ(ostrana::Utf8ToAnsi("2026-01-01 오전 0:5"), FormatServerDate("20260101", "000500"));
    EXPECT_EQ(ostrana::Utf8ToAnsi("2026-01-01 오후 11:59"), FormatServerDate("20260101", "235959"));
}

TEST(ServerFileList, IsCreatableByItsRunTimeClassNameWithEmptyTexts) {
    std::unique_ptr<CObject> object(CRuntimeClass::CreateObject("CServerFileList"));
    ASSERT_NE(nullptr, object);
    auto* record = dynamic_cast<CServerFileList*>(object.get());
    ASSERT_NE(nullptr, record);
    EXPECT_EQ(0, record->m_nFolder);
    EXPECT_TRUE(record->m_strSize.empty() && record->m_strDate.empty() && record->m_strTime.empty());
}

} // namespace
