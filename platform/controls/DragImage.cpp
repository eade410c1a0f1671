// The image-list drag image: one image that follows the cursor on the screen overlay while a
// control drags with the mouse captured. Only one drag image exists per process; showing and
// hiding toggle the same overlay figure, so the screen is left as it was.
#include <mutex>

#include "platform/controls/ControlSupport.h"
#include "platform/gdi/ScreenOverlay.h"

namespace {

struct DragImage {
    HIMAGELIST list = nullptr;
    int index = 0;
    POINT hotspot{};
    HWND lock = nullptr;
    POINT position{}; // cursor position relative to the lock window's upper-left corner
    bool entered = false;
    bool shown = false;
};

std::mutex& DragLock() {
    static std::mutex lock;
    return lock;
}

DragImage& TheDrag() {
    static DragImage drag;
    return drag;
}

ostrana::DisplayOp Figure(const DragImage& drag) {
    RECT window{};
    if (drag.lock != nullptr) GetWindowRect(drag.lock, &window);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(drag.list, &cx, &cy);
    ostrana::DisplayOp op;
    op.kind = ostrana::OpKind::Image;
    LONG left = window.left + drag.position.x - drag.hotspot.x;
    LONG top = window.top + drag.position.y - drag.hotspot.y;
    op.rect = RECT{left, top, left + cx, top + cy};
    op.image = ostrana::ImageListEntry(drag.list, drag.index);
    op.flags = ILD_BLEND50;
    return op;
}

// Shows or hides the image; the caller holds the lock.
void Show(DragImage& drag, bool show) {
    if (drag.list == nullptr || !drag.entered || drag.shown == show) return;
    ostrana::ToggleOverlayFigure(Figure(drag));
    drag.shown = show;
}

} // namespace

BOOL ImageList_BeginDrag(HIMAGELIST list, int index, int dxHotspot, int dyHotspot) {
    std::lock_guard guard(DragLock());
    DragImage& drag = TheDrag();
    if (drag.list != nullptr || ostrana::ImageListEntry(list, index).empty()) return FALSE;
    drag.list = ImageList_Duplicate(list);
    drag.index = index;
    drag.hotspot = POINT{dxHotspot, dyHotspot};
    return drag.list != nullptr;
}

BOOL ImageList_DragEnter(HWND lock, int x, int y) {
    std::lock_guard guard(DragLock());
    DragImage& drag = TheDrag();
    if (drag.list == nullptr) return FALSE;
    Show(drag, false);
    drag.lock = lock;
    drag.position = POINT{x, y};
    drag.entered = true;
    Show(drag, true);
    return TRUE;
}

BOOL ImageList_DragMove(int x, int y) {
    std::lock_guard guard(DragLock());
    DragImage& drag = TheDrag();
    if (drag.list == nullptr) return FALSE;
    bool shown = drag.shown;
    Show(drag, false);
    drag.position = POINT{x, y};
    Show(drag, shown);
    return TRUE;
}

BOOL ImageList_DragShowNolock(BOOL show) {
    std::lock_guard guard(DragLock());
    DragImage& drag = TheDrag();
    if (drag.list == nullptr) return FALSE;
    Show(drag, show != FALSE);
    return TRUE;
}

BOOL ImageList_DragLeave(HWND) {
    std::lock_guard guard(DragLock());
    DragImage& drag = TheDrag();
    Show(drag, false);
    drag.entered = false;
    return TRUE;
}

void ImageList_EndDrag() {
    std::lock_guard guard(DragLock());
    DragImage& drag = TheDrag();
    Show(drag, false);
    if (drag.list != nullptr) ImageList_Destroy(drag.list);
    drag = DragImage{};
}
