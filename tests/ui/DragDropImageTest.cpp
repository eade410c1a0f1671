// The drag-image block read back into an outline, and the outline drawn in R2_NOT: drawn twice
// at one place it leaves the screen and the target's picture as they were.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/gdi/ScreenOverlay.h"
#include "platform/window/Paint.h"
#include "tests/support/WindowHarness.h"
#include "tests/ui/ListTestSupport.h"
#include "ui/DragDropImage.h"

namespace ostrana::test {
namespace {

std::vector<BYTE> Block(int viewType, const std::vector<std::array<int, 10>>& rows, std::size_t extra = 0) {
    std::vector<BYTE> block(24 + 40 * rows.size() + extra, 0);
    int count = static_cast<int>(rows.size());
    std::memcpy(block.data(), &viewType, 4);
    std::memcpy(block.data() + 4, &count, 4);
    for (std::size_t i = 0; i < rows.size(); ++i) std::memcpy(block.data() + 8 + 40 * i, rows[i].data(), 40);
    return block;
}

TEST(DragImage, ReadsOneRectanglePairPerRowAndRefusesOtherViewTypes) {
    auto block = Block(1, {{0, 20, 16, 36, 18, 20, 90, 36, 40, 28}, {0, 38, 16, 54, 18, 38, 70, 54, 40, 28}});
    auto image = CDragDropImage::FromBlock(block.data(), block.size());
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(1, image->GetViewType());
    ASSERT_EQ(2, image->GetRowCount());
    EXPECT_EQ(70, image->GetRows()[1].label.right);
    EXPECT_EQ(16, image->GetRows()[1].icon.right);
    EXPECT_EQ(40, image->GetStartPoint().x);
    EXPECT_EQ(28, image->GetStartPoint().y);

    auto wrongView = Block(4, {{0, 0, 1, 1, 0, 0, 1, 1, 0, 0}});
    EXPECT_EQ(nullptr, CDragDropImage::FromBlock(wrongView.data(), wrongView.size()));
    auto shortBlock = Block(1, {{0, 0, 1, 1, 0, 0, 1, 1, 0, 0}});
    EXPECT_EQ(nullptr, CDragDropImage::FromBlock(shortBlock.data(), 30)); // claims a row it does not hold
}

TEST(DragImage, OutlineDrawnTwiceLeavesTheScreenAndTheTargetAsTheyWere) {
    UiThread ui;
    ui.Run([] {
        ClearScreenOverlay();
        RecordingParent target(kParentRect);
        PumpUntilIdle();
        DisplayList before = WindowPicture(target.m_hWnd);
        for (int viewType : {1, 2}) {
            CDragDropImage image(viewType, {{RECT{0, 20, 16, 36}, RECT{18, 20, 90, 36}}}, POINT{40, 28});
            HDC screen = GetDC(nullptr);
            SetViewportOrgEx(screen, kParentRect.left, kParentRect.top, nullptr);
            image.Draw(screen, POINT{60, 50});
            // A rectangle, and in the report and list views the line through the label.
            EXPECT_EQ(viewType == 1 ? 2u : 1u, ScreenOverlay().size());
            image.Draw(screen, POINT{60, 50});
            ReleaseDC(nullptr, screen);
            EXPECT_TRUE(ScreenOverlay().empty());
        }
        EXPECT_EQ(before.size(), WindowPicture(target.m_hWnd).size());
    });
}

} // namespace
} // namespace ostrana::test
