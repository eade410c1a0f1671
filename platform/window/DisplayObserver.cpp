#include "platform/window/DisplayObserver.h"

#include <cstdio>
#include <vector>

#include "platform/base/CodePage.h"
#include "platform/gdi/ScreenOverlay.h"
#include "platform/window/Focus.h"
#include "platform/window/ObserverList.h"
#include "platform/window/WindowSystem.h"

namespace ostrana {
namespace {

// Never destroyed: a thread that ends while the process exits still reports its windows gone.
detail::ObserverList<DisplayObserver>& Observers() {
    static auto* observers = new detail::ObserverList<DisplayObserver>;
    return *observers;
}

template <typename Call> void ForEachObserver(const Call& call) { Observers().ForEach(call); }

std::string Escaped(const std::string& ansi) {
    std::string out;
    for (char c : AnsiToUtf8(ansi)) {
        if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else if (c == '\t') out += "\\t";
        else if (c == '"') out += "\\\"";
        else out += c;
    }
    return out;
}

void DumpWindow(HWND handle, int depth, bool includeHidden, HWND focus, std::string& out) {
    std::vector<HWND> children;
    DisplayList frame;
    DisplayList picture;
    {
        detail::Lock lock = detail::LockSystem();
        auto window = detail::Find(handle);
        if (!window) return;
        char style[64];
        std::snprintf(style, sizeof style, " style=0x%08X", static_cast<unsigned>(window->style));
        out.append(static_cast<std::size_t>(depth * 2), ' ');
        out += "window " + window->windowClass->name;
        if (window->style & WS_CHILD) out += " id=" + std::to_string(window->id);
        out += " \"" + Escaped(window->text) + "\" " + RectText(window->rect) + style;
        if (window->exStyle != 0) {
            std::snprintf(style, sizeof style, " ex=0x%X", static_cast<unsigned>(window->exStyle));
            out += style;
        }
        bool visible = (window->style & WS_VISIBLE) != 0;
        if (!visible) out += " hidden";
        if (window->style & WS_DISABLED) out += " disabled";
        if (handle == focus) out += " focus";
        out += '\n';
        if (!visible && !includeHidden) return;
        frame = *window->nonClientPicture;
        picture = *window->picture;
        children = window->children;
    }
    if (!frame.empty()) {
        out.append(static_cast<std::size_t>(depth * 2 + 2), ' ');
        out += "frame\n";
        DumpDisplayList(frame, depth * 2 + 4, out);
        out.append(static_cast<std::size_t>(depth * 2 + 2), ' ');
        out += "client\n";
    }
    DumpDisplayList(picture, depth * 2 + 4, out);
    // Children are listed top of the z-order first (for dialogs, the tab order); a renderer draws
    // them in the reverse order.
    for (HWND child : children) DumpWindow(child, depth + 1, includeHidden, focus, out);
}

struct OverlayBridge {
    OverlayBridge() {
        SetOverlayListener([](const void* window) {
            ForEachObserver([window](DisplayObserver& observer) {
                if (window == nullptr) observer.OnOverlayChanged();
                else observer.OnWindowChanged(static_cast<HWND>(const_cast<void*>(window)), WindowChange::Overlay);
            });
        });
    }
};

} // namespace

void AddDisplayObserver(DisplayObserver* observer) {
    static OverlayBridge bridge;
    Observers().Add(observer);
}

void RemoveDisplayObserver(DisplayObserver* observer) { Observers().Remove(observer); }

std::string DumpWindowTree(HWND root, bool includeHidden) {
    std::string out;
    DumpWindow(root, 0, includeHidden, KeyboardFocusWindow(), out);
    return out;
}

std::string DumpDesktop() {
    std::vector<HWND> top;
    {
        detail::Lock lock = detail::LockSystem();
        top = detail::Sys().topLevel;
    }
    std::string out;
    for (auto it = top.rbegin(); it != top.rend(); ++it) out += DumpWindowTree(*it);
    DisplayList overlay = ScreenOverlay();
    if (!overlay.empty()) {
        out += "overlay\n";
        DumpDisplayList(overlay, 4, out);
    }
    return out;
}

namespace detail {

void NotifyChange(HWND window, WindowChange change) {
    ForEachObserver([&](DisplayObserver& observer) { observer.OnWindowChanged(window, change); });
}

void NotifyPicture(HWND window) {
    ForEachObserver([&](DisplayObserver& observer) { observer.OnPicture(window); });
}

} // namespace detail
} // namespace ostrana
