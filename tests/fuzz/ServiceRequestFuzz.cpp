// The service's reading of the HTTP head that opens a connection, and of the login form behind
// it, from arbitrary bytes arriving on a socket.
#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

#include "service/Connection.h"
#include "service/HttpRequest.h"
#include "service/LoginHandler.h"
#include "tests/fuzz/FuzzCheck.h"

using namespace ostrana::service;

namespace {

constexpr std::size_t kMaxInput = 48 * 1024;

void ReadForm(Connection& connection, const HttpRequest& request) {
    std::string body;
    char buffer[4096];
    while (std::size_t got = connection.ReadSome(buffer, sizeof buffer)) {
        body.append(buffer, got);
    }
    std::string boundary = LoginHandler::BoundaryOf(request.Header("Content-Type"));
    (void)LoginHandler::HasFormEnd(body, boundary);
    LoginForm form;
    if (LoginHandler::ParseForm(body, boundary, form)) {
        FUZZ_CHECK(form.userId.size() <= body.size() && form.password.size() <= body.size());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kMaxInput) {
        return 0;
    }
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) {
        return 0;
    }
    int buffer = static_cast<int>(kMaxInput * 2);
    ::setsockopt(ends[1], SOL_SOCKET, SO_SNDBUF, &buffer, sizeof buffer);
    ::setsockopt(ends[0], SOL_SOCKET, SO_RCVBUF, &buffer, sizeof buffer);
    FUZZ_CHECK(::send(ends[1], data, size, MSG_NOSIGNAL) == static_cast<ssize_t>(size));
    ::close(ends[1]);
    Connection connection(ends[0], "fuzz");
    HttpRequest request;
    if (ReadHttpRequest(connection, request) == HeadStatus::Ok) {
        (void)request.Path();
        (void)request.Cookie("WAXLO_AUTH");
        ReadForm(connection, request);
    }
    return 0;
}
