// The registry functions the application calls, over the process-wide registry store.
// Opened keys are named by handles that are never reused, so a closed handle cannot reach another
// key; a key deleted meanwhile (also by another process) makes its handle's operations fail.
#pragma once

#include "platform/base/LastError.h"
#include "platform/base/WinTypes.h"
#include "platform/registry/RegistryTree.h"

using REGSAM = DWORD;
using PHKEY = HKEY*;

#define HKEY_CLASSES_ROOT (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000000)))
#define HKEY_CURRENT_USER (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000001)))
#define HKEY_LOCAL_MACHINE (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000002)))

#define KEY_QUERY_VALUE 0x0001
#define KEY_SET_VALUE 0x0002
#define KEY_CREATE_SUB_KEY 0x0004
#define KEY_ENUMERATE_SUB_KEYS 0x0008
#define KEY_READ 0x20019
#define KEY_WRITE 0x20006
#define KEY_ALL_ACCESS 0xF003F
#define REG_OPTION_NON_VOLATILE 0x00000000
#define REG_OPTION_VOLATILE 0x00000001
#define REG_CREATED_NEW_KEY 0x00000001
#define REG_OPENED_EXISTING_KEY 0x00000002

LONG RegOpenKeyA(HKEY key, LPCSTR subKey, PHKEY result);
LONG RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM desired, PHKEY result);
LONG RegCreateKeyA(HKEY key, LPCSTR subKey, PHKEY result);
LONG RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD reserved, LPSTR keyClass, DWORD options, REGSAM desired,
                     void* securityAttributes, PHKEY result, LPDWORD disposition);
// With a buffer too small for the data: string types get as many bytes as fit, other types none;
// both answer ERROR_MORE_DATA and the size needed.
LONG RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD dataSize);
LONG RegSetValueExA(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type, const BYTE* data, DWORD dataSize);
LONG RegDeleteValueA(HKEY key, LPCSTR valueName);
// Deletes a key without subkeys.
LONG RegDeleteKeyA(HKEY key, LPCSTR subKey);
LONG RegEnumKeyExA(HKEY key, DWORD index, LPSTR name, LPDWORD nameSize, LPDWORD reserved, LPSTR keyClass,
                   LPDWORD classSize, void* lastWriteTime);
LONG RegCloseKey(HKEY key);
// Deletes a key with all its subkeys and values.
DWORD SHDeleteKeyA(HKEY key, LPCSTR subKey);
DWORD SHDeleteValueA(HKEY key, LPCSTR subKey, LPCSTR value);

#define RegOpenKey RegOpenKeyA
#define RegOpenKeyEx RegOpenKeyExA
#define RegCreateKey RegCreateKeyA
#define RegCreateKeyEx RegCreateKeyExA
#define RegQueryValueEx RegQueryValueExA
#define RegSetValueEx RegSetValueExA
#define RegDeleteValue RegDeleteValueA
#define RegDeleteKey RegDeleteKeyA
#define RegEnumKeyEx RegEnumKeyExA
#define SHDeleteKey SHDeleteKeyA
#define SHDeleteValue SHDeleteValueA
