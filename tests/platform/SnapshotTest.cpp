// The container's view: the desktop snapshot (contents, painting order, consistency while another
// thread moves and repaints), change events batched per turn of the message loop, and window
// overlays that drawing twice removes.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/gdi/ScreenOverlay.h"
#include "platform/window/Clipboard.h"
#include "platform/window/Controls.h"
#include "platform/window/Cursor.h"
#include "platform/window/DisplayChanges.h"
#include "platform/window/Focus.h"
#include "platform/window/Paint.h"
#include "platform/window/WindowSnapshot.h"
#include "tests/platform/TestWindows.h"
#include "tests/support/WindowHarness.h"

namespace ostrana::test {
namespace {

// Paints its text on eight lines in one picture, so a picture is whole when all eight agree.
LRESULT TextPainter(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    std::string text = WindowText(window);
    for (int line = 0; line < 8; ++line) TextOutA(dc, 0, line * 12, text.c_str(), -1);
    EndPaint(window, &paint);
    return 0;
}

class BatchRecorder : public DisplayChangeListener {
public:
    BatchRecorder() { AddDisplayChangeListener(this); }
    ~BatchRecorder() override { RemoveDisplayChangeListener(this); }
    void OnDisplayChanges(const DisplayChangeBatch& batch) override {
        std::lock_guard guard(m_lock);
        m_batches.push_back(batch);
    }
    std::vector<DisplayChangeBatch> Batches() {
        std::lock_guard guard(m_lock);
        return m_batches;
    }
    // The events about `window`, batch after batch, as "event" names.
    std::vector<std::string> EventsOf(HWND window) {
        std::vector<std::string> events;
        for (const DisplayChangeBatch& batch : Batches()) {
            for (const DisplayChange& change : batch.changes) {
                if (change.window == window) events.push_back(DisplayEventName(change.event));
            }
        }
        return events;
    }

private:
    std::mutex m_lock;
    std::vector<DisplayChangeBatch> m_batches;
};

TEST(DesktopSnapshot, ListsTheTreeInPaintingOrderWithScreenRectanglesStateAndSharedPictures) {
    UiThread ui;
    HWND top = nullptr, first = nullptr, second = nullptr;
    ui.Run([&] {
        top = MakeTestWindow("SnapTop", TextPainter, WS_POPUP | WS_VISIBLE | WS_BORDER, RECT{100, 50, 300, 250});
        first = MakeTestWindow("SnapChild", TextPainter, WS_CHILD | WS_VISIBLE, RECT{10, 20, 60, 40}, top, 7);
        second = MakeTestWindow("SnapChild", TextPainter, WS_CHILD | WS_DISABLED, RECT{0, 0, 5, 5}, top, 8);
        SetWindowTextA(top, "top");
        SetWindowTextA(first, "child");
        SetFocus(first);
        SetCursor(LoadCursorA(nullptr, IDC_SIZEWE));
    });
    ui.WaitIdle();
    DesktopSnapshot snapshot = TakeDesktopSnapshot();
    const WindowState* topState = snapshot.Find(top);
    const WindowState* firstState = snapshot.Find(first);
    const WindowState* secondState = snapshot.Find(second);
    ASSERT_NE(nullptr, topState);
    ASSERT_NE(nullptr, firstState);
    ASSERT_NE(nullptr, secondState);
    // Children come after their parent. `first` is on top of the z-order, but neither clips its
    // siblings, so a repaint from the top down lands `second` over it.
    EXPECT_LT(topState, firstState);
    EXPECT_LT(firstState, secondState);
    EXPECT_EQ(0, firstState->zOrder);
    EXPECT_EQ(1, secondState->zOrder);
    EXPECT_EQ(1, firstState->depth);
    EXPECT_EQ(top, firstState->parent);
    EXPECT_EQ("SnapChild", firstState->className);
    EXPECT_EQ(7, firstState->id);
    EXPECT_EQ("top", topState->text);
    EXPECT_EQ(RectText(RECT{100, 50, 300, 250}), RectText(topState->windowRect));
    EXPECT_EQ(RectText(RECT{101, 51, 299, 249}), RectText(topState->clientRect));
    EXPECT_EQ(RectText(RECT{111, 71, 161, 91}), RectText(firstState->windowRect));
    EXPECT_TRUE(firstState->visible);
    EXPECT_FALSE(secondState->visible);
    EXPECT_FALSE(secondState->enabled);
    EXPECT_EQ(first, snapshot.focus);
    EXPECT_EQ(top, snapshot.active);
    EXPECT_EQ("sizewe", snapshot.cursor);
    EXPECT_EQ(ImageOrigin::Platform, snapshot.cursorRef.origin);
    EXPECT_EQ(1920, snapshot.screen.cx);
    ASSERT_EQ(8u, topState->picture->size());
    EXPECT_EQ("top", topState->picture->front().text);
    EXPECT_TRUE(secondState->nonClientPicture->empty());
    ASSERT_FALSE(topState->nonClientPicture->empty()) << "the border is the platform's";
    EXPECT_EQ(topState->nonClientPicture, TakeDesktopSnapshot().Find(top)->nonClientPicture) << "shared, not copied";
    // The child's client area is 20 pixels high: of its eight lines only those at 0 and 12 can show.
    EXPECT_EQ(2u, firstState->picture->size());

    // The snapshot keeps the picture it was given while the window paints anew.
    SharedDisplayList kept = topState->picture;
    ui.Run([&] {
        SetWindowTextA(top, "again");
        InvalidateRect(top, nullptr, TRUE);
        UpdateWindow(top);
    });
    EXPECT_EQ("top", kept->front().text);
    EXPECT_EQ("again", TakeDesktopSnapshot().Find(top)->picture->front().text);
    ui.Run([&] { DestroyWindow(top); });
    EXPECT_EQ(nullptr, TakeDesktopSnapshot().Find(first));
}

// Where siblings overlap, what shows is what a full repaint leaves: a sibling with
// WS_CLIPSIBLINGS stays under those above it; one without lands over them.
TEST(DesktopSnapshot, OrdersOverlappingSiblingsAsARepaintFromTheTopDownLeavesThem) {
    UiThread ui;
    HWND top = nullptr, upper = nullptr, clipping = nullptr, plain = nullptr, popup = nullptr;
    ui.Run([&] {
        top = MakeTestWindow("SnapTop", TextPainter, WS_POPUP | WS_VISIBLE, RECT{0, 0, 200, 200});
        upper = MakeTestWindow("SnapChild", TextPainter, WS_CHILD | WS_VISIBLE, RECT{0, 0, 100, 100}, top, 1);
        clipping = MakeTestWindow("SnapChild", TextPainter, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                                  RECT{10, 10, 90, 90}, top, 2);
        plain = MakeTestWindow("SnapChild", TextPainter, WS_CHILD | WS_VISIBLE, RECT{20, 20, 80, 80}, top, 3);
        popup = MakeTestWindow("SnapPopup", TextPainter, WS_POPUP | WS_VISIBLE, RECT{50, 50, 150, 150});
    });
    DesktopSnapshot snapshot = TakeDesktopSnapshot();
    const WindowState* states[] = {snapshot.Find(top), snapshot.Find(upper), snapshot.Find(clipping),
                                   snapshot.Find(plain), snapshot.Find(popup)};
    for (const WindowState* state : states) ASSERT_NE(nullptr, state);
    EXPECT_LT(states[2], states[1]) << "the clipping child stays under the one above it";
    EXPECT_LT(states[1], states[3]) << "the plain child lands over the one above it";
    EXPECT_LT(states[0], states[4]) << "top-level windows always clip each other: the newer popup is on top";
    EXPECT_LT(states[1]->zOrder, states[2]->zOrder) << "the z-order itself is unchanged";
    ui.Run([&] {
        DestroyWindow(popup);
        DestroyWindow(top);
    });
}

// The container snapshots from its own thread while a dialog's thread (a transfer's prompt) clicks.
TEST(DesktopSnapshot, CarriesTheCheckOfCheckBoxesAndRadioButtonsReadFromAnotherThread) {
    UiThread ui;
    HWND top = nullptr, push = nullptr, box = nullptr, first = nullptr, second = nullptr;
    ui.Run([&] {
        top = MakeTestWindow("SnapTop", TextPainter, WS_POPUP | WS_VISIBLE, RECT{0, 0, 300, 200});
        auto button = [&](DWORD style, int id) {
            return CreateWindowExA(0, WC_BUTTONA, "b", WS_CHILD | WS_VISIBLE | style, 0, id * 20, 100, 18, top,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
        };
        push = button(BS_PUSHBUTTON, 1);
        box = button(BS_AUTO3STATE, 2);
        first = button(BS_AUTORADIOBUTTON | WS_GROUP, 3);
        second = button(BS_AUTORADIOBUTTON, 4);
        SendMessageA(first, BM_SETCHECK, BST_CHECKED, 0);
        SendMessageA(box, BM_SETCHECK, BST_INDETERMINATE, 0);
    });
    auto check = [](HWND window) { return TakeDesktopSnapshot().Find(window)->check; };
    EXPECT_EQ(-1, check(top));
    EXPECT_EQ(-1, check(push));
    EXPECT_EQ(BST_INDETERMINATE, check(box));
    EXPECT_EQ(BST_CHECKED, check(first));
    EXPECT_EQ(BST_UNCHECKED, check(second));
    ui.Run([&] { SendMessageA(second, BM_CLICK, 0, 0); });
    EXPECT_EQ(BST_UNCHECKED, check(first)) << "an automatic radio button takes the check from its group";
    EXPECT_EQ(BST_CHECKED, check(second));
    ui.Run([&] { DestroyWindow(top); });
}

TEST(DesktopSnapshot, IsAlwaysConsistentWhileAnotherThreadMovesAndRepaintsWindows) {
    std::atomic<bool> done{false};
    std::atomic<bool> faulted{false};
    std::atomic<int> checked{0};
    std::atomic<HWND> parentHandle{nullptr};
    std::atomic<HWND> childHandle{nullptr};
    std::thread mover([&] {
        HWND parent = MakeTestWindow("SnapMoved", TextPainter, WS_POPUP | WS_VISIBLE, RECT{0, 0, 200, 200});
        HWND child = MakeTestWindow("SnapMoved", TextPainter, WS_CHILD | WS_VISIBLE, RECT{10, 10, 110, 110}, parent, 1);
        parentHandle = parent;
        childHandle = child;
        // Moves on until the checker has seen enough snapshots with both windows in them.
        for (int step = 0; !faulted && (step < 1500 || checked < 300); ++step) {
            MoveWindow(parent, step % 400, step % 300, 200, 200, TRUE);
            SetWindowTextA(child, std::to_string(step).c_str());
            InvalidateRect(child, nullptr, TRUE);
            UpdateWindow(child);
            HWND passing = MakeTestWindow("SnapMoved", TextPainter, WS_CHILD | WS_VISIBLE, RECT{0, 0, 5, 5}, child, 2);
            DestroyWindow(passing);
        }
        done = true;
        DestroyWindow(parent);
    });
    SharedDisplayList held;
    std::string heldText;
    std::string fault;
    auto check = [&](const DesktopSnapshot& snapshot) -> std::string {
        for (const WindowState& state : snapshot.windows) {
            if (state.parent == nullptr) continue;
            const WindowState* parent = snapshot.Find(state.parent);
            if (parent == nullptr) return "a listed window's parent is missing";
            if (parent > &state) return "a child is listed before its parent";
        }
        const WindowState* parent = snapshot.Find(parentHandle);
        const WindowState* child = snapshot.Find(childHandle);
        if (parent == nullptr || child == nullptr) return {};
        if (child->windowRect.left != parent->clientRect.left + 10 || child->windowRect.top != parent->clientRect.top + 10) {
            return "the child's rectangle belongs to another position of its parent";
        }
        const DisplayList& picture = *child->picture;
        if (picture.empty()) return {};
        if (picture.size() != 8) return "a picture of " + std::to_string(picture.size()) + " lines";
        for (const DisplayOp& op : picture) {
            if (op.text != picture.front().text) return "half a picture";
        }
        if (!held) {
            held = child->picture;
            heldText = picture.front().text;
        }
        ++checked;
        return {};
    };
    while (!done && fault.empty()) fault = check(TakeDesktopSnapshot());
    faulted = !fault.empty();
    mover.join();
    EXPECT_EQ("", fault);
    EXPECT_GE(checked, 300);
    if (held) {
        EXPECT_EQ(heldText, held->front().text) << "a shared picture changed after the snapshot";
    }
}

TEST(DisplayChanges, ComeInBatchesPerTurnOfTheLoopEachChangeOnce) {
    BatchRecorder recorder;
    UiThread ui;
    HWND window = nullptr;
    ui.Run([&] {
        window = MakeTestWindow("Batched", TextPainter, WS_POPUP, RECT{0, 0, 50, 50});
        ShowWindow(window, SW_SHOWNA);
        SetWindowTextA(window, "a");
        SetWindowTextA(window, "b");
        MoveWindow(window, 5, 5, 60, 60, TRUE);
        MoveWindow(window, 6, 6, 60, 60, TRUE);
    });
    ui.WaitIdle();
    ui.Run([&] {
        EnableWindow(window, FALSE);
        SetWindowLongPtrA(window, GWL_STYLE, GetWindowLongPtrA(window, GWL_STYLE) & ~WS_VISIBLE);
        DestroyWindow(window);
    });
    ui.WaitIdle();
    EXPECT_TRUE(SameSequence({"created", "text", "shown", "moved", "picture", "enabled", "hidden", "destroyed"},
                             recorder.EventsOf(window)));
    std::vector<DisplayChangeBatch> batches = recorder.Batches();
    ASSERT_GE(batches.size(), 3u);
    for (std::size_t i = 1; i < batches.size(); ++i) EXPECT_EQ(batches[i - 1].sequence + 1, batches[i].sequence);
}

TEST(DisplayChanges, NameFocusCursorAndOverlayChanges) {
    BatchRecorder recorder;
    UiThread ui;
    HWND window = nullptr;
    ui.Run([&] {
        window = MakeTestWindow("BatchedFocus", DefWindowProcA, WS_POPUP | WS_VISIBLE, RECT{0, 0, 50, 50});
        SetFocus(window);
        SetCursor(LoadCursorA(nullptr, IDC_HAND));
        HDC dc = GetDC(window);
        RECT box{1, 1, 9, 9};
        InvertRect(dc, &box);
        ReleaseDC(window, dc);
    });
    ui.WaitIdle();
    std::vector<std::string> events = recorder.EventsOf(window);
    EXPECT_NE(events.end(), std::find(events.begin(), events.end(), "focus"));
    EXPECT_NE(events.end(), std::find(events.begin(), events.end(), "overlay"));
    EXPECT_NE(std::vector<std::string>{}, recorder.EventsOf(nullptr));
    EXPECT_EQ("cursor", recorder.EventsOf(nullptr).back());
    ui.Run([&] { DestroyWindow(window); });
}

TEST(DisplayChanges, AnnounceAChangedClipboard) {
    BatchRecorder recorder;
    UiThread ui;
    ui.Run([&] { EXPECT_TRUE(PutClipboardText("붙여넣을 글")); });
    ui.WaitIdle();
    std::vector<std::string> events = recorder.EventsOf(nullptr);
    EXPECT_NE(events.end(), std::find(events.begin(), events.end(), "clipboard"));
}

TEST(WindowOverlay, InvertingFiguresOnAWindowDcToggleInsteadOfGrowingThePicture) {
    UiThread ui;
    HWND window = nullptr;
    ui.Run([&] { window = MakeTestWindow("Outlined", TextPainter, WS_POPUP | WS_VISIBLE, RECT{0, 0, 200, 100}); });
    ui.WaitIdle();
    std::size_t pictureSize = WindowPicture(window).size();
    auto drawOutline = [&](int x) {
        ui.Run([&] {
            HDC dc = GetDC(window);
            SetROP2(dc, R2_NOT);
            SelectObject(dc, GetStockObject(NULL_BRUSH));
            Rectangle(dc, x, 10, x + 30, 40);
            SetROP2(dc, R2_NOTXORPEN);
            MoveToEx(dc, x, 0, nullptr);
            LineTo(dc, x, 90);
            ReleaseDC(window, dc);
        });
    };
    // A drag outline follows the mouse: each move erases the last one and draws the next.
    drawOutline(10);
    for (int x = 11; x < 60; ++x) {
        drawOutline(x - 1);
        drawOutline(x);
    }
    EXPECT_EQ(2u, WindowOverlay(window)->size());
    EXPECT_EQ(pictureSize, WindowPicture(window).size());
    drawOutline(59);
    EXPECT_TRUE(WindowOverlay(window)->empty());
    ui.Run([&] {
        HDC dc = GetDC(window);
        RECT box{5, 5, 25, 25};
        DrawFocusRect(dc, &box);
        InvertRect(dc, &box);
        FillRect(dc, &box, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        ReleaseDC(window, dc);
    });
    EXPECT_EQ(2u, WindowOverlay(window)->size());
    EXPECT_EQ(pictureSize + 1, WindowPicture(window).size()) << "lasting drawing still adds to the picture";
    EXPECT_EQ(2u, TakeDesktopSnapshot().Find(window)->overlay->size());
    ui.Run([&] { DestroyWindow(window); });
    EXPECT_TRUE(WindowOverlay(window)->empty());
}

} // namespace
} // namespace ostrana::test
