// Type library registration; see TypeLib.h.
#include "platform/com/TypeLib.h"

#include <cstring>

#include "platform/com/Guid.h"
#include "platform/registry/RegistryText.h"

namespace {

constexpr const char* kAutomationProxy = "{00020420-0000-0000-C000-000000000046}";

std::string VersionText(WORD major, WORD minor) {
    char buffer[16];
    std::snprintf(buffer, sizeof(buffer), "%x.%x", major, minor);
    return buffer;
}

bool WriteDefault(const std::string& path, const char* valueName, const std::string& value) {
    return ostrana::WriteRegistryText(HKEY_CLASSES_ROOT, path, valueName, value);
}

std::vector<std::string> SubKeys(const std::string& path) {
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
    for (DWORD index = 0;; ++index) {
        char name[256] = {};
        DWORD size = sizeof(name);
        if (RegEnumKeyExA(key, index, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name, size);
    }
    RegCloseKey(key);
    return names;
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

} // namespace

HRESULT RegisterTypeLib(const TypeLibDescription& library, const std::string& modulePath) {
    std::string libid = ostrana::GuidText(library.libid);
    std::string version = "TypeLib\\" + libid + "\\" + VersionText(library.majorVersion, library.minorVersion);
    bool written = WriteDefault(version, "", library.helpString.empty() ? library.name : library.helpString) &&
                   WriteDefault(version + "\\0\\win32", "", modulePath) && WriteDefault(version + "\\FLAGS", "", "0") &&
                   WriteDefault(version + "\\HELPDIR", "", FolderOf(modulePath));
    for (const TypeLibInterface& entry : library.interfaces) {
        std::string key = "Interface\\" + ostrana::GuidText(entry.iid);
        written = written && WriteDefault(key, "", entry.name) && WriteDefault(key + "\\ProxyStubClsid32", "", kAutomationProxy) &&
                  WriteDefault(key + "\\ProxyStubClsid", "", kAutomationProxy) && WriteDefault(key + "\\TypeLib", "", libid) &&
                  WriteDefault(key + "\\TypeLib", "Version", VersionText(library.majorVersion, library.minorVersion));
    }
    return written ? S_OK : TYPE_E_REGISTRYACCESS;
}

HRESULT UnRegisterTypeLib(REFGUID libidGuid, WORD majorVersion, WORD minorVersion, DWORD, SYSKIND) {
    std::string libid = ostrana::GuidText(libidGuid);
    std::string libraryKey = "TypeLib\\" + libid;
    std::string versionKey = libraryKey + "\\" + VersionText(majorVersion, minorVersion);
    if (!ostrana::RegistryKeyExists(HKEY_CLASSES_ROOT, versionKey)) return TYPE_E_REGISTRYACCESS;
    for (const std::string& name : SubKeys("Interface")) {
        auto owner = ostrana::ReadRegistryText(HKEY_CLASSES_ROOT, "Interface\\" + name + "\\TypeLib");
        if (owner && *owner == libid) {
            SHDeleteKeyA(HKEY_CLASSES_ROOT, ("Interface\\" + name).c_str());
        }
    }
    if (SHDeleteKeyA(HKEY_CLASSES_ROOT, versionKey.c_str()) != ERROR_SUCCESS) return TYPE_E_REGISTRYACCESS;
    if (SubKeys(libraryKey).empty()) SHDeleteKeyA(HKEY_CLASSES_ROOT, libraryKey.c_str());
    return S_OK;
}
