// The module's four entry points and its application object. Only these four are exported (see
// ostrana.map); everything else of the module stays inside it.
#include <atomic>

#include "control/OstranaApp.h"
#include "control/OstranaCtrl.h"
#include "control/OstranaIds.h"
#include "control/OstranaPropPage.h"
#include "control/OstranaRegistration.h"
#include "platform/com/Com.h"

#define OSTRANA_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

COstranaApp theApp;

// Live controls, pages, factories and server locks.
std::atomic<long> g_objects{0};

IClassFactory* NewFactory(REFCLSID clsid) {
    if (clsid == CLSID_Ostrana) return ostrana::NewControlFactory([] { return new COstranaCtrl; }, &g_objects);
    if (clsid == CLSID_OstranaPropPage) return ostrana::NewPropertyPageFactory([] { return new COstranaPropPage; }, &g_objects);
    return nullptr;
}

std::string OwnPath() { return ostrana::ModuleLocalPath(reinterpret_cast<const void*>(&NewFactory)); }

} // namespace

OSTRANA_EXPORT HRESULT DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    IClassFactory* factory = NewFactory(clsid);
    if (factory == nullptr) return CLASS_E_CLASSNOTAVAILABLE;
    HRESULT status = factory->QueryInterface(riid, object);
    factory->Release();
    return status;
}

OSTRANA_EXPORT HRESULT DllCanUnloadNow() { return g_objects.load() == 0 ? S_OK : S_FALSE; }

OSTRANA_EXPORT HRESULT DllRegisterServer() { return RegisterOstranaModule(OwnPath()); }

OSTRANA_EXPORT HRESULT DllUnregisterServer() { return UnregisterOstranaModule(); }
