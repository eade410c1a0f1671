// Selection ranges: merging, splitting, shifting on insertion and removal, and walking.
#include <gtest/gtest.h>

#include "platform/controls/SelectionRanges.h"

namespace ostrana::detail {
namespace {

std::string Text(const SelectionRanges& ranges) {
    std::string text;
    for (const auto& range : ranges.Ranges()) text += "[" + std::to_string(range.first) + "," + std::to_string(range.last) + "]";
    return text;
}

TEST(SelectionRanges, AddMergesTouchingRangesAndRemoveSplitsThem) {
    SelectionRanges ranges;
    ranges.Add(5, 7);
    ranges.Add(1, 2);
    ranges.Add(3, 4); // touches both neighbours
    EXPECT_EQ("[1,7]", Text(ranges));
    ranges.Remove(3, 3);
    EXPECT_EQ("[1,2][4,7]", Text(ranges));
    ranges.Add(10, 20);
    ranges.Remove(0, 15);
    EXPECT_EQ("[16,20]", Text(ranges));
    EXPECT_EQ(5, ranges.Count());
    EXPECT_TRUE(ranges.Contains(16));
    EXPECT_FALSE(ranges.Contains(15));
}

TEST(SelectionRanges, InsertAndEraseShiftTheMembersBehind) {
    SelectionRanges ranges;
    ranges.Add(2, 4);
    ranges.Add(8, 8);
    ranges.Insert(3); // splits [2,4]; the new row is not selected
    EXPECT_EQ("[2,2][4,5][9,9]", Text(ranges));
    ranges.Erase(3); // closes the gap again
    EXPECT_EQ("[2,4][8,8]", Text(ranges));
    ranges.Erase(4);
    ranges.Erase(0);
    EXPECT_EQ("[1,2][6,6]", Text(ranges));
}

TEST(SelectionRanges, NextAndPreviousWalkOnlyMembers) {
    SelectionRanges ranges;
    ranges.Add(0, 99999);
    EXPECT_EQ(0, ranges.Next(-1));
    EXPECT_EQ(50000, ranges.Next(49999));
    EXPECT_EQ(-1, ranges.Next(99999));
    ranges.Remove(10, 99990);
    EXPECT_EQ(99991, ranges.Next(9));
    EXPECT_EQ(9, ranges.Previous(99991));
    EXPECT_EQ(-1, ranges.Previous(0));
    EXPECT_EQ(19, ranges.Count());
}

} // namespace
} // namespace ostrana::detail
