// Messages to the page are valid JSON whatever a window's text holds.
#include <gtest/gtest.h>

#include "host/MessageWriter.h"

using namespace ostrana::host;

TEST(MessageWriter, KindFirstThenFields)
{
    auto json = MessageWriter(ToPage::Picture).Number("hwnd", 66).Text("name", "확인").Flag("visible", true).Raw("r", "[1,2]").Finish();
    EXPECT_EQ(json, "{\"k\":4,\"hwnd\":66,\"name\":\"확인\",\"visible\":true,\"r\":[1,2]}");
}

TEST(MessageWriter, EscapesQuotesControlsAndBrokenUtf8)
{
    EXPECT_EQ(JsonString("a\"b\\c\n\x01"), "\"a\\\"b\\\\c\\u000a\\u0001\"");
    // A lone CP949 lead byte, a cut sequence, an overlong slash and a surrogate each become U+FFFD.
    EXPECT_EQ(JsonString("\xB0"), "\"\\ufffd\"");
    EXPECT_EQ(JsonString("\xED\x95"), "\"\\ufffd\\ufffd\"");
    EXPECT_EQ(JsonString("\xC0\xAF"), "\"\\ufffd\\ufffd\"");
    EXPECT_EQ(JsonString("\xED\xA0\x80"), "\"\\ufffd\\ufffd\\ufffd\"");
    EXPECT_EQ(JsonString("\xF0\x9F\x98\x80"), "\"\xF0\x9F\x98\x80\"");
}

TEST(MessageWriter, NumbersComeFromTheDefinition)
{
    // Numbers are only ever added; the first ones must never move.
    EXPECT_EQ(static_cast<int>(ToPage::Hello), 1);
    EXPECT_EQ(static_cast<int>(ToPage::FrameEnd), 6);
    EXPECT_EQ(static_cast<int>(ToHost::Ack), 1);
    EXPECT_EQ(kProtocolVersion, 1);
}
