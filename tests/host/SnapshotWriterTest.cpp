// Snapshots of real windows as the page's messages: the whole state of a dialog (also kept as the
// sample frame the page's renderer is tried on), only what changed afterwards, images once per
// page, the rows of list views, the cursor and the caret.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <utility>

#include "host/FrameBatcher.h"
#include "platform/base/CodePage.h"
#include "platform/controls/CommCtrl.h"
#include "platform/window/AfxHtmlCtrl.h"
#include "platform/window/Caret.h"
#include "platform/window/Controls.h"
#include "platform/window/Cursor.h"
#include "platform/window/DisplayChanges.h"
#include "platform/window/MessageBox.h"
#include "platform/window/Messages.h"
#include "platform/window/Paint.h"
#include "platform/window/WindowGeometry.h"
#include "tests/host/HostTestSupport.h"
#include "res/Resources.h"
#include "transfer/OverwriteDlg.h"
#include "tests/support/WindowHarness.h"

using namespace ostrana;
using namespace ostrana::host;
using namespace ostrana::host::test;
using Json = nlohmann::json;

namespace {

// The key of every image named by the operations, blits included.
void NamedImages(const Json& ops, std::vector<std::string>& keys)
{
    for (const Json& op : ops) {
        if (op[0] == static_cast<int>(PictureOp::Image) && !op[5].get<std::string>().empty())
            keys.push_back(op[5]);
        if (op[0] == static_cast<int>(PictureOp::Blit))
            NamedImages(op[7], keys);
    }
}

TEST(SnapshotWriter, WholeStateOfADialogNamesEveryImageBeforeItsFirstUse)
{
    ostrana::test::UiThread ui;
    std::vector<PageMessage> messages;
    HWND dialog = nullptr;
    std::string frameJson;
    ui.Run([&] {
        dialog = ShowOverwritePrompt();
        SnapshotWriter writer = MakeWriter();
        DesktopSnapshot snapshot = TakeDesktopSnapshot();
        messages = writer.WholeState(snapshot);
        // The sample frame: what a page that just connected receives.
        FrameBatcher batcher;
        for (const PageMessage& message : messages)
            batcher.Add(message.key, message.json);
        frameJson = "[\n" + SnapshotWriter::Hello(1, snapshot.screen);
        auto frame = batcher.TakeFrame();
        for (const std::string& message : *frame)
            frameJson += ",\n" + message;
        frameJson += "\n]\n";
        DestroyWindow(dialog);
    });
    std::vector<Json> parsed = Parse(messages);
    Json record = WindowRecord(parsed, dialog);
    ASSERT_FALSE(record.is_null());
    EXPECT_EQ(record["text"], "파일 바꾸기 확인");
    EXPECT_EQ(record["cls"], "#32770");
    EXPECT_EQ(record["parent"], 0);
    EXPECT_TRUE(record["visible"].get<bool>());
    // Every child is there with its id, and the order lists the dialog before its children.
    std::vector<Json> order = OfKind(parsed, ToPage::Order);
    ASSERT_EQ(order.size(), 1u);
    const Json& windows = order[0]["windows"];
    size_t children = 0;
    for (const Json& window : OfKind(parsed, ToPage::TreeChange)) {
        if (window["parent"] == HandleNumber(dialog))
            ++children;
        EXPECT_NE(std::find(windows.begin(), windows.end(), window["h"]), windows.end());
    }
    EXPECT_EQ(children, 19u);
    auto at = [&](HWND window) { return std::find(windows.begin(), windows.end(), HandleNumber(window)) - windows.begin(); };
    EXPECT_LT(at(dialog), at(GetDlgItem(dialog, IDOK)));

    std::vector<std::string> announced;
    bool replaceIcon = false;
    for (const Json& message : parsed) {
        if (message["k"] == static_cast<int>(ToPage::Image)) {
            EXPECT_EQ(std::count(announced.begin(), announced.end(), message["key"]), 0) << message;
            announced.push_back(message["key"]);
            if (message["key"] == "resource/icon/225") {
                replaceIcon = true;
                EXPECT_EQ(message["url"], "/res/icons/replace.svg");
                EXPECT_EQ(message["size"], Json::array({32, 32}));
            }
        }
        if (message["k"] == static_cast<int>(ToPage::Picture)) {
            std::vector<std::string> named;
            NamedImages(message["ops"], named);
            for (const std::string& key : named)
                EXPECT_NE(std::find(announced.begin(), announced.end(), key), announced.end()) << key;
        }
    }
    EXPECT_TRUE(replaceIcon);
    // The caption and frame come as the dialog's frame picture.
    bool frame = false;
    for (const Json& picture : OfKind(parsed, ToPage::Picture))
        frame = frame || (picture["h"] == HandleNumber(dialog) && picture["part"] == "frame");
    EXPECT_TRUE(frame);

    Json frameMessages = Json::parse(frameJson);
    EXPECT_EQ(frameMessages.front()["k"], static_cast<int>(ToPage::Hello));
    EXPECT_EQ(frameMessages.back(), Json({{"k", static_cast<int>(ToPage::FrameEnd)}, {"frame", 1}}));
    if (const char* binary = std::getenv("OSTRANA_TEST_BINARY_DIR"))
        std::ofstream(std::string(binary) + "/tests/host/sample-frame.json") << frameJson;
    if (const char* update = std::getenv("OSTRANA_UPDATE_GOLDEN"); update && std::string(update) == "1")
        std::ofstream(OSTRANA_HOST_TEST_DATA "/sample-frame.json") << frameJson;
}

TEST(SnapshotWriter, ChangesCarryOnlyWhatChangedAsItIsNow)
{
    ostrana::test::UiThread ui;
    ui.Run([&] {
        HWND dialog = ShowOverwritePrompt();
        SnapshotWriter writer = MakeWriter();
        writer.WholeState(TakeDesktopSnapshot());
        HWND yes = GetDlgItem(dialog, IDOK);

        // Nothing repainted: a picture event alone sends nothing.
        EXPECT_TRUE(writer.Changes(TakeDesktopSnapshot(), {{DisplayEvent::Picture, yes}}).empty());

        SetWindowTextA(yes, Utf8ToAnsi("바꾸기").c_str());
        PumpUntilIdle();
        std::vector<Json> changed = Parse(writer.Changes(
            TakeDesktopSnapshot(), {{DisplayEvent::Text, yes}, {DisplayEvent::Picture, yes}, {DisplayEvent::Text, yes}}));
        // The window's state once: the second event finds it as the first left it.
        ASSERT_EQ(changed.size(), 2u);
        EXPECT_EQ(changed[0]["text"], "바꾸기");
        EXPECT_EQ(changed[1]["part"], "client");
        // The images went with the whole state; this page has them.
        EXPECT_TRUE(OfKind(changed, ToPage::Image).empty());

        DestroyWindow(yes);
        std::vector<Json> gone = Parse(writer.Changes(TakeDesktopSnapshot(), {{DisplayEvent::Destroyed, yes}}));
        ASSERT_EQ(gone.size(), 2u);
        EXPECT_EQ(gone[0], Json({{"k", 3}, {"h", HandleNumber(yes)}, {"gone", true}}));
        EXPECT_EQ(gone[1]["k"], static_cast<int>(ToPage::Order));
        EXPECT_EQ(std::count(gone[1]["windows"].begin(), gone[1]["windows"].end(), HandleNumber(yes)), 0);

        // A new page gets the images again.
        writer.StartPage();
        HWND icon = GetWindow(dialog, GW_CHILD);
        InvalidateRect(icon, nullptr, TRUE);
        PumpUntilIdle();
        std::vector<Json> again = Parse(writer.Changes(TakeDesktopSnapshot(), {{DisplayEvent::Picture, icon}}));
        EXPECT_EQ(OfKind(again, ToPage::Image).size(), 1u);
        DestroyWindow(dialog);
    });
}

TEST(SnapshotWriter, WhatThePageHasAlreadyIsNotSentAgain)
{
    ostrana::test::UiThread ui;
    ui.Run([&] {
        HWND dialog = ShowOverwritePrompt();
        SnapshotWriter writer = MakeWriter();
        writer.WholeState(TakeDesktopSnapshot());
        HWND yes = GetDlgItem(dialog, IDOK);
        const std::vector<DisplayChange> touched{
            {DisplayEvent::Text, yes}, {DisplayEvent::Picture, yes}, {DisplayEvent::Cursor, nullptr},
            {DisplayEvent::Focus, nullptr}, {DisplayEvent::Caret, nullptr}};

        // Painted again as it was: a new list, the same picture.
        InvalidateRect(yes, nullptr, TRUE);
        InvalidateRect(dialog, nullptr, TRUE);
        PumpUntilIdle();
        EXPECT_TRUE(writer.Changes(TakeDesktopSnapshot(),
                                   {{DisplayEvent::Picture, yes}, {DisplayEvent::Picture, dialog}, {DisplayEvent::Moved, dialog}})
                        .empty());
        EXPECT_TRUE(writer.Changes(TakeDesktopSnapshot(), touched).empty());

        // Changed and changed back: each is news to the page.
        char original[64] = {};
        GetWindowTextA(yes, original, sizeof original);
        SetWindowTextA(yes, "A");
        PumpUntilIdle();
        EXPECT_EQ(writer.Changes(TakeDesktopSnapshot(), touched).size(), 2u);
        SetWindowTextA(yes, original);
        PumpUntilIdle();
        std::vector<Json> back = Parse(writer.Changes(TakeDesktopSnapshot(), touched));
        ASSERT_EQ(back.size(), 2u);
        EXPECT_EQ(back[0]["text"], AnsiToUtf8(original));

        // A new page has nothing, so it gets everything again.
        writer.StartPage();
        EXPECT_EQ(writer.Changes(TakeDesktopSnapshot(), touched).size(), touched.size());
        DestroyWindow(dialog);
    });
}

TEST(SnapshotWriter, AWebViewCarriesTheWebAddressItShowsAndNothingElse)
{
    ostrana::test::UiThread ui;
    ui.Run([&] {
        CWnd parent;
        ASSERT_TRUE(parent.CreateEx(0, WC_STATICA, "", WS_POPUP | WS_VISIBLE, 10, 10, 300, 200, nullptr, nullptr));
        CHtmlCtrl view;
        ASSERT_TRUE(view.CreateView(RECT{0, 0, 200, 100}, &parent, 7, "http://127.0.0.1:8080/myhtml/"));
        SnapshotWriter writer = MakeWriter();
        std::vector<Json> whole = Parse(writer.WholeState(TakeDesktopSnapshot()));
        Json record = WindowRecord(whole, view.GetSafeHwnd());
        EXPECT_EQ(record["cls"], WC_WEBVIEWA);
        EXPECT_EQ(record["url"], "http://127.0.0.1:8080/myhtml/");
        EXPECT_FALSE(WindowRecord(whole, parent.GetSafeHwnd()).contains("url"));

        auto urlAfter = [&](const std::string& address) {
            view.Navigate(address);
            std::vector<Json> changed = Parse(writer.Changes(TakeDesktopSnapshot(), {{DisplayEvent::Text, view.GetSafeHwnd()}}));
            return WindowRecord(changed, view.GetSafeHwnd())["url"];
        };
        EXPECT_EQ(urlAfter("HTTPS://example.com/a?b=1"), "HTTPS://example.com/a?b=1");
        for (const char* refused : {"javascript:alert(1)", "file:///etc/passwd", "about:blank", "http://a b/",
                                    "http://a\"><script>", "C:\\Windows", ""})
            EXPECT_EQ(urlAfter(refused), "") << refused;
        view.DestroyWindow();
        parent.DestroyWindow();
    });
}

TEST(SnapshotWriter, ShowingOrMovingAWindowResendsItsChildrenWhoseVisibilityAndPlaceFollowIt)
{
    ostrana::test::UiThread ui;
    ui.Run([&] {
        HWND dialog = ShowOverwritePrompt();
        SnapshotWriter writer = MakeWriter();
        writer.WholeState(TakeDesktopSnapshot());
        HWND yes = GetDlgItem(dialog, IDOK);

        ShowWindow(dialog, SW_HIDE);
        std::vector<Json> hidden = Parse(writer.Changes(TakeDesktopSnapshot(), {{DisplayEvent::Hidden, dialog}}));
        ASSERT_FALSE(WindowRecord(hidden, yes).is_null()) << "a child of a hidden window is hidden too";
        EXPECT_EQ(WindowRecord(hidden, yes)["visible"], false);

        ShowWindow(dialog, SW_SHOW);
        std::vector<Json> shown = Parse(writer.Changes(TakeDesktopSnapshot(), {{DisplayEvent::Shown, dialog}}));
        ASSERT_FALSE(WindowRecord(shown, yes).is_null());
        EXPECT_EQ(WindowRecord(shown, yes)["visible"], true);

        RECT before{};
        GetWindowRect(yes, &before);
        SetWindowPos(dialog, nullptr, 40, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        std::vector<Json> moved = Parse(writer.Changes(TakeDesktopSnapshot(), {{DisplayEvent::Moved, dialog}}));
        ASSERT_FALSE(WindowRecord(moved, yes).is_null()) << "a child moves on the screen with its parent";
        RECT after{};
        GetWindowRect(yes, &after);
        EXPECT_NE(before.left, after.left);
        EXPECT_EQ(WindowRecord(moved, yes)["rect"][0], after.left);
        DestroyWindow(dialog);
    });
}

TEST(SnapshotWriter, ListViewsShowTheirVisibleRowsOnly)
{
    ostrana::test::UiThread ui;
    ui.Run([&] {
        HWND list = nullptr;
        HWND parent = ShowReportList(1000, list);
        SendMessageA(list, LVM_ENSUREVISIBLE, 500, FALSE);
        LVITEMA state{};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(list, LVM_SETITEMSTATE, 500, reinterpret_cast<LPARAM>(&state));
        PumpUntilIdle();
        SnapshotWriter writer = MakeWriter();
        Json record = WindowRecord(Parse(writer.WholeState(TakeDesktopSnapshot())), list);
        ASSERT_FALSE(record.is_null());
        EXPECT_EQ(record["columns"], Json::parse(R"([{"text":"이름","width":150},{"text":"크기","width":90}])"));
        const Json& rows = record["rows"];
        ASSERT_FALSE(rows.empty());
        EXPECT_LE(rows.size(), 10u);
        bool found = false;
        RECT client{};
        GetClientRect(list, &client);
        for (const Json& row : rows) {
            int index = row["i"];
            EXPECT_EQ(row["cells"], Json::array({"row " + std::to_string(index), std::to_string(index) + "KB"}));
            EXPECT_LT(row["rect"][1].get<int>(), client.bottom);
            EXPECT_GT(row["rect"][3].get<int>(), client.top);
            if (index == 500) {
                found = true;
                EXPECT_TRUE(row["sel"].get<bool>());
                EXPECT_TRUE(row["focus"].get<bool>());
            } else {
                EXPECT_FALSE(row["sel"].get<bool>());
            }
        }
        EXPECT_TRUE(found);
        DestroyWindow(parent);
    });
}

TEST(SnapshotWriter, TreeViewsShowTheirVisibleItemsWithLevels)
{
    ostrana::test::UiThread ui;
    ui.Run([&] {
        HWND list = nullptr;
        HWND parent = ShowReportList(0, list);
        HWND tree = CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS, 0, 0, 200, 150, parent,
                                    nullptr, nullptr, nullptr);
        auto insert = [&](HTREEITEM under, const char* text) {
            std::string ansi = Utf8ToAnsi(text);
            TVINSERTSTRUCTA insert{};
            insert.hParent = under;
            insert.hInsertAfter = TVI_LAST;
            insert.item.mask = TVIF_TEXT;
            insert.item.pszText = ansi.data();
            return TreeView_InsertItem(tree, &insert);
        };
        HTREEITEM root = insert(TVI_ROOT, "내 파일보관함 (myfolder)");
        insert(root, "문서");
        HTREEITEM hidden = insert(insert(TVI_ROOT, "공유"), "닫힌 폴더 안");
        SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
        SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(root));
        PumpUntilIdle();
        SnapshotWriter writer = MakeWriter();
        Json record = WindowRecord(Parse(writer.WholeState(TakeDesktopSnapshot())), tree);
        ASSERT_FALSE(record.is_null());
        const Json& items = record["items"];
        ASSERT_EQ(items.size(), 3u) << items;
        EXPECT_EQ(items[0]["text"], "내 파일보관함 (myfolder)");
        EXPECT_EQ(items[0]["level"], 0);
        EXPECT_TRUE(items[0]["expanded"].get<bool>());
        EXPECT_TRUE(items[0]["sel"].get<bool>());
        EXPECT_EQ(items[1]["text"], "문서");
        EXPECT_EQ(items[1]["level"], 1);
        EXPECT_EQ(items[2]["text"], "공유");
        EXPECT_FALSE(items[2]["expanded"].get<bool>());
        (void)hidden;
        DestroyWindow(parent);
    });
}

