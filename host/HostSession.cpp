// The container's parts put together.
#include "host/HostSession.h"

#include <algorithm>

#include "host/MessageWriter.h"
#include "host/SnapshotWriter.h"
#include "host/ViewRows.h"
#include "platform/gdi/ScreenSize.h"

namespace ostrana::host {

namespace {

std::string EventMessage(const std::string& name)
{
    return MessageWriter(ToPage::Event).Text("name", name).Finish();
}

} // namespace

HostSession::HostSession(HostWindow& window, SnapshotWriter::ManifestSource manifest) : m_window(window)
{
    SnapshotWriter writer(std::move(manifest),
                          [](const WindowState& state) { return ViewRowsOf(state.handle, state.className); });
    m_stream = std::make_unique<DisplayStream>(
        std::move(writer), [this](int page, const std::string& json) { return m_server.SendTo(page, json); },
        [this] { Post([this] { m_stream->Pump(); }); });

    PageActions actions;
    actions.ack = [this](std::uint64_t frame) { m_stream->Acknowledge(frame); };
    actions.resize = [this](SIZE area, double) { m_window.Resize(area); };
    actions.property = [this](const std::string& name, long dispid, const std::string& value) {
        if (m_control)
            m_control->PutProperty(name, dispid, value);
    };
    actions.method = [this](const std::string& name) {
        if (m_control)
            m_control->CallMethod(name);
    };
    actions.pasted = [this](const std::string& text) { m_stream->PageClipboard(text); };
    m_injector = std::make_unique<InputInjector>(std::move(actions),
                                                 [this](HostWindow::Task task) { Post(std::move(task)); });
    m_window.OnResized([this](const RECT& client) {
        if (m_control)
            m_control->AreaResized(client);
    });

    m_server.SetGreeting([](int session) { return SnapshotWriter::Hello(session, ScreenSize()); });
    m_server.OnMessage([this](const std::string& json) { m_injector->Handle(json); });
    m_server.OnPage([this](int session) { PageConnected(session); });
    m_server.OnPageGone([this](int session) { PageGone(session); });
}

HostSession::~HostSession()
{
    Stop();
    *m_alive = false; // on the window's thread, so no task of ours runs meanwhile
    m_window.OnResized({});
}

void HostSession::Post(HostWindow::Task task)
{
    // A task still queued when the session goes must find nothing to touch.
    m_window.Post([alive = m_alive, task = std::move(task)] {
        if (*alive)
            task();
    });
}

std::string HostSession::Start(int port, const std::filesystem::path& webDir, const std::filesystem::path& imageDir)
{
    return m_server.Start(port, webDir, imageDir);
}

void HostSession::Stop()
{
    m_server.Stop();
}

void HostSession::PageConnected(int session)
{
    std::lock_guard page(m_pageLock);
    // A later page may have come first; the stream serves the newest.
    if (session < m_pageSession)
        return;
    // The page taken over from cannot let go of what it holds any more.
    if (m_pageSession != 0)
        InputInjector::ReleaseHeld();
    m_pageSession = session;
    // The page hears what happened before it came ahead of the whole state: once the stream
    // hears of the page, the user-interface thread may send that state before this one runs on.
    for (const std::string& name : m_events)
        m_server.SendTo(session, EventMessage(name));
    m_stream->PageConnected(session);
}

void HostSession::PageGone(int session)
{
    std::lock_guard page(m_pageLock);
    if (session != m_pageSession)
        return; // a newer page has the session
    m_stream->PageGone();
    InputInjector::ReleaseHeld();
}

void HostSession::FireEvent(const std::string& name)
{
    std::lock_guard page(m_pageLock);
    if (std::find(m_events.begin(), m_events.end(), name) == m_events.end())
        m_events.push_back(name);
    // To the page we know of only: one that took over but is not yet connected here hears it
    // in its replay instead, so it does not hear it twice.
    if (m_pageSession != 0)
        m_server.SendTo(m_pageSession, EventMessage(name));
}

bool HostSession::OpenInPage(const std::string& utf8Url)
{
    return m_server.Send(MessageWriter(ToPage::OpenUrl).Text("url", utf8Url).Finish());
}

} // namespace ostrana::host
