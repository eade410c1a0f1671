// The bytes received on a connection ahead of what its reader has taken: one large receive
// serves many small reads, and nothing received is ever lost between them.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

class ReadAhead {
public:
    static constexpr std::size_t kCapacity = 256 * 1024;

    bool Empty() const { return m_next == m_filled; }
    std::string_view Bytes() const { return {m_buffer.data() + m_next, m_filled - m_next}; }
    // Moves up to `size` bytes to `out`; the count moved.
    std::size_t Take(char* out, std::size_t size);
    void Skip(std::size_t count) { m_next += count; }
    // Room for one receive; only while Empty(). Filled() then records what arrived.
    char* Space();
    void Filled(std::size_t count) { m_filled = count; }
    void Clear() { m_next = m_filled = 0; }

private:
    std::vector<char> m_buffer;
    std::size_t m_next = 0;
    std::size_t m_filled = 0;
};
