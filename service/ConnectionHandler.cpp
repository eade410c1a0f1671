// Routing of the opening request. The file-action POST announces a body it never sends, so no body
// is read for it: the commands follow its head directly.
#include "service/ConnectionHandler.h"

#include "service/CommandSession.h"
#include "service/HttpRequest.h"
#include "service/LoginHandler.h"

#include <chrono>
#include <string>

namespace ostrana::service {

ConnectionHandler::ConnectionHandler(ServiceContext& context) : m_context(context) {}

void ConnectionHandler::SendHttpError(Connection& connection, const char* status) {
    const std::string body = std::string(status) + "\n";
    connection.Send("HTTP/1.1 " + std::string(status) + "\r\nContent-Type: text/plain\r\nContent-Length: " +
                    std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
    connection.Finish();
}

void ConnectionHandler::Serve(Connection& connection) {
    connection.SetIdleTimeout(m_context.limits.idleTimeoutSeconds);
    connection.SetReadDeadline(std::chrono::steady_clock::now() +
                               std::chrono::seconds(m_context.limits.requestTimeoutSeconds));
    HttpRequest request;
    const HeadStatus status = ReadHttpRequest(connection, request);
    if (status == HeadStatus::Closed) {
        return;
    }
    if (status != HeadStatus::Ok) {
        m_context.log.Write(connection.Peer(), {}, status == HeadStatus::TooLarge ? "request head too large"
                                                                                   : "malformed request");
        SendHttpError(connection, status == HeadStatus::TooLarge ? "431 Request Header Fields Too Large"
                                                                 : "400 Bad Request");
        return;
    }
    const std::string_view path = request.Path();
    if (request.method == "POST" && path == "/_login") {
        LoginHandler(m_context).Handle(connection, request);
        return;
    }
    const std::string_view target = request.target;
    const std::string_view query = target.substr(std::min(target.size(), path.size() + 1));
    if (request.method == "POST" && path == "/_file" && query == "act=laction") {
        OpenFileAction(connection, request.Cookie("WAXLO_AUTH"));
        return;
    }
    m_context.log.Write(connection.Peer(), {}, request.method + " " + request.target + " -> 404");
    SendHttpError(connection, "404 Not Found");
}

void ConnectionHandler::OpenFileAction(Connection& connection, const std::string& token) {
    const std::optional<std::string> accountId = m_context.sessions.Lookup(token);
    const Account* account = accountId ? m_context.accounts.Find(*accountId) : nullptr;
    if (account == nullptr) {
        connection.Send(kSessionRefused);
        m_context.log.Write(connection.Peer(), {}, "FILE-ACTION refused: unknown or expired session");
        connection.Finish();
        return;
    }
    m_context.log.Write(connection.Peer(), account->id, "FILE-ACTION session opened");
    // Commands may come at any pace; from here on only the idle time-out applies.
    connection.ClearReadDeadline();
    CommandSession(m_context, connection, *account, token).Run();
}

} // namespace ostrana::service
