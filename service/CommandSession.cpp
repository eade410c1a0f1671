// Command handling. Paths are resolved (syntax, area, permission) before anything touches the disk;
// an upload's quota is reserved and its temporary file created before ".OK" invites the body.
#include "service/CommandSession.h"

#include "service/FileStore.h"
#include "service/UploadFile.h"

#include <algorithm>
#include <climits>
#include <unistd.h>
#include <vector>

namespace ostrana::service {

namespace {

constexpr std::size_t kStreamChunk = 64 * 1024;

// Quota figures travel as signed 32-bit KB counts.
std::int64_t Clamp32(std::int64_t value) { return std::clamp<std::int64_t>(value, 0, INT32_MAX); }

} // namespace

CommandSession::CommandSession(ServiceContext& context, Connection& connection, const Account& account,
                               std::string token)
    : m_context(context), m_connection(connection), m_account(account), m_token(std::move(token)) {}

std::string CommandSession::Greeting(const Account& account) {
    return "OK " + std::to_string(account.kind) + " [" + account.displayName + "]\n";
}

void CommandSession::Run() {
    if (!m_connection.Send(Greeting(m_account))) {
        return;
    }
    while (true) {
        std::string line;
        const ReadStatus status = m_connection.ReadLine(line, m_context.limits.maxCommandLine);
        if (status == ReadStatus::Closed) {
            return;
        }
        if (status == ReadStatus::TooLong) {
            m_connection.Send(".ERR line too long\n");
            m_context.log.Write(m_connection.Peer(), m_account.id, "command line too long -> .ERR, closed");
            m_connection.Finish();
            return;
        }
        if (line.empty()) {
            continue;
        }
        m_context.sessions.Lookup(m_token);
        const CommandLine command = ParseCommandLine(line);
        const Outcome outcome = Dispatch(command);
        m_context.log.Write(m_connection.Peer(), m_account.id, line + " -> " + outcome.logText);
        if (!outcome.keepOpen) {
            return;
        }
    }
}

CommandSession::Outcome CommandSession::Dispatch(const CommandLine& command) {
    if (!command.wellFormed) {
        return ReplyError("malformed arguments");
    }
    if (command.name == ".DIR") {
        return ListFolder(command);
    }
    if (command.name == ".MKDIR") {
        return MakeFolder(command);
    }
    if (command.name == ".RENAME") {
        return Rename(command);
    }
    if (command.name == ".REMOVE") {
        return Remove(command);
    }
    if (command.name == ".QUOTA") {
        return Quota(command);
    }
    if (command.name == ".SAVETO") {
        return SaveFile(command);
    }
    if (command.name == ".GETFILE") {
        return GetFile(command);
    }
    return ReplyError("unknown command");
}

CommandSession::Outcome CommandSession::ReplyOk(std::string logText) {
    Outcome outcome;
    outcome.keepOpen = m_connection.Send(".OK\n");
    outcome.logText = std::move(logText);
    return outcome;
}

CommandSession::Outcome CommandSession::ReplyError(std::string_view reason) {
    Outcome outcome;
    outcome.keepOpen = m_connection.Send(".ERR " + std::string(reason) + "\n");
    outcome.logText = ".ERR " + std::string(reason);
    return outcome;
}

CommandSession::Outcome CommandSession::Dropped(std::string_view what) {
    Outcome outcome;
    outcome.keepOpen = false;
    outcome.logText = std::string(what) + ", connection closed";
    return outcome;
}

bool CommandSession::ResolvePath(std::string_view text, StorageLocation& location, Outcome& outcome) {
    const PathError error = m_context.paths.Resolve(m_account, text, location);
    if (error != PathError::None) {
        outcome = ReplyError(DescribePathError(error));
        return false;
    }
    if (const StoreError storeError = FileStore::EnsureAreaRoot(location); storeError != StoreError::None) {
        outcome = ReplyError(DescribeStoreError(storeError));
        return false;
    }
    return true;
}

bool CommandSession::ResolveSinglePath(const CommandLine& command, StorageLocation& location, Outcome& outcome) {
    if (command.quoted.size() != 1 || !command.tail.empty()) {
        outcome = ReplyError("expected one quoted path");
        return false;
    }
    return ResolvePath(command.quoted.front(), location, outcome);
}

CommandSession::Outcome CommandSession::ListFolder(const CommandLine& command) {
    Outcome outcome;
    StorageLocation location;
    if (!ResolveSinglePath(command, location, outcome)) {
        return outcome;
    }
    std::string pending;
    std::size_t entries = 0;
    bool sent = true;
    const StoreError error = FileStore::List(location, [&](std::string_view line) {
        pending.append(line);
        ++entries;
        if (pending.size() >= kStreamChunk) {
            sent = m_connection.Send(pending);
            pending.clear();
        }
        return sent;
    });
    if (!sent) {
        return Dropped("listing not delivered");
    }
    if (error != StoreError::None && entries == 0) {
        return ReplyError(DescribeStoreError(error));
    }
    if (error != StoreError::None) {
        pending.append(".ERR ").append(DescribeStoreError(error)).append("\n");
        outcome.keepOpen = m_connection.Send(pending);
        outcome.logText = ".ERR after " + std::to_string(entries) + " entries";
        return outcome;
    }
    pending.append(".OK\n");
    outcome.keepOpen = m_connection.Send(pending);
    outcome.logText = ".OK (" + std::to_string(entries) + " entries)";
    return outcome;
}

CommandSession::Outcome CommandSession::MakeFolder(const CommandLine& command) {
    Outcome outcome;
    StorageLocation location;
    if (!ResolveSinglePath(command, location, outcome)) {
        return outcome;
    }
    const StoreError error = FileStore::MakeFolder(location);
    return error == StoreError::None ? ReplyOk() : ReplyError(DescribeStoreError(error));
}

CommandSession::Outcome CommandSession::Rename(const CommandLine& command) {
    Outcome outcome;
    if (command.quoted.size() != 2 || !command.tail.empty()) {
        return ReplyError("expected two quoted arguments");
    }
    const std::string& newName = command.quoted[1];
    if (const PathError error = CheckName(newName); error != PathError::None) {
        return ReplyError(DescribePathError(error));
    }
    StorageLocation location;
    if (!ResolvePath(command.quoted[0], location, outcome)) {
        return outcome;
    }
    const StoreError error = FileStore::Rename(location, newName);
    return error == StoreError::None ? ReplyOk() : ReplyError(DescribeStoreError(error));
}

CommandSession::Outcome CommandSession::Remove(const CommandLine& command) {
    Outcome outcome;
    StorageLocation location;
    if (!ResolveSinglePath(command, location, outcome)) {
        return outcome;
    }
    const std::uint64_t removedBytes = QuotaLedger::MeasureBytes(location.full);
    const StoreError error = FileStore::Remove(location);
    if (error != StoreError::None) {
        return ReplyError(DescribeStoreError(error));
    }
    m_context.ledger.Adjust(location.quota, -static_cast<std::int64_t>(removedBytes));
    return ReplyOk();
}

CommandSession::Outcome CommandSession::Quota(const CommandLine& command) {
    QuotaScope scope;
    std::string_view text = command.rest;
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        text = text.substr(1, text.size() - 2);
    }
    if (!m_context.paths.ResolveQuota(m_account, text, scope)) {
        return ReplyError(DescribePathError(PathError::Denied));
    }
    const QuotaFigures figures = m_context.ledger.Figures(scope);
    const std::string line = "QUOTA " + std::to_string(Clamp32(figures.totalKB)) + ":" +
                             std::to_string(Clamp32(figures.usedKB)) + ":" +
                             std::to_string(Clamp32(figures.remainingKB)) + "\n";
    Outcome outcome;
    outcome.keepOpen = m_connection.Send(line + ".OK\n");
    outcome.logText = ".OK " + line.substr(0, line.size() - 1);
    return outcome;
}

