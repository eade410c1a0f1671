// Per-thread initialisation and creation of in-process classes by CLSID, over the GUIDs, HRESULT
// codes and reference counting of Unknown.h. Classes are registered in a process-wide table by
// the platform folder that implements them, or served by a module the registry names.
#pragma once

#include <functional>
#include <string>

#include "platform/com/RefCounted.h"
#include "platform/com/Unknown.h"

#define CLASS_E_NOAGGREGATION static_cast<HRESULT>(0x80040110)
#define REGDB_E_CLASSNOTREG static_cast<HRESULT>(0x80040154)
#define RPC_E_CHANGED_MODE static_cast<HRESULT>(0x80010106)
#define CO_E_DLLNOTFOUND static_cast<HRESULT>(0x800401F8)
#define CO_E_ERRORINDLL static_cast<HRESULT>(0x800401F9)

#define COINIT_MULTITHREADED 0x0
#define COINIT_APARTMENTTHREADED 0x2
#define CLSCTX_INPROC_SERVER 0x1

using LPUNKNOWN = IUnknown*;

HRESULT CoInitializeEx(void* reserved, DWORD coInit);
void CoUninitialize();
// Classes registered in this process first, then the in-process server that
// HKEY_CLASSES_ROOT\CLSID\{clsid}\InprocServer32 names, loaded once and asked for its factory.
HRESULT CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD classContext, REFIID iid, void** object);
// Unloads the loaded servers whose DllCanUnloadNow agrees.
void CoFreeUnusedLibraries();

namespace ostrana {

// Creates an instance and hands out the requested interface (already AddRef'd) through object.
using ClassCreator = std::function<HRESULT(REFIID iid, void** object)>;

// Makes clsid creatable with CoCreateInstance; a second registration replaces the first.
void RegisterInProcessClass(REFCLSID clsid, ClassCreator creator);
void RevokeInProcessClass(REFCLSID clsid);

// Initialisations of the calling thread that have not been undone yet (for tests).
int ComInitCountOfThread();

// The local path of the loaded file that holds `address` (a module finds its own file with it).
std::string ModuleLocalPath(const void* address);

// The folder of the running program, as a host path ("/opt/ostrana/bin"); a container finds the
// modules it ships beside it.
std::string ProgramFolder();

// True when `progId` names a class whose in-process server file exists.
bool IsServerRegistered(const std::string& progId);

// Registers the module at `moduleHostPath` with its own DllRegisterServer unless `progId` already
// names a class whose server file exists (a registry left by a moved or deleted build counts as
// missing). S_OK when nothing was needed; otherwise the registration's result, CO_E_DLLNOTFOUND
// when the file does not load, CO_E_ERRORINDLL when it has no DllRegisterServer.
HRESULT RegisterServerIfMissing(const std::string& progId, const std::string& moduleHostPath);

} // namespace ostrana
