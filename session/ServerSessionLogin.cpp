// The login exchange: a multipart form posted to "/_login"; the session cookie is the value of
// the second "WAXLO_AUTH=" assignment of the reply. The body length is measured in the ANSI code
// page, before the request is converted to UTF-8, which servers of this protocol expect.
#include "session/ServerSession.h"
#include "session/SessionOwner.h"
#include "session/TextConversion.h"

namespace {

constexpr std::string_view kCookieName = "WAXLO_AUTH=";
constexpr const char* kBoundaryLine = "-----------------------------------7d417c254e8\r\n";

// The reply can be judged once it is known to fail (it starts with the cookie name) or once the
// second assignment's value is ended by ";".
bool LoginReplyJudged(std::string_view reply) {
    std::size_t first = reply.find(kCookieName);
    if (first == 0) {
        return true;
    }
    if (first == std::string_view::npos) {
        return false;
    }
    std::size_t second = reply.find(kCookieName, first + kCookieName.size());
    return second != std::string_view::npos && reply.find(';', second + kCookieName.size()) != std::string_view::npos;
}

} // namespace

void ServerSession::BuildLoginRequest(std::string& request) const {
    std::string body;
    body += kBoundaryLine;
    body += "Content-Disposition: form-data; name=\"UID\"\r\n\r\n";
    body += m_userId + "\r\n";
    body += kBoundaryLine;
    body += "Content-Disposition: form-data; name=\"PASSWD\"\r\n\r\n";
    body += m_password + "\r\n";
    body += kBoundaryLine;
    body += "Content-Disposition: form-data; name=\"submit\"\r\n\r\n";
    body += Utf8ToLocal("접속") + "\r\n";
    body += "-----------------------------------7d417c254e8--\r\n\r\n";

    std::string hostAndPort = m_host + ":" + std::to_string(m_port);
    request = "POST /_login? HTTP/1.1\r\n";
    request += "Referer: http://" + hostAndPort + "/_login\r\n";
    request += "Accept-Language: ko\r\n";
    request += "Content-Type: multipart/form-data; boundary=-----------------------------------7d417c254e8\r\n";
    request += "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows 98; Wind 9x 4.90; .NET CLR 1.1.4322)\r\n";
    request += "Host: " + hostAndPort + "\r\n";
    request += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    request += "Connection: Keep-Alive\r\n";
    request += "Cache-Control: no-cache\r\n";
    request += "\r\n\r\n";
    request += body;
}

int ServerSession::Login(int& status) {
    std::lock_guard lock(m_commandLock);
    status = LOGIN_STATUS_STARTED;
    auto fail = [&] {
        status = LOGIN_STATUS_FAILED;
        CloseSocket(m_commandSocket);
        return 0;
    };
    SessionOwner* owner = Owner();
    if (owner == nullptr || HasLineBreak(m_userId) || HasLineBreak(m_password) || HasLineBreak(m_host)) {
        return fail();
    }
    if (m_commandSocket == INVALID_SOCKET && Connect() == 0) {
        return fail();
    }
    std::string request;
    BuildLoginRequest(request);
    if (SendText(m_commandSocket, request) == -1) {
        return fail();
    }
    std::string reply;
    if (ReceiveUntil(m_commandSocket, false, reply, LoginReplyJudged) <= 0) {
        return fail();
    }
    std::size_t first = reply.find(kCookieName);
    if (first == std::string::npos || first == 0) {
        return fail();
    }
    std::size_t second = reply.find(kCookieName, first + kCookieName.size());
    if (second == std::string::npos) {
        return fail();
    }
    std::size_t valueStart = second + kCookieName.size();
    std::size_t valueEnd = reply.find(';', valueStart);
    owner->SetSessionCookie(valueEnd == std::string::npos ? std::string() : reply.substr(valueStart, valueEnd - valueStart));
    CloseSocket(m_commandSocket);
    return 1;
}
