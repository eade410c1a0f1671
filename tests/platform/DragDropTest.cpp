// OLE drag and drop driven by injected mouse input: a row dragged out of a list view into a
// window of the same process, the target seeing enter, over and drop; Escape cancelling; and a
// window that only accepts dropped files receiving WM_DROPFILES.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "platform/base/Thread.h"
#include "platform/controls/CommCtrl.h"
#include "platform/ole/DropFiles.h"
#include "platform/ole/GlobalMemory.h"
#include "platform/ole/OleDataSource.h"
#include "platform/ole/OleDropTarget.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/VirtualKeys.h"
#include "platform/window/WindowGeometry.h"
#include "tests/platform/ControlTestSupport.h"
#include "tests/platform/TestWindows.h"
#include "tests/support/WindowHarness.h"

namespace ostrana::test {
namespace {

// Lines recorded on the user-interface thread and awaited on the test thread.
class Journal {
public:
    void Add(std::string line) {
        {
            std::lock_guard guard(m_lock);
            m_lines.push_back(std::move(line));
        }
        m_changed.notify_all();
    }
    // Waits until `count` lines starting with `prefix` are there.
    bool WaitFor(const std::string& prefix, int count = 1) {
        std::unique_lock lock(m_lock);
        return m_changed.wait_for(lock, std::chrono::seconds(10), [&] {
            int seen = 0;
            for (const std::string& line : m_lines) {
                if (line.rfind(prefix, 0) == 0) ++seen;
            }
            return seen >= count;
        });
    }
    std::vector<std::string> Lines() {
        std::lock_guard guard(m_lock);
        return m_lines;
    }

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::vector<std::string> m_lines;
};

std::string At(POINT point) { return std::to_string(point.x) + "," + std::to_string(point.y); }

class RecordingTarget : public COleDropTarget {
public:
    explicit RecordingTarget(Journal& journal) : m_journal(journal) {}
    DROPEFFECT OnDragEnter(CWnd*, COleDataObject* data, DWORD keys, POINT point) override {
        enterThread = GetCurrentThreadId();
        m_journal.Add("enter " + At(point) + " keys " + std::to_string(keys) + (data->IsDataAvailable(CF_HDROP) ? " files" : ""));
        return DROPEFFECT_COPY;
    }
    DROPEFFECT OnDragOver(CWnd*, COleDataObject*, DWORD, POINT point) override {
        m_journal.Add("over " + At(point));
        return DROPEFFECT_COPY;
    }
    void OnDragLeave(CWnd*) override { m_journal.Add("leave"); }
    BOOL OnDrop(CWnd*, COleDataObject* data, DROPEFFECT effect, POINT point) override {
        HGLOBAL block = data->GetGlobalData(CF_HDROP);
        std::vector<std::string> names = DragQueryFiles(static_cast<HDROP>(block));
        GlobalFree(block);
        m_journal.Add("drop " + std::to_string(effect) + " " + At(point) + " " + (names.empty() ? "" : names[0]));
        return TRUE;
    }

