// The file-action command session against scripted peers: the POST and greeting, every command
// line, listings, quota replies, split and silent replies, and refused line breaks.
#include <thread>

#include "tests/session/SessionPeerFixture.h"

namespace ostrana::test {
namespace {

using Lines = std::vector<std::string>;

class CommandChannelTest : public SessionPeerTest {
protected:
    Lines List(const std::string& folder, int expectedResult = 1) {
        Lines lines;
        int status = 0;
        EXPECT_EQ(session.ListFolder(folder, lines, status), expectedResult);
        EXPECT_EQ(status, LOGIN_STATUS_STARTED);
        return lines;
    }

    // Everything the peer received after the file-action POST, once the client closed.
    std::string CommandsSent() {
        session.Reset();
        EXPECT_TRUE(peer.WaitClosedByClient(0));
        std::string received = peer.Received(0);
        EXPECT_EQ(received.substr(0, kFileActionPost.size()), kFileActionPost);
        return received.substr(kFileActionPost.size());
    }
};

TEST_F(CommandChannelTest, GreetingWithThreeFieldsGivesAccountKindAndDisplayName) {
    AcceptCommandSession("ostrana 9 [데모]\n").Start();
    EXPECT_EQ(session.OpenCommandSession(), 1);
    EXPECT_TRUE(session.IsCommandOpen());
    EXPECT_EQ(owner.GreetingNumber(), 9);
    EXPECT_EQ(owner.HomeLabel(), Utf8ToLocal("데모"));
    EXPECT_EQ(CommandsSent(), "");
}

TEST_F(CommandChannelTest, GreetingWithTwoFieldsTakesTheLabelFromTheSecond) {
    peer.Accept().WaitFor("\r\n\r\n").SendBytewise("ostrana [데모]\n").Start();
    EXPECT_EQ(session.OpenCommandSession(), 1);
    EXPECT_EQ(owner.GreetingNumber(), 0);
    EXPECT_EQ(owner.HomeLabel(), Utf8ToLocal("데모"));
}

TEST_F(CommandChannelTest, GreetingWithOneFieldFailsAndClosesTheConnection) {
    AcceptCommandSession("refused\n").Start();
    EXPECT_EQ(session.OpenCommandSession(), 0);
    EXPECT_FALSE(session.IsCommandOpen());
    EXPECT_TRUE(peer.WaitClosedByClient(0));
}

TEST_F(CommandChannelTest, EveryCommandLineIsSentExactly) {
    AcceptCommandSession()
        .WaitFor("\r\n").Send(".OK\n")
        .WaitFor("\r\n").Send(".OK\n")
        .WaitFor("\r\n").Send(".ERR gone\n")
        .WaitFor("\r\n").Send(".OK\n")
        .WaitFor("\r\n").Send(".OK\n")
        .WaitFor("\r\n").Send("QUOTA 1:2:3\n.OK\n")
        .WaitFor("\r\n").Send(".OK\n")
        .Start();
    EXPECT_EQ(session.MakeFolder("myfolder/", Utf8ToLocal("새 폴더")), 1);
    EXPECT_EQ(session.RenameItem("myfolder/", "a \"b\"", "c"), 1);
    Lines names{"x", "y"};
    EXPECT_EQ(session.RemoveItems("myfolder/", &names), 1) << "the result is the last reply's";
    EXPECT_EQ(session.RemoveItems("myfolder/z.txt"), 1);
    EXPECT_EQ(session.QueryQuota("myfolder/"), 1);
    EXPECT_EQ(List("myhtml/"), Lines{});
    EXPECT_TRUE(peer.WaitDone()) << peer.Error();
    EXPECT_EQ(CommandsSent(), ".MKDIR \"myfolder/\xEC\x83\x88 \xED\x8F\xB4\xEB\x8D\x94\"\r\n"
                              ".RENAME \"myfolder/a \"b\"\" \"c\"\r\n"
                              ".REMOVE \"myfolder/x\"\r\n"
                              ".REMOVE \"myfolder/y\"\r\n"
                              ".REMOVE \"myfolder/z.txt\"\r\n"
                              ".QUOTA myfolder/\r\n"
                              ".DIR \"myhtml/\"\r\n");
}

TEST_F(CommandChannelTest, ACommandOnAClosedConnectionOpensTheSessionFirst) {
    AcceptCommandSession().WaitFor(".MKDIR \"a/b\"\r\n").Send(".OK\n").Start();
    EXPECT_FALSE(session.IsCommandOpen());
    EXPECT_EQ(session.MakeFolder("a/", "b"), 1);
    EXPECT_EQ(owner.HomeLabel(), "demo");
}

TEST_F(CommandChannelTest, RefusedCommandsReturnZeroAndKeepTheConnection) {
    AcceptCommandSession()
        .WaitFor("\r\n").Send(".ERR exists\n")
        .WaitFor("\r\n").Send(".ERR no\n")
        .WaitFor("\r\n").Send(".OK\n")
        .Start();
    EXPECT_EQ(session.MakeFolder("myfolder/", "a"), 0);
    EXPECT_TRUE(session.IsCommandOpen());
    Lines none;
    EXPECT_EQ(session.RemoveItems("myfolder/", &none), 0) << "an empty list sends nothing";
    EXPECT_EQ(session.RenameItem("myfolder/", "a", "b"), 0);
    EXPECT_EQ(session.MakeFolder("myfolder/", "c"), 1);
    EXPECT_EQ(CommandsSent(), ".MKDIR \"myfolder/a\"\r\n.RENAME \"myfolder/a\" \"b\"\r\n.MKDIR \"myfolder/c\"\r\n");
}

TEST_F(CommandChannelTest, ListingKeepsLinesWholeAndDropsOnlyTheDotEntries) {
    AcceptCommandSession()
        .WaitFor("\r\n")
        .Send("D 0 demo 20261208 101010 .\n"
              "D 0 demo 20261208 101010 ..\n"
              "\n"
              "F 10 demo 20261208 101010 two words.txt\n"
              "F 10 demo 20261208 101010 ends with a dot.\n"
              "F 3 demo 20261208 101010 report.OK.txt\n"
              "F 3 demo 20261208 101010 .OK\n"
              "F 3 demo 20261208 101010 x.ERR\n"
              ".OK\n")
        .Start();
    EXPECT_EQ(List("myfolder/"), (Lines{"F 10 demo 20261208 101010 two words.txt",
                                        "F 10 demo 20261208 101010 ends with a dot.",
                                        "F 3 demo 20261208 101010 report.OK.txt",
                                        "F 3 demo 20261208 101010 .OK",
                                        "F 3 demo 20261208 101010 x.ERR"}));
}

TEST_F(CommandChannelTest, ListingWithCarriageReturnsKeepsThemInEveryLine) {
    AcceptCommandSession()
        .WaitFor("\r\n")
        .Send("D 0 demo 20261208 101010 .\r\nF 1 demo 20261208 101010 a\r\n.OK\r\n")
        .Start();
    EXPECT_EQ(List("myfolder/"), (Lines{"D 0 demo 20261208 101010 .\r", "F 1 demo 20261208 101010 a\r"}));
}

TEST_F(CommandChannelTest, ListingArrivingOneByteAtATimeIsWholeWithKoreanNames) {
    std::string listing;
    for (int i = 0; i < 20; ++i) {
        listing += "F " + std::to_string(i) + " demo 20261208 101010 문서 " + std::to_string(i) + ".txt\n";
    }
    AcceptCommandSession().WaitFor("\r\n").SendBytewise(listing + ".OK\n").Start();
    Lines lines = List("myfolder/");
    ASSERT_EQ(lines.size(), 20u);
    EXPECT_EQ(lines[7], Utf8ToLocal("F 7 demo 20261208 101010 문서 7.txt"));
}

TEST_F(CommandChannelTest, AListingFarLongerThanOneReceiveIsWhole) {
    std::string listing;
    for (int i = 0; i < 5000; ++i) {
        listing += "F " + std::to_string(i) + " demo 20261208 101010 file " + std::to_string(i) + "\n";
    }
    AcceptCommandSession().WaitFor("\r\n").Send(listing + ".OK\n").Start();
    Lines lines = List("myfolder/");
    ASSERT_EQ(lines.size(), 5000u);
    EXPECT_EQ(lines.back(), "F 4999 demo 20261208 101010 file 4999");
}

TEST_F(CommandChannelTest, RefusedOrBrokenListingFailsAndClosesTheConnection) {
    AcceptCommandSession().WaitFor("\r\n").Send(".ERR no such folder\n").Start();
    List("nowhere/", 0);
    EXPECT_FALSE(session.IsCommandOpen());
    ScriptedPeer cut;
    cut.Accept().WaitFor("\r\n\r\n").Send("ostrana 1 [demo]\n").WaitFor("\r\n").Send("F 1 o 20261208 101010 a\n").Close().Start();
    session.SetLoginData("abc", "", "127.0.0.1", cut.Port());
    List("myfolder/", 0);
    EXPECT_FALSE(session.IsCommandOpen());
}

TEST_F(CommandChannelTest, QuotaRepliesFillOrZeroTheQuota) {
    AcceptCommandSession()
        .WaitFor("\r\n").Send("QUOTA 1024:512:512\n.OK\n")
        .WaitFor("\r\n").Send("QUOTA ::2048::1024\n.OK\n")
        .WaitFor("\r\n").Send("QUOTA 4:4:4\n.ERR\n")
        .WaitFor("\r\n").Send("QUOTA 1:1:1\n.OK\n")
        .WaitFor("\r\n").Send("USAGE 1:1:1\n.OK\n")
        .Start();
    EXPECT_EQ(session.QueryQuota("myfolder/"), 1);
    EXPECT_EQ(session.Quota().total, 1048576);
    EXPECT_EQ(session.Quota().used, 524288);
    EXPECT_EQ(session.Quota().remaining, 524288);
    EXPECT_EQ(session.QueryQuota("myfolder/"), 1);
    EXPECT_EQ(session.Quota().total, 2048 * 1024);
    EXPECT_EQ(session.Quota().used, 1024 * 1024);
    EXPECT_EQ(session.Quota().remaining, 524288) << "a missing number keeps the previous value";
    EXPECT_EQ(session.QueryQuota("myfolder/"), 0);
    EXPECT_EQ(session.Quota().total, 0);
    EXPECT_EQ(session.Quota().remaining, 0);
    EXPECT_EQ(session.QueryQuota("myfolder/"), 1);
    EXPECT_EQ(session.QueryQuota("myfolder/"), 0);
    EXPECT_EQ(session.Quota().used, 0);
}

TEST_F(CommandChannelTest, LineBreaksInInsertedTextsAreRefusedWithoutSendingAnything) {
    AcceptCommandSession().WaitFor("\r\n").Send("QUOTA 1:1:1\n.OK\n").Start();
    ASSERT_EQ(session.OpenCommandSession(), 1);
    Lines lines;
    int status = 0;
    EXPECT_EQ(session.ListFolder("a/\"\r\n.REMOVE \"myfolder/", lines, status), 0);
    EXPECT_EQ(session.MakeFolder("myfolder/", "x\n.REMOVE \"y"), 0);
    EXPECT_EQ(session.MakeFolder("myfolder/\r", "x"), 0);
    EXPECT_EQ(session.RenameItem("myfolder/", "a", "b\r\n"), 0);
    Lines names{"ok", "bad\nname"};
    EXPECT_EQ(session.RemoveItems("myfolder/", &names), 0);
    EXPECT_EQ(session.RemoveItems("myfolder/a\r\n"), 0);
    EXPECT_EQ(session.QueryQuota("myfolder/\n"), 0);
    EXPECT_EQ(session.QueryQuota("myfolder/"), 1);
    EXPECT_EQ(CommandsSent(), ".QUOTA myfolder/\r\n");
}

TEST_F(CommandChannelTest, ACookieWithALineBreakOpensNoSession) {
    owner.SetSessionCookie("abc\r\nX-Injected: 1");
    EXPECT_EQ(session.OpenCommandSession(), 0);
    EXPECT_EQ(peer.ConnectionCount(), 0u);
}

TEST_F(CommandChannelTest, ASilentPeerFailsTheExchangeAfterTheReceiveTimeOut) {
    AcceptCommandSession().WaitFor("\r\n").Start();
    session.SetTimeouts(5000, 200);
    List("myfolder/", 0);
    EXPECT_FALSE(session.IsCommandOpen());
    EXPECT_TRUE(peer.WaitClosedByClient(0));
}

TEST_F(CommandChannelTest, AnUnansweredCommandClosesTheConnectionSoALateReplyIsNeverMisread) {
    AcceptCommandSession().WaitFor("\r\n").Start();
    ASSERT_EQ(session.OpenCommandSession(), 1);
    session.SetTimeouts(5000, 200);
    EXPECT_EQ(session.MakeFolder("myfolder/", "a"), 0);
    EXPECT_FALSE(session.IsCommandOpen());
}

TEST_F(CommandChannelTest, ASilentGreetingFailsTheSessionAfterTheReceiveTimeOut) {
    peer.Accept().WaitFor("\r\n\r\n").Start();
    session.SetTimeouts(5000, 200);
    EXPECT_EQ(session.OpenCommandSession(), 0);
    EXPECT_FALSE(session.IsCommandOpen());
}

// A listener whose backlog is full drops new connection requests, so connecting hangs.
TEST(ConnectTimeOutTest, ConnectingToAServerThatNeverAnswersGivesUp) {
    SOCKET listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof(address);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ASSERT_EQ(::listen(listener, 0), 0);
    ASSERT_EQ(::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size), 0);
    std::vector<SOCKET> fillers;
    for (int i = 0; i < 3; ++i) {
        SOCKET filler = ::socket(AF_INET, SOCK_STREAM, 0);
        unsigned long nonBlocking = 1;
        ioctlsocket(filler, FIONBIO, &nonBlocking);
        ::connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        fillers.push_back(filler);
    }
    SimpleSessionOwner owner;
    ServerSession session(&owner);
    session.SetLoginData("abc", "def", "127.0.0.1", ntohs(address.sin_port));
    session.SetTimeouts(300, 300);
    auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(session.Connect(), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10))
        << "the connect time-out of the session applies, not the system's";
    EXPECT_FALSE(session.IsCommandOpen());
    for (SOCKET filler : fillers) {
        closesocket(filler);
    }
    closesocket(listener);
}

TEST_F(CommandChannelTest, ConnectingWhereNothingListensFails) {
    session.SetLoginData("abc", "", "127.0.0.1", 1);
    EXPECT_EQ(session.Connect(), 0);
    EXPECT_FALSE(session.IsCommandOpen());
    session.SetLoginData("abc", "", "", 80);
    EXPECT_EQ(session.Connect(), 0);
}

TEST_F(CommandChannelTest, ResetForgetsTheLoginData) {
    ServerSession fresh(&owner);
    fresh.Reset();
    EXPECT_EQ(fresh.Port(), 80);
    session.Reset();
    EXPECT_EQ(session.Port(), 80);
    EXPECT_EQ(session.Host(), "");
    EXPECT_EQ(session.UserId(), "");
}

} // namespace
} // namespace ostrana::test
