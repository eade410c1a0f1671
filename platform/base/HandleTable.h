// A generation-checked table of objects named by handles. A handle packs a table tag (4 bits), the
// slot's generation (12 bits) and the slot index (16 bits), so handles fit 32 bits as on Windows; a
// removed or reused slot refuses its old handles.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace ostrana {

template <typename T> class HandleTable {
public:
    explicit HandleTable(unsigned tag) : m_tag(tag & 0xF) {}

    void* Insert(std::shared_ptr<T> object) {
        std::lock_guard guard(m_lock);
        std::size_t index;
        if (!m_free.empty()) {
            index = m_free.back();
            m_free.pop_back();
        } else {
            index = m_slots.size();
            m_slots.push_back(Slot{});
        }
        Slot& slot = m_slots[index];
        slot.generation = (slot.generation + 1) & 0xFFF;
        if (slot.generation == 0) slot.generation = 1;
        slot.object = std::move(object);
        return Encode(index, slot.generation);
    }

    std::shared_ptr<T> Lookup(const void* handle) const {
        std::lock_guard guard(m_lock);
        const Slot* slot = Find(handle);
        return slot != nullptr ? slot->object : nullptr;
    }

    std::shared_ptr<T> Remove(const void* handle) {
        std::lock_guard guard(m_lock);
        Slot* slot = const_cast<Slot*>(Find(handle));
        if (slot == nullptr) return nullptr;
        std::shared_ptr<T> object = std::move(slot->object);
        slot->object.reset();
        m_free.push_back(static_cast<std::size_t>(slot - m_slots.data()));
        return object;
    }

    // The live handles, in slot order.
    std::vector<void*> Handles() const {
        std::lock_guard guard(m_lock);
        std::vector<void*> handles;
        for (std::size_t i = 0; i < m_slots.size(); ++i) {
            if (m_slots[i].object) handles.push_back(Encode(i, m_slots[i].generation));
        }
        return handles;
    }

private:
    struct Slot {
        unsigned generation = 0;
        std::shared_ptr<T> object;
    };

    void* Encode(std::size_t index, unsigned generation) const {
        auto value = (static_cast<std::uintptr_t>(m_tag) << 28) | (static_cast<std::uintptr_t>(generation) << 16) |
                     static_cast<std::uintptr_t>(index + 1);
        return reinterpret_cast<void*>(value);
    }

    const Slot* Find(const void* handle) const {
        auto value = reinterpret_cast<std::uintptr_t>(handle);
        if ((value >> 28) != m_tag || (value & 0xFFFF) == 0) return nullptr;
        std::size_t index = (value & 0xFFFF) - 1;
        if (index >= m_slots.size()) return nullptr;
        const Slot& slot = m_slots[index];
        if (!slot.object || slot.generation != ((value >> 16) & 0xFFF)) return nullptr;
        return &slot;
    }

    unsigned m_tag;
    mutable std::mutex m_lock;
    std::vector<Slot> m_slots;
    std::vector<std::size_t> m_free;
};

} // namespace ostrana
