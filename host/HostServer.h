// The container's web server on 127.0.0.1: serves the page through the request gate and keeps one
// WebSocket to the page that owns the session; a newer page takes over and the older one is told so.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

struct mg_context;
struct mg_connection;

namespace ostrana::host {

class RequestGate;

class HostServer {
public:
    using MessageHandler = std::function<void(const std::string& json)>;
    // Given the page's session number: 1 for the first page, one more for each.
    using PageHandler = std::function<void(int session)>;
    // The first message on a new page's socket, given the page's session number (1 for the first).
    using Greeting = std::function<std::string(int session)>;

    HostServer();
    ~HostServer();
    HostServer(const HostServer&) = delete;
    HostServer& operator=(const HostServer&) = delete;

    // Empty on success, else why it could not listen.
    std::string Start(int port, const std::filesystem::path& webDir, const std::filesystem::path& imageDir);
    void Stop();

    int Port() const { return m_port; }
    std::string Address() const;
    const RequestGate& Gate() const { return *m_gate; }

    // Called on a server thread: a message from the page, and a page that just took over.
    void OnMessage(MessageHandler handler) { m_onMessage = std::move(handler); }
    void OnPage(PageHandler handler) { m_onPage = std::move(handler); }
    // Called on a server thread when the page that owns the session went away (not when one was
    // taken over).
    void OnPageGone(PageHandler handler) { m_onPageGone = std::move(handler); }
    // Set before Start; without one the greeting names the protocol version only.
    void SetGreeting(Greeting greeting) { m_greeting = std::move(greeting); }

    // Sends to the page that owns the session; false when none is connected.
    bool Send(const std::string& json);
    // Sends only while that session's page still owns the session, so what was made for a page
    // that was taken over never reaches its successor; false otherwise.
    bool SendTo(int session, const std::string& json);

private:
    static int BeginRequest(mg_connection* connection);
    static int SocketConnect(const mg_connection* connection, void* self);
    static void SocketReady(mg_connection* connection, void* self);
    static int SocketData(mg_connection* connection, int opcode, char* data, size_t length, void* self);
    static void SocketClose(const mg_connection* connection, void* self);

    int HandleRequest(mg_connection* connection);
    void TakeOver(mg_connection* connection);

    mg_context* m_context = nullptr;
    int m_port = 0;
    std::unique_ptr<RequestGate> m_gate;
    MessageHandler m_onMessage;
    PageHandler m_onPage;
    PageHandler m_onPageGone;
    Greeting m_greeting;
    std::mutex m_lock;
    mg_connection* m_page = nullptr; // guarded by m_lock
    int m_sessions = 0;              // guarded by m_lock
    int m_pageSession = 0;           // guarded by m_lock: the session of m_page
};

} // namespace ostrana::host
