// The framework's control base class. A COleControl is a COM object (IDispatch and
// IHostedControl share one reference count, and the last Release deletes the object with its
// window) and a window. Derived classes fill the dispatch map with properties and methods by
// DISPID and name, name their events, and override the drawing and property exchange hooks.
#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/com/ClassFactory.h"
#include "platform/ole/HostedControl.h"
#include "platform/window/AfxGdi.h"
#include "platform/window/AfxWnd.h"

namespace ostrana {
class OleControlBridge;
} // namespace ostrana

// The property exchange of a control: loading or saving, with the version of the stored state.
class CPropExchange {
public:
    explicit CPropExchange(bool loading, DWORD storedVersion = 0) : m_loading(loading), m_version(storedVersion) {}
    bool IsLoading() const { return m_loading; }
    // Exchanges the state's version; on loading, a missing version gives `defaultVersion`.
    BOOL ExchangeVersion(DWORD& version, DWORD defaultVersion, BOOL convert = TRUE);
    DWORD GetVersion() const { return m_version; }

private:
    bool m_loading;
    DWORD m_version;
};

class COleControl : public CWnd {
    DECLARE_DYNAMIC(COleControl)

public:
    COleControl();
    ~COleControl() override;

    // The object's COM identity; the caller gets a reference.
    HRESULT QueryControlInterface(REFIID iid, void** object);
    ULONG ExternalAddRef();
    ULONG ExternalRelease();

    // The container's calls (IHostedControl).
    HRESULT CreateControlWindow(HWND parent, const RECT& bounds, HWND* window);
    HRESULT DestroyControlWindow();
    HRESULT Draw(const RECT& bounds);
    HRESULT Advise(IDispatch* events);
    HRESULT DoVerb(LONG verb);

    // Late-bound access (IDispatch), by DISPID.
    HRESULT GetIdOfName(const std::u16string& name, DISPID& id) const;
    HRESULT Invoke(DISPID id, WORD flags, DISPPARAMS* parameters, VARIANT* result);

    void SetModifiedFlag(BOOL modified = TRUE) { m_modified = modified != FALSE; }
    BOOL IsModified() const { return m_modified ? TRUE : FALSE; }
    virtual void OnResetState();
    // Reloads the state from defaults: DoPropExchange while loading, with no stored version.
    void ResetState() { OnResetState(); }
    void InvalidateControl();
    void FireEvent(DISPID id);

    static constexpr DWORD kWindowStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

    // Runs when the object is deleted (the factory counts live objects with it).
    std::function<void()> m_onDeleted;

protected:
    // Properties read the stored value unchanged; a put converts nothing itself.
    void DispProperty(DISPID id, const std::string& name, std::function<void(VARIANT*)> get,
                      std::function<void(const VARIANT&)> put);
    void DispMethod(DISPID id, const std::string& name, std::function<void()> method);
    void EventEntry(DISPID id, const std::string& name);

    virtual void OnDraw(CDC* dc, const RECT& bounds, const RECT& invalid);
    virtual void DoPropExchange(CPropExchange* exchange);
    // The OLE verb "Properties"; the default does nothing and reports E_NOTIMPL.
    virtual HRESULT OnProperties();
    // After the control's window exists (its WM_CREATE was handled).
    virtual int OnCreate(LPCREATESTRUCT create);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override {}

private:
    struct DispatchEntry {
        std::string name;
        bool method = false;
        std::function<void(VARIANT*)> get;
        std::function<void(const VARIANT&)> put;
        std::function<void()> call;
    };

    ostrana::OleControlBridge* m_bridge;
    std::atomic<ULONG> m_references{1};
    std::map<DISPID, DispatchEntry> m_dispatch;
    std::map<DISPID, std::string> m_events;
    IDispatch* m_eventSink = nullptr;
    bool m_modified = false;
};

// A class factory for one control class; `objects` counts the module's live controls and factories
// (for DllCanUnloadNow).
namespace ostrana {
IClassFactory* NewControlFactory(std::function<COleControl*()> create, std::atomic<long>* objects);
} // namespace ostrana
