// The Winsock names that socket code of the platform's dialect uses, over POSIX sockets.
// A socket is a file descriptor; INVALID_SOCKET and SOCKET_ERROR are -1 as the calls return them.
// Sockets never raise SIGPIPE: a send to a closed peer fails with an error as on Windows.
#pragma once

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

#include "platform/base/WinTypes.h"

using SOCKET = int;
#define INVALID_SOCKET (-1)
#define SOCKET_ERROR (-1)

#define MAKEWORD(low, high) (static_cast<WORD>((static_cast<BYTE>(low)) | (static_cast<WORD>(static_cast<BYTE>(high)) << 8)))

#define WSAEWOULDBLOCK 10035
#define WSAEINPROGRESS 10036
#define WSAETIMEDOUT 10060
#define WSAECONNREFUSED 10061
#define WSAECONNRESET 10054
#define WSAENOTSOCK 10038
#define WSAEINVAL 10022


struct WSADATA {
    WORD wVersion;
    WORD wHighVersion;
    char szDescription[257];
    char szSystemStatus[129];
};
using LPWSADATA = WSADATA*;

using WSAPOLLFD = pollfd;

// Always succeeds; may be called any number of times and needs no WSACleanup.
int WSAStartup(WORD versionRequested, LPWSADATA data);
int WSACleanup();
// The error of the calling thread's last failed socket call, as a WSAE* code where one exists.
int WSAGetLastError();
int closesocket(SOCKET socket);
// Blocking (mode 0) or non-blocking (mode not 0) for FIONBIO; other commands fail.
int ioctlsocket(SOCKET socket, unsigned long command, unsigned long* mode);
int WSAPoll(WSAPOLLFD* fds, unsigned long count, int timeoutMs);
