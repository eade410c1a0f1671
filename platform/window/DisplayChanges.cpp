#include "platform/window/DisplayChanges.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/window/DisplayObserver.h"

namespace ostrana {
namespace {

DisplayEvent EventOf(WindowChange change) {
    switch (change) {
    case WindowChange::Created: return DisplayEvent::Created;
    case WindowChange::Destroyed: return DisplayEvent::Destroyed;
    case WindowChange::Moved: return DisplayEvent::Moved;
    case WindowChange::Shown: return DisplayEvent::Shown;
    case WindowChange::Hidden: return DisplayEvent::Hidden;
    case WindowChange::ZOrder: return DisplayEvent::ZOrder;
    case WindowChange::Text: return DisplayEvent::Text;
    case WindowChange::Enabled: return DisplayEvent::Enabled;
    case WindowChange::Focus: return DisplayEvent::Focus;
    case WindowChange::Cursor: return DisplayEvent::Cursor;
    case WindowChange::Caret: return DisplayEvent::Caret;
    case WindowChange::Overlay: return DisplayEvent::Overlay;
    case WindowChange::Checked: return DisplayEvent::Checked;
    }
    return DisplayEvent::Moved;
}

class ChangeLog : public DisplayObserver {
public:
    void OnWindowChanged(HWND window, WindowChange change) override { Record(EventOf(change), window); }
    void OnPicture(HWND window) override { Record(DisplayEvent::Picture, window); }
    void OnOverlayChanged() override { Record(DisplayEvent::Overlay, nullptr); }

    void Add(DisplayChangeListener* listener) {
        bool first = false;
        {
            std::lock_guard guard(m_lock);
            first = !m_observing;
            m_observing = true;
            m_listeners.push_back(listener);
        }
        if (first) AddDisplayObserver(this);
    }

    void Remove(DisplayChangeListener* listener) {
        std::unique_lock lock(m_lock);
        std::erase(m_listeners, listener);
        if (m_listeners.empty()) {
            m_pending.clear();
            m_hasPending = false;
        }
        m_idle.wait(lock, [&] { return m_calling != listener || m_deliverer == std::this_thread::get_id(); });
    }

    void Record(DisplayEvent event, HWND window) {
        std::lock_guard guard(m_lock);
        if (m_listeners.empty()) return;
        DisplayChange change{event, window};
        if (std::find(m_pending.begin(), m_pending.end(), change) == m_pending.end()) m_pending.push_back(change);
        m_hasPending = true;
    }

    bool HasPending() const { return m_hasPending.load(std::memory_order_relaxed); }

    void Flush() {
        std::unique_lock lock(m_lock);
        if (m_delivering) return;
        m_delivering = true;
        m_deliverer = std::this_thread::get_id();
        while (!m_pending.empty()) {
            DisplayChangeBatch batch{m_sequence++, std::move(m_pending)};
            m_pending.clear();
            m_hasPending = false;
            std::vector<DisplayChangeListener*> listeners = m_listeners;
            for (DisplayChangeListener* listener : listeners) {
                if (std::find(m_listeners.begin(), m_listeners.end(), listener) == m_listeners.end()) continue;
                m_calling = listener;
                lock.unlock();
                listener->OnDisplayChanges(batch);
                lock.lock();
                m_calling = nullptr;
                m_idle.notify_all();
            }
        }
        m_delivering = false;
        m_deliverer = {};
        m_idle.notify_all();
    }

    std::uint64_t Pending() {
        std::lock_guard guard(m_lock);
        return m_sequence;
    }

private:
    std::mutex m_lock;
    std::condition_variable m_idle;
    std::vector<DisplayChangeListener*> m_listeners;
    std::vector<DisplayChange> m_pending;
    std::uint64_t m_sequence = 1;
    std::atomic<bool> m_hasPending{false};
    bool m_observing = false;
    bool m_delivering = false;
    std::thread::id m_deliverer;
    DisplayChangeListener* m_calling = nullptr;
};

ChangeLog& Log() {
    static ChangeLog log;
    return log;
}

} // namespace

void AddDisplayChangeListener(DisplayChangeListener* listener) { Log().Add(listener); }
void RemoveDisplayChangeListener(DisplayChangeListener* listener) { Log().Remove(listener); }
void FlushDisplayChanges() { Log().Flush(); }
void RecordDisplayChange(DisplayEvent event, HWND window) { Log().Record(event, window); }
bool DisplayChangesPending() { return Log().HasPending(); }
std::uint64_t PendingDisplayBatch() { return Log().Pending(); }

const char* DisplayEventName(DisplayEvent event) {
    switch (event) {
    case DisplayEvent::Created: return "created";
    case DisplayEvent::Destroyed: return "destroyed";
    case DisplayEvent::Moved: return "moved";
    case DisplayEvent::Shown: return "shown";
    case DisplayEvent::Hidden: return "hidden";
    case DisplayEvent::ZOrder: return "zorder";
    case DisplayEvent::Text: return "text";
    case DisplayEvent::Enabled: return "enabled";
    case DisplayEvent::Focus: return "focus";
    case DisplayEvent::Cursor: return "cursor";
    case DisplayEvent::Caret: return "caret";
    case DisplayEvent::Picture: return "picture";
    case DisplayEvent::Overlay: return "overlay";
    case DisplayEvent::Clipboard: return "clipboard";
    case DisplayEvent::Checked: return "checked";
    }
    return "?";
}

} // namespace ostrana
