// The toolkit list's behaviour: typed sorting by header clicks, keys turned into the frame's
// messages, the delete request, the drag-and-drop messages with OLE on and off, the drag-image
// block, cell tips and texts of rows that answer through display-info requests.
#include <gtest/gtest.h>

#include "dragdrop/CCF_RightMenu.h"
#include "dragdrop/CCF_String.h"
#include "dragdrop/ClipboardFormats.h"
#include "platform/base/CodePage.h"
#include "platform/gdi/DisplayList.h"
#include "platform/window/Paint.h"
#include "ui/DragDropImage.h"
#include "platform/ole/GlobalMemory.h"
#include "platform/window/Input.h"
#include "platform/window/VirtualKeys.h"
#include "tests/support/WindowHarness.h"
#include "tests/ui/ListTestSupport.h"

namespace ostrana::test {
namespace {

std::vector<std::string> Column(CUIODListCtrl& list, int column) {
    std::vector<std::string> texts;
    for (int row = 0; row < list.GetItemCount(); ++row) texts.push_back(AnsiToUtf8(list.GetItemText(row, column)));
    return texts;
}

void AddRow(CUIODListCtrl& list, DWORD_PTR data, const std::vector<std::string>& cells) {
    int row = list.AddTextItem(data, Utf8ToAnsi(cells[0]).c_str());
    for (std::size_t column = 1; column < cells.size(); ++column) list.SetCellText(row, static_cast<int>(column), Utf8ToAnsi(cells[column]).c_str());
}

void Click(POINT point) {
    InjectMouseButton(MouseButton::Left, true, point);
    InjectMouseButton(MouseButton::Left, false, point);
}

struct ListWindow {
    RecordingParent parent{kParentRect};
    RecordingList list;
    explicit ListWindow(bool oleDragDrop = false, int rows = 0) : list(oleDragDrop) {
        ResetInputState();
        CreateList(list, parent);
        list.InitListCtrl(Utf8ToAnsi("이름|크기|수정한날짜").c_str());
        list.SetColumnType(1, UI_COLUMN_DIGITS);
        list.SetColumnType(2, UI_COLUMN_DATETIME);
        for (int i = 0; i < rows; ++i) AddRow(list, static_cast<DWORD_PTR>(i), {"row" + std::to_string(i), "1", "2026-01-01"});
    }
    ~ListWindow() { list.DestroyWindow(); }
};

TEST(ListControl, HeaderClicksSortByTypeAscendingThenDescending) {
    UiThread ui;
    auto* window = ui.Get<ListWindow*>([] {
        auto* made = new ListWindow;
        AddRow(made->list, 1, {"나무.txt", "1,024 KB", "2026-12-09 오후 3:00:00"});
        AddRow(made->list, 2, {"Apple.txt", "12 KB", "2026-12-09 오전 9:00:00"});
        AddRow(made->list, 3, {"가방.txt", "999 KB", "2025-01-01"});
        AddRow(made->list, 4, {"apricot.txt", "2,048 KB", "2026-12-10 오전 1:00:00"});
        return made;
    });
    ui.WaitIdle();
    Click(HeaderPoint(0));
    ui.WaitIdle();
    ui.Run([&] {
        EXPECT_EQ((std::vector<std::string>{"Apple.txt", "apricot.txt", "가방.txt", "나무.txt"}), Column(window->list, 0));
        EXPECT_TRUE(window->list.IsSortAscending());
    });
    POINT again = HeaderPoint(0);
    again.x += 20; // not a double click
    Click(again);
    ui.WaitIdle();
    ui.Run([&] {
        EXPECT_EQ((std::vector<std::string>{"나무.txt", "가방.txt", "apricot.txt", "Apple.txt"}), Column(window->list, 0));
        EXPECT_FALSE(window->list.IsSortAscending());
    });
    Click(HeaderPoint(1));
    ui.WaitIdle();
    ui.Run([&] {
        EXPECT_EQ((std::vector<std::string>{"12 KB", "999 KB", "1,024 KB", "2,048 KB"}), Column(window->list, 1));
        EXPECT_EQ(1, window->list.GetSortColumn());
        EXPECT_TRUE(window->list.IsSortAscending());
        HDITEMA item{};
        item.mask = HDI_FORMAT;
        window->list.GetHeaderCtrl()->GetItem(1, &item);
        EXPECT_TRUE(item.fmt & HDF_SORTUP);
        window->list.GetHeaderCtrl()->GetItem(0, &item);
        EXPECT_FALSE(item.fmt & (HDF_SORTUP | HDF_SORTDOWN));
        window->list.SortByColumn(2, true);
        EXPECT_EQ((std::vector<std::string>{"가방.txt", "Apple.txt", "나무.txt", "apricot.txt"}), Column(window->list, 0));
    });
    ui.Run([&] { delete window; });
}

TEST(ListControl, KeysPostTheFrameMessagesToTheListItself) {
    UiThread ui;
    auto* window = ui.Get<ListWindow*>([] {
        auto* made = new ListWindow(false, 3);
        made->list.SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        made->list.SetFocus();
        return made;
    });
    ui.WaitIdle();
    MessageRecorder recorder(window->list.m_hWnd, {UWM_LIST_CONTEXT_MENU, UWM_LIST_ACTIVATE, UWM_LIST_EDIT_LABEL,
                                                   UWM_LIST_REFRESH_VIEW, UWM_LIST_DELETE, UWM_LIST_PROPERTIES});
    InjectKeyPress(VK_BACK);
    InjectKeyPress(VK_F5);
    InjectKeyPress(VK_DELETE);
    InjectKey(VK_SHIFT, true);
    InjectKeyPress(VK_F10);
    InjectKey(VK_SHIFT, false);
    InjectKey(VK_MENU, true);
    InjectKeyPress(VK_RETURN);
    InjectKey(VK_MENU, false);
    ui.WaitIdle();
    EXPECT_TRUE(SameSequence({"WM_APP+1101", "WM_APP+1103", "WM_APP+1104", "WM_APP+1100", "WM_APP+1105"}, recorder.Messages()));
    ui.Run([&] {
        EXPECT_EQ((std::vector<std::string>{"activate 1", "refresh", "context menu 1 0", "properties 1"}), window->list.log);
        EXPECT_EQ(3, window->list.GetItemCount()); // nothing accepted the delete
        delete window;
    });
}

TEST(ListControl, DeleteRemovesAcceptedRowsAndFocusesTheLastHandledPosition) {
    UiThread ui;
    ui.Run([] {
        ListWindow window(false, 6);
        window.list.acceptDelete = [](int, CUIListCtrlData* data) { return data->GetExtData() % 2 == 0; };
        for (int row : {1, 2, 3, 4}) window.list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
        window.list.SendMessage(UWM_LIST_DELETE);
        EXPECT_EQ((std::vector<std::string>{"row0", "row1", "row3", "row5"}), Column(window.list, 0));
        EXPECT_EQ((std::vector<int>{2}), window.list.GetSelectedRows());
        EXPECT_EQ(2, window.list.GetNextItem(-1, LVNI_FOCUSED));
    });
}

TEST(ListControl, DragDropMessagesGoToTheListThenItsParentAndAreSwallowedWhenOff) {
    UiThread ui;
    ui.Run([] {
        const UINT messages[] = {UWM_DD_DRAGENTER, UWM_DD_DRAGOVER, UWM_DD_DRAGLEAVE, UWM_DD_DROP, UWM_DD_BEGINDRAG};
        {
            ListWindow off(false);
            for (UINT message : messages) {
                CDD_OleDropTargetInfo info(off.list.m_hWnd, POINT{5, 30}, nullptr);
                EXPECT_EQ(1, SendDragDropMessage(off.list.m_hWnd, message, reinterpret_cast<WPARAM>(&info), 0));
            }
            EXPECT_TRUE(off.list.log.empty());
            EXPECT_TRUE(off.parent.Take().empty());
        }
        ListWindow on(true);
        on.parent.answer = [](UINT, WPARAM, LPARAM) -> LRESULT { return 3; };
        for (UINT message : messages) {
            CDD_OleDropTargetInfo info(on.list.m_hWnd, POINT{5, 30}, nullptr);
            EXPECT_EQ(3, SendDragDropMessage(on.list.m_hWnd, message, reinterpret_cast<WPARAM>(&info), 0));
        }
        EXPECT_EQ((std::vector<std::string>{"drag enter", "drag over", "drag leave", "drop", "fill"}), on.list.log);
        EXPECT_TRUE(SameSequence({"parent WM_APP+2001", "parent WM_APP+2004", "parent WM_APP+2002", "parent WM_APP+2003",
                                  "parent WM_APP+2005"},
                                 on.parent.Take()));
        on.list.dragAnswer = 1;
        CDD_OleDropTargetInfo info(on.list.m_hWnd, POINT{5, 30}, nullptr);
        EXPECT_EQ(1, SendDragDropMessage(on.list.m_hWnd, UWM_DD_DROP, reinterpret_cast<WPARAM>(&info), 0));
        EXPECT_TRUE(on.parent.Take().empty());
    });
}

struct DragImageRow {
    RECT icon;
    RECT label;
    POINT start;
};

std::vector<DragImageRow> ReadDragImage(HGLOBAL block, int& viewType, std::size_t& size) {
    ostrana::GlobalLockGuard lock(block);
    const auto* bytes = static_cast<const BYTE*>(lock.Data());
    size = GlobalSize(block);
    int count = 0;
    std::memcpy(&viewType, bytes, 4);
    std::memcpy(&count, bytes + 4, 4);
    std::vector<DragImageRow> rows(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) std::memcpy(&rows[static_cast<std::size_t>(i)], bytes + 8 + 40 * i, 40);
    return rows;
}

TEST(ListControl, DragImageBlockHoldsTheVisibleSelectedRows) {
    UiThread ui;
    ui.Run([] {
        ListWindow window(false, 40);
        EXPECT_EQ(nullptr, window.list.MakeDragImageBlock(POINT{0, 0}));
        window.list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
        HGLOBAL one = window.list.MakeDragImageBlock(POINT{12, 34});
        ASSERT_NE(nullptr, one);
        int viewType = -1;
        std::size_t size = 0;
        std::vector<DragImageRow> rows = ReadDragImage(one, viewType, size);
        EXPECT_EQ(24u + 40u, size);
        EXPECT_EQ(LVS_REPORT, viewType);
        ASSERT_EQ(1u, rows.size());
        RECT label{};
        window.list.GetItemRect(2, &label, LVIR_LABEL);
        EXPECT_EQ(label.top, rows[0].label.top);
        EXPECT_EQ(label.right, rows[0].label.right);
        RECT icon{};
        window.list.GetItemRect(2, &icon, LVIR_ICON);
        EXPECT_EQ(icon.top, rows[0].icon.top);
        EXPECT_EQ(icon.right, rows[0].icon.right);
        EXPECT_GE(rows[0].icon.top, kHeaderHeight + 2 * kRowHeight);
        EXPECT_EQ(12, rows[0].start.x);
        EXPECT_EQ(34, rows[0].start.y);
        GlobalFree(one);

        window.list.SetItemState(5, LVIS_SELECTED, LVIS_SELECTED);
        window.list.SetItemState(30, LVIS_SELECTED, LVIS_SELECTED); // below the visible rows
        HGLOBAL three = window.list.MakeDragImageBlock(POINT{1, 2});
        rows = ReadDragImage(three, viewType, size);
        EXPECT_EQ(24u + 40u * 3, size);
        ASSERT_EQ(2u, rows.size());
        window.list.GetItemRect(5, &icon, LVIR_ICON);
        EXPECT_EQ(icon.top, rows[1].icon.top);
        GlobalFree(three);
    });
}

TEST(ListControl, CellTipsAndItemTextsAnswerFromTheRows) {
    UiThread ui;
    ui.Run([] {
        ListWindow window;
        AddRow(window.list, 1, {"사진.jpg", "12 KB", "2026-12-09"});
        window.list.AddCallBackItem(77);
        EXPECT_EQ(2 * 1024 + 3u, CUIODListCtrl::CellToolId(2, 2));
        EXPECT_EQ(0u, CUIODListCtrl::CellToolId(-1, 0));

        NMTTDISPINFOA narrow{};
        narrow.hdr.idFrom = CUIODListCtrl::CellToolId(0, 1);
        narrow.hdr.code = TTN_GETDISPINFOA;
        window.list.SendMessage(WM_NOTIFY, narrow.hdr.idFrom, reinterpret_cast<LPARAM>(&narrow));
        ASSERT_NE(nullptr, narrow.lpszText);
        EXPECT_STREQ("12 KB", narrow.lpszText);

        NMTTDISPINFOW wide{};
        wide.hdr.idFrom = CUIODListCtrl::CellToolId(0, 0);
        wide.hdr.code = TTN_GETDISPINFOW;
        window.list.SendMessage(WM_NOTIFY, wide.hdr.idFrom, reinterpret_cast<LPARAM>(&wide));
        EXPECT_EQ(u"사진.jpg", std::u16string(wide.lpszText));

        // The list view's own question, reflected from the parent.
        char tipText[64] = {};
        NMLVGETINFOTIPA tip{};
        tip.hdr.hwndFrom = window.list.m_hWnd;
        tip.hdr.idFrom = static_cast<UINT_PTR>(window.list.GetDlgCtrlID());
        tip.hdr.code = LVN_GETINFOTIPA;
        tip.pszText = tipText;
        tip.cchTextMax = sizeof tipText;
        tip.iItem = 0;
        tip.iSubItem = 2;
        ::SendMessageA(window.parent.m_hWnd, WM_NOTIFY, tip.hdr.idFrom, reinterpret_cast<LPARAM>(&tip));
        EXPECT_STREQ("2026-12-09", tipText);

        EXPECT_EQ("data77/2", window.list.GetItemText(1, 2));
        char small[4] = {};
        EXPECT_EQ(3, window.list.GetItemText(1, 0, small, sizeof small));
        EXPECT_STREQ("dat", small);
        EXPECT_EQ(1, window.list.FindUserData(77));
        EXPECT_EQ(77u, window.list.GetUserData(1));
        window.list.DeleteItem(0);
        EXPECT_EQ(0, window.list.FindUserData(77));
    });
}

} // namespace
} // namespace ostrana::test

