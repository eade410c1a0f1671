// The session cookie value taken from a page's cookie string.
#include <gtest/gtest.h>

#include "control/SessionCookie.h"

namespace {

std::string Extracted(const std::string& text, std::string previous = "previous") {
    ExtractSessionCookie(text, previous);
    return previous;
}

TEST(SessionCookie, TakesTheValueOfTheLastCookieItemUpToItsSemicolon) {
    EXPECT_EQ("abc123", Extracted("lang=ko; WAXLO_AUTH=abc123; theme=dark"));
    EXPECT_EQ("second", Extracted("WAXLO_AUTH=first; x=1; WAXLO_AUTH=second; y=2"));
    EXPECT_EQ("whole=rest", Extracted("a=b; WAXLO_AUTH=whole=rest"));
    EXPECT_EQ("", Extracted("WAXLO_AUTH=;"));
}

TEST(SessionCookie, ATextWithoutTheItemLeavesThePreviousValue) {
    EXPECT_EQ("previous", Extracted(""));
    EXPECT_EQ("previous", Extracted("OTHER=1; waxlo_auth=lower"));
    std::string cookie = "kept";
    EXPECT_FALSE(ExtractSessionCookie("SESSION=1", cookie));
    EXPECT_EQ("kept", cookie);
}

} // namespace