CommandSession::Outcome CommandSession::SaveFile(const CommandLine& command) {
    Outcome outcome;
    if (command.quoted.size() != 1) {
        return ReplyError("expected one quoted path and a size");
    }
    const std::optional<std::int32_t> size = ParseFileSize(command.tail);
    if (!size) {
        return ReplyError("bad file size");
    }
    StorageLocation location;
    if (!ResolvePath(command.quoted.front(), location, outcome)) {
        return outcome;
    }
    std::uint64_t replacedBytes = 0;
    if (const StoreError error = FileStore::CheckUploadTarget(location, replacedBytes); error != StoreError::None) {
        return ReplyError(DescribeStoreError(error));
    }
    QuotaLedger::Reservation reservation;
    if (!m_context.ledger.Reserve(location.quota, static_cast<std::uint64_t>(*size), replacedBytes, reservation)) {
        return ReplyError("quota exceeded");
    }
    const std::unique_ptr<UploadFile> upload = UploadFile::Create(m_context.paths.IncomingDir());
    if (!upload) {
        return ReplyError(DescribeStoreError(StoreError::Failed));
    }
    if (!m_connection.Send(".OK\n")) {
        return Dropped("upload not started");
    }
    // The body is read in full even when writing fails, so the reply lands after it.
    std::vector<char> buffer(kStreamChunk);
    std::uint64_t remaining = static_cast<std::uint64_t>(*size);
    bool written = true;
    while (remaining > 0) {
        const std::size_t count =
            m_connection.ReadSome(buffer.data(), static_cast<std::size_t>(std::min<std::uint64_t>(remaining, buffer.size())));
        if (count == 0) {
            return Dropped("upload cut after " + std::to_string(*size - static_cast<std::int64_t>(remaining)) +
                           " bytes, nothing stored");
        }
        written = written && upload->Write(buffer.data(), count);
        remaining -= count;
    }
    if (!written || !upload->Commit(location.full)) {
        return ReplyError(DescribeStoreError(StoreError::Failed));
    }
    m_context.ledger.Adjust(location.quota,
                            static_cast<std::int64_t>(*size) - static_cast<std::int64_t>(replacedBytes));
    return ReplyOk(".OK (" + std::to_string(*size) + " bytes stored)");
}

