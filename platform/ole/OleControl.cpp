// The control base class; see OleControl.h.
#include "platform/ole/OleControl.h"

#include <cctype>

#include "platform/com/RefCounted.h"

IMPLEMENT_DYNAMIC(COleControl, CWnd)

namespace ostrana {

// The control's two interfaces over the control's one reference count.
class OleControlBridge final : public IDispatch, public IHostedControl {
public:
    explicit OleControlBridge(COleControl& control) : m_control(control) {}

    HRESULT QueryInterface(REFIID riid, void** object) override { return m_control.QueryControlInterface(riid, object); }
    ULONG AddRef() override { return m_control.ExternalAddRef(); }
    ULONG Release() override { return m_control.ExternalRelease(); }

    HRESULT GetTypeInfoCount(UINT* count) override {
        if (count == nullptr) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        if (names == nullptr || ids == nullptr || count == 0) return E_INVALIDARG;
        HRESULT status = m_control.GetIdOfName(std::u16string(names[0]), ids[0]);
        for (UINT i = 1; i < count; ++i) ids[i] = DISPID_UNKNOWN;
        return count > 1 && SUCCEEDED(status) ? DISP_E_UNKNOWNNAME : status;
    }
    HRESULT Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* parameters, VARIANT* result, EXCEPINFO*,
                   UINT*) override {
        return m_control.Invoke(member, flags, parameters, result);
    }

    HRESULT CreateControlWindow(HWND parent, const RECT& bounds, HWND* window) override {
        return m_control.CreateControlWindow(parent, bounds, window);
    }
    HRESULT DestroyControlWindow() override { return m_control.DestroyControlWindow(); }
    HRESULT Draw(const RECT& bounds) override { return m_control.Draw(bounds); }
    HRESULT Advise(IDispatch* events) override { return m_control.Advise(events); }
    HRESULT DoVerb(LONG verb) override { return m_control.DoVerb(verb); }

private:
    COleControl& m_control;
};

namespace {

constexpr const char* kControlClass = "OstranaOleControl";

void RegisterControlClass() {
    static const bool registered = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.lpszClassName = kControlClass;
        return RegisterClassA(&windowClass) != 0;
    }();
    (void)registered;
}

bool SameNameIgnoringCase(const std::u16string& left, const std::string& right) {
    if (left.size() != right.size()) return false;
    for (size_t i = 0; i < left.size(); ++i) {
        if (left[i] > 0x7F) return false;
        if (std::tolower(static_cast<unsigned char>(left[i])) != std::tolower(static_cast<unsigned char>(right[i]))) return false;
    }
    return true;
}

class ControlFactory : public RefCounted<IClassFactory> {
public:
    ControlFactory(std::function<COleControl*()> create, std::atomic<long>* objects) : m_create(std::move(create)), m_objects(objects) {
        if (m_objects != nullptr) ++*m_objects;
    }
    ~ControlFactory() override {
        if (m_objects != nullptr) --*m_objects;
    }
    HRESULT QueryInterface(REFIID riid, void** object) override { return QueryOwnInterface(riid, IID_IClassFactory, object); }
    HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
        if (object == nullptr) return E_POINTER;
        *object = nullptr;
        if (outer != nullptr) return static_cast<HRESULT>(0x80040110);
        COleControl* control = m_create();
        if (control == nullptr) return E_OUTOFMEMORY;
        if (m_objects != nullptr) {
            ++*m_objects;
            std::atomic<long>* objects = m_objects;
            control->m_onDeleted = [objects] { --*objects; };
        }
        HRESULT status = control->QueryControlInterface(riid, object);
        control->ExternalRelease();
        return status;
    }
    HRESULT LockServer(BOOL lock) override {
        if (m_objects != nullptr) lock ? ++*m_objects : --*m_objects;
        return S_OK;
    }

private:
    std::function<COleControl*()> m_create;
    std::atomic<long>* m_objects;
};

} // namespace

IClassFactory* NewControlFactory(std::function<COleControl*()> create, std::atomic<long>* objects) {
    return new ControlFactory(std::move(create), objects);
}

} // namespace ostrana

BOOL CPropExchange::ExchangeVersion(DWORD& version, DWORD defaultVersion, BOOL) {
    if (m_loading) version = m_version != 0 ? m_version : defaultVersion;
    else m_version = version;
    return TRUE;
}

COleControl::COleControl() : m_bridge(new ostrana::OleControlBridge(*this)) {}

COleControl::~COleControl() {
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
    if (m_eventSink != nullptr) m_eventSink->Release();
    delete m_bridge;
    if (m_onDeleted) m_onDeleted();
}

