// Field splitting, listing lines, host names, code-page conversion and the reply marker scan.
#include <gtest/gtest.h>

#include "session/ListingEntry.h"
#include "session/ReplyScanner.h"
#include "session/SocketHelpers.h"
#include "session/SplitFields.h"
#include "session/TextConversion.h"

namespace {

std::vector<std::string> Split(const std::string& text, int limit) {
    std::vector<std::string> fields;
    SplitFields(text, fields, limit, false, ' ');
    return fields;
}

using Fields = std::vector<std::string>;

TEST(SplitFieldsTest, LastFieldKeepsSeparatorsAndShortTextsRepeatTheirLastField) {
    EXPECT_EQ(Split("x y z w", 3), (Fields{"x", "y", "z w"}));
    EXPECT_EQ(Split("x y", 3), (Fields{"x", "y", "y"}));
    EXPECT_EQ(Split("x", 3), (Fields{"x", "x"}));
    EXPECT_EQ(Split("", 3), (Fields{"", ""}));
    // Two adjacent separators stop the split there.
    EXPECT_EQ(Split("a  b c", 3), (Fields{"a", " b c", " b c"}));
    EXPECT_EQ(Split("F 10 own 20261208 101112 my file.txt", 6),
              (Fields{"F", "10", "own", "20261208", "101112", "my file.txt"}));
}

TEST(SplitFieldsTest, ConvertFlagTurnsEachFieldIntoTheAnsiCodePage) {
    std::vector<std::string> fields;
    SplitFields("가 나", fields, 3, true, ' ');
    ASSERT_EQ(fields.size(), 3u);
    EXPECT_EQ(fields[0], Utf8ToLocal("가"));
    EXPECT_EQ(fields[1], Utf8ToLocal("나"));
    EXPECT_EQ(fields[2], fields[1]);
}

TEST(ListingEntryTest, ReadsTheSixElementsOfALine) {
    auto entry = ListingEntry::Parse("D 4096 demo 20261208 235901 two words");
    ASSERT_TRUE(entry.has_value());
    EXPECT_TRUE(entry->IsFolder());
    EXPECT_EQ(entry->Size(), 4096);
    EXPECT_EQ(entry->Year(), 2026);
    EXPECT_EQ(entry->Month(), 12);
    EXPECT_EQ(entry->Day(), 8);
    EXPECT_EQ(entry->Hour(), 23);
    EXPECT_EQ(entry->Minute(), 59);
    EXPECT_EQ(entry->Second(), 1);
    EXPECT_EQ(entry->Name(), "two words");

    auto file = ListingEntry::Parse("F 12 demo 20261208 235901");
    ASSERT_TRUE(file.has_value()) << "five fields still give six elements";
    EXPECT_FALSE(file->IsFolder());
    EXPECT_EQ(file->Name(), "235901");
    EXPECT_FALSE(ListingEntry::Parse("F 12 demo").has_value());
}

TEST(HostTest, DottedAddressesAreUsedAsTheyAre) {
    EXPECT_TRUE(IsDottedAddress("10.0.0.5"));
    EXPECT_TRUE(IsDottedAddress(""));
    EXPECT_FALSE(IsDottedAddress("localhost"));
    EXPECT_EQ(ResolveHost("10.0.0.5"), "10.0.0.5");
    EXPECT_EQ(ResolveHost("localhost"), "127.0.0.1");
}

TEST(TextConversionTest, RoundTripsKoreanAndNeverCutsLongTexts) {
    std::string local = Utf8ToLocal("데모 폴더");
    EXPECT_EQ(LocalToUtf8(local), "데모 폴더");
    std::string longText(20000, 'a');
    longText += "끝";
    EXPECT_EQ(LocalToUtf8(Utf8ToLocal(longText)), longText);
    EXPECT_TRUE(HasLineBreak("a\rb"));
    EXPECT_TRUE(HasLineBreak("a\nb"));
    EXPECT_FALSE(HasLineBreak("a b"));
}

ReplyScanner::Result ScanInPieces(const std::string& reply, std::size_t& markerPos) {
    ReplyScanner scanner;
    std::string received;
    for (char c : reply) {
        received += c;
        ReplyScanner::Result result = scanner.Scan(received);
        if (result != ReplyScanner::Result::NeedMore) {
            markerPos = scanner.MarkerPos();
            return result;
        }
    }
    return ReplyScanner::Result::NeedMore;
}

TEST(ReplyScannerTest, MarkersCountOnlyAtTheStartOfALine) {
    std::size_t at = 0;
    std::string reply = "F 1 o 20260101 000000 a.OK.txt\nF 1 o 20260101 000000 b.ERR\n.OK\n";
    EXPECT_EQ(ScanInPieces(reply, at), ReplyScanner::Result::Ok);
    EXPECT_EQ(at, reply.find("\n.OK") + 1);
    EXPECT_EQ(ScanInPieces(".ERR no such folder\n", at), ReplyScanner::Result::Err);
    EXPECT_EQ(at, 0u);
    EXPECT_EQ(ScanInPieces("F 1 o 20260101 000000 x.OK\n", at), ReplyScanner::Result::NeedMore);
}

TEST(ReplyScannerTest, AnOkLineInTheSameReceiveWinsOverAnErrLine) {
    ReplyScanner scanner;
    std::string both = ".ERR first\n.OK\n";
    EXPECT_EQ(scanner.Scan(both), ReplyScanner::Result::Ok);
    EXPECT_EQ(scanner.MarkerPos(), both.find(".OK"));
}

} // namespace