CommandSession::Outcome CommandSession::GetFile(const CommandLine& command) {
    Outcome outcome;
    StorageLocation location;
    if (!ResolveSinglePath(command, location, outcome)) {
        return outcome;
    }
    int fd = -1;
    std::uint64_t size = 0;
    if (const StoreError error = FileStore::OpenForDownload(location, fd, size); error != StoreError::None) {
        return ReplyError(DescribeStoreError(error));
    }
    struct FdCloser {
        int fd;
        ~FdCloser() { close(fd); }
    } closer{fd};
    if (!m_connection.Send(".OK " + std::to_string(size) + "\n")) {
        return Dropped("download not started");
    }
    std::vector<char> buffer(kStreamChunk);
    std::uint64_t remaining = size;
    while (remaining > 0) {
        const ssize_t count = read(fd, buffer.data(), std::min<std::uint64_t>(remaining, buffer.size()));
        if (count <= 0) {
            // The announced size can no longer be honoured; only closing tells the peer.
            return Dropped("download read failed");
        }
        if (!m_connection.Send(std::string_view(buffer.data(), static_cast<std::size_t>(count)))) {
            return Dropped("download not delivered");
        }
        remaining -= static_cast<std::uint64_t>(count);
    }
    if (!m_connection.Send(".OK\n")) {
        return Dropped("download trailer not delivered");
    }
    outcome.logText = ".OK (" + std::to_string(size) + " bytes sent)";
    return outcome;
}

} // namespace ostrana::service
