// The local file list over a home folder of its own: the shell's order, filters, new folders,
// renames, deletes to the trash and past it, drops of server items, the web view of the
// Internet folder, and what the main window asks of the panes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/shell/ShellExecute.h"
#include "platform/shell/ShellFlags.h"
#include "dragdrop/CCF_HDROP.h"
#include "dragdrop/CCF_ShellIDList.h"
#include "dragdrop/CCF_String.h"
#include "dragdrop/ClipboardFormats.h"
#include "platform/base/Event.h"
#include "platform/window/Window.h"
#include "platform/window/VirtualKeys.h"
#include "tests/shell/LocalPaneHarness.h"
#include "tests/support/ModalScript.h"

namespace {

namespace fs = std::filesystem;
using ostrana::test::Ansi;
using ostrana::test::LocalPaneHarness;
using ostrana::test::Utf8;
using Strings = std::vector<std::string>;

void Touch(const fs::path& path, std::size_t bytes = 1) { std::ofstream(path) << std::string(bytes, 'x'); }

TEST(LocalList, ShowsFoldersFirstInTheShellsOrderAndReversesOnASecondClick) {
    LocalPaneHarness h;
    Touch(h.Work("b.txt"));
    Touch(h.Work("a.txt"));
    fs::create_directories(h.Work("zdir"));
    fs::create_directories(h.Work("adir"));
    h.Show(h.Work());
    EXPECT_TRUE(h.list->IsSortByShell());
    EXPECT_EQ(h.Rows(), (Strings{"adir", "zdir", "a.txt", "b.txt"}));
    h.ui.Run([&] {
        NMLISTVIEW click{};
        click.hdr.hwndFrom = h.list->GetSafeHwnd();
        click.hdr.code = LVN_COLUMNCLICK;
        click.iSubItem = 0;
        LRESULT result = 0;
        h.list->OnChildNotify(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&click), &result);
    });
    EXPECT_EQ(h.Rows(), (Strings{"b.txt", "a.txt", "zdir", "adir"}));
}

TEST(LocalList, TheIncludePatternAndTheExcludedTypesLeaveRowsOut) {
    LocalPaneHarness h;
    Touch(h.Work("a.txt"));
    Touch(h.Work("b.log"));
    Touch(h.Work("c.txt"));
    fs::create_directories(h.Work("dir"));
    h.ui.Run([&] { h.list->SetIncludePattern("*.txt;*.none"); });
    h.Show(h.Work());
    EXPECT_EQ(h.Rows(), (Strings{"a.txt", "c.txt"}));
    std::string folderType = Ansi("파일 폴더");
    h.ui.Run([&] {
        h.list->SetIncludePattern("*");
        h.list->SetExcludeTypes({folderType}, true);
        h.list->RefreshList();
    });
    EXPECT_EQ(h.Rows(), (Strings{"a.txt", "b.log", "c.txt"}));
}

TEST(LocalList, TwoNewFoldersInARowAreNamedOneAfterTheOther) {
    LocalPaneHarness h;
    h.Show(h.Work());
    h.ui.Run([&] { h.list->NewFolder(); });
    h.ui.Run([&] { h.list->NewFolder(); });
    EXPECT_TRUE(fs::is_directory(h.Work("새폴더")));
    EXPECT_TRUE(fs::is_directory(h.Work("새폴더1")));
    EXPECT_EQ(h.Rows(), (Strings{"새폴더", "새폴더1"}));
}

