// GDI objects and device-context state: stale and stock handles, object information, selection and
// saved states, edges and disabled images as the display list records them.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/base/CodePage.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/window/AfxGdi.h"
#include "platform/window/AfxWnd.h"
#include "tests/platform/TestWindows.h"

namespace ostrana::test {
namespace {

std::string Dump(HDC dc) {
    std::string out;
    DumpDisplayList(*RecordedList(dc), 0, out);
    return out;
}

TEST(GdiObjects, DeletedHandlesAreRefusedAndStockObjectsStay) {
    HPEN pen = CreatePen(PS_SOLID, 2, RGB(1, 2, 3));
    LOGPEN info{};
    EXPECT_EQ(static_cast<int>(sizeof info), GetObjectA(pen, sizeof info, &info));
    EXPECT_EQ(2, info.lopnWidth.x);
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_FALSE(DeleteObject(pen));
    EXPECT_EQ(0, GetObjectA(pen, sizeof info, &info));
    HGDIOBJ white = GetStockObject(WHITE_BRUSH);
    EXPECT_TRUE(DeleteObject(white));
    LOGBRUSH brush{};
    EXPECT_NE(0, GetObjectA(white, sizeof brush, &brush)); // stock objects outlive DeleteObject
    EXPECT_EQ(RGB(255, 255, 255), brush.lbColor);
    LOGFONTA font{};
    ASSERT_NE(0, GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font));
    EXPECT_EQ(Utf8ToAnsi("굴림"), std::string(font.lfFaceName));
    EXPECT_EQ(-12, font.lfHeight);
    CFont points;
    points.CreatePointFont(90, "Dotum");
    points.GetLogFont(&font);
    EXPECT_EQ(-12, font.lfHeight);
}

TEST(DeviceContextState, SelectionAndSavedStatesShapeWhatIsRecorded) {
    HDC dc = CreateRecordingDC(nullptr);
    HPEN red = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    HGDIOBJ previous = SelectObject(dc, red);
    EXPECT_EQ(GetStockObject(BLACK_PEN), previous);
    int saved = SaveDC(dc);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    SetROP2(dc, R2_NOT);
    Rectangle(dc, 0, 0, 10, 10);
    RestoreDC(dc, saved);
    Rectangle(dc, 0, 0, 10, 10);
    SetViewportOrgEx(dc, 5, 5, nullptr);
    RECT edge{0, 0, 20, 20};
    DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    EXPECT_EQ(2, edge.left);
    EXPECT_EQ(18, edge.bottom);
    HICON icon = LoadIconA(nullptr, IDI_HAND);
    DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, 1, 1, 0, 0, DST_ICON | DSS_DISABLED);
    EXPECT_EQ("rectangle (0,0)-(10,10) pen=#FF0000/1 brush=null rop=NOT\n"
              "rectangle (0,0)-(10,10) pen=#FF0000/1 brush=#FFFFFF\n"
              "edge (5,5)-(25,25) type=0xA flags=0xF\n"
              "image (6,6)-(38,38) system hand state=32\n",
              Dump(dc));
    SIZE size{};
    GetTextExtentPoint32A(dc, "abc", 3, &size);
    EXPECT_EQ(18, size.cx);
    EXPECT_EQ(12, size.cy);
    DeleteDC(dc);
    EXPECT_FALSE(DeleteDC(dc));
    EXPECT_EQ(0, SetBkMode(dc, OPAQUE)); // a deleted DC is refused
    DeleteObject(red);
}

TEST(FrameworkDrawing, ClientDcAddsToThePictureAndPaintDcReplacesIt) {
    HWND window = MakeTestWindow("DrawnOn", DefWindowProcA, WS_POPUP | WS_VISIBLE, RECT{0, 0, 50, 50});
    UpdateWindow(window);
    CWnd* object = CWnd::FromHandle(window);
    {
        CClientDC dc(object);
        RECT rect{0, 0, 5, 5};
        dc.FillSolidRect(&rect, RGB(0, 0, 255));
    }
    DisplayList picture = WindowPicture(window);
    ASSERT_FALSE(picture.empty());
    EXPECT_EQ("fill (0,0)-(5,5) #0000FF", DescribeOp(picture.back()));
    InvalidateRect(window, nullptr, FALSE);
    {
        CPaintDC dc(object);
        dc.TextOut(1, 1, "x");
    }
    picture = WindowPicture(window);
    ASSERT_EQ(1u, picture.size());
    EXPECT_EQ(OpKind::Text, picture[0].kind);
    DestroyWindow(window);
}

} // namespace
} // namespace ostrana::test
