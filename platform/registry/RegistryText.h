// Reading and writing one text value of a registry key by its path, for callers that keep no key
// open: the ".htm" class, class and type library entries, ProgIDs. The default value is "".
#pragma once

#include <optional>
#include <string>

#include "platform/registry/Registry.h"

namespace ostrana {

// The REG_SZ value, at most `maxBytes` long; empty when the key or value is missing or not text.
std::optional<std::string> ReadRegistryText(HKEY root, const std::string& subKey, const char* valueName = "",
                                            DWORD maxBytes = 1024);
// Creates the key as needed.
bool WriteRegistryText(HKEY root, const std::string& subKey, const char* valueName, const std::string& value);
bool RegistryKeyExists(HKEY root, const std::string& subKey);

} // namespace ostrana