namespace ostrana::test {
namespace {

TEST(ListControl, BeginDragOffersTheImageBlockTheNamesAndTheRightButtonFlag) {
    UiThread ui;
    ui.Run([] {
        ListWindow window(true, 5);
        window.list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
        window.list.SetItemState(3, LVIS_SELECTED, LVIS_SELECTED);
        bool sawBlock = false, sawRightMenu = false;
        std::string names;
        window.parent.answer = [&](UINT message, WPARAM, LPARAM lParam) -> LRESULT {
            if (message != UWM_DD_BEGINDRAG) return 0;
            COleDataObject data;
            data.Attach(reinterpret_cast<COleDataSource*>(lParam)->GetDataObject(), FALSE);
            sawBlock = data.IsDataAvailable(CDragDropImage::BlockFormat()) != FALSE;
            CCF_RightMenu rightMenu;
            CClipboardFormats::GetFromDataObject(&data, &rightMenu, CFI_RIGHTMENU);
            sawRightMenu = rightMenu.GetRightMenu() != FALSE;
            CCF_String text;
            CClipboardFormats::GetFromDataObject(&data, &text, CFI_TEXT);
            names = text.GetString();
            return DROPEFFECT_NONE; // no OLE drag
        };
        NMLISTVIEW info{};
        info.hdr.hwndFrom = window.list.m_hWnd;
        info.hdr.idFrom = 7;
        info.hdr.code = LVN_BEGINRDRAG;
        info.iItem = 1;
        info.ptAction = POINT{10, 30};
        SendMessageA(window.parent.m_hWnd, WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&info));
        EXPECT_EQ((std::vector<std::string>{"fill"}), window.list.log);
        EXPECT_TRUE(sawBlock);
        EXPECT_TRUE(sawRightMenu);
        EXPECT_EQ("row1\nrow3\n", names);
    });
}

TEST(ListControl, AnEmptyListShowsItsTextBelowTheHeader) {
    UiThread ui;
    ui.Run([] {
        ListWindow window;
        window.list.SetEmptyListText(Utf8ToAnsi("이 폴더는 비어 있습니다."));
        window.list.Invalidate();
        window.list.UpdateWindow();
        std::string dump;
        DumpDisplayList(WindowPicture(window.list.m_hWnd), 0, dump);
        EXPECT_NE(std::string::npos, dump.find("이 폴더는 비어 있습니다.")) << dump;
        EXPECT_NE(std::string::npos, dump.find("(0,30)-(300,")) << dump; // the header's 20 pixels and 10 more
        AddRow(window.list, 1, {"a", "1", "2026-01-01"});
        window.list.UpdateWindow();
        dump.clear();
        DumpDisplayList(WindowPicture(window.list.m_hWnd), 0, dump);
        EXPECT_EQ(std::string::npos, dump.find("이 폴더는")) << dump;
    });
}

} // namespace
} // namespace ostrana::test
