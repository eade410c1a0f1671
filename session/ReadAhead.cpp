// The buffer is allocated at the first receive, so a session that never transfers costs nothing.
#include "session/ReadAhead.h"

#include <algorithm>
#include <cstring>

std::size_t ReadAhead::Take(char* out, std::size_t size) {
    std::size_t count = std::min(size, m_filled - m_next);
    std::memcpy(out, m_buffer.data() + m_next, count);
    m_next += count;
    return count;
}

char* ReadAhead::Space() {
    if (m_buffer.empty()) {
        m_buffer.resize(kCapacity);
    }
    m_next = m_filled = 0;
    return m_buffer.data();
}
