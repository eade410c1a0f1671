// Code page 949 decoding: every character the code page holds comes back from its bytes, and
// unassigned or broken pairs become "?" instead of reaching the system converter, which reads
// out of bounds on some of them.
#include <gtest/gtest.h>

#include "platform/base/CodePage.h"
#include "platform/base/Cp949Decoder.h"

namespace ostrana::test {
namespace {

TEST(Cp949Decoder, RoundTripsTheCommonAndTheExtendedSyllables) {
    const std::u16string text = u"가나다 갂똠 ABC 한글.txt ㄱ①";
    std::string bytes = FromWide(text, 949);
    bool invalid = true;
    EXPECT_EQ(text, DecodeCp949(bytes, invalid));
    EXPECT_FALSE(invalid);
    int count = 0;
    for (char32_t c = 0xAC00; c <= 0xD7A3; ++c) {
        std::u16string one(1, static_cast<char16_t>(c));
        if (DecodeCp949(FromWide(one, 949), invalid) == one) ++count;
    }
    EXPECT_EQ(11172, count); // every Hangul syllable has its pair
}

TEST(Cp949Decoder, UnassignedAndBrokenPairsBecomeQuestionMarks) {
    bool invalid = false;
    EXPECT_EQ(u"?", DecodeCp949("\xA2\xE8", invalid)); // unassigned; crashed the system converter
    EXPECT_TRUE(invalid);
    EXPECT_EQ(u"? a", DecodeCp949("\xB0 a", invalid)); // a lead byte before a space keeps the space
    EXPECT_EQ(u"a?", DecodeCp949("a\xB0", invalid));   // a lead byte at the end
    EXPECT_EQ(u"?", DecodeCp949("\xFF", invalid));
    WCHAR wide[8] = {};
    EXPECT_EQ(2, MultiByteToWideChar(949, 0, "\xA2\xE8" "b", 3, wide, 8));
    EXPECT_EQ(u'?', wide[0]);
    EXPECT_EQ(u'b', wide[1]);
}

} // namespace
} // namespace ostrana::test
