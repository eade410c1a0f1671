// Incremental search by typing: characters typed within a second of each other form one prefix;
// a pause starts a new one. Internal to platform/controls.
#pragma once

#include <string>

#include "platform/base/WinTypes.h"

namespace ostrana::detail {

class TypeAhead {
public:
    // Adds a typed byte at message time `time`; true when it starts a new prefix.
    bool Type(char character, DWORD time);
    const std::string& Prefix() const { return m_prefix; }
    // Whether `text` begins with the prefix, without regard to letter case.
    bool Matches(const std::string& text) const;

private:
    std::string m_prefix;
    DWORD m_last = 0;
};

} // namespace ostrana::detail
