// What the gate lets through: loopback host and origin, the token, the page files and artwork only.
#include <gtest/gtest.h>

#include "host/RequestGate.h"
#include "tests/support/TempDir.h"

using namespace ostrana::host;

namespace {

class RequestGateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(m_dir / "web");
        std::filesystem::create_directories(m_dir / "art" / "bitmaps");
        ostrana::test::WriteFileBytes(m_dir / "art" / "bitmaps" / "a.bmp", "BM");
        ostrana::test::WriteFileBytes(m_dir / "art" / "bitmaps" / "b.svg", "<svg/>");
        ostrana::test::WriteFileBytes(m_dir / "art" / "bitmaps" / "c.txt", "x");
        ostrana::test::WriteFileBytes(m_dir / "secret.png", "x");
    }
    GateRequest Get(const std::string& path, const std::string& query = "t=abc")
    {
        return GateRequest{"GET", path, query, std::string("127.0.0.1:4000"), std::nullopt, false};
    }
    ostrana::test::TempDir m_dir;
    RequestGate m_gate{"abc", 4000, m_dir / "web", m_dir / "art"};
};

TEST_F(RequestGateTest, PageFilesNeedTheToken)
{
    EXPECT_EQ(m_gate.Decide(Get("/")).verdict, GateVerdict::Page);
    EXPECT_EQ(m_gate.Decide(Get("/app.js")).verdict, GateVerdict::Asset);
    EXPECT_EQ(m_gate.Decide(Get("/", "")).verdict, GateVerdict::Forbidden);
    EXPECT_EQ(m_gate.Decide(Get("/", "t=abd")).verdict, GateVerdict::Forbidden);
    EXPECT_EQ(m_gate.Decide(Get("/", "t=ab")).verdict, GateVerdict::Forbidden);
    EXPECT_EQ(m_gate.Decide(Get("/", "x=1&t=abc")).verdict, GateVerdict::Page);
    EXPECT_EQ(m_gate.Decide(Get("/", "t=%61bc")).verdict, GateVerdict::Page);
}

TEST_F(RequestGateTest, ForeignHostOrOriginIsRefused)
{
    auto request = Get("/");
    request.host = "evil.example:4000";
    EXPECT_EQ(m_gate.Decide(request).verdict, GateVerdict::Forbidden);
    request.host = "127.0.0.1:4001";
    EXPECT_EQ(m_gate.Decide(request).verdict, GateVerdict::Forbidden);
    request.host.reset();
    EXPECT_EQ(m_gate.Decide(request).verdict, GateVerdict::Forbidden);
    request = Get("/");
    request.origin = "http://evil.example";
    EXPECT_EQ(m_gate.Decide(request).verdict, GateVerdict::Forbidden);
    request.origin = "http://localhost:4000";
    EXPECT_EQ(m_gate.Decide(request).verdict, GateVerdict::Page);
}

TEST_F(RequestGateTest, SocketNeedsOurOrigin)
{
    auto request = Get("/ws");
    request.webSocket = true;
    EXPECT_EQ(m_gate.Decide(request).verdict, GateVerdict::Forbidden);
    request.origin = "http://127.0.0.1:4000";
    EXPECT_EQ(m_gate.Decide(request).verdict, GateVerdict::Socket);
    request.origin = "null";
    EXPECT_EQ(m_gate.Decide(request).verdict, GateVerdict::Forbidden);
    EXPECT_EQ(m_gate.Decide(Get("/ws")).verdict, GateVerdict::NotFound);
}

TEST_F(RequestGateTest, ImagesStayInsideTheArtFolder)
{
    auto image = m_gate.Decide(Get("/res/bitmaps/a.bmp"));
    EXPECT_EQ(image.verdict, GateVerdict::Image);
    EXPECT_EQ(image.contentType, "image/bmp");
    EXPECT_EQ(m_gate.Decide(Get("/res/bitmaps/b.svg")).contentType, "image/svg+xml");
    EXPECT_EQ(m_gate.Decide(Get("/res/bitmaps/c.txt")).verdict, GateVerdict::NotFound);
    for (const char* path : {"/res/../secret.png", "/res/bitmaps/../../secret.png", "/res//etc/passwd", "/res/.hidden.png",
                             "/res/bitmaps/missing.bmp", "/res/bitmaps/a.bmp/", "/res/%2e%2e/secret.png", "/index.html",
                             "/web/app.js", "/res/"})
        EXPECT_EQ(m_gate.Decide(Get(path)).verdict, GateVerdict::NotFound) << path;
    std::filesystem::create_symlink(m_dir / "secret.png", m_dir / "art" / "bitmaps" / "link.png");
    EXPECT_EQ(m_gate.Decide(Get("/res/bitmaps/link.png")).verdict, GateVerdict::NotFound);
}

TEST_F(RequestGateTest, OnlyReadingMethods)
{
    auto request = Get("/");
    request.method = "POST";
    EXPECT_EQ(m_gate.Decide(request).verdict, GateVerdict::BadMethod);
}

TEST(RequestGate, TokensAreLongAndFresh)
{
    auto first = RequestGate::NewToken();
    EXPECT_EQ(first.size(), 32u);
    EXPECT_NE(first, RequestGate::NewToken());
}

TEST(RequestGate, PolicyAllowsOnlyOurselvesAndFramesOfWebAddresses)
{
    RequestGate gate("t", 5000, "/w", "/a");
    auto policy = gate.ContentSecurityPolicy();
    EXPECT_NE(policy.find("default-src 'none'"), std::string::npos);
    EXPECT_NE(policy.find("ws://127.0.0.1:5000"), std::string::npos);
    EXPECT_EQ(policy.find("unsafe"), std::string::npos);
    // Frames for the web view: web addresses only.
    auto frames = policy.substr(policy.find("frame-src"));
    frames = frames.substr(0, frames.find(';'));
    EXPECT_EQ(frames, "frame-src 'self' http: https:");
}

} // namespace
