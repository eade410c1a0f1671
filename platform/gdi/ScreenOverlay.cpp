#include "platform/gdi/ScreenOverlay.h"

#include <mutex>

namespace ostrana {
namespace {

struct Overlay {
    std::mutex lock;
    DisplayList figures;
    std::function<void()> listener;
};

Overlay& TheOverlay() {
    static Overlay overlay;
    return overlay;
}

void Notify() {
    std::function<void()> listener;
    {
        std::lock_guard guard(TheOverlay().lock);
        listener = TheOverlay().listener;
    }
    if (listener) listener();
}

} // namespace

DisplayList ScreenOverlay() {
    std::lock_guard guard(TheOverlay().lock);
    return TheOverlay().figures;
}

void ToggleOverlayFigure(const DisplayOp& figure) {
    {
        std::lock_guard guard(TheOverlay().lock);
        DisplayList& figures = TheOverlay().figures;
        std::string key = DescribeOp(figure);
        bool removed = false;
        for (auto it = figures.begin(); it != figures.end(); ++it) {
            if (DescribeOp(*it) == key) {
                figures.erase(it);
                removed = true;
                break;
            }
        }
        if (!removed) figures.push_back(figure);
    }
    Notify();
}

void ClearScreenOverlay() {
    {
        std::lock_guard guard(TheOverlay().lock);
        TheOverlay().figures.clear();
    }
    Notify();
}

void SetOverlayListener(std::function<void()> listener) {
    std::lock_guard guard(TheOverlay().lock);
    TheOverlay().listener = std::move(listener);
}

} // namespace ostrana