TEST(LocalList, ARenameKeepsTheHiddenExtensionAndCannotLeaveTheFolder) {
    LocalPaneHarness h;
    fs::create_directories(h.Work("sub"));
    Touch(h.Work("a.txt"));
    h.ui.Run([&] {
        // Extensions hidden.
        ostrana::StoreShellFlags(0x20);
        h.list->SendMessage(WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>("ShellState"));
    });
    h.Show(h.Work());
    EXPECT_EQ(h.Rows(), (Strings{"sub", "a"}));
    auto rowOf = [&](const std::string& name) {
        Strings rows = h.Rows();
        return static_cast<int>(std::find(rows.begin(), rows.end(), name) - rows.begin());
    };
    h.ui.Run([&] { h.list->RenameRow(rowOf("a"), "b"); });
    EXPECT_TRUE(fs::exists(h.Work("b.txt")));
    EXPECT_FALSE(fs::exists(h.Work("a.txt")));
    EXPECT_EQ(h.Rows(), (Strings{"sub", "b"}));
    h.ui.Run([&] { h.list->RenameRow(rowOf("b"), "..\\up"); });
    h.ui.Run([&] { h.list->RenameRow(rowOf("b"), "sub\\in"); });
    EXPECT_TRUE(fs::exists(h.Work("b.txt")));
    EXPECT_FALSE(fs::exists(h.home.Path() / "up.txt"));
    EXPECT_FALSE(fs::exists(h.Work("sub/in.txt")));
}

TEST(LocalList, DeleteSendsRowsToTheTrashAndWithShiftRemovesThem) {
    LocalPaneHarness h;
    Touch(h.Work("kept.txt"));
    Touch(h.Work("binned.txt"));
    Touch(h.Work("gone.txt"));
    h.Show(h.Work());
    fs::path trash = h.home.Path() / ".local" / "share" / "Trash";
    h.SelectRows({"binned.txt"});
    h.ui.Run([&] { h.list->DeleteSelected(false); });
    EXPECT_FALSE(fs::exists(h.Work("binned.txt")));
    EXPECT_TRUE(fs::exists(trash / "info" / "binned.txt.trashinfo"));
    EXPECT_TRUE(fs::exists(trash / "files" / "binned.txt"));
    h.SelectRows({"gone.txt"});
    h.ui.Run([&] { h.list->DeleteSelected(true); });
    EXPECT_FALSE(fs::exists(h.Work("gone.txt")));
    EXPECT_FALSE(fs::exists(trash / "info" / "gone.txt.trashinfo"));
    EXPECT_EQ(h.Rows(), (Strings{"kept.txt"}));
}

TEST(LocalList, ServerItemsDroppedOnTheListDownloadIntoTheTreesFolder) {
    LocalPaneHarness h;
    fs::create_directories(h.Work("a"));
    h.Show(h.Work());
    HWND window = h.list->GetSafeHwnd();
    h.DropFiles(window, {"myfolder/x.txt", "myfolder/y.txt"}, POINT{10, 10});
    ASSERT_EQ(h.recorder.transfers.size(), 1u);
    EXPECT_EQ(h.recorder.transfers[0].direction, 0);
    EXPECT_EQ(h.recorder.transfers[0].target, LocalPaneHarness::Local(h.Work()) + "\\");
    ASSERT_NE(h.recorder.transfers[0].list, nullptr);
    EXPECT_EQ(h.recorder.transfers[0].list->Count(), 2u);
    // The download's writes must not refill the list; the main window turns this on at the end.
    EXPECT_FALSE(h.list->AutoRefresh().load());
    h.panes->RefreshList();
    h.ui.WaitIdle();
    EXPECT_TRUE(h.list->AutoRefresh().load());
    // Local files are no download.
    h.DropFiles(window, {LocalPaneHarness::Local(h.Work("a"))}, POINT{10, 10});
    EXPECT_EQ(h.recorder.transfers.size(), 1u);
}

