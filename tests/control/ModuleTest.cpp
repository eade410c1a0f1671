// The control module as a container meets it: registered into a fresh registry by its own
// DllRegisterServer, created by ProgID, its window made, properties put and the start called by
// DISPID, drawn, freed and loaded again; registering twice, unregistering when the type library
// is already gone, and registering only when the class is missing.
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
#include "platform/ole/OlePropertyPage.h"
#include "platform/registry/RegistryText.h"
#include "platform/window/MessageBox.h"
#include "tests/platform/TestWindows.h"
#include "tests/support/ShellSandbox.h"
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

// The module file opened as the class table opens it, so that its entry points can be called.
class Module {
public:
    Module() : m_handle(dlopen(OSTRANA_MODULE_FILE, RTLD_NOW | RTLD_LOCAL)) {}
    ~Module() { Close(); }
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;
    bool Loaded() const { return m_handle != nullptr; }
    void Close() {
        if (m_handle != nullptr) dlclose(m_handle);
        m_handle = nullptr;
    }
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

// One control created by ProgID, as a container holds it.
struct Hosted {
    IDispatch* control = nullptr;
    IHostedControl* hosted = nullptr;
    HWND window = nullptr;

    HRESULT Create() {
        CLSID clsid{};
        HRESULT status = CLSIDFromProgID(u"OSTRANA.OstranaCtrl.1", &clsid);
        if (SUCCEEDED(status)) status = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(&control));
        if (SUCCEEDED(status)) status = control->QueryInterface(IID_IHostedControl, reinterpret_cast<void**>(&hosted));
        return status;
    }
    void Release() {
        if (hosted != nullptr) hosted->DestroyControlWindow();
        if (hosted != nullptr) hosted->Release();
        if (control != nullptr) control->Release();
        hosted = nullptr;
        control = nullptr;
    }
};

class ControlModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_module.Loaded()) << dlerror();
        m_boxes = std::make_shared<ostrana::HeadlessMessageBoxPresenter>();
        ostrana::SetMessageBoxPresenter(m_boxes);
        m_page = ostrana::test::MakeTestWindow("ModuleTestPage", DefWindowProcA, WS_POPUP | WS_VISIBLE, {0, 0, 900, 800});
    }
    void TearDown() override {
        DestroyWindow(m_page);
        ostrana::SetMessageBoxPresenter(nullptr);
    }

    static std::string ClassKey() { return "CLSID\\" + ostrana::GuidText(CLSID_Ostrana); }

    // A home, drives and registry of the test's own: the main window shows the local disk.
    ostrana::test::ShellSandbox m_sandbox;
    Module m_module;
    std::shared_ptr<ostrana::HeadlessMessageBoxPresenter> m_boxes;
    HWND m_page = nullptr;
};

