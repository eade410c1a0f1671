// Type library registration. A module describes its library (identity, name, version, the
// dispatch interfaces and classes it holds) in a TypeLibDescription; registering it writes the
// entries under HKEY_CLASSES_ROOT\TypeLib and \Interface that a container reads.
#pragma once

#include <string>
#include <vector>

#include "platform/com/Variant.h"

#define TYPE_E_REGISTRYACCESS static_cast<HRESULT>(0x8002801C)

enum SYSKIND { SYS_WIN16 = 0, SYS_WIN32 = 1, SYS_MAC = 2, SYS_WIN64 = 3 };

struct TypeLibInterface {
    IID iid;
    std::string name;
};

struct TypeLibDescription {
    GUID libid;
    std::string name;
    WORD majorVersion = 1;
    WORD minorVersion = 0;
    std::string helpString;
    std::vector<TypeLibInterface> interfaces; // dispatch interfaces, marshalled by the automation proxy
};

// `modulePath` is the local path of the file that holds the library.
HRESULT RegisterTypeLib(const TypeLibDescription& library, const std::string& modulePath);
// Fails with TYPE_E_REGISTRYACCESS when that version of the library is not registered.
HRESULT UnRegisterTypeLib(REFGUID libid, WORD majorVersion, WORD minorVersion, DWORD locale, SYSKIND kind);
