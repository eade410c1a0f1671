// The file-action command session on the command connection: the POST that opens it, the
// greeting, and the folder, rename, remove and quota commands. Each operation holds the command
// lock from its first send to its last reply. A reply that never comes (the connection failed or
// timed out) closes the connection, so a late answer is never taken for the next command's.
#include <cstdlib>

#include "session/DecimalText.h"
#include "session/ReplyScanner.h"
#include "session/ServerSession.h"
#include "session/SessionOwner.h"
#include "session/SplitFields.h"
#include "session/TextConversion.h"

namespace {

bool AnyLineBreak(std::initializer_list<const std::string*> texts) {
    for (const std::string* text : texts) {
        if (HasLineBreak(*text)) {
            return true;
        }
    }
    return false;
}

// "." and ".." are listed by the server; every other name is kept, also one ending in a dot.
bool IsDotEntry(const std::string& line) {
    std::vector<std::string> elements;
    SplitFields(line, elements, 6, false, ' ');
    if (elements.size() != 6) {
        return !line.empty() && line.back() == '.';
    }
    return elements[5] == "." || elements[5] == "..";
}

} // namespace

std::string ServerSession::BuildFileActionRequest() const {
    return "POST /_file?act=laction HTTP/1.1\r\n"
           "Host: " + m_host + "\r\n"
           "Content-length: 41\r\n"
           "Cookie: WAXLO_AUTH=" + SessionCookie() + "\r\n\r\n";
}

int ServerSession::SendFileActionRequest(SOCKET socket) { return SendText(socket, BuildFileActionRequest()); }

int ServerSession::OpenCommandSession() {
    std::lock_guard lock(m_commandLock);
    return OpenCommandSessionLocked();
}

int ServerSession::OpenCommandSessionLocked() {
    auto fail = [&] {
        CloseSocket(m_commandSocket);
        return 0;
    };
    if (HasLineBreak(m_host) || HasLineBreak(SessionCookie())) {
        return fail();
    }
    if (m_commandSocket == INVALID_SOCKET && ConnectSocket(m_commandSocket) == 0) {
        return fail();
    }
    if (SendFileActionRequest(m_commandSocket) == -1) {
        return fail();
    }
    std::string block;
    if (ReceiveUntil(m_commandSocket, false, block, HoldsLineFeed) <= 0) {
        return fail();
    }
    std::size_t lineFeed = block.find('\n');
    std::vector<std::string> fields;
    SplitFields(Utf8ToLocal(lineFeed == std::string::npos ? block : block.substr(0, lineFeed + 1)), fields, 3, false,
                ' ');
    if (fields.size() != 3) {
        return fail();
    }
    if (SessionOwner* owner = Owner()) {
        owner->SetGreetingNumber(std::atoi(fields[1].c_str()));
        std::string label = fields[2].empty() ? std::string() : fields[2].substr(1);
        label.resize(label.size() >= 2 ? label.size() - 2 : 0);
        owner->SetHomeLabel(label);
    }
    return 1;
}

int ServerSession::SendCommand(const std::string& line) {
    if (m_commandSocket == INVALID_SOCKET) {
        OpenCommandSessionLocked();
    }
    if (SendText(m_commandSocket, line) == -1) {
        CloseSocket(m_commandSocket);
        return -1;
    }
    return 1;
}

int ServerSession::CommandFlag(const std::string& line) {
    if (SendCommand(line) == -1) {
        return 0;
    }
    std::string reply;
    int ok = 0;
    if (ReadReply(reply, ok) == -1) {
        CloseSocket(m_commandSocket);
    }
    return ok;
}

