// The real server on loopback, driven by raw requests.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <unistd.h>

#include "host/HostServer.h"
#include "host/RequestGate.h"
#include "tests/support/LoopbackSocket.h"
#include "tests/support/TempDir.h"

using namespace ostrana::host;

namespace {

// Sends the bytes and reads until the peer closes or `enough` is seen (5 s at most).
std::string Exchange(int port, const std::string& request, const std::string& enough = {})
{
    int fd = ostrana::test::ConnectLoopback(port, 5);
    std::string reply;
    if (fd >= 0 && send(fd, request.data(), request.size(), 0) == static_cast<ssize_t>(request.size())) {
        char buffer[4096];
        ssize_t got;
        while ((got = recv(fd, buffer, sizeof buffer, 0)) > 0) {
            reply.append(buffer, static_cast<size_t>(got));
            if (!enough.empty() && reply.find(enough) != std::string::npos)
                break;
        }
    }
    if (fd >= 0)
        close(fd);
    return reply;
}

class HostServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(m_dir / "web");
        std::filesystem::create_directories(m_dir / "art");
        ostrana::test::WriteFileBytes(m_dir / "web" / "index.html", "<p>{{TOKEN}}</p>");
        ostrana::test::WriteFileBytes(m_dir / "art" / "a.png", "PNG");
        ostrana::test::WriteFileBytes(m_dir / "outside.png", "secret");
        ASSERT_EQ(m_server.Start(0, m_dir / "web", m_dir / "art"), "");
        ASSERT_GT(m_server.Port(), 0);
    }
    std::string Host() const { return "127.0.0.1:" + std::to_string(m_server.Port()); }
    std::string Get(const std::string& target, const std::string& extra = {})
    {
        return Exchange(m_server.Port(), "GET " + target + " HTTP/1.1\r\nHost: " + Host() + "\r\n" + extra + "Connection: close\r\n\r\n");
    }
    std::string Token() const { return m_server.Gate().Token(); }
    std::string Upgrade(const std::string& origin)
    {
        return Exchange(m_server.Port(),
                        "GET /ws?t=" + Token() + " HTTP/1.1\r\nHost: " + Host() + "\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n" +
                            "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\nOrigin: " + origin + "\r\n\r\n",
                        "\"version\"");
    }
    ostrana::test::TempDir m_dir;
    HostServer m_server;
};

TEST_F(HostServerTest, ServesThePageWithItsTokenAndPolicy)
{
    std::string reply = Get("/?t=" + Token());
    EXPECT_TRUE(reply.starts_with("HTTP/1.1 200")) << reply;
    EXPECT_NE(reply.find("Content-Security-Policy: default-src 'none'"), std::string::npos);
    EXPECT_NE(reply.find("<p>" + Token() + "</p>"), std::string::npos);
    EXPECT_EQ(m_server.Address(), "http://" + Host() + "/?t=" + Token());
}

TEST_F(HostServerTest, RefusesWithoutTokenOrFromElsewhere)
{
    EXPECT_TRUE(Get("/").starts_with("HTTP/1.1 403"));
    EXPECT_TRUE(Get("/res/a.png").starts_with("HTTP/1.1 403"));
    EXPECT_TRUE(Get("/?t=" + Token(), "Origin: http://evil.example\r\n").starts_with("HTTP/1.1 403"));
    std::string foreignHost = Exchange(m_server.Port(), "GET /?t=" + Token() + " HTTP/1.1\r\nHost: evil.example\r\nConnection: close\r\n\r\n");
    EXPECT_TRUE(foreignHost.starts_with("HTTP/1.1 403")) << foreignHost;
}

TEST_F(HostServerTest, NothingOutsideTheServedFiles)
{
    EXPECT_TRUE(Get("/res/a.png?t=" + Token()).starts_with("HTTP/1.1 200"));
    for (std::string path : {"/res/../outside.png", "/res/%2e%2e/outside.png", "/index.html", "/../outside.png", "/etc/passwd"}) {
        std::string reply = Get(path + "?t=" + Token());
        EXPECT_FALSE(reply.starts_with("HTTP/1.1 200")) << path;
        EXPECT_EQ(reply.find("secret"), std::string::npos) << path;
    }
}

TEST_F(HostServerTest, SocketGreetsOurPageOnly)
{
    EXPECT_EQ(Upgrade("http://evil.example").find(" 101 "), std::string::npos);
    std::string reply = Upgrade("http://" + Host());
    EXPECT_NE(reply.find(" 101 "), std::string::npos) << reply;
    EXPECT_NE(reply.find("{\"k\":1,\"version\":1}"), std::string::npos);
}

} // namespace