// What the window system announces between two flushes.
class ChangeCollector : public DisplayChangeListener {
public:
    ChangeCollector() { AddDisplayChangeListener(this); }
    ~ChangeCollector() override { RemoveDisplayChangeListener(this); }
    void OnDisplayChanges(const DisplayChangeBatch& batch) override
    {
        m_changes.insert(m_changes.end(), batch.changes.begin(), batch.changes.end());
    }
    std::vector<DisplayChange> Take()
    {
        FlushDisplayChanges();
        return std::exchange(m_changes, {});
    }

private:
    std::vector<DisplayChange> m_changes;
};

TEST(SnapshotWriter, CheckBoxesAndRadioButtonsCarryTheirCheckStateAndAChangeOfItIsSent)
{
    ostrana::test::UiThread ui;
    ui.Run([&] {
        ChangeCollector collector;
        HWND dialog = ShowOverwritePrompt();
        HWND ask = GetDlgItem(dialog, IDC_OVERWRITE_ASK);
        HWND second = GetDlgItem(dialog, IDC_OVERWRITE_ASK + 1);
        HWND third = GetDlgItem(dialog, IDC_OVERWRITE_ASK + 2);
        HWND box = CreateWindowExA(0, WC_BUTTONA, "", WS_CHILD | WS_VISIBLE | BS_AUTO3STATE, 0, 0, 80, 16, dialog,
                                   nullptr, nullptr, nullptr);
        SendMessageA(ask, BM_SETCHECK, BST_CHECKED, 0);
        PumpUntilIdle();
        collector.Take();
        SnapshotWriter writer = MakeWriter();
        std::vector<Json> whole = Parse(writer.WholeState(TakeDesktopSnapshot()));
        EXPECT_EQ(WindowRecord(whole, ask)["checked"], 1);
        EXPECT_EQ(WindowRecord(whole, second)["checked"], 0);
        EXPECT_EQ(WindowRecord(whole, box)["checked"], 0);
        EXPECT_FALSE(WindowRecord(whole, GetDlgItem(dialog, IDOK)).contains("checked")) << "a push button has no check";
        EXPECT_FALSE(WindowRecord(whole, dialog).contains("checked"));

        // A click on another radio of the group moves the check: both buttons are sent as they are now.
        SendMessageA(third, BM_CLICK, 0, 0);
        std::vector<DisplayChange> changes = collector.Take();
        EXPECT_NE(std::find(changes.begin(), changes.end(), DisplayChange{DisplayEvent::Checked, ask}), changes.end());
        EXPECT_EQ(std::find(changes.begin(), changes.end(), DisplayChange{DisplayEvent::Checked, second}), changes.end());
        std::vector<Json> moved = Parse(writer.Changes(TakeDesktopSnapshot(), changes));
        EXPECT_EQ(WindowRecord(moved, third)["checked"], 1);
        EXPECT_EQ(WindowRecord(moved, ask)["checked"], 0);
        EXPECT_TRUE(WindowRecord(moved, second).is_null()) << "an unchanged radio is not sent again";

        // The third state of a three-state box; setting what is already set announces nothing.
        SendMessageA(box, BM_SETCHECK, BST_INDETERMINATE, 0);
        std::vector<Json> mixed = Parse(writer.Changes(TakeDesktopSnapshot(), collector.Take()));
        EXPECT_EQ(WindowRecord(mixed, box)["checked"], 2);
        SendMessageA(box, BM_SETCHECK, BST_INDETERMINATE, 0);
        SendMessageA(GetDlgItem(dialog, IDOK), BM_SETCHECK, BST_CHECKED, 0);
        changes = collector.Take();
        EXPECT_EQ(std::count_if(changes.begin(), changes.end(), [](const DisplayChange& change) {
                      return change.event == DisplayEvent::Checked;
                  }),
                  0);
        DestroyWindow(dialog);
    });
}

