// Hosting the control module's control.
#include "host/ControlHost.h"

#include "control/OstranaIds.h"
#include "platform/base/CodePage.h"
#include "platform/com/Com.h"
#include "platform/com/Guid.h"
#include "platform/com/RefCounted.h"
#include "platform/window/WindowGeometry.h"

namespace ostrana::host {

// The container's sink for the control's events, by DISPID.
class ControlEvents : public RefCounted<IDispatch> {
public:
    explicit ControlEvents(ControlHost::EventHandler handler) : m_handler(std::move(handler)) {}
    void Forget() { m_handler = nullptr; }

    HRESULT QueryInterface(REFIID riid, void** object) override { return QueryOwnInterface(riid, IID_IDispatch, object); }
    HRESULT GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT Invoke(DISPID member, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        if (member != kEventOnOstranaLoaded)
            return DISP_E_MEMBERNOTFOUND;
        if (m_handler)
            m_handler("OnOstranaLoaded");
        return S_OK;
    }

private:
    ControlHost::EventHandler m_handler;
};

namespace {

struct Member {
    const char* name;
    DISPID dispid;
};
constexpr Member kProperties[] = {{"DisplayType", kDispidDisplayType},
                                  {"varAuth", kDispidVarAuth},
                                  {"varUserID", kDispidVarUserID},
                                  {"varHostName", kDispidVarHostName}};

std::string Failure(const char* what, HRESULT status)
{
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(status));
    return std::string(what) + " failed (" + code + ")";
}

} // namespace

long PropertyDispid(const std::string& name, long dispid)
{
    for (const Member& member : kProperties)
        if (!name.empty() ? name == member.name : dispid == member.dispid)
            return member.dispid;
    return 0;
}

ControlHost::~ControlHost()
{
    Destroy();
}

std::string ControlHost::Create(HWND parent, const std::string& moduleFile, EventHandler events)
{
    HRESULT status = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(status))
        return Failure("CoInitializeEx", status);
    m_comStarted = true;
    status = RegisterServerIfMissing(kOstranaProgId, moduleFile);
    if (FAILED(status))
        return Failure(("registering " + moduleFile).c_str(), status);
    CLSID clsid{};
    status = CLSIDFromProgID(ToWide(kOstranaProgId).c_str(), &clsid);
    if (FAILED(status))
        return Failure("CLSIDFromProgID", status);
    status = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(&m_dispatch));
    if (FAILED(status))
        return Failure("CoCreateInstance", status);
    status = m_dispatch->QueryInterface(IID_IHostedControl, reinterpret_cast<void**>(&m_hosted));
    if (FAILED(status))
        return Failure("IHostedControl", status);
    // Before the window: the control fires its loaded event while the window is made.
    m_events = new ControlEvents(std::move(events));
    m_hosted->Advise(m_events);
    RECT area{};
    GetClientRect(parent, &area);
    status = m_hosted->CreateControlWindow(parent, area, &m_window);
    if (FAILED(status))
        return Failure("CreateControlWindow", status);
    m_hosted->Draw(area);
    return {};
}

void ControlHost::Destroy()
{
    if (m_hosted) {
        if (m_window)
            m_hosted->DestroyControlWindow();
        m_hosted->Advise(nullptr);
        m_hosted->Release();
    }
    if (m_events) {
        m_events->Forget();
        m_events->Release();
    }
    if (m_dispatch)
        m_dispatch->Release();
    m_hosted = nullptr;
    m_events = nullptr;
    m_dispatch = nullptr;
    m_window = nullptr;
    if (std::exchange(m_comStarted, false))
        CoUninitialize();
}

bool ControlHost::PutProperty(const std::string& name, long dispid, const std::string& utf8)
{
    DISPID member = PropertyDispid(name, dispid);
    if (!m_dispatch || member == 0)
        return false;
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_BSTR;
    value.bstrVal = AnsiToBstr(Utf8ToAnsi(utf8));
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS parameters{&value, &named, 1, 1};
    HRESULT status = m_dispatch->Invoke(member, IID_NULL, 0, DISPATCH_PROPERTYPUT, &parameters, nullptr, nullptr, nullptr);
    VariantClear(&value);
    return SUCCEEDED(status);
}

bool ControlHost::CallMethod(const std::string& name)
{
    if (!m_dispatch || name != "StartOstrana")
        return false;
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    return SUCCEEDED(m_dispatch->Invoke(kDispidStartOstrana, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr));
}

void ControlHost::AreaResized(const RECT& client)
{
    if (!m_hosted || !m_window)
        return;
    MoveWindow(m_window, client.left, client.top, client.right - client.left, client.bottom - client.top, TRUE);
    m_hosted->Draw(client);
}

} // namespace ostrana::host