    DWORD enterThread = 0;

private:
    Journal& m_journal;
};

constexpr POINT kSource{100, 100};
constexpr POINT kTarget{600, 100};

LRESULT FilesProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DROPFILES) {
        auto* journal = reinterpret_cast<Journal*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        auto drop = reinterpret_cast<HDROP>(wParam);
        POINT point{};
        DragQueryPoint(drop, &point);
        std::vector<std::string> names = DragQueryFiles(drop);
        DragFinish(drop);
        journal->Add("files " + At(point) + " " + std::to_string(names.size()) + " " + (names.empty() ? "" : names[0]));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// A list view whose parent starts an OLE drag of one file name when a row is dragged.
struct DragScene {
    Journal journal;
    std::unique_ptr<NotifyParent> parent;
    HWND list = nullptr;
    HWND target = nullptr;
    RecordingTarget dropTarget{journal};
    DROPEFFECT result = 0xFF;
    bool withStartRect = false;

    // The target window and its registration, on the calling thread.
    void BuildTarget(bool filesOnly) {
        target = MakeTestWindow("OstranaDropHere", FilesProcedure, WS_POPUP | WS_VISIBLE,
                                RECT{kTarget.x, kTarget.y, kTarget.x + 200, kTarget.y + 200});
        SetWindowLongPtrA(target, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&journal));
        if (filesOnly) DragAcceptFiles(target, TRUE);
        else dropTarget.Register(CWnd::FromHandle(target));
    }

    void Build(bool filesOnly, bool withTarget = true) {
        InitCommonControls();
        ResetInputState();
        parent = std::make_unique<NotifyParent>(RECT{kSource.x, kSource.y, kSource.x + 400, kSource.y + 300});
        list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 300, 200, parent->Window(), nullptr,
                               nullptr, nullptr);
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<LPSTR>("Name");
        column.cx = 150;
        SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.pszText = const_cast<LPSTR>("a.txt");
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        SetFocus(list);
        if (withTarget) BuildTarget(filesOnly);
        parent->answer = [this](NMHDR* header) -> LRESULT {
            if (header->code != LVN_BEGINDRAG) return 0;
            COleDataSource source;
            source.CacheGlobalData(CF_HDROP, CreateDropFiles({"C:\\home\\a.txt"}, POINT{}, FALSE));
            journal.Add("begin");
            RECT start{};
            if (withStartRect) {
                start.left = LVIR_BOUNDS;
                SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&start));
                MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&start), 2);
            }
            result = source.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE, withStartRect ? &start : nullptr);
            journal.Add("done " + std::to_string(result));
            return 0;
        };
    }

    void StartDrag(POINT to = POINT{kSource.x + 60, kSource.y + 60}, int drag = 1) {
        InjectMouseButton(MouseButton::Left, true, POINT{kSource.x + 40, kSource.y + 29});
        InjectMouseMove(to);
        ASSERT_TRUE(journal.WaitFor("begin", drag));
    }

    void TearDownTarget() {
        dropTarget.Revoke();
        DestroyWindow(target);
    }

    void TearDown() {
        if (target != nullptr && IsWindow(target)) TearDownTarget();
        parent.reset();
    }
};

TEST(DragDrop, ARowDraggedToAnotherWindowIsEnteredOverAndDropped) {
    UiThread ui;
    DragScene scene;
    ui.Run([&] { scene.Build(false); });
    scene.StartDrag();
    InjectMouseMove(POINT{kTarget.x + 50, kTarget.y + 50});
    ASSERT_TRUE(scene.journal.WaitFor("enter"));
    InjectMouseMove(POINT{kTarget.x + 60, kTarget.y + 70});
    ASSERT_TRUE(scene.journal.WaitFor("over"));
    InjectMouseButton(MouseButton::Left, false, POINT{kTarget.x + 60, kTarget.y + 70});
    ASSERT_TRUE(scene.journal.WaitFor("done"));
    EXPECT_TRUE(SameSequence({"begin", "enter 50,50 keys 1 files", "over 60,70", "drop 1 60,70 C:\\home\\a.txt", "done 1"},
                             scene.journal.Lines()));
    ui.Run([&] { scene.TearDown(); });
}

TEST(DragDrop, ATargetOnAnotherThreadIsCalledOnItsOwnThread) {
    UiThread ui;
    UiThread other;
    DragScene scene;
    ui.Run([&] { scene.Build(false, false); });
    other.Run([&] { scene.BuildTarget(false); });
    scene.StartDrag();
    InjectMouseMove(POINT{kTarget.x + 50, kTarget.y + 50});
    ASSERT_TRUE(scene.journal.WaitFor("enter"));
    InjectMouseButton(MouseButton::Left, false, POINT{kTarget.x + 50, kTarget.y + 50});
    ASSERT_TRUE(scene.journal.WaitFor("done"));
    EXPECT_TRUE(SameSequence({"begin", "enter 50,50 keys 1 files", "drop 1 50,50 C:\\home\\a.txt", "done 1"}, scene.journal.Lines()));
    EXPECT_EQ(other.ThreadId(), scene.dropTarget.enterThread);
    other.Run([&] { scene.TearDownTarget(); });
    ui.Run([&] { scene.TearDown(); });
}

