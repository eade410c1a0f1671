// Golden dumps of a painted report-view list (header with a sort mark, state, overlay and cut
// images, selection and focus, grid lines) and of a painted tree (lines, buttons, images, a
// custom-drawn colour, the selection and a drop highlight); the drag image on the overlay.
#include <gtest/gtest.h>

#include "platform/base/CodePage.h"
#include "platform/controls/CommCtrl.h"
#include "platform/gdi/ScreenOverlay.h"
#include "platform/window/DisplayObserver.h"
#include "platform/window/Focus.h"
#include "tests/platform/ControlTestSupport.h"
#include "tests/support/Golden.h"
#include "tests/support/WindowHarness.h"

namespace ostrana::test {
namespace {

HIMAGELIST Icons(int size, std::initializer_list<const char*> names) {
    HIMAGELIST list = ImageList_Create(size, size, ILC_MASK | ILC_COLOR32, 4, 4);
    for (const char* name : names) {
        HICON icon = CreateNamedIcon(name, size, size);
        ImageList_AddIcon(list, icon);
        DestroyIcon(icon);
    }
    return list;
}

TEST(ControlPaint, ReportViewMatchesItsGoldenDump) {
    UiThread ui;
    std::string dump;
    ui.Run([&] {
        InitCommonControls();
        NotifyParent parent(RECT{0, 0, 400, 300});
        HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, 0, 0, 320, 120,
                                    parent.Window(), nullptr, nullptr, nullptr);
        HIMAGELIST small = Icons(16, {"icon folder", "icon file", "overlay share", "overlay link"});
        ImageList_SetOverlayImage(small, 2, 1);
        ImageList_SetOverlayImage(small, 3, 2);
        HIMAGELIST states = Icons(16, {"icon unchecked", "icon checked"});
        SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(small));
        SendMessageA(list, LVM_SETIMAGELIST, LVSIL_STATE, reinterpret_cast<LPARAM>(states));
        SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
        std::string titles[] = {Utf8ToAnsi("이름"), Utf8ToAnsi("크기")};
        for (int column = 0; column < 2; ++column) {
            LVCOLUMNA info{};
            info.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
            info.fmt = column == 1 ? LVCFMT_RIGHT : LVCFMT_LEFT;
            info.pszText = titles[column].data();
            info.cx = column == 0 ? 150 : 90;
            SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
        }
        HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
        HDITEMA sortMark{};
        sortMark.mask = HDI_FORMAT;
        sortMark.fmt = HDF_STRING | HDF_RIGHT | HDF_SORTUP;
        SendMessageA(header, HDM_SETITEMA, 1, reinterpret_cast<LPARAM>(&sortMark));
        std::string folder = Utf8ToAnsi("문서");
        struct Row {
            const char* name;
            const char* size;
            int image;
            UINT state;
        } rows[] = {{folder.c_str(), "", 0, INDEXTOOVERLAYMASK(1)},
                    {"a.txt", "12KB", 1, INDEXTOSTATEIMAGEMASK(2) | LVIS_SELECTED | LVIS_FOCUSED},
                    {"link.lnk", "1KB", 1, INDEXTOOVERLAYMASK(2) | LVIS_CUT}};
        for (int i = 0; i < 3; ++i) {
            LVITEMA item{};
            item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_STATE;
            item.iItem = i;
            item.pszText = const_cast<LPSTR>(rows[i].name);
            item.iImage = rows[i].image;
            item.state = rows[i].state;
            item.stateMask = ~0u;
            SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
            item.mask = LVIF_TEXT;
            item.iSubItem = 1;
            item.pszText = const_cast<LPSTR>(rows[i].size);
            SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        }
        SetFocus(list);
        PumpUntilIdle();
        dump = DumpWindowTree(list);
        DestroyWindow(list);
        // Without LVS_SHAREIMAGELISTS the list took its image lists with it.
        EXPECT_FALSE(ImageList_Destroy(small));
        EXPECT_FALSE(ImageList_Destroy(states));
    });
    EXPECT_TRUE(MatchesGolden(OSTRANA_GOLDEN_DIR, "listview_report", dump));
}

LRESULT CustomColours(NMHDR* header) {
    if (header->code != NM_CUSTOMDRAW) return 0;
    auto* draw = reinterpret_cast<NMTVCUSTOMDRAW*>(header);
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT && draw->nmcd.lItemlParam == 2) {
        draw->clrText = RGB(0, 0, 255);
        return CDRF_NEWFONT;
    }
    return CDRF_DODEFAULT;
}

TEST(ControlPaint, TreeMatchesItsGoldenDump) {
    UiThread ui;
    std::string dump;
    ui.Run([&] {
        InitCommonControls();
        NotifyParent parent(RECT{0, 0, 300, 300});
        parent.answer = CustomColours;
        HWND tree = CreateWindowExA(0, WC_TREEVIEWA, "",
                                    WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS, 0, 0,
                                    200, 120, parent.Window(), nullptr, nullptr, nullptr);
        HIMAGELIST images = Icons(16, {"icon server", "icon folder", "icon open folder"});
        SendMessageA(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
        auto insert = [&](HTREEITEM under, const char* text, int image, LPARAM data) {
            TVINSERTSTRUCTA item{};
            item.hParent = under;
            item.hInsertAfter = TVI_LAST;
            item.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
            item.item.pszText = const_cast<LPSTR>(text);
            item.item.iImage = image;
            item.item.iSelectedImage = image == 1 ? 2 : image;
            item.item.lParam = data;
            return TreeView_InsertItem(tree, &item);
        };
        HTREEITEM home = insert(TVI_ROOT, Utf8ToAnsi("서버 홈 (127.0.0.1)").c_str(), 0, 1);
        HTREEITEM myfolder = insert(home, Utf8ToAnsi("내 파일보관함 (myfolder)").c_str(), 1, 2);
        HTREEITEM photos = insert(myfolder, "photos", 1, 3);
        insert(photos, "2024", 1, 4);
        insert(myfolder, "docs", 1, 5);
        insert(home, "registered/", 1, 6);
        SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(home));
        SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(myfolder));
        SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(photos));
        PumpUntilIdle();
        dump = DumpWindowTree(tree);
        DestroyWindow(tree);
        ImageList_Destroy(images);
    });
    EXPECT_TRUE(MatchesGolden(OSTRANA_GOLDEN_DIR, "treeview", dump));
}

TEST(ControlPaint, TheDragImageFollowsTheCursorAndLeavesNothingBehind) {
    HIMAGELIST images = Icons(16, {"icon file"});
    ClearScreenOverlay();
    ASSERT_TRUE(ImageList_BeginDrag(images, 0, 4, 4));
    ImageList_DragEnter(nullptr, 100, 100);
    ImageList_DragMove(110, 120);
    DisplayList shown = ScreenOverlay();
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ(RectText(RECT{106, 116, 122, 132}), RectText(shown[0].rect));
    ImageList_DragShowNolock(FALSE);
    EXPECT_TRUE(ScreenOverlay().empty());
    ImageList_DragShowNolock(TRUE);
    ImageList_DragLeave(nullptr);
    ImageList_EndDrag();
    EXPECT_TRUE(ScreenOverlay().empty());
    EXPECT_FALSE(ImageList_Destroy(SystemImageList(true)));
    EXPECT_TRUE(ImageList_Destroy(images));
}

} // namespace
} // namespace ostrana::test