HRESULT COleControl::QueryControlInterface(REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch) *object = static_cast<IDispatch*>(m_bridge);
    else if (iid == IID_IHostedControl) *object = static_cast<IHostedControl*>(m_bridge);
    else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ExternalAddRef();
    return S_OK;
}

ULONG COleControl::ExternalAddRef() { return ++m_references; }

ULONG COleControl::ExternalRelease() {
    ULONG left = --m_references;
    if (left == 0) delete this;
    return left;
}

HRESULT COleControl::CreateControlWindow(HWND parent, const RECT& bounds, HWND* window) {
    if (m_hWnd != nullptr) return E_UNEXPECTED;
    ostrana::RegisterControlClass();
    if (!CreateEx(0, ostrana::kControlClass, "", kWindowStyle, bounds.left, bounds.top, bounds.right - bounds.left,
                  bounds.bottom - bounds.top, parent, nullptr)) {
        return E_FAIL;
    }
    if (window != nullptr) *window = m_hWnd;
    return S_OK;
}

HRESULT COleControl::DestroyControlWindow() {
    if (m_hWnd == nullptr) return S_FALSE;
    ::DestroyWindow(m_hWnd);
    return S_OK;
}

HRESULT COleControl::Draw(const RECT& bounds) {
    if (m_hWnd == nullptr) return E_UNEXPECTED;
    CClientDC dc(this);
    OnDraw(&dc, bounds, bounds);
    return S_OK;
}

HRESULT COleControl::Advise(IDispatch* events) {
    if (events != nullptr) events->AddRef();
    if (m_eventSink != nullptr) m_eventSink->Release();
    m_eventSink = events;
    return S_OK;
}

HRESULT COleControl::DoVerb(LONG verb) {
    switch (verb) {
    case OLEIVERB_PROPERTIES: return OnProperties();
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW: return S_OK;
    default: return E_NOTIMPL;
    }
}

HRESULT COleControl::GetIdOfName(const std::u16string& name, DISPID& id) const {
    for (const auto& [dispid, entry] : m_dispatch) {
        if (ostrana::SameNameIgnoringCase(name, entry.name)) {
            id = dispid;
            return S_OK;
        }
    }
    id = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
}

HRESULT COleControl::Invoke(DISPID id, WORD flags, DISPPARAMS* parameters, VARIANT* result) {
    auto found = m_dispatch.find(id);
    if (found == m_dispatch.end()) return DISP_E_MEMBERNOTFOUND;
    DispatchEntry& entry = found->second;
    UINT arguments = parameters != nullptr ? parameters->cArgs : 0;
    if (entry.method) {
        if (!(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
        if (arguments != 0) return DISP_E_BADPARAMCOUNT;
        entry.call();
        if (result != nullptr) VariantInit(result);
        return S_OK;
    }
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        if (arguments != 1 || parameters->rgvarg == nullptr) return DISP_E_BADPARAMCOUNT;
        entry.put(parameters->rgvarg[0]);
        return S_OK;
    }
    if (flags & DISPATCH_PROPERTYGET) {
        if (arguments != 0) return DISP_E_BADPARAMCOUNT;
        if (result == nullptr) return E_POINTER;
        VariantInit(result);
        entry.get(result);
        return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
}

void COleControl::DispProperty(DISPID id, const std::string& name, std::function<void(VARIANT*)> get,
                               std::function<void(const VARIANT&)> put) {
    m_dispatch[id] = DispatchEntry{name, false, std::move(get), std::move(put), {}};
}

void COleControl::DispMethod(DISPID id, const std::string& name, std::function<void()> method) {
    m_dispatch[id] = DispatchEntry{name, true, {}, {}, std::move(method)};
}

void COleControl::EventEntry(DISPID id, const std::string& name) { m_events[id] = name; }

void COleControl::FireEvent(DISPID id) {
    if (m_eventSink == nullptr || !m_events.contains(id)) return;
    IDispatch* sink = m_eventSink;
    sink->AddRef();
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    VARIANT result;
    VariantInit(&result);
    sink->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &none, &result, nullptr, nullptr);
    VariantClear(&result);
    sink->Release();
}

void COleControl::OnResetState() {
    CPropExchange defaults(true);
    DoPropExchange(&defaults);
    InvalidateControl();
}

void COleControl::InvalidateControl() {
    if (m_hWnd != nullptr) ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void COleControl::OnDraw(CDC*, const RECT&, const RECT&) {}

void COleControl::DoPropExchange(CPropExchange*) {}

HRESULT COleControl::OnProperties() { return E_NOTIMPL; }

int COleControl::OnCreate(LPCREATESTRUCT) { return 0; }

LRESULT COleControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        if (CWnd::WindowProc(message, wParam, lParam) == -1) return -1;
        return OnCreate(reinterpret_cast<LPCREATESTRUCT>(lParam));
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
