// The control module as a container meets it: registered into a fresh registry by its own
// DllRegisterServer, created by ProgID, its window made, properties put by DISPID, started, and
// drawn; registering again, and unregistering when the type library is already gone.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <memory>
#include <string>
#include <vector>

#include "control/OstranaIds.h"
#include "platform/base/LocalPath.h"
#include "platform/com/ClassFactory.h"
#include "platform/com/Com.h"
#include "platform/com/Guid.h"
#include "platform/com/RefCounted.h"
#include "platform/com/TypeLib.h"
#include "platform/ole/HostedControl.h"
#include "platform/registry/RegistryText.h"
#include "platform/window/MessageBox.h"
#include "tests/platform/TestWindows.h"
#include "tests/support/TempDir.h"

namespace {

class EventLog : public ostrana::RefCounted<IDispatch> {
public:
    HRESULT QueryInterface(REFIID riid, void** object) override { return QueryOwnInterface(riid, IID_IDispatch, object); }
    HRESULT GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT Invoke(DISPID member, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        events.push_back(member);
        return S_OK;
    }
    std::vector<DISPID> events;
};

// The module file, opened the way the class table opens it, so its entry points can be called.
class Module {
public:
    Module() : m_handle(dlopen(OSTRANA_MODULE_FILE, RTLD_NOW | RTLD_LOCAL)) {}
    ~Module() { Close(); }
    void Close() {
        if (m_handle != nullptr) dlclose(m_handle);
        m_handle = nullptr;
    }
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;
    bool Loaded() const { return m_handle != nullptr; }
    HRESULT Call(const char* entry) const {
        auto function = reinterpret_cast<DllRegisterServerFunction>(dlsym(m_handle, entry));
        return function != nullptr ? function() : E_NOTIMPL;
    }

private:
    void* m_handle;
};

std::string Text(HWND window) {
    char buffer[256] = {};
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

HRESULT Put(IDispatch* control, DISPID id, const std::u16string& text) {
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_BSTR;
    value.bstrVal = SysAllocString(text.c_str());
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS parameters{&value, &named, 1, 1};
    HRESULT status = control->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYPUT, &parameters, nullptr, nullptr, nullptr);
    VariantClear(&value);
    return status;
}

HRESULT Call(IDispatch* control, DISPID id) {
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    return control->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr);
}

class ControlModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_module.Loaded()) << dlerror();
        m_boxes = std::make_shared<ostrana::HeadlessMessageBoxPresenter>();
        ostrana::SetMessageBoxPresenter(m_boxes);
    }
    void TearDown() override { ostrana::SetMessageBoxPresenter(nullptr); }

    std::string ClassKey() const { return "CLSID\\" + ostrana::GuidText(CLSID_Ostrana); }

    ostrana::test::ScopedRegistryFile m_registry;
    Module m_module;
    std::shared_ptr<ostrana::HeadlessMessageBoxPresenter> m_boxes;
};

