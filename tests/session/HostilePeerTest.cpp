// A server that lies or stalls: names that would climb out of a folder, figures that are not
// decimal numbers, and replies that trickle in a byte at a time without ever ending.
#include <chrono>

#include "session/DecimalText.h"
#include "session/ListingEntry.h"
#include "session/PlainName.h"
#include "tests/session/SessionPeerFixture.h"

namespace ostrana::test {
namespace {

using namespace std::chrono_literals;

TEST(ServerTextRulesTest, OnlyOnePlainNameIsAcceptedFromTheServer) {
    for (const char* name : {"a.txt", "with space", ".hidden", "trailing.", "...", "12:30 notes", "x.C:"}) {
        EXPECT_TRUE(IsPlainName(name)) << name;
    }
    EXPECT_TRUE(IsPlainName(Utf8ToLocal("한글 이름.txt")));
    for (const char* name : {"", ".", "..", "../up", "a/b", "/etc", "a\\b", "..\\up", "C:", "c:x", "a:b", "tab\there",
                             "bell\a", "del\x7F", "line\n"}) {
        EXPECT_FALSE(IsPlainName(name)) << name;
    }
    EXPECT_FALSE(IsPlainName(std::string("nul\0byte", 8)));
}

TEST(ServerTextRulesTest, APathLiesUnderItsFolderOnlyThroughPlainNames) {
    EXPECT_TRUE(LiesUnderFolder("C:\\dest\\\\a.txt", "C:\\dest\\"));
    EXPECT_TRUE(LiesUnderFolder("C:\\dest\\sub\\deep\\a.txt", "C:\\dest\\"));
    EXPECT_TRUE(LiesUnderFolder("C:\\dest\\sub", "C:\\dest"));
    EXPECT_FALSE(LiesUnderFolder("C:\\dest\\..\\a.txt", "C:\\dest\\"));
    EXPECT_FALSE(LiesUnderFolder("C:\\dest\\sub\\..\\..\\a.txt", "C:\\dest\\"));
    EXPECT_FALSE(LiesUnderFolder("C:\\destination\\a.txt", "C:\\dest"));
    EXPECT_FALSE(LiesUnderFolder("C:\\other\\a.txt", "C:\\dest\\"));
    EXPECT_FALSE(LiesUnderFolder("C:\\dest\\D:x", "C:\\dest\\"));
}

TEST(ServerTextRulesTest, FiguresAreDecimalDigitsAndNothingElse) {
    EXPECT_EQ(ReadDecimal("0"), 0u);
    EXPECT_EQ(ReadDecimal("0042"), 42u);
    EXPECT_EQ(ReadDecimal("99999999999999999999999"), UINT64_MAX);
    for (const char* text : {"", "abc", "12abc", "-5", "+5", " 5", "5 ", "0x10", "1.5"}) {
        EXPECT_FALSE(ReadDecimal(text).has_value()) << text;
    }
    EXPECT_EQ(ReadDecimal32("2147483647"), INT32_MAX);
    EXPECT_EQ(ReadDecimal32("2147483648"), INT32_MIN); // the signed 32-bit read
    EXPECT_EQ(ReadDecimal32("4294967297"), -1) << "never wraps to a small size";
}

TEST(ServerTextRulesTest, AListingLineWithAGarbledSizeIsNoEntry) {
    EXPECT_TRUE(ListingEntry::Parse("F 12 demo 20240305 140709 a.txt").has_value());
    for (const char* line : {"F 12abc demo 20240305 140709 a.txt", "F abc demo 20240305 140709 a.txt",
                             "F -1 demo 20240305 140709 a.txt", "F +1 demo 20240305 140709 a.txt"}) {
        EXPECT_FALSE(ListingEntry::Parse(line).has_value()) << line;
    }
    EXPECT_EQ(ListingEntry::Parse("F 3000000000 demo 20240305 140709 big")->Size(), -1294967296);
}

class HostilePeerTest : public SessionPeerTest {
protected:
    ScriptedPeer& AcceptTransferSession() { return peer.Accept().WaitFor("\r\n\r\n").Send("ostrana 1 [demo]\n"); }

