#include "platform/window/WindowSnapshot.h"

#include "platform/gdi/ScreenOverlay.h"
#include "platform/gdi/ScreenSize.h"
#include "platform/window/ButtonControl.h"
#include "platform/window/Caret.h"
#include "platform/window/Cursor.h"
#include "platform/window/DisplayChanges.h"
#include "platform/window/WindowGeometry.h"
#include "platform/window/WindowSystem.h"

namespace ostrana {
namespace {

using namespace detail;

const SharedDisplayList& EmptyList() {
    static const SharedDisplayList empty = std::make_shared<const DisplayList>();
    return empty;
}

// The frame painter draws inside the window; a list that reached beyond it is cut here.
SharedDisplayList NonClientPictureOf(const WindowObject& window) {
    if (!window.nonClientPicture) return EmptyList();
    RECT bounds{0, 0, Width(window.rect), Height(window.rect)};
    if (!ReachesOutside(*window.nonClientPicture, bounds)) return window.nonClientPicture;
    return std::make_shared<const DisplayList>(ClipDisplayList(*window.nonClientPicture, bounds));
}

struct Walk {
    DesktopSnapshot& out;

    void Window(const WindowObject& window, int depth, int zOrder, bool parentVisible, bool parentEnabled) {
        WindowState state;
        state.handle = window.handle;
        state.parent = window.parent;
        state.owner = window.owner;
        state.depth = depth;
        state.zOrder = zOrder;
        state.className = window.windowClass->name;
        state.id = (window.style & WS_CHILD) ? window.id : 0;
        state.style = window.style;
        state.exStyle = window.exStyle;
        POINT client = ClientOriginOnScreen(window);
        RECT clientArea = ClientRectOf(window);
        state.clientRect = RECT{client.x, client.y, client.x + clientArea.right, client.y + clientArea.bottom};
        state.windowRect = window.rect;
        if (auto parent = Find(window.parent)) {
            POINT origin = ClientOriginOnScreen(*parent);
            OffsetRect(&state.windowRect, origin.x, origin.y);
        }
        state.text = window.text;
        state.shownFlag = (window.style & WS_VISIBLE) != 0;
        state.visible = parentVisible && state.shownFlag;
        state.enabled = (window.style & WS_DISABLED) == 0;
        state.enabledInTree = parentEnabled && state.enabled;
        if (window.windowClass->name == WC_BUTTONA && IsCheckButtonStyle(window.style)) state.check = static_cast<int>(window.check);
        state.picture = window.picture ? SharedDisplayList(window.picture) : EmptyList();
        state.nonClientPicture = NonClientPictureOf(window);
        state.overlay = WindowOverlay(window.handle);
        bool visible = state.visible;
        bool enabled = state.enabledInTree;
        out.windows.push_back(std::move(state));
        Children(window.children, depth + 1, visible, enabled);
    }

    // `siblings` are top of the z-order first. The order here is the order in which what they
    // paint lands on the screen, later over earlier: a full repaint visits siblings from the top
    // down, and only a window with WS_CLIPSIBLINGS (a top-level window always) is kept out from
    // under the siblings above it. So those come first, from the bottom up, and the child windows
    // without it after them from the top down, each over the siblings above it it overlaps (a
    // dialog's gauge fill over the gauge behind it, created before it).
    void Children(const std::vector<HWND>& siblings, int depth, bool visible, bool enabled) {
        auto clipped = [](const WindowObject& window) {
            return (window.style & WS_CHILD) == 0 || (window.style & WS_CLIPSIBLINGS) != 0;
        };
        for (std::size_t i = siblings.size(); i-- > 0;) {
            if (auto child = Find(siblings[i]); child && clipped(*child))
                Window(*child, depth, static_cast<int>(i), visible, enabled);
        }
        for (std::size_t i = 0; i < siblings.size(); ++i) {
            if (auto child = Find(siblings[i]); child && !clipped(*child))
                Window(*child, depth, static_cast<int>(i), visible, enabled);
        }
    }
};

} // namespace

const WindowState* DesktopSnapshot::Find(HWND window) const {
    for (const WindowState& state : windows) {
        if (state.handle == window) return &state;
    }
    return nullptr;
}

DesktopSnapshot TakeDesktopSnapshot() {
    DesktopSnapshot snapshot;
    Lock lock = LockSystem();
    // The overlays' lock is only ever taken inside the system's, never the other way round.
    snapshot.screenOverlay = std::make_shared<const DisplayList>(ScreenOverlay());
    snapshot.changeBatch = PendingDisplayBatch();
    snapshot.screen = ScreenSize();
    System& sys = Sys();
    Walk{snapshot}.Children(sys.topLevel, 0, true, true);
    snapshot.focus = KeyboardFocusWindowLocked();
    if (auto queue = QueueOf(sys.foreground)) snapshot.active = detail::Find(queue->active) ? queue->active : nullptr;
    snapshot.capture = detail::Find(sys.capture) ? sys.capture : nullptr;
    snapshot.cursor = CursorName(sys.cursor);
    snapshot.cursorRef = ParseImageDescription(snapshot.cursor);
    if (snapshot.cursorRef.origin == ImageOrigin::None && !snapshot.cursor.empty()) {
        snapshot.cursorRef.origin = ImageOrigin::Platform;
        snapshot.cursorRef.kind = ImageKind::Cursor;
        snapshot.cursorRef.name = snapshot.cursor;
    }
    snapshot.cursorPos = sys.cursorPos;
    // The caret's lock is a leaf, so it may be read under the system's.
    CaretInfo caret = CurrentCaret();
    snapshot.caret = CaretState{caret.window,
                                RECT{caret.position.x, caret.position.y, caret.position.x + caret.width,
                                     caret.position.y + caret.height},
                                caret.shown, GetCaretBlinkTime()};
    return snapshot;
}

} // namespace ostrana
