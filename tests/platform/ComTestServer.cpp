// A tiny in-process server for the COM tests: one class whose objects answer a number, and the
// exports a module provides. It links nothing of the platform, as a foreign module would not.
#include <atomic>

#include "platform/com/ClassFactory.h"
#include "platform/com/RefCounted.h"
#include "tests/platform/ComTestInterface.h"

namespace {

std::atomic<int> g_objects{0};

class Answer : public ostrana::RefCounted<ITestAnswer> {
public:
    Answer() { ++g_objects; }
    ~Answer() override { --g_objects; }
    HRESULT QueryInterface(REFIID riid, void** object) override { return QueryOwnInterface(riid, IID_ITestAnswer, object); }
    int Value() override { return 42; }
};

class Factory : public ostrana::RefCounted<IClassFactory> {
public:
    Factory() { ++g_objects; }
    ~Factory() override { --g_objects; }
    HRESULT QueryInterface(REFIID riid, void** object) override { return QueryOwnInterface(riid, IID_IClassFactory, object); }
    HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
        if (outer != nullptr) return static_cast<HRESULT>(0x80040110);
        auto* answer = new Answer;
        HRESULT status = answer->QueryInterface(riid, object);
        answer->Release();
        return status;
    }
    HRESULT LockServer(BOOL) override { return S_OK; }
};

} // namespace

extern "C" __attribute__((visibility("default"))) HRESULT DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
    if (!(clsid == CLSID_TestAnswer)) return CLASS_E_CLASSNOTAVAILABLE;
    auto* factory = new Factory;
    HRESULT status = factory->QueryInterface(riid, object);
    factory->Release();
    return status;
}

extern "C" __attribute__((visibility("default"))) HRESULT DllCanUnloadNow() { return g_objects == 0 ? S_OK : S_FALSE; }
