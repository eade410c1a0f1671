// Web addresses the program opens reach the page while the container runs; other documents, and
// addresses while no page is there, go to this machine's opener.
#include <gtest/gtest.h>

#include <cstdlib>

#include "host/WebOpener.h"
#include "platform/shell/ShellExecute.h"

using namespace ostrana::host;

namespace {

TEST(WebOpener, WebAddressesGoToThePageAndTheRestToTheOpener)
{
    setenv("OSTRANA_OPENER", "/nonexistent/opener", 1);
    std::vector<std::string> sent;
    bool pageThere = true;
    {
        WebOpener opener([&](const std::string& url) {
            sent.push_back(url);
            return pageThere;
        });
        EXPECT_GT(reinterpret_cast<intptr_t>(ShellExecuteA(nullptr, "open", "HTTPS://127.0.0.1:1/help", nullptr, nullptr, 1)), 32);
        EXPECT_LE(reinterpret_cast<intptr_t>(ShellExecuteA(nullptr, "open", "C:\\report.txt", nullptr, nullptr, 1)), 32);
        pageThere = false;
        EXPECT_LE(reinterpret_cast<intptr_t>(ShellExecuteA(nullptr, "open", "http://127.0.0.1:1/", nullptr, nullptr, 1)), 32);
    }
    EXPECT_EQ(sent, (std::vector<std::string>{"HTTPS://127.0.0.1:1/help", "http://127.0.0.1:1/"}));
    // Gone with the container: nothing reaches the page any more.
    ShellExecuteA(nullptr, "open", "http://127.0.0.1:1/later", nullptr, nullptr, 1);
    EXPECT_EQ(sent.size(), 2u);
    unsetenv("OSTRANA_OPENER");
}

TEST(WebOpener, WhatCountsAsAWebAddress)
{
    EXPECT_TRUE(IsWebAddress("http://x"));
    EXPECT_TRUE(IsWebAddress("Https://x/y?z"));
    EXPECT_FALSE(IsWebAddress("ftp://x"));
    EXPECT_FALSE(IsWebAddress("javascript:alert(1)"));
    EXPECT_FALSE(IsWebAddress("file:///etc/passwd"));
    EXPECT_FALSE(IsWebAddress("http:"));
    EXPECT_FALSE(IsWebAddress("http://x\r\n{\"k\":2}"));
}

} // namespace
