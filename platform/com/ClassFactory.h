// Class factories and in-process servers: IClassFactory, and the entry points a module exports
// (DllGetClassObject, DllCanUnloadNow, DllRegisterServer, DllUnregisterServer).
#pragma once

#include "platform/com/Unknown.h"

#define CLASS_E_CLASSNOTAVAILABLE static_cast<HRESULT>(0x80040111)
#define SELFREG_E_TYPELIB static_cast<HRESULT>(0x80040200)
#define SELFREG_E_CLASS static_cast<HRESULT>(0x80040201)

inline constexpr IID IID_IClassFactory = {0x00000001, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

struct IClassFactory : IUnknown {
    virtual HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** object) = 0;
    virtual HRESULT LockServer(BOOL lock) = 0;

protected:
    ~IClassFactory() = default;
};

using DllGetClassObjectFunction = HRESULT (*)(REFCLSID clsid, REFIID riid, void** object);
using DllCanUnloadNowFunction = HRESULT (*)();
using DllRegisterServerFunction = HRESULT (*)();