TEST(DragDrop, WithAStartRectangleTheDragBeginsOnlyOutsideIt) {
    UiThread ui;
    DragScene scene;
    scene.withStartRect = true;
    ui.Run([&] { scene.Build(false); });
    scene.StartDrag(POINT{kSource.x + 60, kSource.y + 29}); // still on the row
    InjectMouseButton(MouseButton::Left, false, POINT{kSource.x + 60, kSource.y + 29});
    ASSERT_TRUE(scene.journal.WaitFor("done"));
    EXPECT_TRUE(SameSequence({"begin", "done 0"}, scene.journal.Lines()));

    ResetInputState();
    scene.StartDrag(POINT{kSource.x + 60, kSource.y + 31}, 2);
    InjectMouseMove(POINT{kTarget.x + 5, kTarget.y + 5}); // leaves the row, over the target
    ASSERT_TRUE(scene.journal.WaitFor("enter"));
    InjectMouseButton(MouseButton::Left, false, POINT{kTarget.x + 5, kTarget.y + 5});
    ASSERT_TRUE(scene.journal.WaitFor("drop"));
    ui.Run([&] { scene.TearDown(); });
}

TEST(DragDrop, EscapeCancelsTheDragAndTheTargetSeesItLeave) {
    UiThread ui;
    DragScene scene;
    ui.Run([&] { scene.Build(false); });
    scene.StartDrag();
    InjectMouseMove(POINT{kTarget.x + 20, kTarget.y + 30});
    ASSERT_TRUE(scene.journal.WaitFor("enter"));
    InjectKey(VK_ESCAPE, true);
    ASSERT_TRUE(scene.journal.WaitFor("done"));
    InjectKey(VK_ESCAPE, false);
    InjectMouseButton(MouseButton::Left, false, POINT{kTarget.x + 20, kTarget.y + 30});
    ui.WaitIdle();
    EXPECT_TRUE(SameSequence({"begin", "enter 20,30 keys 1 files", "leave", "done 0"}, scene.journal.Lines()));
    ui.Run([&] { scene.TearDown(); });
}

TEST(DragDrop, AWindowThatAcceptsFilesGetsTheDropAsWmDropFiles) {
    UiThread ui;
    DragScene scene;
    ui.Run([&] { scene.Build(true); });
    scene.StartDrag();
    InjectMouseMove(POINT{kTarget.x + 15, kTarget.y + 25});
    InjectMouseButton(MouseButton::Left, false, POINT{kTarget.x + 15, kTarget.y + 25});
    ASSERT_TRUE(scene.journal.WaitFor("files"));
    EXPECT_TRUE(SameSequence({"begin", "done 1", "files 15,25 1 C:\\home\\a.txt"}, scene.journal.Lines()));
    ui.Run([&] { scene.TearDown(); });
}

TEST(DragDrop, RegistrationIsOncePerWindowAndEndsWithIt) {
    UiThread ui;
    ui.Run([] {
        Journal journal;
        HWND window = MakeTestWindow("OstranaDropHere", FilesProcedure, WS_POPUP, RECT{0, 0, 10, 10});
        RecordingTarget first(journal), second(journal);
        EXPECT_TRUE(first.Register(CWnd::FromHandle(window)));
        EXPECT_FALSE(second.Register(CWnd::FromHandle(window)));
        first.Revoke();
        EXPECT_EQ(DRAGDROP_E_NOTREGISTERED, RevokeDragDrop(window));
        EXPECT_TRUE(second.Register(CWnd::FromHandle(window)));
        DestroyWindow(window); // without revoking: the registration goes with the window
        EXPECT_EQ(DRAGDROP_E_NOTREGISTERED, RevokeDragDrop(window));
        second.Revoke();
    });
}

} // namespace
} // namespace ostrana::test
