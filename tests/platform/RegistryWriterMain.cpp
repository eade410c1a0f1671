// Child process for the registry tests: writes `count` numbered values under one key.
// Usage: registry_writer REGISTRY_FILE PREFIX COUNT
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/registry/Registry.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: registry_writer FILE PREFIX COUNT\n");
        return 2;
    }
    setenv("OSTRANA_REGISTRY", argv[1], 1);
    int count = std::atoi(argv[3]);
    for (int i = 0; i < count; ++i) {
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, "SoftWare\\Race", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr) != ERROR_SUCCESS) {
            return 1;
        }
        std::string name = std::string(argv[2]) + std::to_string(i);
        DWORD value = static_cast<DWORD>(i);
        LONG status = RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<BYTE*>(&value), 4);
        RegCloseKey(key);
        if (status != ERROR_SUCCESS) {
            return 1;
        }
    }
    return 0;
}
