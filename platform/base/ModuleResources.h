// A module's resources, reached through its HINSTANCE as Windows reaches them. The string table
// is written in UTF-8 and converted to the ANSI code page once, on first use.
#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <span>
#include <string>

#include "platform/base/WinTypes.h"

namespace ostrana {

struct StringResource {
    UINT id;
    const char* utf8;
};

class ModuleResources {
public:
    explicit ModuleResources(std::span<const StringResource> strings) : m_strings(strings) {}

    HINSTANCE Handle() const { return reinterpret_cast<HINSTANCE>(const_cast<ModuleResources*>(this)); }
    static ModuleResources* FromHandle(HINSTANCE instance) { return reinterpret_cast<ModuleResources*>(instance); }

    // The string in the ANSI code page, or nothing when the id is not in the table.
    std::optional<std::string> String(UINT id) const;

private:
    std::span<const StringResource> m_strings;
    mutable std::once_flag m_converted;
    mutable std::map<UINT, std::string> m_ansi;
};

} // namespace ostrana

// Copies at most bufferMax - 1 bytes and a terminator; returns the bytes copied, 0 when missing.
int LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int bufferMax);
