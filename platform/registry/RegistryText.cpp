// One text value by key path; see RegistryText.h.
#include "platform/registry/RegistryText.h"

#include <cstring>
#include <vector>

#include "platform/registry/RegistryTree.h"

namespace ostrana {

std::optional<std::string> ReadRegistryText(HKEY root, const std::string& subKey, const char* valueName, DWORD maxBytes) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
    std::vector<char> buffer(maxBytes + 1, '\0');
    DWORD size = maxBytes;
    DWORD type = 0;
    LONG status = RegQueryValueExA(key, valueName, nullptr, &type, reinterpret_cast<LPBYTE>(buffer.data()), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
    return std::string(buffer.data(), strnlen(buffer.data(), size));
}

bool WriteRegistryText(HKEY root, const std::string& subKey, const char* valueName, const std::string& value) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, subKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) return false;
    LONG status = RegSetValueExA(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

bool RegistryKeyExists(HKEY root, const std::string& subKey) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

} // namespace ostrana
