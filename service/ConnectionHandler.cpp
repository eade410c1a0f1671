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

// The service's own front page: what the local pane's web view shows when it opens the server.
// It holds no script and names nothing of the accounts.
void ConnectionHandler::SendHomePage(Connection& connection, bool withBody) {
    static const std::string page =
        "<!DOCTYPE html>\n<html lang=\"ko\"><head><meta charset=\"utf-8\"><title>Ostrana 웹하드</title>"
        "<style>body{font-family:'NanumGothic',sans-serif;margin:24px;color:#1c3f6e}"
        "h1{font-size:20px}p{font-size:13px;color:#333}</style></head><body>"
        "<h1>Ostrana 웹하드</h1><p>이 서버의 파일보관함은 Ostrana 프로그램으로 엽니다.</p>"
        "<p>파일을 올리고 내려받으려면 프로그램 창의 위쪽 서버 폴더를 이용하세요.</p></body></html>\n";
    connection.Send("HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: " +
                    std::to_string(page.size()) +
                    "\r\nContent-Security-Policy: default-src 'none'; style-src 'unsafe-inline'\r\n"
                    "X-Content-Type-Options: nosniff\r\nConnection: close\r\n\r\n" +
                    (withBody ? page : std::string()));
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
    if ((request.method == "GET" || request.method == "HEAD") && path == "/") {
        SendHomePage(connection, request.method == "GET");
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