TEST(LocalList, TheMainWindowGetsTheFolderTheSelectionAndTheWatchedPath) {
    LocalPaneHarness h;
    Touch(h.Work("one.txt"));
    Touch(h.Work("two.txt"));
    Touch(h.Work("three.txt"));
    h.Show(h.Work());
    h.SelectRows({"one.txt", "three.txt"});
    EXPECT_EQ(h.panes->CurrentFolderPath(), LocalPaneHarness::Local(h.Work()));
    EXPECT_EQ(h.panes->SelectedPaths(),
              (Strings{LocalPaneHarness::Local(h.Work("one.txt")), LocalPaneHarness::Local(h.Work("three.txt"))}));
    EXPECT_EQ(h.panes->ListControl(), h.list->GetSafeHwnd());
    std::string watched = h.ui.Get<std::string>([&] {
        char buffer[kWatchPathSize] = {};
        EXPECT_EQ(h.list->SendMessage(UWM_LIST_GET_WATCH_PATH, reinterpret_cast<WPARAM>(buffer)), 1);
        return std::string(buffer);
    });
    EXPECT_EQ(watched, LocalPaneHarness::Local(h.Work()));
    // A folder without a file-system path leaves the watcher nothing to watch.
    h.ui.Run([&] {
        ShellIdList computer = ShellNamespace::SpecialFolder(CSIDL_DRIVES);
        h.tree->SelectItem(h.tree->FindIdList(computer.Get()));
    });
    h.ui.WaitIdle();
    EXPECT_EQ(h.ui.Get<std::string>([&] {
        char buffer[kWatchPathSize] = {'x', 0};
        h.list->SendMessage(UWM_LIST_GET_WATCH_PATH, reinterpret_cast<WPARAM>(buffer));
        return std::string(buffer);
    }),
              "");
    EXPECT_GT(h.list->GetItemCount(), 0);
}

TEST(LocalList, TheInternetFolderSwapsTheListForTheWebViewAndBack) {
    LocalPaneHarness h;
    CIEShellListView* view = h.panes->ListView();
    h.ui.Run([&] {
        ShellIdList internet = ShellNamespace::SpecialFolder(1);
        HTREEITEM node = h.tree->FindIdList(internet.Get());
        ASSERT_NE(node, nullptr);
        h.tree->SelectItem(node);
    });
    h.ui.WaitIdle();
    EXPECT_TRUE(view->IsWebViewShown());
    ASSERT_NE(view->GetWebView(), nullptr);
    EXPECT_TRUE(::IsWindowVisible(view->GetWebView()->GetSafeHwnd()));
    EXPECT_FALSE(::IsWindowVisible(h.list->GetSafeHwnd()));
    h.Show(h.Work());
    EXPECT_FALSE(view->IsWebViewShown());
    EXPECT_TRUE(::IsWindowVisible(h.list->GetSafeHwnd()));
    EXPECT_FALSE(::IsWindowVisible(view->GetWebView()->GetSafeHwnd()));
}

LRESULT Notify(LocalPaneHarness& h, NMHDR& header) {
    return h.ui.Get<LRESULT>([&] {
        header.hwndFrom = h.list->GetSafeHwnd();
        LRESULT result = 0;
        h.list->OnChildNotify(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header), &result);
        return result;
    });
}

TEST(LocalList, EnterOpensTheRowAndADoubleClickedFolderIsEnteredThroughTheTree) {
    LocalPaneHarness h;
    fs::create_directories(h.Work("sub/deeper"));
    Touch(h.Work("doc.txt"));
    std::vector<std::string> opened;
    ostrana::SetDocumentOpener([&](const std::string& target) {
        opened.push_back(target);
        return true;
    });
    h.Show(h.Work());
    h.SelectRows({"doc.txt"});
    NMHDR enter{};
    enter.code = NM_RETURN;
    Notify(h, enter);
    EXPECT_EQ(opened, (Strings{LocalPaneHarness::Local(h.Work("doc.txt"))}));
    NMITEMACTIVATE click{};
    click.hdr.code = NM_DBLCLK;
    click.iItem = 0;
    Notify(h, click.hdr);
    h.ui.WaitIdle();
    ostrana::SetDocumentOpener({});
    EXPECT_EQ(opened.size(), 1u);
    EXPECT_EQ(h.SelectedFolder(), Utf8(LocalPaneHarness::Local(h.Work("sub"))));
    EXPECT_EQ(h.Rows(), (Strings{"deeper"}));
}

