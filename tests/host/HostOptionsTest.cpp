// The container's command line.
#include <gtest/gtest.h>

#include "host/HostOptions.h"

using namespace ostrana::host;

TEST(HostOptions, ReadsPortAndFlags)
{
    std::string error;
    auto options = ParseHostOptions({"--port", "8080", "--no-open"}, error);
    ASSERT_TRUE(options);
    EXPECT_EQ(options->port, 8080);
    EXPECT_FALSE(options->openBrowser);
    EXPECT_EQ(ParseHostOptions({"--port=0"}, error)->port, 0);
    EXPECT_TRUE(ParseHostOptions({"--help"}, error)->help);
}

TEST(HostOptions, RefusesBadInput)
{
    std::string error;
    for (auto arguments : std::vector<std::vector<std::string>>{{"--port"}, {"--port", "70000"}, {"--port", "8x"}, {"--port", "-1"}, {"--bogus"}}) {
        EXPECT_FALSE(ParseHostOptions(arguments, error));
        EXPECT_FALSE(error.empty());
    }
}
