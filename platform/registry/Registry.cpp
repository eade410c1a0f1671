#include "platform/registry/Registry.h"

#include <functional>
#include <cstring>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/base/CodePage.h"
#include "platform/registry/RegistryStore.h"

namespace {

using KeyPath = std::vector<std::string>; // UTF-8 components, root name first

class OpenKeyTable {
public:
    static OpenKeyTable& Instance() {
        static OpenKeyTable table;
        return table;
    }
    HKEY Insert(KeyPath path) {
        std::lock_guard guard(m_lock);
        m_next += 4;
        m_keys.emplace(m_next, std::move(path));
        return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(m_next));
    }
    std::optional<KeyPath> Find(HKEY key) {
        std::lock_guard guard(m_lock);
        auto it = m_keys.find(reinterpret_cast<ULONG_PTR>(key));
        if (it == m_keys.end()) {
            return std::nullopt;
        }
        return it->second;
    }
    bool Remove(HKEY key) {
        std::lock_guard guard(m_lock);
        return m_keys.erase(reinterpret_cast<ULONG_PTR>(key)) > 0;
    }

private:
    std::mutex m_lock;
    ULONG_PTR m_next = 0x10000; // below the predefined keys, never reused
    std::unordered_map<ULONG_PTR, KeyPath> m_keys;
};

std::optional<KeyPath> PathOf(HKEY key) {
    auto value = reinterpret_cast<ULONG_PTR>(key);
    switch (value) {
    case 0x80000000: return KeyPath{"HKEY_CLASSES_ROOT"};
    case 0x80000001: return KeyPath{"HKEY_CURRENT_USER"};
    case 0x80000002: return KeyPath{"HKEY_LOCAL_MACHINE"};
    default: return OpenKeyTable::Instance().Find(key);
    }
}

// Appends the backslash-separated components of `subKey` (ANSI) to the key's path.
std::optional<KeyPath> Resolve(HKEY key, LPCSTR subKey) {
    auto path = PathOf(key);
    if (!path) {
        return std::nullopt;
    }
    if (subKey != nullptr) {
        for (std::string& part : ostrana::SplitKeyPath(ostrana::AnsiToUtf8(subKey))) {
            path->push_back(std::move(part));
        }
    }
    return path;
}

std::string ValueNameOf(LPCSTR valueName) { return valueName == nullptr ? std::string() : ostrana::AnsiToUtf8(valueName); }

bool IsStringType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

bool KeyExists(const KeyPath& path) {
    bool exists = false;
    ostrana::RegistryStore::Instance().Read([&](const ostrana::RegistryTree& tree) {
        exists = path.size() == 1 || tree.Find(path) != nullptr;
    });
    return exists;
}

// Applies `change` to an existing key under the store's write lock; the file is rewritten only
// when the change succeeds.
LONG ChangeKey(const KeyPath& path, const std::function<LONG(ostrana::RegistryKey&)>& change) {
    LONG status = ERROR_SUCCESS;
    bool ok = ostrana::RegistryStore::Instance().Write([&](ostrana::RegistryTree& tree) {
        ostrana::RegistryKey* key = tree.Find(path);
        status = key == nullptr ? ERROR_KEY_DELETED : change(*key);
        return status == ERROR_SUCCESS;
    });
    return ok ? status : ERROR_ACCESS_DENIED;
}

} // namespace

