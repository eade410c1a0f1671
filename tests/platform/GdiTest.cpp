// The GDI stand-in: DrawText layout with the fixed metric, memory DCs copied in with BitBlt, the
// screen overlay that drawing twice restores, and the display observer.
#include <gtest/gtest.h>

#include "platform/base/CodePage.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/ImageList.h"
#include "platform/gdi/ScreenOverlay.h"
#include "platform/gdi/TextLayout.h"
#include "platform/window/DisplayObserver.h"
#include "platform/window/Paint.h"
#include "platform/window/SystemMetrics.h"
#include "tests/platform/TestWindows.h"

namespace ostrana::test {
namespace {

std::string Dump(const DisplayList& list) {
    std::string out;
    DumpDisplayList(list, 0, out);
    return out;
}

TEST(TextLayout, FormatsPlaceTextWithTheFixedMetric) {
    FontMetric metric = MetricOf(DefaultGuiFont());
    EXPECT_EQ(6 * 3 + 12 * 2, TextWidth(metric, Utf8ToAnsi("ab 한글")));
    TextLayout centred = LayoutText("&OK", RECT{0, 0, 100, 30}, DT_CENTER | DT_VCENTER | DT_SINGLELINE, metric);
    ASSERT_EQ(1u, centred.lines.size());
    EXPECT_EQ("OK", centred.lines[0].text);
    EXPECT_EQ(44, centred.lines[0].rect.left);
    EXPECT_EQ(9, centred.lines[0].rect.top);
    TextLayout raw = LayoutText("&OK", RECT{0, 0, 100, 30}, DT_NOPREFIX | DT_RIGHT, metric);
    EXPECT_EQ("&OK", raw.lines[0].text);
    EXPECT_EQ(100 - 18, raw.lines[0].rect.left);
    TextLayout wrapped = LayoutText(Utf8ToAnsi("한글 단어가 여러 줄로"), RECT{0, 0, 60, 100}, DT_WORDBREAK, metric);
    ASSERT_EQ(3u, wrapped.lines.size());
    EXPECT_EQ(Utf8ToAnsi("한글 단어"), wrapped.lines[0].text);
    EXPECT_EQ(36, wrapped.height);
}

TEST(DeviceContext, CalcRectMeasuresWithoutDrawingAndBitBltNestsTheMemoryPicture) {
    HDC memory = CreateCompatibleDC(nullptr);
    HBITMAP surface = CreateCompatibleBitmap(memory, 50, 20);
    SelectObject(memory, surface);
    RECT rect{0, 0, 200, 0};
    EXPECT_EQ(24, DrawTextA(memory, "one\ntwo", -1, &rect, DT_CALCRECT));
    EXPECT_EQ(18, rect.right);
    HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    RECT all{0, 0, 50, 20};
    FillRect(memory, &all, white);
    HDC screen = CreateRecordingDC(nullptr);
    BitBlt(screen, 5, 5, 50, 20, memory, 0, 0, SRCCOPY);
    EXPECT_EQ("blit (5,5)-(55,25) from (0,0)\n  fill (0,0)-(50,20) #FFFFFF\n", Dump(*RecordedList(screen)));
    DeleteDC(screen);
    DeleteDC(memory);
    DeleteObject(surface);
}

struct OverlayCounter : DisplayObserver {
    int changes = 0;
    std::vector<WindowChange> windowChanges;
    int pictures = 0;
    void OnOverlayChanged() override { ++changes; }
    void OnWindowChanged(HWND, WindowChange change) override { windowChanges.push_back(change); }
    void OnPicture(HWND) override { ++pictures; }
};

TEST(ScreenOverlay, DrawingATrackingLineTwiceRestoresTheScreen) {
    OverlayCounter observer;
    AddDisplayObserver(&observer);
    ClearScreenOverlay();
    HDC screen = GetDC(nullptr);
    HPEN pen = CreatePen(PS_SOLID, 2, RGB(200, 200, 200));
    SelectObject(screen, pen);
    SetROP2(screen, R2_NOTXORPEN);
    auto line = [&](int x) {
        MoveToEx(screen, x, 10, nullptr);
        LineTo(screen, x, 200);
    };
    line(99);
    line(101);
    EXPECT_EQ(2u, ScreenOverlay().size());
    line(99);
    line(101);
    EXPECT_TRUE(ScreenOverlay().empty());
    SetROP2(screen, R2_COPYPEN); // no place on the screen for lasting drawing
    line(50);
    EXPECT_TRUE(ScreenOverlay().empty());
    EXPECT_EQ(5, observer.changes); // four toggles and the clearing
    ReleaseDC(nullptr, screen);
    DeleteObject(pen);
    RemoveDisplayObserver(&observer);
}

TEST(DisplayObserver, HearsWindowChangesAndNewPictures) {
    OverlayCounter observer;
    AddDisplayObserver(&observer);
    HWND window = MakeTestWindow("Observed", DefWindowProcA, WS_POPUP, RECT{0, 0, 50, 50});
    ShowWindow(window, SW_SHOWNA);
    MoveWindow(window, 10, 10, 60, 60, TRUE);
    SetWindowTextA(window, "t");
    UpdateWindow(window);
    DestroyWindow(window);
    RemoveDisplayObserver(&observer);
    EXPECT_EQ((std::vector<WindowChange>{WindowChange::Created, WindowChange::Text, WindowChange::Shown, WindowChange::Moved,
                                         WindowChange::Text, WindowChange::Destroyed}),
              observer.windowChanges);
    EXPECT_EQ(1, observer.pictures);
}

TEST(ImageList, EntriesRememberTheirSourceAndDrawByIndex) {
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 4);
    HBITMAP strip = CreateBitmap(48, 16, 1, 32, nullptr);
    EXPECT_EQ(0, ImageList_Add(list, strip, nullptr));
    HICON icon = LoadIconA(nullptr, IDI_ASTERISK);
    EXPECT_EQ(3, ImageList_AddIcon(list, icon));
    EXPECT_EQ(4, ImageList_GetImageCount(list));
    EXPECT_EQ(1, ImageList_ReplaceIcon(list, 1, icon));
    EXPECT_EQ(-1, ImageList_ReplaceIcon(list, 9, icon));
    ImageList_SetImageCount(list, 6);
    EXPECT_EQ(6, ImageList_GetImageCount(list));
    HDC dc = CreateRecordingDC(nullptr);
    EXPECT_TRUE(ImageList_Draw(list, 1, dc, 2, 3, ILD_NORMAL));
    EXPECT_FALSE(ImageList_Draw(list, 6, dc, 2, 3, ILD_NORMAL));
    EXPECT_EQ("image (2,3)-(18,19) system asterisk\n", Dump(*RecordedList(dc)));
    DeleteDC(dc);
    ImageList_Destroy(list);
    EXPECT_EQ(0, ImageList_GetImageCount(list));
    DeleteObject(strip);
}

TEST(SystemMetrics, NonClientMetricsCarryTheMenuFontIn340Bytes) {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = 300;
    EXPECT_FALSE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 300, &metrics, 0));
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    EXPECT_EQ(340u, metrics.cbSize);
    EXPECT_EQ(Utf8ToAnsi("굴림"), std::string(metrics.lfMenuFont.lfFaceName));
    EXPECT_EQ(-12, metrics.lfMenuFont.lfHeight);
    EXPECT_EQ(18, GetSystemMetrics(SM_CYCAPTION));
}

} // namespace
} // namespace ostrana::test
