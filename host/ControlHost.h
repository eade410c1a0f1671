// The control inside the container: registered from the module beside the program when its ProgID
// is missing, created by ProgID, its window a child of the container's window over the area, and
// reached by DISPID for the page's property puts and start call. Only the control's own members
// are reachable from the page. User-interface thread only.
#pragma once

#include <functional>
#include <string>

#include "host/HostSession.h"
#include "platform/com/Dispatch.h"
#include "platform/ole/HostedControl.h"
#include "platform/window/Window.h"

namespace ostrana::host {

class ControlEvents;

class ControlHost : public PageControl {
public:
    using EventHandler = std::function<void(const std::string& name)>;

    ControlHost() = default;
    ~ControlHost() override;
    ControlHost(const ControlHost&) = delete;
    ControlHost& operator=(const ControlHost&) = delete;

    // Empty on success, else what failed. The events go to `events` from here on; the control
    // fires its loaded event while its window is made.
    std::string Create(HWND parent, const std::string& moduleFile, EventHandler events);
    // Ends the control's window (and the main window in it) and lets the control go.
    void Destroy();

    HWND Window() const { return m_window; }

    bool PutProperty(const std::string& name, long dispid, const std::string& utf8) override;
    bool CallMethod(const std::string& name) override;
    void AreaResized(const RECT& client) override;

private:
    IDispatch* m_dispatch = nullptr;
    IHostedControl* m_hosted = nullptr;
    ControlEvents* m_events = nullptr;
    HWND m_window = nullptr;
    bool m_comStarted = false;
};

// The control's DISPID for a property of the page's control object, by name first; 0 when the
// control has no such property.
long PropertyDispid(const std::string& name, long dispid);

} // namespace ostrana::host
