// The component object basics that the application calls: GUIDs, HRESULT codes, IUnknown-style
// reference counting, per-thread initialisation and creation of in-process classes by CLSID.
// Classes are registered in a process-wide table by the platform folder that implements them.
#pragma once

#include <atomic>
#include <functional>

#include "platform/base/WinTypes.h"

using HRESULT = LONG;

#define S_OK static_cast<HRESULT>(0)
#define S_FALSE static_cast<HRESULT>(1)
#define E_NOTIMPL static_cast<HRESULT>(0x80004001)
#define E_NOINTERFACE static_cast<HRESULT>(0x80004002)
#define E_POINTER static_cast<HRESULT>(0x80004003)
#define E_FAIL static_cast<HRESULT>(0x80004005)
#define E_OUTOFMEMORY static_cast<HRESULT>(0x8007000E)
#define E_INVALIDARG static_cast<HRESULT>(0x80070057)
#define CLASS_E_NOAGGREGATION static_cast<HRESULT>(0x80040110)
#define REGDB_E_CLASSNOTREG static_cast<HRESULT>(0x80040154)
#define RPC_E_CHANGED_MODE static_cast<HRESULT>(0x80010106)

#define SUCCEEDED(hr) (static_cast<HRESULT>(hr) >= 0)
#define FAILED(hr) (static_cast<HRESULT>(hr) < 0)

#define COINIT_MULTITHREADED 0x0
#define COINIT_APARTMENTTHREADED 0x2
#define CLSCTX_INPROC_SERVER 0x1

struct GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];
};
using IID = GUID;
using CLSID = GUID;
using REFGUID = const GUID&;
using REFIID = const IID&;
using REFCLSID = const CLSID&;

bool operator==(const GUID& a, const GUID& b);
inline BOOL IsEqualGUID(REFGUID a, REFGUID b) { return a == b ? TRUE : FALSE; }

extern const IID IID_IUnknown;

struct IUnknown {
    virtual HRESULT QueryInterface(REFIID iid, void** object) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    virtual ~IUnknown() = default;
};
using LPUNKNOWN = IUnknown*;

HRESULT CoInitializeEx(void* reserved, DWORD coInit);
void CoUninitialize();
HRESULT CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD classContext, REFIID iid, void** object);

namespace ostrana {

// Reference count shared by the platform's own objects; the object deletes itself at zero.
template <typename Interface> class RefCounted : public Interface {
public:
    ULONG AddRef() override { return ++m_references; }
    ULONG Release() override {
        ULONG left = --m_references;
        if (left == 0) {
            delete this;
        }
        return left;
    }

private:
    std::atomic<ULONG> m_references{1};
};

// Creates an instance and hands out the requested interface (already AddRef'd) through object.
using ClassCreator = std::function<HRESULT(REFIID iid, void** object)>;

// Makes clsid creatable with CoCreateInstance; a second registration replaces the first.
void RegisterInProcessClass(REFCLSID clsid, ClassCreator creator);
void RevokeInProcessClass(REFCLSID clsid);

// Initialisations of the calling thread that have not been undone yet (for tests).
int ComInitCountOfThread();

} // namespace ostrana
