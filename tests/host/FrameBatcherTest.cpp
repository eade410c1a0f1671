// Frames, acknowledgements and merging of changes for a page that lags.
#include <gtest/gtest.h>

#include "host/FrameBatcher.h"

using namespace ostrana::host;

TEST(FrameBatcher, FrameEndsWithItsMarkAndWaitsForIt)
{
    FrameBatcher batcher;
    EXPECT_FALSE(batcher.TakeFrame());
    batcher.Add("picture:1", "a");
    batcher.Add("picture:2", "b");
    auto frame = batcher.TakeFrame();
    ASSERT_TRUE(frame);
    ASSERT_EQ(frame->size(), 3u);
    EXPECT_EQ((*frame)[0], "a");
    EXPECT_EQ((*frame)[2], "{\"k\":6,\"frame\":1}");
    batcher.Add("picture:1", "c");
    EXPECT_FALSE(batcher.TakeFrame());
    EXPECT_FALSE(batcher.Acknowledge(2));
    EXPECT_TRUE(batcher.Waiting());
    EXPECT_TRUE(batcher.Acknowledge(1));
    EXPECT_FALSE(batcher.Acknowledge(1));
    EXPECT_EQ(batcher.TakeFrame()->back(), "{\"k\":6,\"frame\":2}");
}

TEST(FrameBatcher, UnacknowledgedChangesMergeInFirstOrder)
{
    FrameBatcher batcher;
    batcher.Add("x", "0");
    batcher.TakeFrame();
    for (int i = 0; i < 1000; ++i) {
        batcher.Add("picture:1", "p" + std::to_string(i));
        batcher.Add("tree", "t" + std::to_string(i));
    }
    EXPECT_EQ(batcher.Pending(), 2u);
    batcher.Acknowledge(1);
    auto frame = batcher.TakeFrame();
    ASSERT_EQ(frame->size(), 3u);
    EXPECT_EQ((*frame)[0], "p999");
    EXPECT_EQ((*frame)[1], "t999");
}

TEST(FrameBatcher, ResetForANewPageDropsTheWait)
{
    FrameBatcher batcher;
    batcher.Add("x", "0");
    batcher.TakeFrame();
    batcher.Add("y", "1");
    batcher.Reset();
    EXPECT_FALSE(batcher.Waiting());
    EXPECT_EQ(batcher.Pending(), 0u);
    batcher.Add("z", "2");
    // Frame numbers keep rising, so an acknowledgement from the older page cannot match.
    EXPECT_EQ(batcher.TakeFrame()->back(), "{\"k\":6,\"frame\":2}");
    EXPECT_FALSE(batcher.Acknowledge(1));
}