int ServerSession::ListFolder(const std::string& folder, std::vector<std::string>& lines, int& status) {
    std::lock_guard lock(m_commandLock);
    status = LOGIN_STATUS_STARTED;
    if (HasLineBreak(folder)) {
        return 0;
    }
    if (SendCommand(".DIR \"" + folder + "\"\r\n") == -1) {
        return 0;
    }
    std::string reply;
    int ok = 0;
    ReadReply(reply, ok);
    if (ok != 1) {
        CloseSocket(m_commandSocket);
        return 0;
    }
    std::size_t start = 0;
    while (start < reply.size()) {
        std::size_t end = reply.find('\n', start);
        if (end == std::string::npos) {
            end = reply.size();
        }
        if (end > start) {
            std::string line = reply.substr(start, end - start);
            if (!IsDotEntry(line)) {
                lines.push_back(std::move(line));
            }
        }
        start = end + 1;
    }
    return 1;
}

int ServerSession::MakeFolder(const std::string& parent, const std::string& name) {
    std::lock_guard lock(m_commandLock);
    if (AnyLineBreak({&parent, &name})) {
        return 0;
    }
    return CommandFlag(".MKDIR \"" + parent + name + "\"\r\n");
}

int ServerSession::RenameItem(const std::string& folder, const std::string& oldName, const std::string& newName) {
    std::lock_guard lock(m_commandLock);
    if (AnyLineBreak({&folder, &oldName, &newName})) {
        return 0;
    }
    return CommandFlag(".RENAME \"" + folder + oldName + "\" \"" + newName + "\"\r\n");
}

int ServerSession::RemoveItems(const std::string& folder, const std::vector<std::string>* names) {
    std::lock_guard lock(m_commandLock);
    if (HasLineBreak(folder)) {
        return 0;
    }
    if (names == nullptr) {
        return CommandFlag(".REMOVE \"" + folder + "\"\r\n");
    }
    for (const std::string& name : *names) {
        if (HasLineBreak(name)) {
            return 0;
        }
    }
    int ok = 0;
    for (const std::string& name : *names) {
        std::string line = ".REMOVE \"" + folder + name + "\"\r\n";
        if (SendCommand(line) == -1) {
            return 0;
        }
        std::string reply;
        if (ReadReply(reply, ok) == -1) {
            CloseSocket(m_commandSocket);
        }
    }
    return ok;
}

int ServerSession::QueryQuota(const std::string& folder) {
    std::lock_guard lock(m_commandLock);
    auto fail = [&] {
        std::lock_guard quotaLock(m_quotaLock);
        m_quota = QuotaInfo{};
        return 0;
    };
    if (HasLineBreak(folder) || SendCommand(".QUOTA " + folder + "\r\n") == -1) {
        return fail();
    }
    std::string reply;
    int ok = 0;
    if (ReadReply(reply, ok) == -1) {
        CloseSocket(m_commandSocket);
    }
    if (ok != 1 || reply.compare(0, 6, "QUOTA ") != 0) {
        return fail();
    }
    // The numbers run up to the line's last character (its line feed).
    std::string numbers = reply.size() > 6 ? reply.substr(6, reply.size() - 7) : std::string();
    if (!numbers.empty() && numbers.back() == '\r') {
        numbers.pop_back();
    }
    std::vector<std::int64_t> values;
    std::size_t at = 0;
    while (values.size() < 3) {
        at = numbers.find_first_not_of(':', at);
        if (at == std::string::npos) {
            break;
        }
        std::size_t end = numbers.find(':', at);
        std::string token = numbers.substr(at, end == std::string::npos ? std::string::npos : end - at);
        std::optional<std::int32_t> kilobytes = ReadDecimal32(token);
        if (!kilobytes) {
            return fail();
        }
        values.push_back(static_cast<std::int64_t>(*kilobytes) * 1024);
        at = end;
    }
    std::lock_guard quotaLock(m_quotaLock);
    std::int64_t* targets[] = {&m_quota.total, &m_quota.used, &m_quota.remaining};
    for (std::size_t i = 0; i < values.size(); ++i) {
        *targets[i] = values[i];
    }
    return 1;
}
