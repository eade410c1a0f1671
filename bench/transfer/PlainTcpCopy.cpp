// plain_tcp_copy serve PORTFILE OUTFILE [--sync]: accepts one connection on 127.0.0.1 (a free port,
// written to PORTFILE) and writes everything it receives to OUTFILE, flushed to disk with --sync
// (as the storage service stores an upload).
// plain_tcp_copy send PORT INFILE: sends INFILE to 127.0.0.1:PORT.
// A plain file-to-socket-to-file copy in 64 KiB blocks: what this machine can do without a protocol.
#include <arpa/inet.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::size_t kBlock = 64 * 1024;

bool WriteAll(int fd, const char* bytes, std::size_t length) {
    while (length > 0) {
        ssize_t n = ::write(fd, bytes, length);
        if (n <= 0) {
            return false;
        }
        bytes += n;
        length -= static_cast<std::size_t>(n);
    }
    return true;
}

int Serve(const char* portFile, const char* outFile, bool sync) {
    int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(listener, 1) != 0 ||
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        std::perror("listen");
        return 1;
    }
    std::string port = std::to_string(ntohs(address.sin_port)) + "\n";
    std::string temporary = std::string(portFile) + ".tmp";
    FILE* file = std::fopen(temporary.c_str(), "w");
    std::fputs(port.c_str(), file);
    std::fclose(file);
    std::rename(temporary.c_str(), portFile);
    int connection = ::accept(listener, nullptr, nullptr);
    int out = ::open(outFile, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char> buffer(kBlock);
    while (true) {
        ssize_t n = ::recv(connection, buffer.data(), buffer.size(), 0);
        if (n <= 0) {
            break;
        }
        if (!WriteAll(out, buffer.data(), static_cast<std::size_t>(n))) {
            return 1;
        }
    }
    if (sync && ::fsync(out) != 0) {
        return 1;
    }
    ::close(out);
    ::close(connection);
    ::close(listener);
    return 0;
}

int Send(const char* port, const char* inFile) {
    int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(std::atoi(port)));
    if (::connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        std::perror("connect");
        return 1;
    }
    int in = ::open(inFile, O_RDONLY);
    std::vector<char> buffer(kBlock);
    while (true) {
        ssize_t n = ::read(in, buffer.data(), buffer.size());
        if (n <= 0) {
            break;
        }
        if (!WriteAll(socket, buffer.data(), static_cast<std::size_t>(n))) {
            return 1;
        }
    }
    ::close(in);
    ::close(socket);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if ((argc == 4 || argc == 5) && std::strcmp(argv[1], "serve") == 0) {
        return Serve(argv[2], argv[3], argc == 5 && std::strcmp(argv[4], "--sync") == 0);
    }
    if (argc == 4 && std::strcmp(argv[1], "send") == 0) {
        return Send(argv[2], argv[3]);
    }
    std::fprintf(stderr, "usage: plain_tcp_copy serve PORTFILE OUTFILE [--sync] | send PORT INFILE\n");
    return 2;
}
