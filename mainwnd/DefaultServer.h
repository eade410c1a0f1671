// The product's default storage server: the host the login links open and the page falls back to.
// OSTRANA_SERVER (host, optionally a colon and a port) replaces the built-in loopback default.
#pragma once

#include <string>

std::string DefaultServerHost();
// "http://" and the host, for links to the service's own pages.
std::string DefaultServerAddress();
