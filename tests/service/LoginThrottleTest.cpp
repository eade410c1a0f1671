// The login throttle on a clock the test moves.
#include "service/LoginThrottle.h"

#include <gtest/gtest.h>

using namespace ostrana::service;
using namespace std::chrono_literals;

namespace {

struct ThrottleOnTestClock : ::testing::Test {
    LoginThrottle throttle{3, 60s, 4};
    LoginThrottle::Clock::time_point now{LoginThrottle::Clock::duration(1000h)};
    void SetUp() override {
        throttle.SetClockForTest([this] { return now; });
    }
    void Fail(std::string_view id, int times) {
        for (int i = 0; i < times; ++i) throttle.Failed(id);
    }
};

TEST_F(ThrottleOnTestClock, ARunOfFailuresLocksOnlyThatIdUntilTheLockoutEnds) {
    Fail("demo", 2);
    EXPECT_TRUE(throttle.Allowed("demo"));
    throttle.Failed("demo");
    EXPECT_FALSE(throttle.Allowed("demo"));
    EXPECT_TRUE(throttle.Allowed("Demo")); // ids are matched as the accounts file matches them
    EXPECT_TRUE(throttle.Allowed("webmaster"));
    now += 59s;
    EXPECT_FALSE(throttle.Allowed("demo"));
    now += 1s;
    EXPECT_TRUE(throttle.Allowed("demo"));
    // A lockout that ran out starts a fresh count instead of locking again at the next failure.
    Fail("demo", 2);
    EXPECT_TRUE(throttle.Allowed("demo"));
}

TEST_F(ThrottleOnTestClock, ARightPasswordClearsTheCount) {
    Fail("demo", 2);
    throttle.Succeeded("demo");
    Fail("demo", 2);
    EXPECT_TRUE(throttle.Allowed("demo"));
}

TEST_F(ThrottleOnTestClock, InventedIdsCannotGrowTheTableButLiveLockoutsSurviveWhenThereIsRoom) {
    Fail("demo", 3);
    for (int i = 0; i < 3; ++i) throttle.Failed("guess" + std::to_string(i));
    throttle.Failed("guess-more"); // the table is full: counts that lock nothing go
    EXPECT_FALSE(throttle.Allowed("demo"));
    for (int i = 0; i < 100; ++i) Fail("flood" + std::to_string(i), 3);
    EXPECT_TRUE(throttle.Allowed("flood0")); // a table of live lockouts only is emptied, never grown
}

TEST(LoginThrottle, ZeroLockoutTurnsItOff) {
    LoginThrottle throttle(1, 0s);
    throttle.Failed("demo");
    EXPECT_TRUE(throttle.Allowed("demo"));
}

} // namespace
