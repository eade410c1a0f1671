// The control base class: dispatch by DISPID and by name, events reaching the container's sink,
// the control window, drawing with the container's bounds, state reset and the factory's count.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/com/ClassFactory.h"
#include "platform/com/RefCounted.h"
#include "platform/ole/OleControl.h"
#include "tests/platform/TestWindows.h"

namespace {

class SampleControl : public COleControl {
public:
    explicit SampleControl(std::vector<std::string>& log) : m_log(log) {
        DispProperty(1, "Caption", [this](VARIANT* out) { out->vt = VT_BSTR; out->bstrVal = ostrana::AnsiToBstr(m_caption); },
                     [this](const VARIANT& in) {
                         if (in.vt == VT_BSTR) m_caption = ostrana::BstrToAnsi(in.bstrVal);
                         SetModifiedFlag();
                     });
        DispMethod(2, "Start", [this] { m_log.push_back("start"); });
        EventEntry(1, "OnLoaded");
    }
    ~SampleControl() override { m_log.push_back("deleted"); }

    std::string m_caption;
    RECT m_drawnBounds{};
    DWORD m_version = 0;

protected:
    int OnCreate(LPCREATESTRUCT) override {
        FireEvent(1);
        return 0;
    }
    void OnDraw(CDC*, const RECT& bounds, const RECT&) override { m_drawnBounds = bounds; }
    void DoPropExchange(CPropExchange* exchange) override {
        exchange->ExchangeVersion(m_version, 0x00010000);
        m_log.push_back(exchange->IsLoading() ? "exchange loading" : "exchange saving");
    }

private:
    std::vector<std::string>& m_log;
};

class EventSink : public ostrana::RefCounted<IDispatch> {
public:
    explicit EventSink(std::vector<std::string>& log) : m_log(log) {}
    HRESULT QueryInterface(REFIID riid, void** object) override { return QueryOwnInterface(riid, IID_IDispatch, object); }
    HRESULT GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        m_log.push_back("event " + std::to_string(member) + (flags == DISPATCH_METHOD ? " method" : ""));
        return S_OK;
    }

private:
    std::vector<std::string>& m_log;
};

HRESULT Put(IDispatch* dispatch, DISPID id, VARIANT value) {
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS parameters{&value, &named, 1, 1};
    return dispatch->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYPUT, &parameters, nullptr, nullptr, nullptr);
}

TEST(OleControl, PropertiesAndMethodsAnswerByDispidAndByNameWithoutCase) {
    std::vector<std::string> log;
    std::atomic<long> objects{0};
    IClassFactory* factory = ostrana::NewControlFactory([&] { return new SampleControl(log); }, &objects);
    EXPECT_EQ(1, objects.load());
    IDispatch* dispatch = nullptr;
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&dispatch)));
    EXPECT_EQ(2, objects.load());

    LPOLESTR names[] = {const_cast<LPOLESTR>(u"caption")};
    DISPID id = 0;
    ASSERT_EQ(S_OK, dispatch->GetIDsOfNames(IID_NULL, names, 1, 0, &id));
    EXPECT_EQ(1, id);
    LPOLESTR unknown[] = {const_cast<LPOLESTR>(u"Nothing")};
    EXPECT_EQ(DISP_E_UNKNOWNNAME, dispatch->GetIDsOfNames(IID_NULL, unknown, 1, 0, &id));

    VARIANT text;
    VariantInit(&text);
    text.vt = VT_BSTR;
    text.bstrVal = SysAllocString(u"hello");
    ASSERT_EQ(S_OK, Put(dispatch, 1, text));
    VariantClear(&text);
    VARIANT read;
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    ASSERT_EQ(S_OK, dispatch->Invoke(1, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &read, nullptr, nullptr));
    EXPECT_EQ(u"hello", ostrana::BstrText(read.bstrVal));
    VariantClear(&read);

    EXPECT_EQ(S_OK, dispatch->Invoke(2, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr));
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, dispatch->Invoke(9, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr));
    EXPECT_EQ(DISP_E_BADPARAMCOUNT, dispatch->Invoke(1, IID_NULL, 0, DISPATCH_PROPERTYPUT, &none, nullptr, nullptr, nullptr));

    IHostedControl* hosted = nullptr;
    ASSERT_EQ(S_OK, dispatch->QueryInterface(IID_IHostedControl, reinterpret_cast<void**>(&hosted)));
    hosted->Release();
    dispatch->Release();
    EXPECT_EQ((std::vector<std::string>{"start", "deleted"}), log);
    EXPECT_EQ(1, objects.load());
    factory->Release();
    EXPECT_EQ(0, objects.load());
}

TEST(OleControl, TheWindowFiresTheLoadedEventAndDrawingGetsTheContainersBounds) {
    std::vector<std::string> log;
    auto* control = new SampleControl(log);
    IHostedControl* hosted = nullptr;
    ASSERT_EQ(S_OK, control->QueryControlInterface(IID_IHostedControl, reinterpret_cast<void**>(&hosted)));
    control->ExternalRelease();
    auto* sink = new EventSink(log);
    hosted->Advise(sink);
    sink->Release();

    HWND container = ostrana::test::MakeTestWindow("ControlContainer", DefWindowProcA, WS_POPUP | WS_VISIBLE, {0, 0, 800, 600});
    HWND window = nullptr;
    ASSERT_EQ(S_OK, hosted->CreateControlWindow(container, {10, 20, 410, 320}, &window));
    EXPECT_EQ(0x56000000, GetWindowLongA(window, GWL_STYLE));
    EXPECT_EQ(0, GetWindowLongA(window, GWL_EXSTYLE));
    EXPECT_EQ(container, GetParent(window));
    ASSERT_EQ(S_OK, hosted->Draw({10, 20, 410, 320}));
    EXPECT_EQ(400, control->m_drawnBounds.right - control->m_drawnBounds.left);

    control->SetModifiedFlag();
    EXPECT_TRUE(control->IsModified());
    control->ResetState();
    EXPECT_EQ(0x00010000u, control->m_version);
    EXPECT_EQ(E_NOTIMPL, hosted->DoVerb(OLEIVERB_PROPERTIES));

    EXPECT_EQ(S_OK, hosted->DestroyControlWindow());
    EXPECT_FALSE(IsWindow(window));
    hosted->Release();
    DestroyWindow(container);
    EXPECT_EQ((std::vector<std::string>{"event 1 method", "exchange loading", "deleted"}), log);
}

TEST(PropExchange, AMissingStoredVersionLoadsTheDefaultAndSavingKeepsTheValue) {
    DWORD version = 7;
    CPropExchange loading(true);
    loading.ExchangeVersion(version, 0x00010000);
    EXPECT_EQ(0x00010000u, version);
    CPropExchange stored(true, 0x00020000);
    stored.ExchangeVersion(version, 0x00010000);
    EXPECT_EQ(0x00020000u, version);
    CPropExchange saving(false);
    saving.ExchangeVersion(version, 0x00010000);
    EXPECT_EQ(0x00020000u, saving.GetVersion());
}

} // namespace
