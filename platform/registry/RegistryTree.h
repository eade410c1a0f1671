// The registry's keys and values in memory, and their text form in the .reg export format.
// Names keep their case for display and compare without case (ASCII folding on UTF-8 text, so
// multi-byte characters never fold into each other). Value data is kept as the caller's bytes.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/WinTypes.h"

#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4
#define REG_MULTI_SZ 7
#define REG_QWORD 11

namespace ostrana {

std::string FoldRegistryName(std::string_view name);

// Cuts a key path at backslashes; empty components (doubled or leading backslashes) disappear.
std::vector<std::string> SplitKeyPath(std::string_view path);

struct RegistryValue {
    std::string name; // UTF-8, as first written
    DWORD type = REG_NONE;
    std::string data; // raw bytes; REG_SZ text in the ANSI code page without terminator
};

class RegistryKey {
public:
    explicit RegistryKey(std::string name = {}) : m_name(std::move(name)) {}

    const std::string& Name() const { return m_name; }
    RegistryKey* Child(std::string_view name) const;
    RegistryKey& CreateChild(std::string_view name);
    bool RemoveChild(std::string_view name);
    const RegistryValue* Value(std::string_view name) const;
    void SetValue(RegistryValue value);
    bool RemoveValue(std::string_view name);

    const std::map<std::string, std::unique_ptr<RegistryKey>>& Children() const { return m_children; }
    const std::map<std::string, RegistryValue>& Values() const { return m_values; }

private:
    std::string m_name;
    std::map<std::string, std::unique_ptr<RegistryKey>> m_children; // by folded name
    std::map<std::string, RegistryValue> m_values;                   // by folded name
};

// The whole registry: one key per root ("HKEY_CURRENT_USER", "HKEY_CLASSES_ROOT").
class RegistryTree {
public:
    RegistryKey& Root() { return m_root; }
    const RegistryKey& Root() const { return m_root; }

    // Follows the components (root name first); null when a key is missing.
    RegistryKey* Find(const std::vector<std::string>& path) const;
    RegistryKey& Create(const std::vector<std::string>& path);
    bool Remove(const std::vector<std::string>& path);

    std::string Serialize() const;
    static RegistryTree Parse(std::string_view text);

private:
    RegistryKey m_root;
};

} // namespace ostrana
