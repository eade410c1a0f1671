// One running container: the web server, the stream of the desktop to the page and the page's
// input, wired to the top-level window whose thread runs them. The control, when there is one,
// receives the page's property puts and method calls and learns the new area after a resize; the
// events it fires reach the page, and a page that connects later hears them again.
#pragma once

#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "host/DisplayStream.h"
#include "host/HostServer.h"
#include "host/HostWindow.h"
#include "host/InputInjector.h"
#include "host/SnapshotWriter.h"
#include "platform/gdi/ImageManifest.h"

namespace ostrana::host {

// What the page's control object reaches; called on the user-interface thread.
class PageControl {
public:
    virtual ~PageControl() = default;
    // False when the control has no such member.
    virtual bool PutProperty(const std::string& name, long dispid, const std::string& utf8) = 0;
    virtual bool CallMethod(const std::string& name) = 0;
    virtual void AreaResized(const RECT& client) = 0;
};

class HostSession {
public:
    // On the window's thread.
    HostSession(HostWindow& window, SnapshotWriter::ManifestSource manifest);
    ~HostSession();
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    // Before Start; may stay null.
    void SetControl(PageControl* control) { m_control = control; }

    std::string Start(int port, const std::filesystem::path& webDir, const std::filesystem::path& imageDir);
    // Stops the page from reaching anything; the destructor does it too.
    void Stop();

    const HostServer& Server() const { return m_server; }
    std::string Address() const { return m_server.Address(); }

    // Any thread: the control fired an event.
    void FireEvent(const std::string& name);
    // Any thread: the page opens the address in a new tab; false when no page is connected.
    bool OpenInPage(const std::string& utf8Url);

private:
    void PageConnected(int session);
    void PageGone(int session);
    void Post(HostWindow::Task task);

    HostWindow& m_window;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
    PageControl* m_control = nullptr;
    HostServer m_server;
    std::unique_ptr<DisplayStream> m_stream;
    std::unique_ptr<InputInjector> m_injector;
    // Held while the stream hears of pages, so that a page's coming and an older page's going
    // reach it in the order they happened, and while events go out, so that each page hears
    // each event once and before its whole state.
    std::mutex m_pageLock;
    int m_pageSession = 0;             // guarded by m_pageLock
    std::vector<std::string> m_events; // fired so far, guarded by m_pageLock
};

} // namespace ostrana::host
