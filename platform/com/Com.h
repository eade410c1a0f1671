// Per-thread initialisation and creation of in-process classes by CLSID, over the GUIDs, HRESULT
// codes and reference counting of Unknown.h. Classes are registered in a process-wide table by
// the platform folder that implements them.
#pragma once

#include <functional>

#include "platform/com/RefCounted.h"
#include "platform/com/Unknown.h"

#define CLASS_E_NOAGGREGATION static_cast<HRESULT>(0x80040110)
#define REGDB_E_CLASSNOTREG static_cast<HRESULT>(0x80040154)
#define RPC_E_CHANGED_MODE static_cast<HRESULT>(0x80010106)

#define COINIT_MULTITHREADED 0x0
#define COINIT_APARTMENTTHREADED 0x2
#define CLSCTX_INPROC_SERVER 0x1

using REFGUID = const GUID&;
using LPUNKNOWN = IUnknown*;

HRESULT CoInitializeEx(void* reserved, DWORD coInit);
void CoUninitialize();
HRESULT CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD classContext, REFIID iid, void** object);

namespace ostrana {

// Creates an instance and hands out the requested interface (already AddRef'd) through object.
using ClassCreator = std::function<HRESULT(REFIID iid, void** object)>;

// Makes clsid creatable with CoCreateInstance; a second registration replaces the first.
void RegisterInProcessClass(REFCLSID clsid, ClassCreator creator);
void RevokeInProcessClass(REFCLSID clsid);

// Initialisations of the calling thread that have not been undone yet (for tests).
int ComInitCountOfThread();

} // namespace ostrana
