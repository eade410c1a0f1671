// The protocol's building blocks: the login form and reply, command lines, the greeting, listing
// lines, quota reservations and upload files.
#include "service/CommandLine.h"
#include "service/CommandSession.h"
#include "service/FileStore.h"
#include "service/LoginHandler.h"
#include "service/QuotaLedger.h"
#include "service/UploadFile.h"

#include "tests/support/LocalTime.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace ostrana::service;
using ostrana::test::TempDir;

namespace {

const std::string kBoundary = "-----------------------------------7d417c254e8";

std::string Part(const std::string& delimiter, const std::string& name, const std::string& value) {
    return delimiter + "\r\nContent-Disposition: form-data; name=\"" + name + "\"\r\n\r\n" + value + "\r\n";
}

} // namespace

TEST(LoginForm, ReadsTheKnownClientsBodyWhoseDelimiterLacksTheDashes) {
    // The body as the known client sends it, behind the extra CR LF of its header block.
    const std::string body = "\r\n" + Part(kBoundary, "UID", "demo") + Part(kBoundary, "PASSWD", "pa ss\"word") +
                             Part(kBoundary, "submit", "\xEC\xA0\x91\xEC\x86\x8D") + kBoundary + "--\r\n\r\n";
    EXPECT_EQ(LoginHandler::BoundaryOf("multipart/form-data; boundary=" + kBoundary), kBoundary);
    EXPECT_TRUE(LoginHandler::HasFormEnd(body, kBoundary));
    EXPECT_FALSE(LoginHandler::HasFormEnd(body.substr(0, body.size() - 6), kBoundary));
    LoginForm form;
    ASSERT_TRUE(LoginHandler::ParseForm(body, kBoundary, form));
    EXPECT_EQ(form.userId, "demo");
    EXPECT_EQ(form.password, "pa ss\"word");
}

TEST(LoginForm, ReadsStandardDelimitersAndRefusesIncompleteForms) {
    const std::string boundary = "xyz";
    const std::string body = Part("--xyz", "UID", "ana") + Part("--xyz", "PASSWD", "") + "--xyz--\r\n";
    LoginForm form;
    ASSERT_TRUE(LoginHandler::ParseForm(body, boundary, form));
    EXPECT_EQ(form.userId, "ana");
    EXPECT_EQ(form.password, "");
    EXPECT_FALSE(LoginHandler::ParseForm(Part("--xyz", "UID", "ana") + "--xyz--\r\n", boundary, form));
    EXPECT_FALSE(LoginHandler::ParseForm(body, "", form));
    EXPECT_EQ(LoginHandler::BoundaryOf("text/plain"), "");
}

TEST(LoginReply, CarriesTheCookieAssignmentTwiceOrNotAtAll) {
    const std::string reply = LoginHandler::AcceptedReply("00112233445566778899aabbccddeeff");
    const std::string assignment = "WAXLO_AUTH=00112233445566778899aabbccddeeff;";
    const std::size_t first = reply.find(assignment);
    ASSERT_NE(first, std::string::npos);
    EXPECT_GT(first, 0u);
    EXPECT_NE(reply.find(assignment, first + 1), std::string::npos);
    EXPECT_NE(reply.find("Set-Cookie: " + assignment), std::string::npos);
    EXPECT_LT(reply.size(), 4096u);
    EXPECT_EQ(LoginHandler::RefusedReply().find("WAXLO_AUTH"), std::string::npos);
}

TEST(CommandLine, SplitsQuotedArgumentsAndTail) {
    CommandLine command = ParseCommandLine(".RENAME \"myfolder/a b\" \"c d\"");
    EXPECT_TRUE(command.wellFormed);
    EXPECT_EQ(command.name, ".RENAME");
    EXPECT_EQ(command.quoted, (std::vector<std::string>{"myfolder/a b", "c d"}));
    command = ParseCommandLine(".SAVETO \"myfolder/x\" 123");
    EXPECT_EQ(command.quoted, std::vector<std::string>{"myfolder/x"});
    EXPECT_EQ(command.tail, "123");
    command = ParseCommandLine(".QUOTA myfolder");
    EXPECT_TRUE(command.wellFormed);
    EXPECT_EQ(command.rest, "myfolder");
    EXPECT_TRUE(ParseCommandLine(".QUOTA").wellFormed);
    // A quote inside a name cannot be told from the end of the argument.
    EXPECT_FALSE(ParseCommandLine(".DIR \"a\"b\"").wellFormed);
    EXPECT_FALSE(ParseCommandLine(".DIR \"unterminated").wellFormed);
    EXPECT_FALSE(ParseCommandLine(".DIR \"a\"  \"b\"").wellFormed);
}

