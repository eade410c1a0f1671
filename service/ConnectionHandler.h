// Serves one connection from its first byte to its end: reads the opening HTTP request and hands
// the connection to the login form or, for a valid session cookie, to a file-action session.
#pragma once

#include "service/Connection.h"
#include "service/ServiceContext.h"

namespace ostrana::service {

class ConnectionHandler {
public:
    explicit ConnectionHandler(ServiceContext& context);

    void Serve(Connection& connection);

    // What a file-action request with an unknown or expired cookie gets: a line that is not a
    // three-field greeting, so the peer sees the session as refused.
    static constexpr const char* kSessionRefused = ".ERR\n";

private:
    void OpenFileAction(Connection& connection, const std::string& token);
    void SendHttpError(Connection& connection, const char* status);
    void SendHomePage(Connection& connection, bool withBody);

    ServiceContext& m_context;
};

} // namespace ostrana::service
