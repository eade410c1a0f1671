// The login body is read up to its closing boundary rather than by Content-Length: the known client
// measures that length in a legacy code page and sends UTF-8, so the body runs past it.
#include "service/LoginHandler.h"

#include "service/PasswordHash.h"

namespace ostrana::service {

namespace {

constexpr std::string_view kCookieName = "WAXLO_AUTH";

std::string_view StripLineEnd(std::string_view text) {
    if (text.size() >= 2 && text.substr(text.size() - 2) == "\r\n") {
        text.remove_suffix(2);
    } else if (!text.empty() && text.back() == '\n') {
        text.remove_suffix(1);
    }
    return text;
}

std::string FieldName(std::string_view headers) {
    constexpr std::string_view kMarker = "name=\"";
    const std::size_t at = headers.find(kMarker);
    if (at == std::string_view::npos) {
        return {};
    }
    const std::size_t start = at + kMarker.size();
    const std::size_t end = headers.find('"', start);
    return end == std::string_view::npos ? std::string{} : std::string(headers.substr(start, end - start));
}

std::string HttpReply(std::string_view status, std::string_view extraHeaders, std::string_view body) {
    std::string reply = "HTTP/1.1 ";
    reply.append(status).append("\r\n");
    reply.append(extraHeaders);
    reply.append("Content-Type: text/html; charset=utf-8\r\n");
    reply.append("Content-Length: ").append(std::to_string(body.size())).append("\r\n");
    reply.append("Connection: close\r\n\r\n");
    reply.append(body);
    return reply;
}

} // namespace

LoginHandler::LoginHandler(ServiceContext& context) : m_context(context) {}

std::string LoginHandler::BoundaryOf(std::string_view contentType) {
    constexpr std::string_view kMarker = "boundary=";
    const std::size_t at = contentType.find(kMarker);
    if (at == std::string_view::npos) {
        return {};
    }
    std::string_view value = contentType.substr(at + kMarker.size());
    value = value.substr(0, value.find(';'));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

bool LoginHandler::HasFormEnd(std::string_view body, std::string_view boundary) {
    return !boundary.empty() && body.find(std::string(boundary) + "--") != std::string_view::npos;
}

bool LoginHandler::ParseForm(std::string_view body, std::string_view boundary, LoginForm& form) {
    form = LoginForm{};
    if (boundary.empty()) {
        return false;
    }
    bool haveUser = false;
    bool havePassword = false;
    std::size_t at = body.find(boundary);
    while (at != std::string_view::npos) {
        const std::size_t partStart = at + boundary.size();
        if (body.substr(partStart, 2) == "--") {
            break;
        }
        const std::size_t next = body.find(boundary, partStart);
        if (next == std::string_view::npos) {
            break;
        }
        std::string_view part = body.substr(partStart, next - partStart);
        // The standard delimiter is "--" + boundary; that prefix ends the part before it.
        if (part.size() >= 2 && part.substr(part.size() - 2) == "--") {
            part.remove_suffix(2);
        }
        const std::size_t blank = part.find("\r\n\r\n");
        if (blank != std::string_view::npos) {
            const std::string name = FieldName(part.substr(0, blank));
            const std::string_view value = StripLineEnd(part.substr(blank + 4));
            if (name == "UID" && !haveUser) {
                form.userId = value;
                haveUser = true;
            } else if (name == "PASSWD" && !havePassword) {
                form.password = value;
                havePassword = true;
            }
        }
        at = next;
    }
    return haveUser && havePassword;
}

std::string LoginHandler::AcceptedReply(std::string_view token) {
    const std::string assignment = std::string(kCookieName) + "=" + std::string(token) + ";";
    const std::string body = "<html><head><script>document.cookie = \"" + assignment +
                             " path=/\";</script></head><body>OK</body></html>\n";
    return HttpReply("200 OK", "Set-Cookie: " + assignment + " path=/\r\n", body);
}

std::string LoginHandler::RefusedReply() {
    return HttpReply("403 Forbidden", "", "<html><body>login refused</body></html>\n");
}

void LoginHandler::Handle(Connection& connection, const HttpRequest& request) {
    const std::string boundary = BoundaryOf(request.Header("Content-Type"));
    std::string body;
    char chunk[4096];
    while (!boundary.empty() && !HasFormEnd(body, boundary) && body.size() < m_context.limits.maxLoginBody) {
        const std::size_t count = connection.ReadSome(chunk, sizeof chunk);
        if (count == 0) {
            break;
        }
        body.append(chunk, count);
    }
    LoginForm form;
    const bool parsed = body.size() <= m_context.limits.maxLoginBody && ParseForm(body, boundary, form);
    const bool allowed = parsed && m_context.throttle.Allowed(form.userId);
    const Account* account = allowed ? m_context.accounts.Find(form.userId) : nullptr;
    bool accepted = false;
    if (account != nullptr) {
        accepted = PasswordHash::Verify(form.password, account->passwordHash);
    } else if (allowed) {
        PasswordHash::VerifyAgainstNothing(form.password);
    }
    if (allowed) {
        accepted ? m_context.throttle.Succeeded(form.userId) : m_context.throttle.Failed(form.userId);
    }
    std::string token;
    if (accepted) {
        token = m_context.sessions.Open(account->id);
        accepted = !token.empty();
    }
    connection.Send(accepted ? AcceptedReply(token) : RefusedReply());
    m_context.log.Write(connection.Peer(), parsed ? form.userId : std::string_view{},
                        std::string("LOGIN ") + (accepted  ? "accepted"
                                                 : !parsed ? "malformed form"
                                                 : allowed ? "refused"
                                                           : "refused (locked out)"));
    connection.Finish();
}

} // namespace ostrana::service
