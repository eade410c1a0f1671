// The session against the real service on an ephemeral loopback port, with the demo accounts.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "session/ListingEntry.h"
#include "session/ServerSession.h"
#include "session/SessionOwner.h"
#include "session/TextConversion.h"
#include "tests/support/ServiceProcess.h"

namespace ostrana::test {
namespace {

using Lines = std::vector<std::string>;

class ServiceSessionTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_service = new ServiceProcess(); }
    static void TearDownTestSuite() {
        delete s_service;
        s_service = nullptr;
    }

    // Logs in with its own cookie holder and opens the command session.
    static bool LogIn(ServerSession& session, const std::string& user, const std::string& password) {
        session.SetLoginData(user, password, s_service->Host(), s_service->Port());
        int status = 0;
        return session.Login(status) == 1 && session.OpenCommandSession() == 1;
    }

    static Lines Names(ServerSession& session, const std::string& folder) {
        Lines lines;
        int status = 0;
        EXPECT_EQ(session.ListFolder(folder, lines, status), 1) << folder;
        Lines names;
        for (const std::string& line : lines) {
            auto entry = ListingEntry::Parse(line);
            EXPECT_TRUE(entry.has_value()) << line;
            if (entry) {
                names.push_back(entry->Name());
            }
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    std::filesystem::path DemoFolder() const { return s_service->Root() / "users" / "demo" / "myfolder"; }

    static ServiceProcess* s_service;
    SimpleSessionOwner owner;
    ServerSession session{&owner};
};

ServiceProcess* ServiceSessionTest::s_service = nullptr;

TEST_F(ServiceSessionTest, LoginWithTheRightPasswordGivesACookieAndTheGreeting) {
    ASSERT_TRUE(LogIn(session, "demo", "demo1234"));
    EXPECT_FALSE(owner.GetSessionCookie().empty());
    EXPECT_EQ(owner.GreetingNumber(), 1);
    EXPECT_EQ(owner.HomeLabel(), Utf8ToLocal("데모"));

    SimpleSessionOwner webmaster;
    ServerSession other(&webmaster);
    ASSERT_TRUE(LogIn(other, "webmaster", "web1234"));
    EXPECT_EQ(webmaster.GreetingNumber(), 9);
}

TEST_F(ServiceSessionTest, AWrongPasswordOrCookieIsRefused) {
    session.SetLoginData("demo", "wrong", s_service->Host(), s_service->Port());
    int status = 0;
    EXPECT_EQ(session.Login(status), 0);
    EXPECT_EQ(status, LOGIN_STATUS_FAILED);
    owner.SetSessionCookie("0123456789abcdef0123456789abcdef");
    EXPECT_EQ(session.OpenCommandSession(), 0);
    EXPECT_FALSE(session.IsCommandOpen());
}

TEST_F(ServiceSessionTest, FoldersAreMadeRenamedListedAndRemoved) {
    ASSERT_TRUE(LogIn(session, "demo", "demo1234"));
    Lines before = Names(session, "myfolder/");
    EXPECT_NE(std::find(before.begin(), before.end(), "readme.txt"), before.end());

    std::string name = Utf8ToLocal("새 폴더");
    ASSERT_EQ(session.MakeFolder("myfolder/", name), 1);
    EXPECT_TRUE(std::filesystem::is_directory(DemoFolder() / "새 폴더"));
    EXPECT_EQ(session.MakeFolder("myfolder/", name), 0) << "it exists already";
    ASSERT_EQ(session.RenameItem("myfolder/", name, "report.OK v2."), 1);
    Lines renamed = Names(session, "myfolder/");
    EXPECT_NE(std::find(renamed.begin(), renamed.end(), "report.OK v2."), renamed.end())
        << "a name holding .OK and ending in a dot is listed whole";
    ASSERT_EQ(session.MakeFolder("myfolder/report.OK v2./", "inner"), 1);
    EXPECT_EQ(Names(session, "myfolder/report.OK v2./"), Lines{"inner"});
    EXPECT_EQ(session.RemoveItems("myfolder/report.OK v2./"), 1);
    EXPECT_FALSE(std::filesystem::exists(DemoFolder() / "report.OK v2."));
    EXPECT_EQ(Names(session, "myfolder/"), before);
    Lines missing{"never-there"};
    EXPECT_EQ(session.RemoveItems("myfolder/", &missing), 0);
    EXPECT_TRUE(session.IsCommandOpen());
}

TEST_F(ServiceSessionTest, QuotaOfTheDemoAccount) {
    ASSERT_TRUE(LogIn(session, "demo", "demo1234"));
    ASSERT_EQ(session.QueryQuota("myfolder/"), 1);
    QuotaInfo quota = session.Quota();
    EXPECT_EQ(quota.total, 100LL * 1024 * 1024);
    EXPECT_EQ(quota.used + quota.remaining, quota.total);
}

TEST_F(ServiceSessionTest, EscapesFromTheStorageAreRefused) {
    ASSERT_TRUE(LogIn(session, "demo", "demo1234"));
    Lines lines;
    int status = 0;
    EXPECT_EQ(session.ListFolder("myfolder/../../", lines, status), 0);
    EXPECT_EQ(session.ListFolder("/etc/", lines, status), 0);
    EXPECT_EQ(session.ListFolder("html/", lines, status), 0) << "html/ needs account kind 9";
    EXPECT_EQ(session.MakeFolder("myfolder/../../", "escaped"), 0);
    EXPECT_FALSE(std::filesystem::exists(s_service->Root() / "users" / "escaped"));
    EXPECT_FALSE(std::filesystem::exists(s_service->Root() / "escaped"));
    EXPECT_TRUE(lines.empty());
}

TEST_F(ServiceSessionTest, ManyClientsWorkAtOnce) {
    constexpr int kClients = 8;
    std::atomic<int> succeeded{0};
    std::vector<std::thread> clients;
    for (int i = 0; i < kClients; ++i) {
        clients.emplace_back([&, i] {
            SimpleSessionOwner own;
            ServerSession client(&own);
            if (!LogIn(client, "demo", "demo1234")) {
                return;
            }
            std::string name = "client" + std::to_string(i);
            Lines lines;
            int status = 0;
            if (client.MakeFolder("myfolder/", name) == 1 && client.MakeFolder("myfolder/" + name + "/", "x") == 1 &&
                client.ListFolder("myfolder/" + name + "/", lines, status) == 1 && lines.size() == 1 &&
                client.RemoveItems("myfolder/" + name + "/") == 1) {
                ++succeeded;
            }
        });
    }
    for (std::thread& client : clients) {
        client.join();
    }
    EXPECT_EQ(succeeded.load(), kClients);
}

TEST_F(ServiceSessionTest, TwoThreadsSharingTheCommandConnectionNeverGetEachOthersReplies) {
    ASSERT_TRUE(LogIn(session, "demo", "demo1234"));
    Lines expected = Names(session, "myfolder/");
    std::atomic<int> wrong{0};
    std::thread lister([&] {
        for (int i = 0; i < 100; ++i) {
            Lines lines;
            int status = 0;
            if (session.ListFolder("myfolder/", lines, status) != 1 || lines.size() != expected.size()) {
                ++wrong;
            }
        }
    });
    std::thread quota([&] {
        for (int i = 0; i < 100; ++i) {
            if (session.QueryQuota("myfolder/") != 1 || session.Quota().total != 100LL * 1024 * 1024) {
                ++wrong;
            }
        }
    });
    lister.join();
    quota.join();
    EXPECT_EQ(wrong.load(), 0);
}

} // namespace
} // namespace ostrana::test