TEST_F(ControlModuleTest, ByProgIdTheControlOpensOneMainWindowAndTheFreedModuleServesAgain) {
    ASSERT_EQ(S_OK, m_module.Call("DllRegisterServer"));
    Hosted ostrana;
    ASSERT_EQ(S_OK, ostrana.Create());
    EXPECT_EQ(S_FALSE, m_module.Call("DllCanUnloadNow"));

    auto* sink = new EventLog;
    ostrana.hosted->Advise(sink);
    const RECT area{20, 30, 420, 330};
    ASSERT_EQ(S_OK, ostrana.hosted->CreateControlWindow(m_page, area, &ostrana.window));
    EXPECT_EQ(std::vector<DISPID>{kEventOnOstranaLoaded}, sink->events);
    EXPECT_EQ(GetWindow(ostrana.window, GW_CHILD), nullptr);

    EXPECT_EQ(S_OK, Put(ostrana.control, kDispidVarAuth, u"lang=ko; WAXLO_AUTH=token1; theme=blue"));
    EXPECT_EQ(S_OK, Put(ostrana.control, kDispidVarHostName, u"127.0.0.1:1"));
    EXPECT_EQ(S_OK, Call(ostrana.control, kDispidStartOstrana));
    HWND main = GetWindow(ostrana.window, GW_CHILD);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ("Zelkor TAVEN WebHard Control", Text(main));
    // A second start keeps the one main window.
    EXPECT_EQ(S_OK, Call(ostrana.control, kDispidStartOstrana));
    EXPECT_EQ(GetWindow(main, GW_HWNDNEXT), nullptr);

    EXPECT_EQ(S_OK, ostrana.hosted->Draw(area));
    RECT placed{};
    GetWindowRect(main, &placed);
    RECT window{};
    GetWindowRect(ostrana.window, &window);
    EXPECT_EQ((std::vector<LONG>{window.left, window.top, window.left + 600, window.top + 600}),
              (std::vector<LONG>{placed.left, placed.top, placed.right, placed.bottom}));

    // A live control keeps the module; without one it may be freed, yet it stays mapped, since
    // window classes it registered and threads it started can outlive its objects.
    CoFreeUnusedLibraries();
    ostrana.hosted->Advise(nullptr);
    sink->Release();
    ostrana.Release();
    EXPECT_FALSE(IsWindow(main));
    EXPECT_EQ(S_OK, m_module.Call("DllCanUnloadNow"));
    CoFreeUnusedLibraries();
    m_module.Close();
    void* still = dlopen(OSTRANA_MODULE_FILE, RTLD_NOW | RTLD_NOLOAD);
    EXPECT_NE(still, nullptr);
    if (still != nullptr) dlclose(still);

    Hosted again;
    ASSERT_EQ(S_OK, again.Create());
    ASSERT_EQ(S_OK, again.hosted->CreateControlWindow(m_page, area, &again.window));
    EXPECT_EQ(S_OK, Call(again.control, kDispidStartOstrana));
    EXPECT_NE(GetWindow(again.window, GW_CHILD), nullptr);
    again.Release();
}

TEST_F(ControlModuleTest, ThePageClassGivesItsCaptionAndSizeAndShowsInAFrame) {
    ASSERT_EQ(S_OK, m_module.Call("DllRegisterServer"));
    IPropertyPage* page = nullptr;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_OstranaPropPage, nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage,
                                     reinterpret_cast<void**>(&page)));
    PROPPAGEINFO info;
    ASSERT_EQ(S_OK, page->GetPageInfo(&info));
    EXPECT_EQ(u"일반", ostrana::BstrText(info.pszTitle));
    SysFreeString(info.pszTitle);
    EXPECT_EQ((std::vector<LONG>{294, 141}), (std::vector<LONG>{info.size.cx, info.size.cy}));
    ASSERT_EQ(S_OK, page->Activate(m_page, RECT{10, 10, 10 + info.size.cx, 10 + info.size.cy}, TRUE));
    HWND shown = GetWindow(m_page, GW_CHILD);
    EXPECT_NE(shown, nullptr);
    EXPECT_EQ(S_FALSE, page->IsPageDirty());
    EXPECT_EQ(S_OK, page->Deactivate());
    EXPECT_FALSE(IsWindow(shown));
    page->Release();
    EXPECT_EQ(S_OK, m_module.Call("DllCanUnloadNow"));
}

TEST_F(ControlModuleTest, RegistersTwiceAlikeAndUnregisteringWithoutTheLibraryKeepsTheClasses) {
    ASSERT_EQ(S_OK, m_module.Call("DllRegisterServer"));
    const std::string first = ostrana::test::ReadFileBytes(m_sandbox.Registry().FilePath());
    ASSERT_EQ(S_OK, m_module.Call("DllRegisterServer"));
    EXPECT_EQ(first, ostrana::test::ReadFileBytes(m_sandbox.Registry().FilePath()));
    auto server = ostrana::ReadRegistryText(HKEY_CLASSES_ROOT, ClassKey() + "\\InprocServer32");
    ASSERT_TRUE(server.has_value());
    EXPECT_EQ(ostrana::LocalToHostPath(*server).value_or(""), OSTRANA_MODULE_FILE);

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
}

} // namespace
