// A list of observers that can be called from any thread. Removing an observer waits until none
// of its callbacks runs any more, so its owner may destroy it right after; an observer that
// removes itself from inside one of its callbacks does not wait for that one.
#pragma once

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

namespace ostrana::detail {

template <typename Observer> class ObserverList {
public:
    void Add(Observer* observer) {
        if (observer == nullptr) return;
        std::lock_guard guard(m_lock);
        auto entry = std::make_shared<Entry>();
        entry->observer = observer;
        m_entries.push_back(std::move(entry));
    }

    void Remove(Observer* observer) {
        std::unique_lock lock(m_lock);
        auto it = std::find_if(m_entries.begin(), m_entries.end(),
                               [observer](const auto& entry) { return entry->observer == observer; });
        if (it == m_entries.end()) return;
        std::shared_ptr<Entry> entry = *it;
        m_entries.erase(it);
        entry->removed = true;
        auto own = static_cast<int>(std::count(Calling().begin(), Calling().end(), entry.get()));
        m_idle.wait(lock, [&] { return entry->running <= own; });
    }

    // Calls `call(observer)` for each observer, outside the list's lock.
    template <typename Call> void ForEach(const Call& call) {
        std::vector<std::shared_ptr<Entry>> entries;
        {
            std::lock_guard guard(m_lock);
            entries = m_entries;
        }
        for (const auto& entry : entries) {
            {
                std::lock_guard guard(m_lock);
                if (entry->removed) continue;
                entry->running++;
            }
            Calling().push_back(entry.get());
            call(*entry->observer);
            Calling().pop_back();
            {
                std::lock_guard guard(m_lock);
                entry->running--;
            }
            m_idle.notify_all();
        }
    }

private:
    struct Entry {
        Observer* observer = nullptr;
        int running = 0; // callbacks under way, on any thread
        bool removed = false;
    };

    // The callbacks of this list that the calling thread is inside.
    static std::vector<const Entry*>& Calling() {
        thread_local std::vector<const Entry*> calling;
        return calling;
    }

    std::mutex m_lock;
    std::condition_variable m_idle;
    std::vector<std::shared_ptr<Entry>> m_entries;
};

} // namespace ostrana::detail
