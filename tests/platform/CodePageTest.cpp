#include <gtest/gtest.h>

#include "platform/base/CodePage.h"
#include "platform/base/LastError.h"

namespace {

const std::string kConnectUtf8 = "\xEC\xA0\x91\xEC\x86\x8D"; // 접속
const std::string kConnect949 = "\xC1\xA2\xBC\xD3";

TEST(CodePage, KoreanTextHasItsCodePage949AndUtf8Bytes) {
    ASSERT_EQ(GetACP(), 949u);
    EXPECT_EQ(ostrana::Utf8ToAnsi("접속"), kConnect949);
    EXPECT_EQ(ostrana::AnsiToUtf8(kConnect949), kConnectUtf8);
    EXPECT_EQ(kConnectUtf8.size(), 6u);
}

TEST(CodePage, KoreanTextSurvivesEveryRoundTrip) {
    const std::string utf8 = "서버에 로그인을 실패하였습니다. ABC 123 ▶ 사용량";
    std::string ansi = ostrana::Utf8ToAnsi(utf8);
    EXPECT_EQ(ostrana::AnsiToUtf8(ansi), utf8);
    std::u16string wide = ostrana::ToWide(ansi, CP_ACP);
    EXPECT_EQ(ostrana::FromWide(wide, CP_ACP), ansi);
    EXPECT_EQ(ostrana::FromWide(wide, CP_UTF8), utf8);
}

TEST(CodePage, UnrepresentableCharacterBecomesQuestionMark) {
    // U+00E9 and an emoji have no code page 949 form.
    EXPECT_EQ(ostrana::Utf8ToAnsi("caf\xC3\xA9!"), "caf?!");
    EXPECT_EQ(ostrana::Utf8ToAnsi("a\xF0\x9F\x98\x80z"), "a?z");
    std::u16string wide = u"x\u00E9y";
    BOOL usedDefault = FALSE;
    char out[8] = {};
    int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), out, sizeof out, nullptr,
                                &usedDefault);
    EXPECT_EQ(std::string(out, static_cast<std::size_t>(n)), "x?y");
    EXPECT_TRUE(usedDefault);
}

TEST(CodePage, WindowsCallingContract) {
    // -1 includes the terminator; a zero-sized buffer asks for the size.
    const char* text = "\xC1\xA2\xBC\xD3";
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0), 3);
    WCHAR wide[3];
    ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 3), 3);
    EXPECT_EQ(wide[0], u'\uC811');
    EXPECT_EQ(wide[1], u'\uC18D');
    EXPECT_EQ(wide[2], 0);
    WCHAR tooSmall[1];
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, tooSmall, 1), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr), 7);
}

TEST(CodePage, BrokenUtf8DecodesWithReplacementAndCanBeRefused) {
    const char broken[] = "a\xC3(b";
    EXPECT_EQ(ostrana::ToWide(broken, CP_UTF8), u"a\uFFFD(b");
    WCHAR out[8];
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, broken, -1, out, 8), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
}

TEST(CodePage, CompleteUtf8PrefixStopsBeforeACutCharacter) {
    std::string text = "ab" + kConnectUtf8;
    EXPECT_EQ(ostrana::CompleteUtf8Prefix(text), text.size());
    EXPECT_EQ(ostrana::CompleteUtf8Prefix(text.substr(0, 3)), 2u);
    EXPECT_EQ(ostrana::CompleteUtf8Prefix(text.substr(0, 4)), 2u);
    EXPECT_EQ(ostrana::CompleteUtf8Prefix(text.substr(0, 5)), 5u);
    EXPECT_EQ(ostrana::CompleteUtf8Prefix(""), 0u);
}

} // namespace
