#include "platform/window/AfxWinApp.h"

#include <atomic>
#include <cstring>
#include <vector>

#include "platform/registry/Registry.h"

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

namespace {

std::atomic<CWinApp*> g_application{nullptr};

// Opens (or with `create` makes) the section's key; null when there is no profile key.
HKEY OpenSection(const CWinApp& app, LPCSTR section, bool create) {
    std::string path = app.GetProfileKeyPath();
    if (path.empty() || section == nullptr) return nullptr;
    if (*section != '\0') path += "\\" + std::string(section);
    HKEY key = nullptr;
    LONG status = create ? RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                           nullptr, &key, nullptr)
                         : RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key);
    return status == ERROR_SUCCESS ? key : nullptr;
}

class SectionKey {
public:
    SectionKey(const CWinApp& app, LPCSTR section, bool create) : m_key(OpenSection(app, section, create)) {}
    ~SectionKey() {
        if (m_key != nullptr) RegCloseKey(m_key);
    }
    SectionKey(const SectionKey&) = delete;
    SectionKey& operator=(const SectionKey&) = delete;
    HKEY Get() const { return m_key; }

private:
    HKEY m_key;
};

} // namespace

CWinApp::CWinApp(LPCSTR appName) : m_pszAppName(appName != nullptr ? appName : ""), m_pszProfileName(m_pszAppName) {
    g_application.store(this);
}

CWinApp::~CWinApp() {
    CWinApp* self = this;
    g_application.compare_exchange_strong(self, nullptr);
}

CWinApp* AfxGetApp() { return g_application.load(); }

void CWinApp::SetRegistryKey(LPCSTR registryKey) { m_pszRegistryKey = registryKey != nullptr ? registryKey : ""; }

std::string CWinApp::GetProfileKeyPath() const {
    if (m_pszRegistryKey.empty()) return {};
    return "SoftWare\\" + m_pszRegistryKey + "\\" + m_pszProfileName;
}

UINT CWinApp::GetProfileInt(LPCSTR section, LPCSTR entry, int defaultValue) const {
    SectionKey key(*this, section, false);
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    if (key.Get() == nullptr || entry == nullptr ||
        RegQueryValueExA(key.Get(), entry, nullptr, &type, reinterpret_cast<LPBYTE>(&value), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value) {
        return static_cast<UINT>(defaultValue);
    }
    return value;
}

BOOL CWinApp::WriteProfileInt(LPCSTR section, LPCSTR entry, int value) {
    SectionKey key(*this, section, true);
    if (key.Get() == nullptr || entry == nullptr) return FALSE;
    DWORD data = static_cast<DWORD>(value);
    return RegSetValueExA(key.Get(), entry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data) == ERROR_SUCCESS;
}

std::string CWinApp::GetProfileString(LPCSTR section, LPCSTR entry, LPCSTR defaultValue) const {
    std::string fallback = defaultValue != nullptr ? defaultValue : "";
    SectionKey key(*this, section, false);
    if (key.Get() == nullptr || entry == nullptr) return fallback;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.Get(), entry, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ) return fallback;
    std::vector<BYTE> data(size + 1, 0);
    if (RegQueryValueExA(key.Get(), entry, nullptr, &type, data.data(), &size) != ERROR_SUCCESS) return fallback;
    return std::string(reinterpret_cast<const char*>(data.data()), strnlen(reinterpret_cast<const char*>(data.data()), size));
}

BOOL CWinApp::WriteProfileString(LPCSTR section, LPCSTR entry, LPCSTR value) {
    if (entry == nullptr) {
        std::string path = GetProfileKeyPath();
        if (path.empty() || section == nullptr) return FALSE;
        return SHDeleteKeyA(HKEY_CURRENT_USER, (path + "\\" + section).c_str()) == ERROR_SUCCESS;
    }
    SectionKey key(*this, section, true);
    if (key.Get() == nullptr) return FALSE;
    if (value == nullptr) return RegDeleteValueA(key.Get(), entry) == ERROR_SUCCESS;
    return RegSetValueExA(key.Get(), entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                          static_cast<DWORD>(std::strlen(value) + 1)) == ERROR_SUCCESS;
}
