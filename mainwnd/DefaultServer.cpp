// The default storage server; see DefaultServer.h.
#include "mainwnd/DefaultServer.h"

#include <cstdlib>

std::string DefaultServerHost() {
    const char* configured = std::getenv("OSTRANA_SERVER");
    if (configured != nullptr && *configured != '\0') return configured;
    return "127.0.0.1";
}

std::string DefaultServerAddress() { return "http://" + DefaultServerHost() + "/"; }
