// civetweb glue of the container's web server.
#include "host/HostServer.h"

#include <civetweb.h>

#include <cstring>
#include <fstream>
#include <sstream>

#include "host/MessageWriter.h"
#include "host/RequestGate.h"

namespace ostrana::host {

namespace {

std::string ReadWholeFile(const std::filesystem::path& path, bool& ok)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    ok = static_cast<bool>(in) || in.eof();
    return bytes.str();
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

GateRequest RequestOf(mg_connection* connection)
{
    const mg_request_info* info = mg_get_request_info(connection);
    GateRequest request;
    request.method = info->request_method ? info->request_method : "";
    request.path = info->local_uri ? info->local_uri : "";
    request.query = info->query_string ? info->query_string : "";
    if (const char* host = mg_get_header(connection, "Host"))
        request.host = host;
    if (const char* origin = mg_get_header(connection, "Origin"))
        request.origin = origin;
    const char* upgrade = mg_get_header(connection, "Upgrade");
    request.webSocket = upgrade && strcasecmp(upgrade, "websocket") == 0;
    return request;
}

} // namespace

HostServer::HostServer() = default;

HostServer::~HostServer()
{
    Stop();
}

std::string HostServer::Start(int port, const std::filesystem::path& webDir, const std::filesystem::path& imageDir)
{
    mg_init_library(0);
    std::string ports = "127.0.0.1:" + std::to_string(port);
    // Without tcp_nodelay a frame's later messages wait behind its first for the page's delayed
    // acknowledgement of it, some 40 ms, whenever the page has nothing of its own to send.
    const char* options[] = {"listening_ports", ports.c_str(), "num_threads", "4", "request_timeout_ms", "30000",
                             "tcp_nodelay",     "1",           nullptr};
    mg_callbacks callbacks{};
    callbacks.begin_request = &HostServer::BeginRequest;
    // The gate must exist before the first request; the real port is only known once listening.
    m_gate = std::make_unique<RequestGate>(RequestGate::NewToken(), port, webDir, imageDir);
    std::lock_guard guard(m_lock);
    m_context = mg_start(&callbacks, this, options);
    if (!m_context)
        return "cannot listen on " + ports;
    mg_server_port bound{};
    if (mg_get_server_ports(m_context, 1, &bound) < 1) {
        mg_stop(m_context);
        m_context = nullptr;
        return "cannot read the listening port";
    }
    m_port = bound.port;
    m_gate = std::make_unique<RequestGate>(m_gate->Token(), m_port, webDir, imageDir);
    mg_set_websocket_handler(m_context, "/ws", &HostServer::SocketConnect, &HostServer::SocketReady,
                             &HostServer::SocketData, &HostServer::SocketClose, this);
    return {};
}

void HostServer::Stop()
{
    mg_context* context = nullptr;
    {
        std::lock_guard guard(m_lock);
        std::swap(context, m_context);
    }
    if (context)
        mg_stop(context);
}

std::string HostServer::Address() const
{
    return "http://127.0.0.1:" + std::to_string(m_port) + "/?t=" + m_gate->Token();
}

int HostServer::BeginRequest(mg_connection* connection)
{
    auto* self = static_cast<HostServer*>(mg_get_user_data(mg_get_context(connection)));
    return self->HandleRequest(connection);
}

int HostServer::HandleRequest(mg_connection* connection)
{
    {
        // Holding the lock until Start has finished keeps early requests from a half-made gate.
        std::lock_guard guard(m_lock);
    }
    GateRequest request = RequestOf(connection);
    GateDecision decision = m_gate->Decide(request);
    if (decision.verdict == GateVerdict::Socket)
        return 0; // civetweb upgrades it and calls the socket handlers
    int status = 200;
    std::string body;
    std::string type = decision.contentType;
    switch (decision.verdict) {
    case GateVerdict::Page:
    case GateVerdict::Asset:
    case GateVerdict::Image: {
        bool ok = false;
        body = ReadWholeFile(decision.file, ok);
        if (!ok) {
            status = 404;
            body = "not found\n";
            type = "text/plain; charset=utf-8";
        } else if (decision.verdict == GateVerdict::Page) {
            body = ReplaceAll(body, "{{TOKEN}}", m_gate->Token());
        }
        break;
    }
    case GateVerdict::Forbidden:
        status = 403;
        body = "forbidden\n";
        type = "text/plain; charset=utf-8";
        break;
    case GateVerdict::BadMethod:
        status = 405;
        body = "method not allowed\n";
        type = "text/plain; charset=utf-8";
        break;
    default:
        status = 404;
        body = "not found\n";
        type = "text/plain; charset=utf-8";
        break;
    }
    const char* reason = status == 200 ? "OK" : status == 403 ? "Forbidden" : status == 405 ? "Method Not Allowed" : "Not Found";
    mg_printf(connection,
              "HTTP/1.1 %d %s\r\nContent-Type: %s\r\nContent-Length: %zu\r\nContent-Security-Policy: %s\r\n"
              "X-Content-Type-Options: nosniff\r\nReferrer-Policy: no-referrer\r\nCache-Control: no-store\r\n"
              "X-Frame-Options: DENY\r\nConnection: close\r\n\r\n",
              status, reason, type.c_str(), body.size(), m_gate->ContentSecurityPolicy().c_str());
    if (request.method != "HEAD")
        mg_write(connection, body.data(), body.size());
    return status;
}

int HostServer::SocketConnect(const mg_connection* connection, void* self)
{
    // Checked again here so that no path into the socket handlers skips the gate.
    GateRequest request = RequestOf(const_cast<mg_connection*>(connection));
    request.webSocket = true;
    return static_cast<HostServer*>(self)->m_gate->Decide(request).verdict == GateVerdict::Socket ? 0 : 1;
}

void HostServer::SocketReady(mg_connection* connection, void* self)
{
    static_cast<HostServer*>(self)->TakeOver(connection);
}

void HostServer::TakeOver(mg_connection* connection)
{
    std::string note = MessageWriter(ToPage::Superseded).Finish();
    int session = 0;
    {
        // Written under the lock: the close handler cannot free the older page meanwhile.
        std::lock_guard guard(m_lock);
        session = ++m_sessions;
        std::string hello = m_greeting ? m_greeting(session)
                                       : MessageWriter(ToPage::Hello).Number("version", kProtocolVersion).Finish();
        if (m_page)
            mg_websocket_write(m_page, MG_WEBSOCKET_OPCODE_TEXT, note.data(), note.size());
        m_page = connection;
        m_pageSession = session;
        mg_websocket_write(connection, MG_WEBSOCKET_OPCODE_TEXT, hello.data(), hello.size());
    }
    if (m_onPage)
        m_onPage(session);
}

int HostServer::SocketData(mg_connection* connection, int opcode, char* data, size_t length, void* selfPointer)
{
    auto* self = static_cast<HostServer*>(selfPointer);
    int kind = opcode & 0xF;
    if (kind == MG_WEBSOCKET_OPCODE_CONNECTION_CLOSE)
        return 0;
    bool owner = false;
    {
        std::lock_guard guard(self->m_lock);
        owner = self->m_page == connection;
    }
    // A page that was taken over only watches; its input must not reach the session.
    if (owner && kind == MG_WEBSOCKET_OPCODE_TEXT && self->m_onMessage)
        self->m_onMessage(std::string(data, length));
    return 1;
}

void HostServer::SocketClose(const mg_connection* connection, void* selfPointer)
{
    auto* self = static_cast<HostServer*>(selfPointer);
    int gone = 0;
    {
        std::lock_guard guard(self->m_lock);
        if (self->m_page == connection) {
            self->m_page = nullptr;
            gone = self->m_pageSession;
        }
    }
    if (gone && self->m_onPageGone)
        self->m_onPageGone(gone);
}

bool HostServer::Send(const std::string& json)
{
    std::lock_guard guard(m_lock);
    if (!m_page)
        return false;
    return mg_websocket_write(m_page, MG_WEBSOCKET_OPCODE_TEXT, json.data(), json.size()) > 0;
}

bool HostServer::SendTo(int session, const std::string& json)
{
    std::lock_guard guard(m_lock);
    if (!m_page || m_pageSession != session)
        return false;
    return mg_websocket_write(m_page, MG_WEBSOCKET_OPCODE_TEXT, json.data(), json.size()) > 0;
}

} // namespace ostrana::host
