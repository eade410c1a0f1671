// Path checks: what the network may name, and which areas each account reaches.
#include "service/ProtocolPath.h"
#include "service/StoragePaths.h"

#include <gtest/gtest.h>

using namespace ostrana::service;

namespace {

PathError Parse(std::string_view text) {
    ProtocolPath ignored;
    return ParseProtocolPath(text, ignored);
}

} // namespace

TEST(ProtocolPath, SplitsAreaAndNamesAndAcceptsOneTrailingSlash) {
    ProtocolPath path;
    ASSERT_EQ(ParseProtocolPath("myfolder/문서/a b.txt", path), PathError::None);
    EXPECT_EQ(path.area, "myfolder");
    EXPECT_EQ(path.names, (std::vector<std::string>{"문서", "a b.txt"}));
    ASSERT_EQ(ParseProtocolPath("@demo/html/", path), PathError::None);
    EXPECT_EQ(path.area, "@demo");
    EXPECT_EQ(path.names, std::vector<std::string>{"html"});
    ASSERT_EQ(ParseProtocolPath("myfolder/", path), PathError::None);
    EXPECT_TRUE(path.names.empty());
    EXPECT_EQ(Parse("myfolder/..name/a..b/x."), PathError::None);
}

TEST(ProtocolPath, RefusesEveryWayOutAndEveryUnsafeCharacter) {
    EXPECT_EQ(Parse(""), PathError::Empty);
    EXPECT_EQ(Parse("myfolder/../../"), PathError::DotSegment);
    EXPECT_EQ(Parse("myfolder/./x"), PathError::DotSegment);
    EXPECT_EQ(Parse(".."), PathError::DotSegment);
    EXPECT_EQ(Parse("/etc/passwd"), PathError::Absolute);
    EXPECT_EQ(Parse("C:/Windows/"), PathError::Absolute);
    EXPECT_EQ(Parse("myfolder\\..\\..\\"), PathError::Backslash);
    EXPECT_EQ(Parse("myfolder//x"), PathError::EmptySegment);
    EXPECT_EQ(Parse("myfolder/a//"), PathError::EmptySegment);
    EXPECT_EQ(Parse(std::string("myfolder/a\0b", 12)), PathError::ControlCharacter);
    EXPECT_EQ(Parse("myfolder/a\rb"), PathError::ControlCharacter);
    EXPECT_EQ(Parse("myfolder/a\nb"), PathError::ControlCharacter);
    EXPECT_EQ(Parse("myfolder/a\x7f"), PathError::ControlCharacter);
    EXPECT_EQ(Parse("myfolder/a\"b"), PathError::Quote);
    EXPECT_EQ(Parse("myfolder/\xC1\xA2"), PathError::BadEncoding);       // code page 949 bytes, not UTF-8
    EXPECT_EQ(Parse("myfolder/\xC0\xAE\xC0\xAE/"), PathError::BadEncoding);  // overlong ".."
    EXPECT_EQ(Parse("myfolder/" + std::string(256, 'a')), PathError::NameTooLong);
    EXPECT_EQ(Parse("myfolder/" + std::string(kMaxPathBytes, 'a')), PathError::TooLong);
}

TEST(ProtocolPath, NamesForCreatingAndRenamingAreSingleSegments) {
    EXPECT_EQ(CheckName("새 폴더"), PathError::None);
    EXPECT_EQ(CheckName("a/b"), PathError::Denied);
    EXPECT_EQ(CheckName(".."), PathError::DotSegment);
    EXPECT_EQ(CheckName(""), PathError::EmptySegment);
    EXPECT_EQ(CheckName("a\tb"), PathError::ControlCharacter);
}

class StoragePathsTest : public ::testing::Test {
protected:
    StoragePaths m_paths{"/data", 2048};
    Account m_member{"ana", "", "Ana", 1, 1000, {"game"}};
    Account m_webmaster{"web", "", "Web", Account::kWebmasterKind, 5000, {}};
};

TEST_F(StoragePathsTest, OwnAreasMapBelowTheAccountsFolder) {
    StorageLocation location;
    ASSERT_EQ(m_paths.Resolve(m_member, "myfolder/a/b.txt", location), PathError::None);
    EXPECT_EQ(location.full, "/data/users/ana/myfolder/a/b.txt");
    EXPECT_EQ(location.Parent(), "/data/users/ana/myfolder/a");
    EXPECT_EQ(location.quota.root, "/data/users/ana");
    EXPECT_EQ(location.quota.limitKB, 1000);
    ASSERT_EQ(m_paths.Resolve(m_member, "myhtml/", location), PathError::None);
    EXPECT_TRUE(location.IsAreaRoot());
    EXPECT_EQ(location.full, "/data/users/ana/myhtml");
}

TEST_F(StoragePathsTest, SiteAreasNeedKindNineAndClubsNeedMembership) {
    StorageLocation location;
    EXPECT_EQ(m_paths.Resolve(m_member, "html/", location), PathError::Denied);
    EXPECT_EQ(m_paths.Resolve(m_member, "filter/x", location), PathError::Denied);
    ASSERT_EQ(m_paths.Resolve(m_webmaster, "filter/words.txt", location), PathError::None);
    EXPECT_EQ(location.full, "/data/site/filter/words.txt");
    EXPECT_EQ(location.quota.limitKB, 2048);

    ASSERT_EQ(m_paths.Resolve(m_member, "@game/html/", location), PathError::None);
    EXPECT_EQ(location.full, "/data/clubs/game/html");
    EXPECT_EQ(m_paths.Resolve(m_member, "@other/", location), PathError::Denied);
    EXPECT_EQ(m_paths.Resolve(m_webmaster, "@game/", location), PathError::Denied);
    EXPECT_EQ(m_paths.Resolve(m_member, "@/", location), PathError::UnknownArea);
    EXPECT_EQ(m_paths.Resolve(m_member, "users/ana/", location), PathError::UnknownArea);
    EXPECT_EQ(m_paths.Resolve(m_member, ".incoming/", location), PathError::UnknownArea);
}

TEST_F(StoragePathsTest, QuotaTextPicksTheAreaAndFallsBackToOwnStorage) {
    QuotaScope scope;
    ASSERT_TRUE(m_paths.ResolveQuota(m_member, "", scope));
    EXPECT_EQ(scope.root, "/data/users/ana");
    ASSERT_TRUE(m_paths.ResolveQuota(m_member, "@game/html", scope));
    EXPECT_EQ(scope.root, "/data/clubs/game");
    EXPECT_FALSE(m_paths.ResolveQuota(m_member, "@other", scope));
    EXPECT_FALSE(m_paths.ResolveQuota(m_member, "html", scope));
    ASSERT_TRUE(m_paths.ResolveQuota(m_webmaster, "html", scope));
    EXPECT_EQ(scope.root, "/data/site");
}