    char buffer[ServerSession::kReceiveBlock] = {};
    int firstBlock = -7;
    std::int32_t fileSize = -7;
};

TEST_F(HostilePeerTest, ADownloadHeaderWithoutADecimalSizeFailsTheFile) {
    for (const std::string header : {".OK abc\n", ".OK 12abc\n", ".OK -5\n", ".OK \n", ".OK\n"}) {
        ScriptedPeer hostile;
        hostile.Accept().WaitFor("\r\n\r\n").Send("ostrana 1 [demo]\n").WaitFor("\n").Send(header + "hello.OK\n").Start();
        session.SetLoginData("abc", "def", "127.0.0.1", hostile.Port());
        EXPECT_EQ(session.BeginDownload("myfolder/a.txt", buffer, firstBlock, fileSize), 0) << header;
        EXPECT_FALSE(session.IsTransferOpen()) << header;
    }
}

TEST_F(HostilePeerTest, ADownloadHeaderEndedByCarriageReturnAndLineFeedIsRead) {
    AcceptTransferSession().WaitFor("\n").Send(".OK 5\r\nhello.OK\n").Start();
    EXPECT_EQ(session.BeginDownload("myfolder/a.txt", buffer, firstBlock, fileSize), 1);
    EXPECT_EQ(fileSize, 5);
    EXPECT_EQ(std::string(buffer, 5), "hello");
}

TEST_F(HostilePeerTest, AQuotaWithAGarbledFigureFailsAndZeroesTheQuota) {
    AcceptCommandSession()
        .WaitFor("\r\n").Send("QUOTA 1024:512:512\n.OK\n")
        .WaitFor("\r\n").Send("QUOTA 1024:5x2:512\n.OK\n")
        .WaitFor("\r\n").Send("QUOTA 2048:1024:1024\r\n.OK\n")
        .WaitFor("\r\n").Send("QUOTA 1024:-1:512\n.OK\n")
        .Start();
    EXPECT_EQ(session.QueryQuota("myfolder/"), 1);
    EXPECT_EQ(session.Quota().remaining, 524288);
    EXPECT_EQ(session.QueryQuota("myfolder/"), 0);
    EXPECT_EQ(session.Quota().total, 0);
    EXPECT_EQ(session.Quota().remaining, 0);
    EXPECT_EQ(session.QueryQuota("myfolder/"), 1);
    EXPECT_EQ(session.Quota().remaining, 1048576);
    EXPECT_EQ(session.QueryQuota("myfolder/"), 0);
    EXPECT_EQ(session.Quota().used, 0);
}

TEST_F(HostilePeerTest, AReplyBeyondTheLimitFailsInsteadOfFillingMemory) {
    session.SetReplyLimit(4096);
    std::string lines;
    while (lines.size() < 8192) lines += "F 1 demo 20240305 140709 name\n";
    AcceptCommandSession().WaitFor("\r\n").Send(lines).Start();
    std::vector<std::string> listed;
    int status = 0;
    EXPECT_EQ(session.ListFolder("myfolder/", listed, status), 0);
    EXPECT_TRUE(listed.empty());
    EXPECT_FALSE(session.IsCommandOpen());
}

// The idle time-out alone never ends these: a byte always comes sooner than it.
class TricklingPeerTest : public HostilePeerTest {
protected:
    TricklingPeerTest() { session.SetTimeouts(5000, 2000, 600); }

    template <typename Exchange>
    void ExpectEndsByTheDeadline(Exchange exchange) {
        auto started = std::chrono::steady_clock::now();
        exchange();
        EXPECT_LT(std::chrono::steady_clock::now() - started, 10s);
    }

    const std::string m_endless = std::string(1000, 'x');
};

TEST_F(TricklingPeerTest, ACommandReplyThatNeverEndsFailsAtTheExchangeDeadline) {
    AcceptCommandSession().WaitFor("\r\n").Trickle("F 1 demo 20240305 140709 " + m_endless, 100ms).Start();
    ExpectEndsByTheDeadline([&] {
        std::vector<std::string> lines;
        int status = 0;
        EXPECT_EQ(session.ListFolder("myfolder/", lines, status), 0);
    });
    EXPECT_FALSE(session.IsCommandOpen()) << "a late end of the reply is never read as the next one";
}

TEST_F(TricklingPeerTest, AGreetingThatNeverEndsFailsTheSession) {
    peer.Accept().WaitFor("\r\n\r\n").Trickle("ostrana 1 [" + m_endless, 100ms).Start();
    ExpectEndsByTheDeadline([&] { EXPECT_EQ(session.OpenCommandSession(), 0); });
    EXPECT_FALSE(session.IsCommandOpen());
}

TEST_F(TricklingPeerTest, FileHeadersThatNeverEndFailTheirFile) {
    AcceptTransferSession().WaitFor("\n").Trickle(".OK 5" + std::string(1000, '0'), 100ms).Start();
    ExpectEndsByTheDeadline([&] { EXPECT_EQ(session.BeginDownload("myfolder/a.txt", buffer, firstBlock, fileSize), 0); });
    EXPECT_FALSE(session.IsTransferOpen());

    ScriptedPeer upload;
    upload.Accept().WaitFor("\r\n\r\n").Send("ostrana 1 [demo]\n").WaitFor("\n").Trickle(".OK" + m_endless, 100ms).Start();
    session.SetLoginData("abc", "def", "127.0.0.1", upload.Port());
    ExpectEndsByTheDeadline([&] { EXPECT_EQ(session.BeginUpload("myfolder/", "a.txt", 5), 0); });
    EXPECT_FALSE(session.IsTransferOpen());
}

TEST_F(TricklingPeerTest, AHeaderCutShortByTheDeadlineIsForgottenBeforeTheRetry) {
    AcceptTransferSession().WaitFor("\n").Send(".OK 12")
        .Accept().WaitFor("\r\n\r\n").Send("ostrana 1 [demo]\n").WaitFor("\n").Send(".OK 5\nhello.OK\n").Start();
    ASSERT_EQ(session.BeginDownload("myfolder/a.txt", buffer, firstBlock, fileSize), 1);
    EXPECT_EQ(fileSize, 5);
    EXPECT_EQ(std::string(buffer, 5), "hello");
}

TEST_F(TricklingPeerTest, ASlowButMovingBodyOutlastsTheExchangeDeadline) {
    const std::string body = "0123456789";
    AcceptTransferSession().WaitFor("\n").Send(".OK 10\n").Trickle(body, 100ms).Send(".OK\n").Start();
    ASSERT_EQ(session.BeginDownload("myfolder/a.txt", buffer, firstBlock, fileSize), 1);
    std::string received(buffer, static_cast<std::size_t>(firstBlock));
    while (received.size() < body.size()) {
        int got = session.ReceiveBody(buffer, static_cast<int>(body.size() - received.size()));
        ASSERT_GT(got, 0) << "after " << received.size() << " bytes";
        received.append(buffer, static_cast<std::size_t>(got));
    }
    EXPECT_EQ(received, body);
}

} // namespace
} // namespace ostrana::test
