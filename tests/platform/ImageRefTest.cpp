// Structured image references in pictures, the image manifest, and the one screen-size setting.
#include <gtest/gtest.h>

#include <set>

#include "platform/base/ModuleResources.h"
#include "platform/gdi/ImageList.h"
#include "platform/gdi/ImageManifest.h"
#include "platform/gdi/ScreenSize.h"
#include "platform/window/AfxWnd.h"
#include "platform/window/Cursor.h"
#include "platform/window/Dialog.h"
#include "platform/window/SystemMetrics.h"

namespace ostrana::test {
namespace {

constexpr ImageResource kTestImages[] = {
    {ImageKind::Bitmap, 0, "STRIP", "test/strip.svg", 48, 16},
    {ImageKind::Icon, 225, nullptr, "test/icon225.svg", 32, 32},
    {ImageKind::Cursor, 0, "GRAB", "test/grab.svg", 32, 32},
    {ImageKind::Animation, 5, nullptr, "test/spin.svg", 272, 60},
};

const ModuleResources& TestModule() {
    static const ModuleResources module(ResourceTables{{}, {}, {}, kTestImages});
    return module;
}

std::string Key(std::string_view description) { return ImageKey(ParseImageDescription(description)); }

TEST(ImageRef, DescriptionsBecomeResourceOrPlatformReferences) {
    EXPECT_EQ("resource/bitmap/UP_U", Key("bitmap UP_U"));
    EXPECT_EQ("resource/bitmap/204", Key("bitmap #204"));
    EXPECT_EQ("resource/icon/225", Key("icon 225"));
    EXPECT_EQ("resource/icon/filetype_text", Key("icon filetype_text"));
    EXPECT_EQ("resource/cursor/1011", Key("cursor 1011"));
    EXPECT_EQ("resource/animation/5", Key("animation 5"));
    EXPECT_EQ("platform/icon/exclamation", Key("system exclamation"));
    EXPECT_EQ("platform/bitmap/check", Key("bitmap system 32760"));
    EXPECT_EQ("platform/bitmap/blank", Key("blank"));
    EXPECT_EQ("platform/cursor/sizewe", Key("sizewe"));
    EXPECT_EQ("", Key("something else"));
    ImageRef strip = ParseImageDescription("bitmap STRIP[2]");
    EXPECT_EQ("STRIP", strip.name);
    EXPECT_EQ(2, strip.slot);
    ImageRef drag = ParseImageDescription("drag [icon 225] 보고서.txt");
    EXPECT_EQ(ImageOrigin::DragImage, drag.origin);
    EXPECT_EQ("보고서.txt", drag.dragText);
    ASSERT_NE(nullptr, drag.dragImage);
    EXPECT_EQ(225u, drag.dragImage->id);
    EXPECT_EQ("", ParseImageDescription("drag plain").dragImage ? "image" : "");
}

TEST(ImageRef, ImageListDrawingCarriesListIndexOverlayAndState) {
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 4);
    HBITMAP strip = LoadBitmapA(TestModule().Handle(), "STRIP");
    ASSERT_EQ(0, ImageList_Add(list, strip, nullptr));
    ImageList_AddIcon(list, LoadIconA(TestModule().Handle(), MAKEINTRESOURCEA(225)));
    ImageList_SetOverlayImage(list, 3, 1);
    HDC dc = CreateRecordingDC(nullptr);
    ImageList_Draw(list, 1, dc, 0, 0, ILD_SELECTED | INDEXTOOVERLAYMASK(1));
    auto drawn = RecordedList(dc);
    ASSERT_EQ(2u, drawn->size());
    const ImageRef& entry = (*drawn)[0].ref;
    EXPECT_EQ("resource/bitmap/STRIP", ImageKey(entry));
    EXPECT_EQ(1, entry.slot);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(list), entry.imageList);
    EXPECT_EQ(1, entry.index);
    EXPECT_EQ(1, entry.overlay);
    EXPECT_EQ(static_cast<UINT>(ILD_SELECTED), entry.state);
    const ImageRef& overlay = (*drawn)[1].ref;
    EXPECT_EQ("resource/icon/225", ImageKey(overlay));
    EXPECT_EQ(3, overlay.index);
    DeleteDC(dc);
    ImageList_Destroy(list);
    DeleteObject(strip);
}

TEST(ImageManifest, ListsThePlatformImagesAndEachModuleImageOnceWithItsArtwork) {
    HINSTANCE modules[] = {TestModule().Handle(), TestModule().Handle()};
    std::vector<ImageManifestEntry> manifest = ImageManifest(modules);
    std::set<std::string> keys;
    for (const ImageManifestEntry& entry : manifest) EXPECT_TRUE(keys.insert(entry.key).second) << entry.key;
    EXPECT_EQ(PlatformImages().size() + std::size(kTestImages), manifest.size());
    auto find = [&](const std::string& key) -> const ImageManifestEntry* {
        for (const ImageManifestEntry& entry : manifest) {
            if (entry.key == key) return &entry;
        }
        return nullptr;
    };
    ASSERT_NE(nullptr, find("resource/icon/225"));
    EXPECT_EQ("test/icon225.svg", find("resource/icon/225")->file);
    EXPECT_EQ(272, find("resource/animation/5")->width);
    // What the platform draws by itself is there too, so a renderer is never asked for an unknown.
    HDC dc = CreateRecordingDC(nullptr);
    DrawIcon(dc, 0, 0, LoadIconA(nullptr, IDI_QUESTION));
    HBITMAP check = LoadBitmapA(nullptr, MAKEINTRESOURCEA(OBM_CHECK));
    DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(check), 0, 0, 0, 0, 0, DST_BITMAP);
    DrawIcon(dc, 0, 0, reinterpret_cast<HICON>(LoadCursorA(nullptr, IDC_SIZEWE)));
    for (const DisplayOp& op : *RecordedList(dc)) EXPECT_NE(nullptr, find(ImageKey(op.ref))) << op.image;
    DeleteDC(dc);
    DeleteObject(check);
}

class ScreenSizeSetting : public ::testing::Test {
protected:
    void TearDown() override { SetScreenSize(SIZE{1920, 1080}); }
};

TEST_F(ScreenSizeSetting, OneSettingServesMetricsWorkAreaDeviceCapsAndCentring) {
    EXPECT_EQ(1920, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(1080, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_FALSE(SetScreenSize(SIZE{0, 700}));
    ASSERT_TRUE(SetScreenSize(SIZE{1000, 700}));
    EXPECT_EQ(1000, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(700, GetSystemMetrics(SM_CYFULLSCREEN));
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(RectText(RECT{0, 0, 1000, 700}), RectText(work));
    HDC dc = CreateRecordingDC(nullptr);
    EXPECT_EQ(1000, GetDeviceCaps(dc, HORZRES));
    EXPECT_EQ(700, GetDeviceCaps(dc, VERTRES));
    DeleteDC(dc);
    CWnd popup;
    ASSERT_TRUE(popup.CreateEx(0, "Static", "", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr));
    popup.CenterWindow();
    RECT placed{};
    ::GetWindowRect(popup.m_hWnd, &placed);
    EXPECT_EQ(400, placed.left);
    EXPECT_EQ(300, placed.top);
    popup.DestroyWindow();
}

} // namespace
} // namespace ostrana::test