// Hears the list's questions for its watched folder and its refills, ahead of the list itself.
struct ListSpy {
    static inline WNDPROC previous = nullptr;
    static inline HANDLE asked = nullptr;
    static inline HANDLE refilled = nullptr;
    static LRESULT Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        LRESULT result = CallWindowProcA(previous, window, message, wParam, lParam);
        if (message == UWM_LIST_GET_WATCH_PATH) SetEvent(asked);
        if (message == UWM_LIST_REFRESH) SetEvent(refilled);
        return result;
    }
};

TEST(LocalList, AFileMadeInTheShownFolderRefillsTheListThroughItsWatcher) {
    LocalPaneHarness h;
    Touch(h.Work("old.txt"));
    ListSpy::asked = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    ListSpy::refilled = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    h.ui.Run([&] {
        ListSpy::previous = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(h.list->GetSafeHwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ListSpy::Proc)));
        h.list->SetWatching(true);
    });
    h.Show(h.Work());
    EXPECT_EQ(h.list->Watcher().Count(), 1);
    ASSERT_EQ(WaitForSingleObject(ListSpy::asked, 5000), WAIT_OBJECT_0);
    // The watch starts just after the answer; a file made before it would go unheard.
    bool heard = false;
    for (int attempt = 0; attempt < 5 && !heard; ++attempt) {
        Touch(h.Work("new" + std::to_string(attempt) + ".txt"));
        heard = WaitForSingleObject(ListSpy::refilled, 1000) == WAIT_OBJECT_0;
    }
    ASSERT_TRUE(heard);
    h.ui.WaitIdle();
    Strings rows = h.Rows();
    EXPECT_EQ(rows.front(), "new0.txt");
    EXPECT_EQ(rows.back(), "old.txt");
    h.ui.Run([&] {
        h.list->SetWatching(false);
        SetWindowLongPtrA(h.list->GetSafeHwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListSpy::previous));
    });
    EXPECT_EQ(h.list->Watcher().Count(), 0);
    CloseHandle(ListSpy::asked);
    CloseHandle(ListSpy::refilled);
}

// A data object as the server list's drag offers it: server paths as the dropped files.
struct ServerDrag {
    explicit ServerDrag(const Strings& names) {
        CCF_HDROP files;
        for (const std::string& name : names) files.AddFileName(name);
        CClipboardFormats::PutOnDataSource(&source, &files, CFI_HDROP);
        data.Attach(source.GetDataObject(), FALSE);
    }
    COleDataSource source;
    COleDataObject data;
};

TEST(LocalList, AnOleDragOfServerItemsIsRefusedByTheTreeAndDownloadedByTheList) {
    LocalPaneHarness h;
    fs::create_directories(h.Work("a"));
    h.Show(h.Work());
    ServerDrag drag({"myfolder/x.txt"});
    DROPEFFECT overTree = h.ui.Get<DROPEFFECT>([&] {
        h.tree->OnOleDragEnter(&drag.data, 0, POINT{10, 10});
        DROPEFFECT effect = h.tree->OnOleDragOver(&drag.data, 0, POINT{10, 10});
        h.tree->OnOleDragLeave();
        return effect;
    });
    EXPECT_EQ(overTree, static_cast<DROPEFFECT>(DROPEFFECT_NONE));
    HWND list = h.list->GetSafeHwnd();
    h.ui.Run([&] {
        CDD_OleDropTargetInfo over(list, POINT{10, 10}, &drag.data);
        SendDragDropMessage(list, UWM_DD_DRAGOVER, reinterpret_cast<WPARAM>(&over), 0);
        EXPECT_EQ(over.GetDropEffect(), static_cast<DROPEFFECT>(DROPEFFECT_COPY));
        CDD_OleDropTargetInfo drop(list, POINT{10, 10}, &drag.data);
        drop.SetDropEffect(DROPEFFECT_COPY);
        SendDragDropMessage(list, UWM_DD_DROP, reinterpret_cast<WPARAM>(&drop), 0);
    });
    ASSERT_EQ(h.recorder.transfers.size(), 1u);
    EXPECT_EQ(h.recorder.transfers[0].direction, 0);
    EXPECT_EQ(h.recorder.transfers[0].target, LocalPaneHarness::Local(h.Work()) + "\\");
    EXPECT_TRUE(fs::is_empty(h.Work("a")));
}

