#include "platform/gdi/ScreenOverlay.h"

#include <map>
#include <mutex>

namespace ostrana {
namespace {

struct Overlay {
    std::mutex lock;
    DisplayList figures;
    // Replaced, never changed in place, so a reader may keep the list it was given.
    std::map<const void*, std::shared_ptr<const DisplayList>> windows;
    std::function<void(const void*)> listener;
};

Overlay& TheOverlay() {
    static Overlay overlay;
    return overlay;
}

void Notify(const void* window) {
    std::function<void(const void*)> listener;
    {
        std::lock_guard guard(TheOverlay().lock);
        listener = TheOverlay().listener;
    }
    if (listener) listener(window);
}

void Toggle(DisplayList& figures, const DisplayOp& figure) {
    std::string key = DescribeOp(figure);
    for (auto it = figures.begin(); it != figures.end(); ++it) {
        if (DescribeOp(*it) == key) {
            figures.erase(it);
            return;
        }
    }
    figures.push_back(figure);
}

} // namespace

DisplayList ScreenOverlay() {
    std::lock_guard guard(TheOverlay().lock);
    return TheOverlay().figures;
}

void ToggleOverlayFigure(const DisplayOp& figure) {
    {
        std::lock_guard guard(TheOverlay().lock);
        Toggle(TheOverlay().figures, figure);
    }
    Notify(nullptr);
}

void ClearScreenOverlay() {
    {
        std::lock_guard guard(TheOverlay().lock);
        TheOverlay().figures.clear();
    }
    Notify(nullptr);
}

std::shared_ptr<const DisplayList> WindowOverlay(const void* window) {
    std::lock_guard guard(TheOverlay().lock);
    auto found = TheOverlay().windows.find(window);
    return found != TheOverlay().windows.end() ? found->second : std::make_shared<const DisplayList>();
}

void ToggleWindowOverlayFigure(const void* window, const DisplayOp& figure) {
    if (window == nullptr) return ToggleOverlayFigure(figure);
    {
        std::lock_guard guard(TheOverlay().lock);
        auto& slot = TheOverlay().windows[window];
        auto figures = slot ? std::make_shared<DisplayList>(*slot) : std::make_shared<DisplayList>();
        Toggle(*figures, figure);
        if (figures->empty()) TheOverlay().windows.erase(window);
        else slot = std::move(figures);
    }
    Notify(window);
}

void ClearWindowOverlay(const void* window) {
    bool removed = false;
    {
        std::lock_guard guard(TheOverlay().lock);
        removed = TheOverlay().windows.erase(window) != 0;
    }
    if (removed) Notify(window);
}

void SetOverlayListener(std::function<void(const void*)> listener) {
    std::lock_guard guard(TheOverlay().lock);
    TheOverlay().listener = std::move(listener);
}

} // namespace ostrana
