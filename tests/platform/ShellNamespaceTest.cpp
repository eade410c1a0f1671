#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/base/CodePage.h"
#include "platform/shell/ShellFolder.h"
#include "platform/shell/ShellMalloc.h"

TEST(StrRet, EveryFormCopiesCutsAndFrees) {
    char buffer[8];
    STRRET record{};
    record.uType = STRRET_CSTR;
    std::strcpy(record.cStr, "abcdefghij");
    ASSERT_EQ(StrRetToBufA(&record, nullptr, buffer, sizeof buffer), S_OK);
    EXPECT_STREQ(buffer, "abcdefg");

    std::u16string wide = ostrana::ToWide("name");
    record.uType = STRRET_WSTR;
    record.pOleStr = static_cast<LPWSTR>(CoTaskMemAlloc((wide.size() + 1) * sizeof(WCHAR)));
    std::memcpy(record.pOleStr, wide.c_str(), (wide.size() + 1) * sizeof(WCHAR));
    ASSERT_EQ(StrRetToBufA(&record, nullptr, buffer, sizeof buffer), S_OK);
    EXPECT_STREQ(buffer, "name");
    EXPECT_EQ(record.pOleStr, nullptr);

    record.uType = STRRET_OFFSET;
    record.uOffset = 1000;
    EXPECT_EQ(StrRetToBufA(&record, nullptr, buffer, sizeof buffer), E_INVALIDARG);
}
