// Display lists as the page's operation arrays: every kind, fonts by index, images named once.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "host/PictureWriter.h"
#include "platform/base/CodePage.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"

using namespace ostrana;
using namespace ostrana::host;

namespace {

DisplayOp Op(OpKind kind, RECT rect)
{
    DisplayOp op;
    op.kind = kind;
    op.rect = rect;
    return op;
}

TEST(PictureWriter, ShapesCarryRectanglePenBrushAndRasterMode)
{
    DisplayOp fill = Op(OpKind::FillRect, {1, 2, 3, 4});
    fill.brush.color = RGB(0x11, 0x22, 0x33);
    DisplayOp frame = Op(OpKind::FrameRect, {0, 0, 5, 5});
    frame.brush.color = RGB(0xFF, 0, 0);
    DisplayOp invert = Op(OpKind::InvertRect, {2, 2, 4, 4});
    DisplayOp box = Op(OpKind::Rectangle, {0, 0, 10, 10});
    box.pen = PenInfo{0, 2, RGB(0, 0, 0xFF)};
    box.brush.null = true;
    DisplayOp round = Op(OpKind::RoundRect, {0, 0, 20, 10});
    round.corner = SIZE{4, 6};
    DisplayOp ellipse = Op(OpKind::Ellipse, {5, 5, 9, 9});
    ellipse.rop2 = 6;
    DisplayOp line = Op(OpKind::Line, {});
    line.from = POINT{1, 1};
    line.to = POINT{8, 1};
    line.rop2 = 10;
    DisplayOp edge = Op(OpKind::Edge, {0, 0, 30, 20});
    edge.format = 0x000A;
    edge.flags = 0x000F;

    PictureWriter writer;
    EXPECT_EQ(writer.Ops({fill, frame, invert, box, round, ellipse, line, edge}),
              "[[0,1,2,3,4,1122867],[1,0,0,5,5,16711680],[2,2,2,4,4],"
              "[3,0,0,10,10,[0,2,255],-1,13],[4,0,0,20,10,4,6,[0,1,0],16777215,13],"
              "[5,5,5,9,9,[0,1,0],16777215,6],[6,1,1,8,1,[0,1,0],10],[8,0,0,30,20,10,15]]");
    EXPECT_EQ(writer.Fonts(), "[]");
}

TEST(PictureWriter, AFocusRectangleStaysADottedInvertingFrameAndAFramedRectangleStaysSolid)
{
    HDC dc = CreateRecordingDC(nullptr);
    RECT focus{2, 3, 40, 18};
    RECT frame{0, 0, 8, 8};
    DrawFocusRect(dc, &focus);
    FrameRect(dc, &frame, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    PictureWriter writer;
    EXPECT_EQ(writer.Ops(*RecordedList(dc)), "[[11,2,3,40,18],[1,0,0,8,8,0]]");
    DeleteDC(dc);
}

TEST(PictureWriter, TextIsUtf8WithItsFontByIndexAndTransparentBackground)
{
    DisplayOp first = Op(OpKind::Text, {4, 4, 28, 16});
    first.text = Utf8ToAnsi("확인");
    first.font.face = Utf8ToAnsi("굴림");
    first.textColor = RGB(0, 0, 0x80);
    first.bkMode = 1;
    first.format = 0x25;
    DisplayOp bold = first;
    bold.text = "OK \"quoted\"";
    bold.font.weight = 700;
    bold.bkMode = 2;
    bold.bkColor = RGB(0xC0, 0xC0, 0xC0);
    bold.flags = 0x20;
    DisplayOp again = first;
    again.rect = RECT{4, 20, 10, 32};

    PictureWriter writer;
    EXPECT_EQ(writer.Ops({first, bold, again}),
              "[[7,4,4,28,16,\"확인\",0,128,-1,37,0],[7,4,4,28,16,\"OK \\\"quoted\\\"\",1,128,12632256,37,32],"
              "[7,4,20,10,32,\"확인\",0,128,-1,37,0]]");
    // The page places characters by the same fixed metric the layout used.
    EXPECT_EQ(writer.Fonts(), "[[\"굴림\",-12,400,false,false,6,12,12],[\"굴림\",-12,700,false,false,6,12,12]]");
}

TEST(PictureWriter, ImagesByKeyWithSlotStateAndDragTextAndBlitsNested)
{
    DisplayOp strip = Op(OpKind::Image, {0, 0, 16, 16});
    strip.ref = ParseImageDescription("bitmap strip[2]");
    DisplayOp listed = Op(OpKind::Image, {20, 0, 36, 16});
    listed.ref = ParseImageDescription("icon 225");
    listed.ref.imageList = 7;
    listed.ref.index = 3;
    listed.ref.state = 4; // ILD_SELECTED
    DisplayOp drag = Op(OpKind::Image, {0, 20, 80, 36});
    drag.ref = ParseImageDescription(Utf8ToAnsi("drag [icon 225] 보고서.txt"));
    DisplayOp unknown = Op(OpKind::Image, {0, 0, 1, 1});
    unknown.ref = ParseImageDescription("no such thing");
    DisplayOp inner = Op(OpKind::FillRect, {0, 0, 2, 2});
    DisplayOp blit = Op(OpKind::Blit, {10, 10, 20, 20});
    blit.from = POINT{3, 4};
    blit.content = std::make_shared<const DisplayList>(DisplayList{inner, listed});

    PictureWriter writer;
    std::string ops = writer.Ops({strip, listed, drag, unknown, blit});
    EXPECT_EQ(ops, "[[9,0,0,16,16,\"resource/bitmap/strip\",2,0,\"\"],[9,20,0,36,16,\"resource/icon/225\",-1,4,\"\"],"
                   "[9,0,20,80,36,\"resource/icon/225\",-1,0,\"보고서.txt\"],[9,0,0,1,1,\"\",-1,0,\"\"],"
                   "[10,10,10,20,20,3,4,[[0,0,0,2,2,16777215],[9,20,0,36,16,\"resource/icon/225\",-1,4,\"\"]]]]");
    EXPECT_TRUE(nlohmann::json::accept(ops));
    // Each image once, also when a blit or a drag image names it again.
    ASSERT_EQ(writer.Images().size(), 2u);
    EXPECT_EQ(ImageKey(writer.Images()[0]), "resource/bitmap/strip");
    EXPECT_EQ(ImageKey(writer.Images()[1]), "resource/icon/225");
}

TEST(PictureWriter, EmptyBlitAndColoursAsRrggbb)
{
    DisplayOp blit = Op(OpKind::Blit, {0, 0, 1, 1});
    PictureWriter writer;
    EXPECT_EQ(writer.Ops({blit}), "[[10,0,0,1,1,0,0,[]]]");
    EXPECT_EQ(PageColor(RGB(0x12, 0x34, 0x56)), 0x123456);
}

} // namespace
