// The login request byte for byte and the judging of its reply.
#include "tests/session/SessionPeerFixture.h"

namespace ostrana::test {
namespace {

const std::string kBoundary = "-----------------------------------7d417c254e8";

class LoginTest : public SessionPeerTest {
protected:
    int RunLogin(const std::string& reply, bool bytewise = false) {
        peer.Accept().WaitFor(kBoundary + "--\r\n\r\n");
        if (bytewise) {
            peer.SendBytewise(reply);
        } else {
            peer.Send(reply);
        }
        peer.Close().Start();
        int status = 0;
        int result = session.Login(status);
        EXPECT_EQ(status, result == 1 ? LOGIN_STATUS_STARTED : LOGIN_STATUS_FAILED);
        return result;
    }
};

TEST_F(LoginTest, RequestIsSentByteForByteWithTheLengthMeasuredInTheAnsiCodePage) {
    int result = RunLogin("HTTP/1.1 200 OK\r\nSet-Cookie: WAXLO_AUTH=one;\r\n\r\nWAXLO_AUTH=two;\n");
    EXPECT_EQ(result, 1);
    std::string port = std::to_string(peer.Port());
    std::string headers = "POST /_login? HTTP/1.1\r\n"
                          "Referer: http://127.0.0.1:" + port + "/_login\r\n"
                          "Accept-Language: ko\r\n"
                          "Content-Type: multipart/form-data; boundary=" + kBoundary + "\r\n"
                          "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows 98; Wind 9x 4.90; .NET CLR 1.1.4322)\r\n"
                          "Host: 127.0.0.1:" + port + "\r\n"
                          "Content-Length: 356\r\n"
                          "Connection: Keep-Alive\r\n"
                          "Cache-Control: no-cache\r\n"
                          "\r\n\r\n";
    std::string body = kBoundary + "\r\n"
                       "Content-Disposition: form-data; name=\"UID\"\r\n\r\n"
                       "abc\r\n" + kBoundary + "\r\n"
                       "Content-Disposition: form-data; name=\"PASSWD\"\r\n\r\n"
                       "def\r\n" + kBoundary + "\r\n"
                       "Content-Disposition: form-data; name=\"submit\"\r\n\r\n"
                       "\xEC\xA0\x91\xEC\x86\x8D\r\n" + kBoundary + "--\r\n\r\n";
    ASSERT_TRUE(peer.WaitClosedByClient(0)) << "the login connection is closed after the reply";
    EXPECT_EQ(body.size(), 358u);
    EXPECT_EQ(peer.Received(0), headers + body);
    EXPECT_EQ(owner.GetSessionCookie(), "two");
    EXPECT_FALSE(session.IsCommandOpen());
}

TEST_F(LoginTest, KoreanLoginDataIsMeasuredInTheAnsiCodePageButSentInUtf8) {
    session.SetLoginData(Utf8ToLocal("데모"), "pw", "127.0.0.1", 80);
    std::string request;
    session.BuildLoginRequest(request);
    EXPECT_NE(request.find("Content-Length: 356\r\n"), std::string::npos) << "350 + 4 bytes of code page 949 + 2";
    std::string wire = LocalToUtf8(request);
    EXPECT_NE(wire.find("name=\"UID\"\r\n\r\n데모\r\n"), std::string::npos);
    EXPECT_EQ(wire.size() - (wire.find("no-cache\r\n\r\n\r\n") + 14), 356u + 2 + 2)
        << "the submit value and the user id are longer in UTF-8";
}

TEST_F(LoginTest, TheSecondCookieAssignmentGivesTheValueEvenWhenTheReplyArrivesByteByByte) {
    EXPECT_EQ(RunLogin("Set-Cookie: WAXLO_AUTH=first; path=/\r\n\r\n<script>WAXLO_AUTH=second;</script>", true), 1);
    EXPECT_EQ(owner.GetSessionCookie(), "second");
}

TEST_F(LoginTest, ASingleAssignmentOrOneAtTheVeryStartFails) {
    owner.SetSessionCookie("old");
    EXPECT_EQ(RunLogin("Set-Cookie: WAXLO_AUTH=only;\r\n\r\n"), 0);
    EXPECT_EQ(owner.GetSessionCookie(), "old");
    EXPECT_FALSE(session.IsCommandOpen());
}

TEST_F(LoginTest, AReplyThatBeginsWithTheCookieNameFails) {
    EXPECT_EQ(RunLogin("WAXLO_AUTH=a; WAXLO_AUTH=b;"), 0);
}

TEST_F(LoginTest, ASecondAssignmentWithoutSemicolonGivesAnEmptyCookie) {
    owner.SetSessionCookie("old");
    EXPECT_EQ(RunLogin("x WAXLO_AUTH=a; WAXLO_AUTH=b"), 1);
    EXPECT_EQ(owner.GetSessionCookie(), "");
}

TEST_F(LoginTest, NoReplyFails) {
    EXPECT_EQ(RunLogin(""), 0);
}

TEST_F(LoginTest, LineBreaksInTheLoginDataFailBeforeAnythingIsSent) {
    for (const auto& [user, password, host] : {std::tuple{"ab\r\nc", "def", "127.0.0.1"},
                                               std::tuple{"abc", "de\nf", "127.0.0.1"},
                                               std::tuple{"abc", "def", "127.0.0.1\r\nX: y"}}) {
        session.SetLoginData(user, password, host, peer.Port());
        int status = 0;
        EXPECT_EQ(session.Login(status), 0);
        EXPECT_EQ(status, LOGIN_STATUS_FAILED);
    }
    EXPECT_EQ(peer.ConnectionCount(), 0u);
}

TEST(LoginWithoutHolderTest, TheProcessWideHolderReceivesTheCookie) {
    ScriptedPeer peer;
    peer.Accept().WaitFor("--\r\n\r\n").Send("a WAXLO_AUTH=x; WAXLO_AUTH=window;").Start();
    SimpleSessionOwner window;
    SetSessionOwner(&window);
    ServerSession session;
    session.SetLoginData("abc", "def", "127.0.0.1", peer.Port());
    int status = 0;
    EXPECT_EQ(session.Login(status), 1);
    SetSessionOwner(nullptr);
    EXPECT_EQ(window.GetSessionCookie(), "window");
}

TEST(LoginWithoutHolderTest, FailsWhenNoWindowHoldsTheCookie) {
    ScriptedPeer peer;
    ServerSession session;
    session.SetLoginData("abc", "def", "127.0.0.1", peer.Port());
    int status = 0;
    EXPECT_EQ(session.Login(status), 0);
    EXPECT_EQ(status, LOGIN_STATUS_FAILED);
}

} // namespace
} // namespace ostrana::test
