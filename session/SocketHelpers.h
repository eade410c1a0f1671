// Stateless socket helpers of the session: sending a whole block and resolving a host.
#pragma once

#include <string>

#include "platform/base/Winsock.h"

// Sends `length` bytes, repeating send until all are sent. Returns 0 for a length of 0, the last
// send's count when all were sent, or the 0 or -1 of the send that failed.
int SendAll(SOCKET socket, const char* bytes, int length, int flags = 0);
// True if every character is a decimal digit or "." (also for an empty text).
bool IsDottedAddress(const std::string& host);
// A dotted address unchanged; otherwise the last IPv4 address the name resolves to, or an empty
// text when the lookup fails.
std::string ResolveHost(const std::string& host);
