// The one process-wide session with the storage server: the command connection (login, then the
// file-action command session) and the transfer connection (file bodies), the login data, and
// every request and reply of the protocol. Texts are held in the ANSI code page; the wire is UTF-8.
// Failures are return values (1/0, -1); nothing is shown to the user here.
//
// Each exchange on the command connection holds the command lock, so the user-interface thread
// and an upload thread never interleave their commands. The transfer connection has one user at
// a time (one transfer job). No text inserted into a request may hold CR or LF: such an operation
// fails before anything is sent.
#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/Winsock.h"
#include "session/QuotaInfo.h"
#include "session/ReadAhead.h"

class SessionOwner;

#define LOGIN_STATUS_STARTED 3000
#define LOGIN_STATUS_FAILED 3001

class ServerSession {
public:
    static constexpr int kDefaultPort = 80;
    static constexpr int kDefaultConnectTimeoutMs = 15000;
    static constexpr int kDefaultReceiveTimeoutMs = 60000;
    static constexpr int kDefaultExchangeTimeoutMs = 120000;
    // A reply that must be read to its end to be judged is never read beyond this.
    static constexpr std::size_t kMaxJudgedReply = 64 * 1024;
    // A command reply (a listing, above all) longer than this fails: about a million entries.
    static constexpr std::size_t kDefaultReplyLimit = 64 * 1024 * 1024;
    static constexpr int kReceiveBlock = 4096;

    // The session reaches the process-wide holder of the cookie and greeting values.
    ServerSession();
    // The session uses `owner` instead (tests and programs that run several sessions).
    explicit ServerSession(SessionOwner* owner);
    ~ServerSession();
    ServerSession(const ServerSession&) = delete;
    ServerSession& operator=(const ServerSession&) = delete;

    // Connection and framing.
    void SetLoginData(const std::string& userId, const std::string& password, const std::string& host, int port);
    void Reset();
    int Connect();
    int ConnectTransfer();
    void CloseCommand();
    int CloseTransfer();
    // `socket` is the value of one of the two socket fields. -1 on failure.
    int SendText(SOCKET socket, const std::string& text);
    // Reads the command connection until a line starts with ".OK" or ".ERR". `ok` is 1 for ".OK"
    // (`reply` = the text before it), 0 for ".ERR" (`reply` = the text from it). -1 when the
    // connection failed first (`reply` keeps what was read).
    int ReadReply(std::string& reply, int& ok);
    // Raw bytes on the transfer connection: count, -1 on failure, 0 if it is closed.
    // `more`: further blocks of the same body follow at once, so the system may join them into
    // fuller segments; the body's last block is sent without it.
    int SendBody(const char* bytes, int length, bool more = false);
    int ReceiveBody(char* buffer, int size);
    // After a file body: closes the transfer connection if cancelled, else drains the one reply.
    void FinishTransferFile(bool cancelled);

    // Login exchange. `status` is LOGIN_STATUS_STARTED on entry, LOGIN_STATUS_FAILED on failure.
    int Login(int& status);
    void BuildLoginRequest(std::string& request) const;

    // File-action command channel.
    int OpenCommandSession();
    int OpenTransferSession();
    // `lines` receives the listing lines (without "." and ".."); `status` is always 3000.
    int ListFolder(const std::string& folder, std::vector<std::string>& lines, int& status);
    int MakeFolder(const std::string& parent, const std::string& name);
    int RenameItem(const std::string& folder, const std::string& oldName, const std::string& newName);
    // With `names`, removes each name of `folder`; without, removes the full path `folder`.
    int RemoveItems(const std::string& folder, const std::vector<std::string>* names = nullptr);
    int QueryQuota(const std::string& folder);
    int BeginUpload(const std::string& folder, const std::string& name, std::int32_t size);
    // `buffer` holds at least kReceiveBlock bytes; it receives the body bytes of the first block.
    int BeginDownload(const std::string& path, char* buffer, int& firstBlock, std::int32_t& fileSize);

    // State.
    const std::string& Host() const { return m_host; }
    int Port() const { return m_port; }
    const std::string& UserId() const { return m_userId; }
    bool IsCommandOpen() const { return m_commandSocket != INVALID_SOCKET; }
    bool IsTransferOpen() const { return m_transferSocket != INVALID_SOCKET; }
    QuotaInfo Quota() const;
    // receiveMs bounds every wait for a byte; exchangeMs bounds a whole reply on the command
    // connection and a whole greeting, answer or header on the transfer connection, however
    // slowly its bytes trickle in. File bodies are bounded by receiveMs alone.
    void SetTimeouts(int connectMs, int receiveMs, int exchangeMs = kDefaultExchangeTimeoutMs);
    void SetReplyLimit(std::size_t bytes) { m_replyLimit = bytes; }

private:
    SessionOwner* Owner() const;
    std::string SessionCookie() const;
    int ConnectSocket(SOCKET& socket);
    void CloseSocket(SOCKET& socket);
    using Clock = std::chrono::steady_clock;
    static constexpr Clock::time_point kNoDeadline = Clock::time_point::max();

    Clock::time_point ExchangeDeadline() const;
    // One receive that gives up after the receive time-out or at the deadline: count, 0 closed,
    // -1 failure/time-out. The transfer connection is read through its read-ahead.
    int Receive(SOCKET socket, bool transfer, char* buffer, int size, Clock::time_point deadline = kNoDeadline);
    int ReceiveFromSocket(SOCKET socket, char* buffer, int size, Clock::time_point deadline);
    // Refills the empty read-ahead of the transfer connection with one receive; its result.
    int FillReadAhead(Clock::time_point deadline);
    // Receives into `block` until `complete` says it can be judged, the peer closes (what came
    // is kept) or the bound is reached. -1 when a receive failed or the exchange deadline or
    // the idle time-out passed first, however much had come.
    int ReceiveUntil(SOCKET socket, bool transfer, std::string& block, bool (*complete)(std::string_view block));
    // Receives one line of the transfer connection, its line feed included; what follows it
    // stays in the read-ahead for the next read. Failures as for ReceiveUntil.
    int ReceiveTransferLine(std::string& line);
    std::string BuildFileActionRequest() const;
    int SendFileActionRequest(SOCKET socket);
    int SendCommand(const std::string& line);
    int CommandFlag(const std::string& line);
    int OpenCommandSessionLocked();

    SessionOwner* m_owner = nullptr;
    SOCKET m_commandSocket = INVALID_SOCKET;
    SOCKET m_transferSocket = INVALID_SOCKET;
    int m_port = kDefaultPort;
    std::string m_host;
    std::string m_userId;
    std::string m_password;
    int m_connectTimeoutMs = kDefaultConnectTimeoutMs;
    int m_receiveTimeoutMs = kDefaultReceiveTimeoutMs;
    int m_exchangeTimeoutMs = kDefaultExchangeTimeoutMs;
    std::size_t m_replyLimit = kDefaultReplyLimit;
    ReadAhead m_transferAhead;
    mutable std::recursive_mutex m_commandLock;
    mutable std::mutex m_quotaLock;
    QuotaInfo m_quota;
};

// The process-wide session, alive as long as the module.
ServerSession& TheServerSession();
