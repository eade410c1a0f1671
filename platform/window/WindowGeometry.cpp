#include "platform/window/WindowGeometry.h"

#include <algorithm>

#include "platform/window/Focus.h"
#include "platform/window/Messages.h"
#include "platform/window/WindowSystem.h"

namespace ostrana {

RECT FrameInsets(DWORD style, DWORD exStyle) {
    int edge = 0;
    int caption = 0;
    if ((style & WS_CAPTION) == WS_CAPTION) {
        edge = (style & WS_THICKFRAME) ? 4 : 3;
        caption = 18;
    } else if (style & WS_THICKFRAME) {
        edge = 4;
    } else if (style & WS_DLGFRAME) {
        edge = 3;
    } else if (style & WS_BORDER) {
        edge = 1;
    } else if (exStyle & WS_EX_DLGMODALFRAME) {
        edge = 3;
    }
    if (exStyle & WS_EX_CLIENTEDGE) edge += 2;
    if (exStyle & WS_EX_STATICEDGE) edge += 1;
    return RECT{edge, edge + caption, edge, edge};
}

} // namespace ostrana

namespace ostrana::detail {

RECT ClientRectOf(const WindowObject& window) {
    RECT insets = window.nonClient.insets;
    LONG width = std::max<LONG>(0, Width(window.rect) - insets.left - insets.right);
    LONG height = std::max<LONG>(0, Height(window.rect) - insets.top - insets.bottom);
    return RECT{0, 0, width, height};
}

POINT ClientOriginOnScreen(const WindowObject& window) {
    RECT insets = window.nonClient.insets;
    POINT origin{window.rect.left + insets.left, window.rect.top + insets.top};
    if (window.parent != nullptr) {
        if (auto parent = Find(window.parent)) {
            POINT parentOrigin = ClientOriginOnScreen(*parent);
            origin.x += parentOrigin.x;
            origin.y += parentOrigin.y;
        }
    }
    return origin;
}

bool VisibleLocked(const WindowObject& window) {
    if (!(window.style & WS_VISIBLE)) return false;
    if (window.parent == nullptr) return true;
    auto parent = Find(window.parent);
    return parent && VisibleLocked(*parent);
}

bool EnabledLocked(const WindowObject& window) {
    if (window.style & WS_DISABLED) return false;
    if (window.parent == nullptr) return true;
    auto parent = Find(window.parent);
    return parent && EnabledLocked(*parent);
}

namespace {

HWND DeepestChildAt(const WindowObject& window, POINT screen) {
    for (HWND child : window.children) {
        auto object = Find(child);
        if (!object || !(object->style & WS_VISIBLE)) continue;
        POINT origin{0, 0};
        if (auto parent = Find(object->parent)) origin = ClientOriginOnScreen(*parent);
        RECT rect = object->rect;
        OffsetRect(&rect, origin.x, origin.y);
        if (!PtInRect(&rect, screen)) continue;
        // A group box is only a frame; what lies in it is reached through its siblings.
        if (object->windowClass->name == "Button" && (object->style & 0xF) == 7) continue;
        HWND deeper = DeepestChildAt(*object, screen);
        return deeper != nullptr ? deeper : child;
    }
    return nullptr;
}

void MoveInZOrder(std::vector<HWND>& siblings, HWND window, HWND after) {
    auto it = std::find(siblings.begin(), siblings.end(), window);
    if (it == siblings.end()) return;
    siblings.erase(it);
    if (after == HWND_TOP || after == HWND_TOPMOST) {
        siblings.insert(siblings.begin(), window);
    } else if (after == HWND_BOTTOM) {
        siblings.push_back(window);
    } else {
        auto position = std::find(siblings.begin(), siblings.end(), after);
        siblings.insert(position == siblings.end() ? siblings.begin() : position + 1, window);
    }
}

} // namespace
} // namespace ostrana::detail

using namespace ostrana;
using namespace ostrana::detail;

BOOL GetWindowRect(HWND handle, LPRECT rect) {
    Lock lock = LockSystem();
    auto window = Find(handle);
    if (!window || rect == nullptr) return FALSE;
    *rect = window->rect;
    if (auto parent = Find(window->parent)) {
        POINT origin = ClientOriginOnScreen(*parent);
        OffsetRect(rect, origin.x, origin.y);
    }
    return TRUE;
}

