#include <gtest/gtest.h>

#include <string>

#include "platform/base/LastError.h"
#include "platform/ole/ClipboardFormat.h"

TEST(ClipboardFormat, SameNameInAnyCaseGetsTheFirstNumber) {
    UINT format = RegisterClipboardFormatA("Ostrana Test Format");
    EXPECT_GE(format, 0xC000u);
    EXPECT_LE(format, 0xFFFFu);
    EXPECT_EQ(RegisterClipboardFormatA("Ostrana Test Format"), format);
    EXPECT_EQ(RegisterClipboardFormatA("OSTRANA test FORMAT"), format);
    UINT other = RegisterClipboardFormatA("Ostrana Test Format 2");
    EXPECT_NE(other, format);

    char name[64];
    EXPECT_EQ(GetClipboardFormatNameA(format, name, sizeof name), 19);
    EXPECT_STREQ(name, "Ostrana Test Format");
    EXPECT_EQ(GetClipboardFormatNameA(format, name, 8), 7);
    EXPECT_STREQ(name, "Ostrana");
    EXPECT_EQ(GetClipboardFormatNameA(CF_HDROP, name, sizeof name), 0);
}

TEST(ClipboardFormat, DoubleByteNamesAreNotFoldedByTheirTrailBytes) {
    // In code page 949 these differ only in a trail byte that is an ASCII letter's code (a / A).
    UINT lower = RegisterClipboardFormatA("\x81\x61 format");
    UINT upper = RegisterClipboardFormatA("\x81\x41 format");
    ASSERT_NE(lower, 0u);
    ASSERT_NE(upper, 0u);
    EXPECT_NE(lower, upper);
}

TEST(ClipboardFormat, EmptyAndOverlongNamesAreRefused) {
    EXPECT_EQ(RegisterClipboardFormatA(nullptr), 0u);
    EXPECT_EQ(RegisterClipboardFormatA(""), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(RegisterClipboardFormatA(std::string(256, 'n').c_str()), 0u);
    EXPECT_NE(RegisterClipboardFormatA(std::string(255, 'n').c_str()), 0u);
}
