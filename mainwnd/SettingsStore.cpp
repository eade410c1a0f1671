#include "mainwnd/SettingsStore.h"

#include <cstring>
#include <vector>

#include "misc/ReportBox.h"
#include "platform/registry/Registry.h"
#include "platform/registry/RegistryTree.h"

namespace {

constexpr const char* kRootKey = "SoftWare\\Zelkor\\Ostrana";
constexpr UINT IDS_KEY_SPLIT_FAILED = 1003;
constexpr UINT IDS_KEY_OPEN_FAILED = 1005;
constexpr UINT IDS_KEY_CREATE_FAILED = 1008;
constexpr UINT IDS_KEY_READ_FAILED = 1009;
constexpr UINT IDS_KEY_WRITE_FAILED = 1012;
constexpr DWORD kTextBufferSize = 256;

// Closes the key on every way out of an operation.
class OpenedKey {
public:
    OpenedKey() = default;
    ~OpenedKey() {
        if (m_key != nullptr) {
            RegCloseKey(m_key);
        }
    }
    OpenedKey(const OpenedKey&) = delete;
    OpenedKey& operator=(const OpenedKey&) = delete;
    HKEY* Out() { return &m_key; }
    HKEY Get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

struct SettingLocation {
    std::string key;
    std::string valueName;
};

SettingLocation SplitSettingPath(LPCSTR settingPath) {
    std::string path = settingPath != nullptr ? settingPath : "";
    // Splitting the ANSI bytes is safe: code page 949 never uses a backslash as a trail byte.
    std::vector<std::string> tokens = ostrana::SplitKeyPath(path);
    if (tokens.size() < 2) {
        ThrowExceptionEx(IDS_KEY_SPLIT_FAILED, path.c_str());
    }
    SettingLocation location{kRootKey, tokens.back()};
    for (std::size_t i = 0; i + 1 < tokens.size(); ++i) {
        location.key += "\\" + tokens[i];
    }
    return location;
}

void OpenForReading(const SettingLocation& location, LPCSTR settingPath, OpenedKey& key) {
    if (RegOpenKeyA(HKEY_CURRENT_USER, location.key.c_str(), key.Out()) != ERROR_SUCCESS) {
        ThrowExceptionEx(IDS_KEY_OPEN_FAILED, settingPath);
    }
}

void OpenForWriting(const SettingLocation& location, LPCSTR settingPath, OpenedKey& key) {
    DWORD disposition = 0;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, location.key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, key.Out(), &disposition) != ERROR_SUCCESS) {
        ThrowExceptionEx(IDS_KEY_CREATE_FAILED, settingPath);
    }
}

// The store's failures are expected on first start; they are reported in the silent mode.
template <typename Operation> bool Guarded(Operation operation) {
    try {
        operation();
        return true;
    } catch (CExceptionEx& error) {
        error.ReportError(REPORT_SILENT);
        return false;
    }
}

const char* PathText(LPCSTR settingPath) { return settingPath != nullptr ? settingPath : ""; }

} // namespace

bool GetSettingText(LPCSTR settingPath, std::string& text) {
    return Guarded([&] {
        SettingLocation location = SplitSettingPath(settingPath);
        OpenedKey key;
        OpenForReading(location, PathText(settingPath), key);
        char buffer[kTextBufferSize] = {};
        DWORD size = kTextBufferSize - 1;
        DWORD type = 0;
        // A longer text fills the buffer and reads back cut, which the callers accept.
        LONG status = RegQueryValueExA(key.Get(), location.valueName.c_str(), nullptr, &type,
                                       reinterpret_cast<LPBYTE>(buffer), &size);
        if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) {
            ThrowExceptionEx(IDS_KEY_READ_FAILED, PathText(settingPath));
        }
        text = buffer;
    });
}

bool SetSettingText(LPCSTR settingPath, const std::string& text) {
    return Guarded([&] {
        SettingLocation location = SplitSettingPath(settingPath);
        OpenedKey key;
        OpenForWriting(location, PathText(settingPath), key);
        if (RegSetValueExA(key.Get(), location.valueName.c_str(), 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(text.c_str()), static_cast<DWORD>(std::strlen(text.c_str()))) !=
            ERROR_SUCCESS) {
            ThrowExceptionEx(IDS_KEY_WRITE_FAILED, PathText(settingPath));
        }
    });
}

bool GetSettingNumber(LPCSTR settingPath, int& number) {
    return Guarded([&] {
        SettingLocation location = SplitSettingPath(settingPath);
        OpenedKey key;
        OpenForReading(location, PathText(settingPath), key);
        DWORD value = 0;
        DWORD size = sizeof value;
        DWORD type = 0;
        if (RegQueryValueExA(key.Get(), location.valueName.c_str(), nullptr, &type, reinterpret_cast<LPBYTE>(&value),
                             &size) != ERROR_SUCCESS) {
            ThrowExceptionEx(IDS_KEY_READ_FAILED, PathText(settingPath));
        }
        std::memcpy(&number, &value, sizeof number);
    });
}

bool SetSettingNumber(LPCSTR settingPath, int number) {
    return Guarded([&] {
        SettingLocation location = SplitSettingPath(settingPath);
        OpenedKey key;
        OpenForWriting(location, PathText(settingPath), key);
        DWORD value;
        std::memcpy(&value, &number, sizeof value);
        if (RegSetValueExA(key.Get(), location.valueName.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                           sizeof value) != ERROR_SUCCESS) {
            ThrowExceptionEx(IDS_KEY_WRITE_FAILED, PathText(settingPath));
        }
    });
}

bool DeleteSetting(LPCSTR keyPath, LPCSTR valueName) {
    bool deleted = false;
    bool ok = Guarded([&] {
        std::string key = std::string(kRootKey) + "\\" + PathText(keyPath);
        OpenedKey opened;
        if (RegOpenKeyA(HKEY_CURRENT_USER, key.c_str(), opened.Out()) != ERROR_SUCCESS) {
            ThrowExceptionEx(IDS_KEY_OPEN_FAILED, PathText(keyPath));
        }
        if (valueName != nullptr) {
            deleted = SHDeleteValueA(HKEY_CURRENT_USER, key.c_str(), valueName) == ERROR_SUCCESS;
        } else {
            deleted = SHDeleteKeyA(HKEY_CURRENT_USER, key.c_str()) == ERROR_SUCCESS;
        }
    });
    return ok && deleted;
}
