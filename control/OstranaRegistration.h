// Self-registration of the control module: the type library from the module's own description,
// then each class's entries under HKEY_CLASSES_ROOT (the control with its ProgID, type name,
// toolbox bitmap, apartment threading, misc status and type library; the property page with its
// type name). Unregistering removes the type library first and leaves the classes when that fails.
#pragma once

#include <string>

#include "platform/com/TypeLib.h"

#define OLEMISC_ACTIVATEWHENVISIBLE 0x00000100
#define OLEMISC_SETCLIENTSITEFIRST 0x00020000
#define OLEMISC_INSIDEOUT 0x00000080
#define OLEMISC_CANTLINKINSIDE 0x00000010
#define OLEMISC_RECOMPOSEONRESIZE 0x00000001

inline constexpr DWORD kOstranaMiscStatus = OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST | OLEMISC_INSIDEOUT |
                                            OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE;

TypeLibDescription OstranaTypeLibrary();

// `modulePath` is the module's local path. Results: S_OK, SELFREG_E_TYPELIB or SELFREG_E_CLASS.
HRESULT RegisterOstranaModule(const std::string& modulePath);
HRESULT UnregisterOstranaModule();

// The per-class updates the two steps run; TRUE on success.
BOOL UpdateControlRegistry(BOOL registering, const std::string& modulePath);
BOOL UpdatePropPageRegistry(BOOL registering, const std::string& modulePath);
