// Password hashing, the accounts file and session cookies.
#include "service/AccountStore.h"
#include "service/PasswordHash.h"
#include "service/SessionTable.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace ostrana::service;
using ostrana::test::TempDir;

TEST(PasswordHash, VerifiesOnlyTheRightPasswordAndSaltsEveryHash) {
    const std::string stored = PasswordHash::Make("demo1234", 1000);
    ASSERT_EQ(stored.rfind("pbkdf2-sha256$1000$", 0), 0u);
    EXPECT_TRUE(PasswordHash::Verify("demo1234", stored));
    EXPECT_FALSE(PasswordHash::Verify("demo1235", stored));
    EXPECT_FALSE(PasswordHash::Verify("", stored));
    EXPECT_NE(PasswordHash::Make("demo1234", 1000), stored);
    EXPECT_TRUE(PasswordHash::Verify("비밀번호", PasswordHash::Make("비밀번호", 1000)));
}

TEST(PasswordHash, MalformedStoredTextsNeverMatch) {
    const std::string good = PasswordHash::Make("pw", 1000);
    const std::string tail = good.substr(good.find('$', good.find('$') + 1));
    for (const std::string& stored :
         {std::string(), std::string("pw"), "md5$1000" + tail, "pbkdf2-sha256$0" + tail, "pbkdf2-sha256$x" + tail,
          "pbkdf2-sha256$99999999999" + tail, good.substr(0, good.size() - 2), good + "$", good + "0"}) {
        EXPECT_FALSE(PasswordHash::Verify("pw", stored)) << stored;
    }
}

TEST(AccountStore, SavesAndLoadsEveryField) {
    TempDir dir;
    AccountStore store(dir / "accounts.txt");
    std::string error;
    ASSERT_TRUE(store.Add({"demo", PasswordHash::Make("x", 1000), "데모", 1, 102400, {"demo", "game"}}, error));
    ASSERT_TRUE(store.Add({"webmaster", PasswordHash::Make("y", 1000), "웹마스터", 9, 5, {}}, error));
    EXPECT_FALSE(store.Add({"demo", "", "again", 1, 1, {}}, error));
    ASSERT_TRUE(store.Save(error)) << error;

    AccountStore loaded(dir / "accounts.txt");
    ASSERT_TRUE(loaded.Load(error)) << error;
    const Account* demo = loaded.Find("demo");
    ASSERT_NE(demo, nullptr);
    EXPECT_EQ(demo->displayName, "데모");
    EXPECT_EQ(demo->quotaKB, 102400);
    EXPECT_EQ(demo->clubs, (std::vector<std::string>{"demo", "game"}));
    EXPECT_TRUE(PasswordHash::Verify("x", demo->passwordHash));
    ASSERT_NE(loaded.Find("webmaster"), nullptr);
    EXPECT_TRUE(loaded.Find("webmaster")->IsWebmaster());
    EXPECT_TRUE(loaded.Find("webmaster")->clubs.empty());
    EXPECT_EQ(loaded.Find("nobody"), nullptr);
}

TEST(AccountStore, RefusesMalformedLinesWithTheirNumber) {
    TempDir dir;
    const std::string valid = "demo\tpbkdf2-sha256$1$00$00\tD\t1\t100\t\n";
    for (const std::string& bad : {std::string("x\ty\n"), std::string("../evil\th\tD\t1\t1\t\n"),
                                   std::string("a\th\tD\tnine\t1\t\n"), std::string("a\th\tD\t1\t-5\t\n"),
                                   std::string("a\th\tD\t1\t1\t../x\n"), valid}) {
        ASSERT_TRUE(ostrana::test::WriteFileBytes(dir / "accounts.txt", "# comment\n" + valid + bad));
        AccountStore store(dir / "accounts.txt");
        std::string error;
        EXPECT_FALSE(store.Load(error)) << bad;
        EXPECT_NE(error.find(":3:"), std::string::npos) << error;
    }
}

TEST(AccountStore, MissingFileIsAnEmptyStore) {
    TempDir dir;
    AccountStore store(dir / "none.txt");
    std::string error;
    EXPECT_TRUE(store.Load(error));
    EXPECT_TRUE(store.Empty());
    EXPECT_FALSE(AccountStore::IsValidId(".hidden"));
    EXPECT_FALSE(AccountStore::IsValidId("a/b"));
    EXPECT_FALSE(AccountStore::IsValidId(std::string(33, 'a')));
    EXPECT_FALSE(AccountStore::IsValidDisplayName("a]b"));
}

TEST(SessionTable, TokensAre128BitHexAndExpireWhenIdle) {
    SessionTable sessions(std::chrono::seconds(60), 100);
    SessionTable::Clock::time_point now = SessionTable::Clock::now();
    sessions.SetClockForTest([&now] { return now; });
    const std::string first = sessions.Open("demo");
    const std::string second = sessions.Open("demo");
    ASSERT_EQ(first.size(), 32u);
    EXPECT_EQ(first.find_first_not_of("0123456789abcdef"), std::string::npos);
    EXPECT_NE(first, second);

    now += std::chrono::seconds(50);
    EXPECT_EQ(sessions.Lookup(first), "demo");  // refreshes the first only
    now += std::chrono::seconds(50);
    EXPECT_EQ(sessions.Lookup(first), "demo");
    EXPECT_EQ(sessions.Lookup(second), std::nullopt);
    EXPECT_EQ(sessions.Lookup(""), std::nullopt);
    EXPECT_EQ(sessions.Lookup(first.substr(0, 31)), std::nullopt);
}

TEST(SessionTable, AFullTableDropsTheLeastRecentlyUsedSession) {
    SessionTable sessions(std::chrono::seconds(600), 2);
    SessionTable::Clock::time_point now = SessionTable::Clock::now();
    sessions.SetClockForTest([&now] { return now; });
    const std::string a = sessions.Open("a");
    now += std::chrono::seconds(1);
    const std::string b = sessions.Open("b");
    now += std::chrono::seconds(1);
    EXPECT_TRUE(sessions.Lookup(a));
    now += std::chrono::seconds(1);
    const std::string c = sessions.Open("c");
    EXPECT_TRUE(sessions.Lookup(a));
    EXPECT_FALSE(sessions.Lookup(b));
    EXPECT_TRUE(sessions.Lookup(c));
}