TEST(CommandLine, FileSizesAreNonNegativeSigned32BitDecimals) {
    EXPECT_EQ(ParseFileSize("0"), 0);
    EXPECT_EQ(ParseFileSize("2147483647"), INT32_MAX);
    for (const char* bad : {"", "-1", "+1", "2147483648", "99999999999", "1e3", " 1", "0x10", "12a"}) {
        EXPECT_EQ(ParseFileSize(bad), std::nullopt) << bad;
    }
}

TEST(Greeting, GivesTheDisplayNameWhenTheClientDropsTheFirstAndLastTwoCharacters) {
    const Account account{"demo", "", "데모 계정", 1, 0, {}};
    const std::string greeting = CommandSession::Greeting(account);
    EXPECT_EQ(greeting, "OK 1 [데모 계정]\n");
    const std::string third = greeting.substr(greeting.find(' ', 3) + 1);
    EXPECT_EQ(third.substr(1, third.size() - 3), "데모 계정");
}

TEST(ListingLine, HasSixFieldsInLocalTime) {
    const std::time_t when = ostrana::test::LocalTime(2024, 2, 29, 7, 5, 9);
    EXPECT_EQ(FileStore::FormatListingLine(false, 1234, "demo", when, "a b.txt"),
              "F 1234 demo 20240229 070509 a b.txt\n");
    EXPECT_EQ(FileStore::FormatListingLine(true, 4096, "@club", when, "폴더"), "D 0 @club 20240229 070509 폴더\n");
    EXPECT_EQ(FileStore::FormatListingLine(false, 5000000000ULL, "o", when, "big"),
              "F 2147483647 o 20240229 070509 big\n");
}

TEST(QuotaLedger, ParallelReservationsCannotShareTheLastFreeSpace) {
    TempDir dir;
    ASSERT_TRUE(ostrana::test::WriteFileBytes(dir / "old.bin", std::string(1024, 'x')));
    const QuotaScope scope{dir.Path(), 4};
    QuotaLedger ledger;
    QuotaLedger::Reservation first;
    QuotaLedger::Reservation second;
    ASSERT_TRUE(ledger.Reserve(scope, 2048, 0, first));
    EXPECT_FALSE(ledger.Reserve(scope, 2048, 0, second));
    EXPECT_TRUE(ledger.Reserve(scope, 2048, 1024, second));  // replaces old.bin
    second.Release();
    first.Release();
    EXPECT_TRUE(ledger.Reserve(scope, 3072, 0, first));
    const QuotaFigures figures = ledger.Figures(scope);
    EXPECT_EQ(figures.totalKB, 4);
    EXPECT_EQ(figures.usedKB, 1);
    EXPECT_EQ(figures.remainingKB, 3);
}

TEST(QuotaLedger, KeepsItsMeasurementCurrentWithTheChangesItIsTold) {
    TempDir dir;
    ASSERT_TRUE(ostrana::test::WriteFileBytes(dir / "a.bin", std::string(1500, 'x')));
    const QuotaScope scope{dir.Path(), 10};
    QuotaLedger ledger;
    EXPECT_EQ(ledger.Figures(scope).usedKB, 2);
    ledger.Adjust(scope, 3000);
    EXPECT_EQ(ledger.Figures(scope).usedKB, 5);
    ledger.Adjust(scope, -100000);
    EXPECT_EQ(ledger.Figures(scope).usedKB, 0);
    EXPECT_EQ(ledger.Figures(scope).remainingKB, 10);
    EXPECT_EQ(QuotaLedger::MeasureBytes(dir / "a.bin"), 1500u);
}

TEST(UploadFile, AppearsOnlyWhenCommittedAndLeavesNothingWhenDropped) {
    TempDir dir;
    std::filesystem::create_directories(dir / "incoming");
    {
        const auto upload = UploadFile::Create(dir / "incoming");
        ASSERT_TRUE(upload);
        ASSERT_TRUE(upload->Write("partial", 7));
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir / "incoming"));
    {
        const auto upload = UploadFile::Create(dir / "incoming");
        ASSERT_TRUE(upload->Write("whole", 5));
        EXPECT_FALSE(std::filesystem::exists(dir / "target"));
        ASSERT_TRUE(upload->Commit(dir / "target"));
    }
    EXPECT_EQ(ostrana::test::ReadFileBytes(dir / "target"), "whole");
    EXPECT_TRUE(std::filesystem::is_empty(dir / "incoming"));
}