TEST_F(ControlModuleTest, ByProgIdTheControlOpensOneMainWindowInsideItsWindow) {
    ASSERT_EQ(S_OK, m_module.Call("DllRegisterServer"));
    CLSID clsid{};
    ASSERT_EQ(S_OK, CLSIDFromProgID(u"OSTRANA.OstranaCtrl.1", &clsid));
    EXPECT_TRUE(clsid == CLSID_Ostrana);

    IDispatch* control = nullptr;
    ASSERT_EQ(S_OK, CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(&control)));
    IHostedControl* hosted = nullptr;
    ASSERT_EQ(S_OK, control->QueryInterface(IID_IHostedControl, reinterpret_cast<void**>(&hosted)));
    EXPECT_EQ(S_FALSE, m_module.Call("DllCanUnloadNow"));

    auto* sink = new EventLog;
    hosted->Advise(sink);
    HWND page = ostrana::test::MakeTestWindow("ModuleTestPage", DefWindowProcA, WS_POPUP | WS_VISIBLE, {0, 0, 900, 800});
    const RECT area{20, 30, 420, 330};
    HWND window = nullptr;
    ASSERT_EQ(S_OK, hosted->CreateControlWindow(page, area, &window));
    EXPECT_EQ(std::vector<DISPID>{kEventOnOstranaLoaded}, sink->events);
    EXPECT_EQ(GetWindow(window, GW_CHILD), nullptr);

    EXPECT_EQ(S_OK, Put(control, kDispidVarAuth, u"lang=ko; WAXLO_AUTH=token1; theme=blue"));
    EXPECT_EQ(S_OK, Put(control, kDispidVarHostName, u"127.0.0.1:1"));
    EXPECT_EQ(S_OK, Put(control, kDispidDisplayType, u"full"));
    EXPECT_EQ(S_OK, Call(control, kDispidStartOstrana));
    HWND main = GetWindow(window, GW_CHILD);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ("Zelkor TAVEN WebHard Control", Text(main));

    EXPECT_EQ(S_OK, hosted->Draw(area));
    RECT placed{};
    GetWindowRect(main, &placed);
    RECT control_rect{};
    GetWindowRect(window, &control_rect);
    EXPECT_EQ(placed.left, control_rect.left);
    EXPECT_EQ(placed.top, control_rect.top);
    EXPECT_EQ(600, placed.right - placed.left);
    EXPECT_EQ(600, placed.bottom - placed.top);

    // A second start keeps the one main window.
    EXPECT_EQ(S_OK, Call(control, kDispidStartOstrana));
    EXPECT_EQ(GetWindow(main, GW_HWNDNEXT), nullptr);
    EXPECT_EQ(GetWindow(window, GW_CHILD), main);

    hosted->Advise(nullptr);
    sink->Release();
    EXPECT_EQ(S_OK, hosted->DestroyControlWindow());
    EXPECT_FALSE(IsWindow(main));
    hosted->Release();
    control->Release();
    EXPECT_EQ(S_OK, m_module.Call("DllCanUnloadNow"));
    DestroyWindow(page);
}

// Creates a control by ProgID, its window in `page`, and starts it; the main window or null.
HWND StartedControl(HWND page, IDispatch** control, IHostedControl** hosted) {
    CLSID clsid{};
    if (FAILED(CLSIDFromProgID(u"OSTRANA.OstranaCtrl.1", &clsid))) return nullptr;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(control)))) return nullptr;
    if (FAILED((*control)->QueryInterface(IID_IHostedControl, reinterpret_cast<void**>(hosted)))) return nullptr;
    HWND window = nullptr;
    if (FAILED((*hosted)->CreateControlWindow(page, RECT{0, 0, 600, 600}, &window))) return nullptr;
    Call(*control, kDispidStartOstrana);
    return GetWindow(window, GW_CHILD);
}

TEST_F(ControlModuleTest, TheModuleStaysLoadedOnceFreedSinceItsWindowClassesAndThreadsMayOutliveItsObjects) {
    ASSERT_EQ(S_OK, m_module.Call("DllRegisterServer"));
    HWND page = ostrana::test::MakeTestWindow("ModuleTestPage", DefWindowProcA, WS_POPUP | WS_VISIBLE, {0, 0, 900, 800});
    IDispatch* control = nullptr;
    IHostedControl* hosted = nullptr;
    HWND main = StartedControl(page, &control, &hosted);
    ASSERT_NE(main, nullptr);
    // A live control keeps the module.
    CoFreeUnusedLibraries();
    EXPECT_EQ(S_OK, hosted->Draw(RECT{0, 0, 700, 700}));
    EXPECT_EQ(S_OK, hosted->DestroyControlWindow());
    hosted->Release();
    control->Release();
    EXPECT_EQ(S_OK, m_module.Call("DllCanUnloadNow"));

    CoFreeUnusedLibraries();
    m_module.Close();
    void* still = dlopen(OSTRANA_MODULE_FILE, RTLD_NOW | RTLD_NOLOAD);
    EXPECT_NE(still, nullptr);
    if (still != nullptr) dlclose(still);

    // Loaded again by the class table, it serves as before.
    main = StartedControl(page, &control, &hosted);
    EXPECT_NE(main, nullptr);
    EXPECT_EQ("Zelkor TAVEN WebHard Control", Text(main));
    hosted->DestroyControlWindow();
    hosted->Release();
    control->Release();
    DestroyWindow(page);
}