BOOL GetClientRect(HWND handle, LPRECT rect) {
    Lock lock = LockSystem();
    auto window = Find(handle);
    if (!window || rect == nullptr) return FALSE;
    *rect = ClientRectOf(*window);
    return TRUE;
}

BOOL ScreenToClient(HWND handle, LPPOINT point) {
    Lock lock = LockSystem();
    auto window = Find(handle);
    if (!window || point == nullptr) return FALSE;
    POINT origin = ClientOriginOnScreen(*window);
    point->x -= origin.x;
    point->y -= origin.y;
    return TRUE;
}

BOOL ClientToScreen(HWND handle, LPPOINT point) {
    Lock lock = LockSystem();
    auto window = Find(handle);
    if (!window || point == nullptr) return FALSE;
    POINT origin = ClientOriginOnScreen(*window);
    point->x += origin.x;
    point->y += origin.y;
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
    Lock lock = LockSystem();
    POINT fromOrigin{0, 0};
    POINT toOrigin{0, 0};
    if (from != nullptr) {
        auto window = Find(from);
        if (!window) return 0;
        fromOrigin = ClientOriginOnScreen(*window);
    }
    if (to != nullptr) {
        auto window = Find(to);
        if (!window) return 0;
        toOrigin = ClientOriginOnScreen(*window);
    }
    LONG dx = fromOrigin.x - toOrigin.x;
    LONG dy = fromOrigin.y - toOrigin.y;
    for (UINT i = 0; points != nullptr && i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    return static_cast<int>(MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy)));
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint) {
    return SetWindowPos(window, nullptr, x, y, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL SetWindowPos(HWND handle, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    bool moved = false;
    bool sized = false;
    bool reordered = false;
    RECT client{};
    RECT rect{};
    {
        Lock lock = LockSystem();
        auto window = Find(handle);
        if (!window) return FALSE;
        RECT before = window->rect;
        if (!(flags & SWP_NOMOVE)) OffsetRect(&window->rect, x - before.left, y - before.top);
        if (!(flags & SWP_NOSIZE)) {
            window->rect.right = window->rect.left + std::max(0, cx);
            window->rect.bottom = window->rect.top + std::max(0, cy);
        }
        moved = before.left != window->rect.left || before.top != window->rect.top;
        sized = Width(before) != Width(window->rect) || Height(before) != Height(window->rect);
        if (!(flags & SWP_NOZORDER)) {
            std::vector<HWND>* siblings = &Sys().topLevel;
            if (auto parent = Find(window->parent)) siblings = &parent->children;
            std::vector<HWND> previous = *siblings;
            MoveInZOrder(*siblings, handle, insertAfter);
            reordered = previous != *siblings;
            if (insertAfter == HWND_TOPMOST) window->exStyle |= WS_EX_TOPMOST;
            if (insertAfter == HWND_NOTOPMOST) window->exStyle &= ~static_cast<DWORD>(WS_EX_TOPMOST);
        }
        if ((sized || (flags & SWP_FRAMECHANGED)) && !(flags & SWP_NOREDRAW)) InvalidateLocked(*window, nullptr, true);
        client = ClientRectOf(*window);
        rect = window->rect;
    }
    if (sized || (flags & SWP_FRAMECHANGED)) {
        RECT before = client;
        RecalcFrame(handle);
        GetClientRect(handle, &client);
        sized = sized || Width(before) != Width(client) || Height(before) != Height(client);
    }
    if (moved) SendMessageA(handle, WM_MOVE, 0, MAKELPARAM(rect.left, rect.top));
    if (sized) SendMessageA(handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    if (moved || sized) NotifyChange(handle, WindowChange::Moved);
    if (reordered) NotifyChange(handle, WindowChange::ZOrder);
    if (flags & SWP_SHOWWINDOW) ShowWindow(handle, SW_SHOWNA);
    if (flags & SWP_HIDEWINDOW) ShowWindow(handle, SW_HIDE);
    return TRUE;
}

BOOL BringWindowToTop(HWND window) { return SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

BOOL ShowWindow(HWND handle, int command) {
    bool show = command != SW_HIDE;
    bool wasVisible = false;
    {
        Lock lock = LockSystem();
        auto window = Find(handle);
        if (!window) return FALSE;
        wasVisible = (window->style & WS_VISIBLE) != 0;
        if (wasVisible == show) return wasVisible;
    }
    SendMessageA(handle, WM_SHOWWINDOW, show, 0);
    {
        Lock lock = LockSystem();
        auto window = Find(handle);
        if (!window) return FALSE;
        if (show) {
            window->style |= WS_VISIBLE;
            InvalidateLocked(*window, nullptr, true);
        } else {
            window->style &= ~static_cast<DWORD>(WS_VISIBLE);
        }
    }
    if (!show) {
        HWND focus = GetFocus();
        if (focus == handle || IsChild(handle, focus)) SetFocus(GetParent(handle));
    }
    NotifyChange(handle, show ? WindowChange::Shown : WindowChange::Hidden);
    if (show && command != SW_SHOWNA && command != SW_SHOWNOACTIVATE && !(GetWindowLongPtrA(handle, GWL_STYLE) & WS_CHILD)) {
        SetActiveWindow(handle);
    }
    return wasVisible;
}

BOOL IsWindowVisible(HWND handle) {
    Lock lock = LockSystem();
    auto window = Find(handle);
    return window && VisibleLocked(*window);
}

BOOL EnableWindow(HWND handle, BOOL enable) {
    bool wasDisabled = false;
    {
        Lock lock = LockSystem();
        auto window = Find(handle);
        if (!window) return FALSE;
        wasDisabled = (window->style & WS_DISABLED) != 0;
        if (wasDisabled == !enable) return wasDisabled;
        if (enable) window->style &= ~static_cast<DWORD>(WS_DISABLED);
        else window->style |= WS_DISABLED;
        InvalidateLocked(*window, nullptr, true);
    }
    // Focus belongs to the window's own thread: judge and drop it there, also when another thread
    // disables the window (a worker's modal prompt disabling its owner).
    RunOnWindowThread(handle, [handle, enable] {
        if (!enable && GetFocus() == handle) SetFocus(nullptr);
        SendMessageA(handle, WM_ENABLE, enable, 0);
    });
    NotifyChange(handle, WindowChange::Enabled);
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND handle) {
    Lock lock = LockSystem();
    auto window = Find(handle);
    return window && !(window->style & WS_DISABLED);
}

HWND WindowFromPoint(POINT point) { return ostrana::DeepestWindowAt(point); }

HWND ChildWindowFromPoint(HWND parent, POINT point) {
    Lock lock = LockSystem();
    auto window = Find(parent);
    if (!window) return nullptr;
    POINT origin = ClientOriginOnScreen(*window);
    POINT screen{point.x + origin.x, point.y + origin.y};
    for (HWND child : window->children) {
        auto object = Find(child);
        if (!object) continue;
        RECT rect = object->rect;
        OffsetRect(&rect, origin.x, origin.y);
        if (PtInRect(&rect, screen)) return child;
    }
    RECT client = ClientRectOf(*window);
    return PtInRect(&client, point) ? parent : nullptr;
}

BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL, DWORD exStyle) {
    if (rect == nullptr) return FALSE;
    RECT insets = FrameInsets(style, exStyle);
    rect->left -= insets.left;
    rect->top -= insets.top;
    rect->right += insets.right;
    rect->bottom += insets.bottom;
    return TRUE;
}

namespace ostrana {

HWND DeepestWindowAt(POINT screen) {
    Lock lock = LockSystem();
    return detail::DeepestWindowAtLocked(screen);
}

} // namespace ostrana

namespace ostrana::detail {

HWND DeepestWindowAtLocked(POINT screen) {
    std::vector<HWND> order = Sys().topLevel;
    std::stable_partition(order.begin(), order.end(), [](HWND handle) {
        auto window = Find(handle);
        return window && (window->exStyle & WS_EX_TOPMOST);
    });
    for (HWND top : order) {
        auto window = Find(top);
        if (!window || !(window->style & WS_VISIBLE) || !PtInRect(&window->rect, screen)) continue;
        HWND child = DeepestChildAt(*window, screen);
        return child != nullptr ? child : top;
    }
    return nullptr;
}

} // namespace ostrana
