#include "platform/window/Paint.h"

#include "platform/window/WindowSystem.h"

namespace ostrana::detail {

void InvalidateLocked(WindowObject& window, const RECT* rect, bool erase) {
    if (!window.redraw) return;
    RECT client = ClientRectOf(window);
    RECT area = rect != nullptr ? *rect : client;
    if (window.invalid) UnionRect(&window.update, &window.update, &area);
    else window.update = area;
    window.invalid = true;
    window.erase = window.erase || erase;
    WakeQueue(window.thread);
}

namespace {

void InvalidateTree(HWND handle, const RECT* rect, bool erase, bool children) {
    std::vector<HWND> kids;
    {
        Lock lock = LockSystem();
        auto window = Find(handle);
        if (!window) return;
        InvalidateLocked(*window, rect, erase);
        if (children) kids = window->children;
    }
    for (HWND child : kids) InvalidateTree(child, nullptr, erase, true);
}

void UpdateTree(HWND handle, bool children) {
    UpdateWindow(handle);
    if (!children) return;
    std::vector<HWND> kids;
    {
        Lock lock = LockSystem();
        if (auto window = Find(handle)) kids = window->children;
    }
    for (HWND child : kids) UpdateTree(child, true);
}

} // namespace
} // namespace ostrana::detail

using namespace ostrana;
using namespace ostrana::detail;

HDC BeginPaint(HWND handle, LPPAINTSTRUCT paint) {
    if (paint == nullptr) return nullptr;
    bool erase = false;
    {
        Lock lock = LockSystem();
        auto window = Find(handle);
        if (!window) return nullptr;
        paint->rcPaint = window->invalid ? window->update : ClientRectOf(*window);
        erase = window->erase;
        ++window->paints;
        window->invalid = false;
        window->erase = false;
    }
    PaintFrameIfDirty(handle);
    HDC dc = CreateRecordingDC(handle);
    paint->hdc = dc;
    // Left for the painter to erase: asked for, and WM_ERASEBKGND did not do it.
    paint->fErase = FALSE;
    if (erase) paint->fErase = SendMessageA(handle, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0;
    return dc;
}

BOOL EndPaint(HWND handle, const PAINTSTRUCT* paint) {
    if (paint == nullptr) return FALSE;
    auto list = RecordedList(paint->hdc);
    DeleteDC(paint->hdc);
    if (!list) return FALSE;
    {
        Lock lock = LockSystem();
        auto window = Find(handle);
        if (!window) return FALSE;
        RECT client = ClientRectOf(*window);
        window->picture = ReachesOutside(*list, client) ? std::make_shared<DisplayList>(ClipDisplayList(*list, client)) : list;
    }
    NotifyPicture(handle);
    return TRUE;
}

HDC GetDC(HWND handle) {
    if (handle == nullptr) return CreateScreenDC();
    if (!IsWindow(handle)) return nullptr;
    return CreateDirectDC(handle);
}

HDC GetWindowDC(HWND handle) { return GetDC(handle); }

int ReleaseDC(HWND handle, HDC dc) {
    auto list = RecordedList(dc);
    void* owner = OwnerOfDC(dc);
    if (!DeleteDC(dc)) return 0;
    if (handle == nullptr || owner != handle || !list || list->empty()) return 1;
    {
        Lock lock = LockSystem();
        auto window = Find(handle);
        if (!window) return 0;
        // A new list, never the stored one changed: snapshots share pictures.
        auto picture = std::make_shared<DisplayList>(*window->picture);
        DisplayList added = ClipDisplayList(*list, ClientRectOf(*window));
        picture->insert(picture->end(), added.begin(), added.end());
        window->picture = picture;
    }
    NotifyPicture(handle);
    return 1;
}

HWND WindowFromDC(HDC dc) { return static_cast<HWND>(OwnerOfDC(dc)); }

BOOL InvalidateRect(HWND handle, const RECT* rect, BOOL erase) {
    if (handle == nullptr) return FALSE;
    Lock lock = LockSystem();
    auto window = Find(handle);
    if (!window) return FALSE;
    InvalidateLocked(*window, rect, erase != 0);
    return TRUE;
}

BOOL ValidateRect(HWND handle, const RECT*) {
    Lock lock = LockSystem();
    auto window = Find(handle);
    if (!window) return FALSE;
    window->invalid = false;
    window->erase = false;
    return TRUE;
}

BOOL UpdateWindow(HWND handle) {
    {
        Lock lock = LockSystem();
        auto window = Find(handle);
        if (!window) return FALSE;
        if (!window->invalid || !VisibleLocked(*window)) return TRUE;
    }
    SendMessageA(handle, WM_PAINT, 0, 0);
    ValidateRect(handle, nullptr);
    return TRUE;
}

BOOL RedrawWindow(HWND handle, const RECT* update, HRGN, UINT flags) {
    if (!IsWindow(handle)) return FALSE;
    bool children = (flags & RDW_ALLCHILDREN) != 0;
    if (flags & RDW_INVALIDATE) InvalidateTree(handle, update, (flags & RDW_ERASE) != 0, children);
    if (flags & RDW_VALIDATE) ValidateRect(handle, update);
    if (flags & RDW_UPDATENOW) UpdateTree(handle, children);
    return TRUE;
}

BOOL GetUpdateRect(HWND handle, LPRECT rect, BOOL) {
    Lock lock = LockSystem();
    auto window = Find(handle);
    if (!window) return FALSE;
    if (rect != nullptr) *rect = window->invalid ? window->update : RECT{};
    return window->invalid;
}

namespace ostrana {

unsigned PaintCount(HWND handle) {
    Lock lock = LockSystem();
    auto window = Find(handle);
    return window ? window->paints : 0;
}

DisplayList WindowPicture(HWND handle) {
    Lock lock = LockSystem();
    auto window = Find(handle);
    return window ? *window->picture : DisplayList{};
}

} // namespace ostrana