LONG RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD /*options*/, REGSAM /*desired*/, PHKEY result) {
    if (result == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    auto path = Resolve(key, subKey);
    if (!path) {
        return ERROR_INVALID_HANDLE;
    }
    if (!KeyExists(*path)) {
        return ERROR_FILE_NOT_FOUND;
    }
    *result = OpenKeyTable::Instance().Insert(std::move(*path));
    return ERROR_SUCCESS;
}

LONG RegOpenKeyA(HKEY key, LPCSTR subKey, PHKEY result) { return RegOpenKeyExA(key, subKey, 0, KEY_ALL_ACCESS, result); }

LONG RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD /*reserved*/, LPSTR /*keyClass*/, DWORD /*options*/,
                     REGSAM /*desired*/, void* /*securityAttributes*/, PHKEY result, LPDWORD disposition) {
    if (result == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    auto path = Resolve(key, subKey);
    if (!path) {
        return ERROR_INVALID_HANDLE;
    }
    bool created = false;
    bool ok = ostrana::RegistryStore::Instance().Write([&](ostrana::RegistryTree& tree) {
        if (tree.Find(*path) != nullptr) {
            return false;
        }
        tree.Create(*path);
        created = true;
        return true;
    });
    if (!ok) {
        return ERROR_ACCESS_DENIED;
    }
    if (disposition != nullptr) {
        *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    }
    *result = OpenKeyTable::Instance().Insert(std::move(*path));
    return ERROR_SUCCESS;
}

LONG RegCreateKeyA(HKEY key, LPCSTR subKey, PHKEY result) {
    return RegCreateKeyExA(key, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, result, nullptr);
}

LONG RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD /*reserved*/, LPDWORD type, LPBYTE data, LPDWORD dataSize) {
    auto path = PathOf(key);
    if (!path) {
        return ERROR_INVALID_HANDLE;
    }
    if (data != nullptr && dataSize == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    std::optional<ostrana::RegistryValue> found;
    bool keyExists = false;
    ostrana::RegistryStore::Instance().Read([&](const ostrana::RegistryTree& tree) {
        if (const ostrana::RegistryKey* k = tree.Find(*path)) {
            keyExists = true;
            if (const ostrana::RegistryValue* v = k->Value(ValueNameOf(valueName))) {
                found = *v;
            }
        }
    });
    if (!keyExists) {
        return ERROR_KEY_DELETED;
    }
    if (!found) {
        return ERROR_FILE_NOT_FOUND;
    }
    if (type != nullptr) {
        *type = found->type;
    }
    // Strings are reported with their terminator, as they are stored on Windows.
    std::string bytes = found->data;
    if (IsStringType(found->type)) {
        bytes.push_back('\0');
    }
    DWORD needed = static_cast<DWORD>(bytes.size());
    if (data == nullptr) {
        if (dataSize != nullptr) {
            *dataSize = needed;
        }
        return ERROR_SUCCESS;
    }
    if (*dataSize < needed) {
        if (IsStringType(found->type)) {
            std::memcpy(data, bytes.data(), *dataSize);
        }
        *dataSize = needed;
        return ERROR_MORE_DATA;
    }
    std::memcpy(data, bytes.data(), needed);
    *dataSize = needed;
    return ERROR_SUCCESS;
}

LONG RegSetValueExA(HKEY key, LPCSTR valueName, DWORD /*reserved*/, DWORD type, const BYTE* data, DWORD dataSize) {
    auto path = PathOf(key);
    if (!path) {
        return ERROR_INVALID_HANDLE;
    }
    if (data == nullptr && dataSize != 0) {
        return ERROR_INVALID_PARAMETER;
    }
    ostrana::RegistryValue value;
    value.name = ValueNameOf(valueName);
    value.type = type;
    value.data.assign(reinterpret_cast<const char*>(data), dataSize);
    if (IsStringType(type)) {
        while (!value.data.empty() && value.data.back() == '\0') {
            value.data.pop_back();
        }
    }
    return ChangeKey(*path, [&](ostrana::RegistryKey& k) {
        k.SetValue(std::move(value));
        return ERROR_SUCCESS;
    });
}

LONG RegDeleteValueA(HKEY key, LPCSTR valueName) {
    auto path = PathOf(key);
    if (!path) {
        return ERROR_INVALID_HANDLE;
    }
    return ChangeKey(*path, [&](ostrana::RegistryKey& k) {
        return k.RemoveValue(ValueNameOf(valueName)) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
    });
}

namespace {

LONG DeleteKey(HKEY key, LPCSTR subKey, bool withSubkeys) {
    auto path = Resolve(key, subKey);
    if (!path) {
        return ERROR_INVALID_HANDLE;
    }
    if (path->size() < 2) {
        return ERROR_ACCESS_DENIED; // a root is never deleted
    }
    LONG status = ERROR_SUCCESS;
    bool ok = ostrana::RegistryStore::Instance().Write([&](ostrana::RegistryTree& tree) {
        ostrana::RegistryKey* k = tree.Find(*path);
        if (k == nullptr) {
            status = ERROR_FILE_NOT_FOUND;
            return false;
        }
        if (!withSubkeys && !k->Children().empty()) {
            status = ERROR_ACCESS_DENIED;
            return false;
        }
        return tree.Remove(*path);
    });
    return ok ? status : ERROR_ACCESS_DENIED;
}

} // namespace

LONG RegDeleteKeyA(HKEY key, LPCSTR subKey) { return DeleteKey(key, subKey, false); }

DWORD SHDeleteKeyA(HKEY key, LPCSTR subKey) { return static_cast<DWORD>(DeleteKey(key, subKey, true)); }

DWORD SHDeleteValueA(HKEY key, LPCSTR subKey, LPCSTR value) {
    HKEY opened = nullptr;
    LONG status = RegOpenKeyExA(key, subKey, 0, KEY_SET_VALUE, &opened);
    if (status != ERROR_SUCCESS) {
        return static_cast<DWORD>(status);
    }
    status = RegDeleteValueA(opened, value);
    RegCloseKey(opened);
    return static_cast<DWORD>(status);
}

LONG RegEnumKeyExA(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD /*reserved*/, LPSTR /*keyClass*/,
                   LPDWORD /*classSize*/, void* /*lastWriteTime*/) {
    auto path = PathOf(key);
    if (!path || name == nullptr || nameSize == nullptr) {
        return path ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE;
    }
    std::optional<std::string> child;
    bool keyExists = false;
    ostrana::RegistryStore::Instance().Read([&](const ostrana::RegistryTree& tree) {
        if (const ostrana::RegistryKey* k = tree.Find(*path)) {
            keyExists = true;
            if (index < k->Children().size()) {
                auto it = k->Children().begin();
                std::advance(it, index);
                child = it->second->Name();
            }
        }
    });
    if (!keyExists) {
        return ERROR_KEY_DELETED;
    }
    if (!child) {
        return ERROR_NO_MORE_ITEMS;
    }
    std::string ansi = ostrana::Utf8ToAnsi(*child);
    if (ansi.size() + 1 > *nameSize) {
        return ERROR_MORE_DATA;
    }
    std::memcpy(name, ansi.c_str(), ansi.size() + 1);
    *nameSize = static_cast<DWORD>(ansi.size());
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key) {
    auto value = reinterpret_cast<ULONG_PTR>(key);
    if (value >= 0x80000000 && value <= 0x80000002) {
        return ERROR_SUCCESS;
    }
    return OpenKeyTable::Instance().Remove(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}