TEST_F(ControlModuleTest, RegisteringTwiceWritesTheSameEntriesForTheModulesOwnFile) {
    ASSERT_EQ(S_OK, m_module.Call("DllRegisterServer"));
    const std::string first = ostrana::test::ReadFileBytes(m_registry.FilePath());
    ASSERT_EQ(S_OK, m_module.Call("DllRegisterServer"));
    EXPECT_EQ(first, ostrana::test::ReadFileBytes(m_registry.FilePath()));
    auto server = ostrana::ReadRegistryText(HKEY_CLASSES_ROOT, ClassKey() + "\\InprocServer32");
    ASSERT_TRUE(server.has_value());
    EXPECT_EQ(ostrana::LocalToHostPath(*server).value_or(""), OSTRANA_MODULE_FILE);
}

TEST_F(ControlModuleTest, WithTheLibraryAlreadyGoneUnregisteringFailsAndKeepsTheClasses) {
    ASSERT_EQ(S_OK, m_module.Call("DllRegisterServer"));
    ASSERT_EQ(S_OK, UnRegisterTypeLib(LIBID_OstranaLib, 1, 0, 0, SYS_WIN32));
    EXPECT_EQ(SELFREG_E_TYPELIB, m_module.Call("DllUnregisterServer"));
    EXPECT_TRUE(ostrana::RegistryKeyExists(HKEY_CLASSES_ROOT, ClassKey()));
    EXPECT_TRUE(ostrana::RegistryKeyExists(HKEY_CLASSES_ROOT, "OSTRANA.OstranaCtrl.1"));

    ASSERT_EQ(S_OK, m_module.Call("DllRegisterServer"));
    EXPECT_EQ(S_OK, m_module.Call("DllUnregisterServer"));
    EXPECT_FALSE(ostrana::RegistryKeyExists(HKEY_CLASSES_ROOT, ClassKey()));
    EXPECT_FALSE(ostrana::RegistryKeyExists(HKEY_CLASSES_ROOT, "OSTRANA.OstranaCtrl.1"));
}

TEST_F(ControlModuleTest, AContainerRegistersTheModuleOnlyWhenItsClassIsMissingOrItsFileIsGone) {
    EXPECT_FALSE(ostrana::IsServerRegistered(kOstranaProgId));
    EXPECT_EQ(CO_E_DLLNOTFOUND, ostrana::RegisterServerIfMissing(kOstranaProgId, "/nonexistent/libostrana.so"));
    ASSERT_EQ(S_OK, ostrana::RegisterServerIfMissing(kOstranaProgId, OSTRANA_MODULE_FILE));
    EXPECT_TRUE(ostrana::IsServerRegistered(kOstranaProgId));

    // Registered already: nothing is written again.
    ASSERT_TRUE(ostrana::WriteRegistryText(HKEY_CLASSES_ROOT, ClassKey(), "Marker", "kept"));
    ASSERT_EQ(S_OK, ostrana::RegisterServerIfMissing(kOstranaProgId, "/nonexistent/libostrana.so"));
    EXPECT_EQ("kept", ostrana::ReadRegistryText(HKEY_CLASSES_ROOT, ClassKey(), "Marker").value_or(""));

    // A registry naming a file that has gone since counts as missing.
    ASSERT_TRUE(ostrana::WriteRegistryText(HKEY_CLASSES_ROOT, ClassKey() + "\\InprocServer32", "", "C:\\gone\\libostrana.so"));
    EXPECT_FALSE(ostrana::IsServerRegistered(kOstranaProgId));
    ASSERT_EQ(S_OK, ostrana::RegisterServerIfMissing(kOstranaProgId, OSTRANA_MODULE_FILE));
    EXPECT_TRUE(ostrana::IsServerRegistered(kOstranaProgId));
    EXPECT_FALSE(ostrana::IsServerRegistered("OSTRANA.Nothing.1"));
}

} // namespace
