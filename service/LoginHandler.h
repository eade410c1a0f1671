// The login form at "/_login": a multipart body with the fields UID and PASSWD. A right password
// gets a new session and a reply carrying "WAXLO_AUTH=<token>;" twice (a Set-Cookie header and a
// script line), a wrong one a reply without any cookie. The connection ends after the reply.
#pragma once

#include "service/Connection.h"
#include "service/HttpRequest.h"
#include "service/ServiceContext.h"

#include <string>
#include <string_view>

namespace ostrana::service {

struct LoginForm {
    std::string userId;
    std::string password;
};

class LoginHandler {
public:
    explicit LoginHandler(ServiceContext& context);

    void Handle(Connection& connection, const HttpRequest& request);

    // The boundary parameter of a multipart Content-Type; empty when there is none.
    static std::string BoundaryOf(std::string_view contentType);
    // True once the body holds the closing delimiter (the boundary followed by "--").
    static bool HasFormEnd(std::string_view body, std::string_view boundary);
    // Reads UID and PASSWD from the parts between the boundary lines. Peers differ on whether the
    // delimiter lines carry the extra "--" of the standard, so both forms are accepted.
    static bool ParseForm(std::string_view body, std::string_view boundary, LoginForm& form);

    static std::string AcceptedReply(std::string_view token);
    static std::string RefusedReply();

private:
    ServiceContext& m_context;
};

} // namespace ostrana::service
