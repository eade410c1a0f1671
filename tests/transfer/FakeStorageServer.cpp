// One thread per connection; commands are answered as the service answers them, from memory.
#include "tests/transfer/FakeStorageServer.h"

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace ostrana::test {
namespace {

bool SendBytes(int socket, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::send(socket, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// The quoted argument of a command line.
std::string QuotedPath(const std::string& line) {
    std::size_t open = line.find('"');
    std::size_t close = open == std::string::npos ? open : line.find('"', open + 1);
    return close == std::string::npos ? std::string() : line.substr(open + 1, close - open - 1);
}

} // namespace

FakeStorageServer::FakeStorageServer() {
    m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(m_listener, 16) != 0) {
        throw std::runtime_error("fake server cannot listen");
    }
    socklen_t length = sizeof address;
    ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
    m_port = ntohs(address.sin_port);
    m_folders = {"myfolder/", "myhtml/"};
    m_acceptor = std::thread([this] { AcceptLoop(); });
}

FakeStorageServer::~FakeStorageServer() {
    m_stopping = true;
    ReleaseHeldGetFile();
    ::shutdown(m_listener, SHUT_RDWR);
    ::close(m_listener);
    m_acceptor.join();
    {
        std::lock_guard guard(m_lock);
        for (int socket : m_sockets) {
            ::shutdown(socket, SHUT_RDWR);
        }
    }
    for (std::thread& worker : m_workers) {
        worker.join();
    }
    for (int socket : m_sockets) {
        ::close(socket);
    }
}

void FakeStorageServer::AcceptLoop() {
    while (!m_stopping) {
        int socket = ::accept(m_listener, nullptr, nullptr);
        if (socket < 0) {
            if (m_stopping) {
                return;
            }
            continue;
        }
        int one = 1;
        ::setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        int connection = ++m_connections;
        std::lock_guard guard(m_lock);
        m_sockets.push_back(socket);
        m_workers.emplace_back([this, socket, connection] { Serve(socket, connection); });
    }
}

void FakeStorageServer::Serve(int socket, int connection) {
    std::string pending;
    char buffer[8192];
    bool greeted = false;
    while (true) {
        if (!greeted) {
            std::size_t end = pending.find("\r\n\r\n");
            if (end != std::string::npos) {
                pending.erase(0, end + 4);
                greeted = true;
                if (!SendBytes(socket, "OK 1 [Demo User]\n")) {
                    break;
                }
                continue;
            }
        } else {
            std::size_t lineFeed = pending.find('\n');
            if (lineFeed != std::string::npos) {
                std::string line = pending.substr(0, lineFeed);
                pending.erase(0, lineFeed + 1);
                if (!line.empty() && line.back() == '\r') {
                    line.pop_back();
                }
                if (!HandleCommand(socket, connection, line, pending)) {
                    break;
                }
                continue;
            }
        }
        ssize_t n = ::recv(socket, buffer, sizeof buffer, 0);
        if (n <= 0) {
            break;
        }
        pending.append(buffer, static_cast<std::size_t>(n));
    }
    ::shutdown(socket, SHUT_RDWR);
}

bool FakeStorageServer::HandleCommand(int socket, int connection, const std::string& line, std::string& pending) {
    {
        std::lock_guard guard(m_lock);
        m_commands.push_back("#" + std::to_string(connection) + " " + line);
    }
    std::string path = QuotedPath(line);
    if (line.rfind(".DIR ", 0) == 0) {
        std::string reply;
        {
            std::lock_guard guard(m_lock);
            if (m_folders.count(path) == 0) {
                return SendBytes(socket, ".ERR no such folder\n");
            }
            reply = Listing(path);
        }
        return SendBytes(socket, reply + ".OK\n");
    }
    if (line.rfind(".MKDIR ", 0) == 0) {
        std::lock_guard guard(m_lock);
        m_folders.insert(path + "/");
        return SendBytes(socket, ".OK\n");
    }
    if (line.rfind(".QUOTA", 0) == 0) {
        std::lock_guard guard(m_lock);
        return SendBytes(socket, "QUOTA " + std::to_string(m_quota[0]) + ":" + std::to_string(m_quota[1]) + ":" +
                                     std::to_string(m_quota[2]) + "\n.OK\n");
    }
    if (line.rfind(".SAVETO ", 0) == 0) {
        std::size_t size = std::stoull(line.substr(line.rfind(' ') + 1));
        {
            std::lock_guard guard(m_lock);
            if (m_refused.count(path) != 0) {
                return SendBytes(socket, ".ERR refused\n");
            }
        }
        if (!SendBytes(socket, ".OK\n")) {
            return false;
        }
        std::string body = pending.substr(0, std::min(size, pending.size()));
        pending.erase(0, body.size());
        char buffer[8192];
        while (body.size() < size) {
            ssize_t n = ::recv(socket, buffer, std::min(sizeof buffer, size - body.size()), 0);
            if (n <= 0) {
                {
                    std::lock_guard guard(m_lock);
                    ++m_brokenUploads;
                }
                m_uploadBroken.notify_all();
                return false;
            }
            body.append(buffer, static_cast<std::size_t>(n));
        }
        {
            std::lock_guard guard(m_lock);
            m_files[path] = body;
        }
        return SendBytes(socket, ".OK\n");
    }
    if (line.rfind(".GETFILE ", 0) == 0) {
        std::string reply;
        std::size_t cut = 0;
        bool closeEarly = false;
        std::size_t closeAfter = 0;
        std::size_t holdAfter = 0;
        {
            std::lock_guard guard(m_lock);
            auto found = m_files.find(path);
            if (found == m_files.end()) {
                return SendBytes(socket, ".ERR no such file\n");
            }
            auto replaced = m_headers.find(path);
            std::string header = replaced != m_headers.end() ? replaced->second
                                                              : ".OK " + std::to_string(found->second.size()) + "\n";
            reply = header + found->second + ".OK\n";
            cut = std::exchange(m_cut, 0);
            if (m_closePath == path) {
                closeEarly = true;
                closeAfter = header.size() + m_closeAfter;
                m_closePath.clear();
            }
            if (m_holdPath == path) {
                holdAfter = header.size() + m_holdAfter;
                m_holdPath.clear();
            }
        }
        if (holdAfter != 0) {
            if (!SendBytes(socket, reply.substr(0, holdAfter))) {
                return false;
            }
            std::unique_lock guard(m_lock);
            m_held = true;
            m_holdChanged.notify_all();
            m_holdChanged.wait(guard, [&] { return m_released; });
            guard.unlock();
            return SendBytes(socket, reply.substr(holdAfter));
        }
        if (closeEarly) {
            SendBytes(socket, reply.substr(0, closeAfter));
            return false;
        }
        if (cut == 0 || cut >= reply.size()) {
            return SendBytes(socket, reply);
        }
        if (!SendBytes(socket, reply.substr(0, cut))) {
            return false;
        }
        // A short pause makes the cut a receive boundary; correctness never depends on it.
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        return SendBytes(socket, reply.substr(cut));
    }
    return SendBytes(socket, ".ERR unknown command\n");
}

std::string FakeStorageServer::Listing(const std::string& folder) const {
    std::string listing;
    for (const std::string& child : m_folders) {
        if (child.size() > folder.size() && child.compare(0, folder.size(), folder) == 0 &&
            child.find('/', folder.size()) == child.size() - 1) {
            listing += "D 0 demo 20240305 140709 " + child.substr(folder.size(), child.size() - folder.size() - 1) + "\n";
        }
    }
    auto listFile = [&](const std::string& path, const std::string& sizeText) {
        if (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
            path.find('/', folder.size()) == std::string::npos) {
            listing += "F " + sizeText + " demo 20240305 140709 " + path.substr(folder.size()) + "\n";
        }
    };
    for (const auto& [path, bytes] : m_files) {
        listFile(path, std::to_string(bytes.size()));
    }
    for (const auto& [path, sizeText] : m_listedSizes) {
        listFile(path, sizeText);
    }
    for (auto [line, end] = m_listingLines.equal_range(folder); line != end; ++line) {
        listing += line->second + "\n";
    }
    return listing;
}

void FakeStorageServer::AddFolder(const std::string& folder) {
    std::lock_guard guard(m_lock);
    m_folders.insert(folder);
}

void FakeStorageServer::AddFile(const std::string& path, const std::string& bytes) {
    std::lock_guard guard(m_lock);
    m_files[path] = bytes;
}

void FakeStorageServer::AddListedFile(const std::string& path, const std::string& sizeText) {
    std::lock_guard guard(m_lock);
    m_listedSizes[path] = sizeText;
}

bool FakeStorageServer::HasFolder(const std::string& folder) const {
    std::lock_guard guard(m_lock);
    return m_folders.count(folder) != 0;
}

bool FakeStorageServer::HasFile(const std::string& path) const {
    std::lock_guard guard(m_lock);
    return m_files.count(path) != 0;
}

std::string FakeStorageServer::File(const std::string& path) const {
    std::lock_guard guard(m_lock);
    auto found = m_files.find(path);
    return found == m_files.end() ? std::string() : found->second;
}

std::size_t FakeStorageServer::FileCount() const {
    std::lock_guard guard(m_lock);
    return m_files.size();
}

void FakeStorageServer::SetQuota(long long totalKb, long long usedKb, long long remainingKb) {
    std::lock_guard guard(m_lock);
    m_quota[0] = totalKb;
    m_quota[1] = usedKb;
    m_quota[2] = remainingKb;
}

void FakeStorageServer::CutNextGetFileAt(std::size_t cut) {
    std::lock_guard guard(m_lock);
    m_cut = cut;
}

void FakeStorageServer::CloseGetFileAfter(const std::string& path, std::size_t bytes) {
    std::lock_guard guard(m_lock);
    m_closePath = path;
    m_closeAfter = bytes;
}

void FakeStorageServer::HoldGetFileAfter(const std::string& path, std::size_t bytes) {
    std::lock_guard guard(m_lock);
    m_holdPath = path;
    m_holdAfter = bytes;
    m_held = false;
    m_released = false;
}

bool FakeStorageServer::WaitGetFileHeld() const {
    std::unique_lock guard(m_lock);
    return m_holdChanged.wait_for(guard, std::chrono::seconds(20), [&] { return m_held; });
}

void FakeStorageServer::ReleaseHeldGetFile() {
    std::lock_guard guard(m_lock);
    m_released = true;
    m_holdChanged.notify_all();
}

void FakeStorageServer::AddListingLine(const std::string& folder, const std::string& line) {
    std::lock_guard guard(m_lock);
    m_listingLines.emplace(folder, line);
}

void FakeStorageServer::SetGetFileHeader(const std::string& path, const std::string& header) {
    std::lock_guard guard(m_lock);
    m_headers[path] = header;
}

void FakeStorageServer::RefuseSaveTo(const std::string& path) {
    std::lock_guard guard(m_lock);
    m_refused.insert(path);
}

bool FakeStorageServer::WaitForBrokenUploads(int count) const {
    std::unique_lock guard(m_lock);
    return m_uploadBroken.wait_for(guard, std::chrono::seconds(10), [&] { return m_brokenUploads >= count; });
}

std::vector<std::string> FakeStorageServer::Commands() const {
    std::lock_guard guard(m_lock);
    return m_commands;
}

std::vector<std::string> FakeStorageServer::CommandsStartingWith(const std::string& prefix) const {
    std::lock_guard guard(m_lock);
    std::vector<std::string> found;
    for (const std::string& command : m_commands) {
        std::size_t space = command.find(' ');
        if (command.compare(space + 1, prefix.size(), prefix) == 0) {
            found.push_back(command.substr(space + 1));
        }
    }
    return found;
}

} // namespace ostrana::test