TEST(LocalList, ADragOfRowsOffersTheirIdsPathsAndTextWithWhatTheShellGrants) {
    LocalPaneHarness h;
    Touch(h.Work("one.txt"));
    Touch(h.Work("two.txt"));
    h.Show(h.Work());
    h.SelectRows({"one.txt", "two.txt"});
    COleDataSource source;
    HWND list = h.list->GetSafeHwnd();
    auto effects = h.ui.Get<DROPEFFECT>([&] {
        CDD_OleDropTargetInfo info(list, POINT{10, 10}, nullptr);
        return static_cast<DROPEFFECT>(
            SendDragDropMessage(list, UWM_DD_BEGINDRAG, reinterpret_cast<WPARAM>(&info), reinterpret_cast<LPARAM>(&source)));
    });
    EXPECT_TRUE(effects & DROPEFFECT_COPY);
    COleDataObject data;
    data.Attach(source.GetDataObject(), FALSE);
    CCF_HDROP files;
    CClipboardFormats::GetFromDataObject(&data, &files, CFI_HDROP);
    ASSERT_EQ(files.GetCount(), 2);
    EXPECT_EQ(files.GetFileName(0), LocalPaneHarness::Local(h.Work("one.txt")));
    CCF_ShellIDList ids;
    CClipboardFormats::GetFromDataObject(&data, &ids, CFI_SHELLIDLIST);
    EXPECT_EQ(ids.GetCount(), 3);
    CCF_String text;
    CClipboardFormats::GetFromDataObject(&data, &text, CFI_TEXT);
    EXPECT_EQ(text.GetString(), LocalPaneHarness::Local(h.Work("one.txt")) + "\n" + LocalPaneHarness::Local(h.Work("two.txt")) + "\n");
}

TEST(LocalList, PropertiesOfThreeRowsOpenThreeSheets) {
    LocalPaneHarness h;
    Touch(h.Work("one.txt"));
    Touch(h.Work("two.txt"));
    Touch(h.Work("three.txt"));
    h.Show(h.Work());
    h.SelectRows({"one.txt", "two.txt", "three.txt"});
    h.ui.Run([&] { h.list->SendMessage(UWM_LIST_PROPERTIES); });
    std::vector<HWND> sheets = h.ui.Get<std::vector<HWND>>([&] {
        std::vector<HWND> found;
        for (const char* name : {"one.txt", "two.txt", "three.txt"}) {
            found.push_back(FindWindowA(nullptr, (name + Ansi(" 속성")).c_str()));
        }
        return found;
    });
    for (HWND sheet : sheets) EXPECT_NE(sheet, nullptr);
    h.ui.Run([&] {
        for (HWND sheet : sheets) {
            if (sheet != nullptr) DestroyWindow(sheet);
        }
    });
}

TEST(LocalList, TheShellsContextMenuOfARowRunsTheChosenCommand) {
    LocalPaneHarness h;
    Touch(h.Work("doc.txt"));
    h.Show(h.Work());
    h.SelectRows({"doc.txt"});
    ostrana::test::ModalScript script;
    // 열기, 삭제, 이름 바꾸기, 속성: the fourth.
    script.AnswerMenu({VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
    h.ui.Run([&] {
        h.list->SetFocus();
        h.list->ShowShellContextMenu(POINT{400, 100});
    });
    h.ui.WaitIdle();
    EXPECT_EQ(script.Pending(), 0u);
    HWND sheet = h.ui.Get<HWND>([&] { return FindWindowA(nullptr, Ansi("doc.txt 속성").c_str()); });
    EXPECT_NE(sheet, nullptr);
    if (sheet != nullptr) h.ui.Run([&] { DestroyWindow(sheet); });
}

} // namespace
