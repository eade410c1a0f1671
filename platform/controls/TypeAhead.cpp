#include "platform/controls/TypeAhead.h"

#include <strings.h>

namespace ostrana::detail {

bool TypeAhead::Type(char character, DWORD time) {
    constexpr DWORD kPause = 1000;
    bool fresh = m_prefix.empty() || time - m_last > kPause;
    if (fresh) m_prefix.clear();
    m_prefix.push_back(character);
    m_last = time;
    return fresh;
}

bool TypeAhead::Matches(const std::string& text) const {
    return !m_prefix.empty() && ::strncasecmp(text.c_str(), m_prefix.c_str(), m_prefix.size()) == 0;
}

} // namespace ostrana::detail