TEST(SnapshotWriter, CursorAndCaret)
{
    ostrana::test::UiThread ui;
    ui.Run([&] {
        HWND dialog = ShowOverwritePrompt();
        HWND edit = GetDlgItem(dialog, 237);
        CreateCaret(edit, nullptr, 1, 12);
        SetCaretPos(3, 2);
        ShowCaret(edit);
        SetCursor(LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(1011)));
        SnapshotWriter writer = MakeWriter();
        std::vector<Json> parsed = Parse(writer.WholeState(TakeDesktopSnapshot()));
        Json caret = OfKind(parsed, ToPage::Caret).at(0);
        EXPECT_EQ(caret["h"], HandleNumber(edit));
        EXPECT_EQ(caret["rect"], Json::array({3, 2, 4, 14}));
        EXPECT_TRUE(caret["visible"].get<bool>());
        EXPECT_GT(caret["blink"].get<int>(), 0);
        Json cursor = OfKind(parsed, ToPage::Cursor).at(0);
        EXPECT_EQ(cursor["name"], "cursor 1011");
        EXPECT_EQ(cursor["image"], "/res/cursors/hand.svg");
        EXPECT_EQ(cursor["hotspot"], Json::array({12, 2}));
        SetCursor(LoadCursorA(nullptr, IDC_IBEAM));
        DestroyCaret();
        std::vector<Json> changed = Parse(
            writer.Changes(TakeDesktopSnapshot(), {{DisplayEvent::Cursor, nullptr}, {DisplayEvent::Caret, edit}}));
        ASSERT_EQ(changed.size(), 2u);
        EXPECT_EQ(changed[0]["css"], "text");
        EXPECT_FALSE(changed[0].contains("image"));
        EXPECT_EQ(changed[1]["h"], 0);
        EXPECT_FALSE(changed[1]["visible"].get<bool>());
        DestroyWindow(dialog);
    });
    EXPECT_STREQ(SnapshotWriter::CssCursor("sizewe"), "ew-resize");
    EXPECT_STREQ(SnapshotWriter::CssCursor("unheard of"), "default");
}

} // namespace

namespace {

// Bytes of the messages a one-row scroll of a report list sends.
size_t ScrollBytes(int rows)
{
    size_t bytes = 0;
    ostrana::test::UiThread ui;
    ui.Run([&] {
        HWND list = nullptr;
        HWND parent = ShowReportList(rows, list);
        SnapshotWriter writer = MakeWriter();
        writer.WholeState(TakeDesktopSnapshot());
        SendMessageA(list, WM_VSCROLL, SB_LINEDOWN, 0);
        PumpUntilIdle();
        for (const PageMessage& message :
             writer.Changes(TakeDesktopSnapshot(), {{DisplayEvent::Picture, list}, {DisplayEvent::Moved, list}}))
            bytes += message.json.size();
        DestroyWindow(parent);
    });
    return bytes;
}

TEST(SnapshotWriter, ScrollingALongListCostsWhatItsVisibleRowsCost)
{
    size_t few = ScrollBytes(200);
    size_t many = ScrollBytes(100000);
    EXPECT_LT(many, 4096u);
    EXPECT_LT(many, few + few / 10);
}

} // namespace
