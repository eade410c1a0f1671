// The transfer session on the transfer connection: the POST that opens it, and the ".SAVETO" and
// ".GETFILE" commands that precede a file body. Answers and headers are read to their line feed
// whatever the receive boundaries, so no header byte is ever taken for body data.
#include <algorithm>
#include <cstring>

#include "session/DecimalText.h"
#include "session/ReplyScanner.h"
#include "session/ServerSession.h"
#include "session/TextConversion.h"

namespace {

constexpr std::size_t kTrailerSize = 4;

} // namespace

int ServerSession::OpenTransferSession() {
    if (HasLineBreak(m_host) || HasLineBreak(SessionCookie())) {
        CloseTransfer();
        return 0;
    }
    if (m_transferSocket == INVALID_SOCKET && ConnectTransfer() == 0) {
        CloseTransfer();
        return 0;
    }
    if (SendFileActionRequest(m_transferSocket) == -1) {
        CloseTransfer();
        return 0;
    }
    std::string greeting;
    ReceiveUntil(m_transferSocket, true, greeting, HoldsLineFeed);
    return 1;
}

int ServerSession::BeginUpload(const std::string& folder, const std::string& name, std::int32_t size) {
    auto fail = [&] {
        CloseTransfer();
        return 0;
    };
    if (HasLineBreak(folder) || HasLineBreak(name)) {
        return 0;
    }
    if (m_transferSocket == INVALID_SOCKET && OpenTransferSession() == 0) {
        return fail();
    }
    if (SendText(m_transferSocket, ".SAVETO \"" + folder + name + "\" " + std::to_string(size) + "\n") == -1) {
        return fail();
    }
    std::string answer;
    if (ReceiveTransferLine(answer) <= 0 || answer.compare(0, 3, ".OK") != 0) {
        return fail();
    }
    return 1;
}

int ServerSession::BeginDownload(const std::string& path, char* buffer, int& firstBlock, std::int32_t& fileSize) {
    auto fail = [&] {
        CloseTransfer();
        return 0;
    };
    if (HasLineBreak(path)) {
        return 0;
    }
    if (m_transferSocket == INVALID_SOCKET && OpenTransferSession() == 0) {
        return fail();
    }
    std::string line = ".GETFILE \"" + path + "\"\n";
    if (SendText(m_transferSocket, line) == -1) {
        return fail();
    }
    std::string block;
    if (ReceiveUntil(m_transferSocket, true, block, HoldsLineFeed) <= 0) {
        // One retry on a fresh connection: the server may have dropped an idle one. Whatever
        // part of a header came on the old one belongs to nothing.
        CloseTransfer();
        block.clear();
        if (OpenTransferSession() == 0 || SendText(m_transferSocket, line) == -1 ||
            ReceiveUntil(m_transferSocket, true, block, HoldsLineFeed) <= 0) {
            return fail();
        }
    }
    std::size_t lineFeed = block.find('\n');
    if (block.compare(0, 3, ".OK") != 0 || lineFeed == std::string::npos) {
        return fail();
    }
    // ".OK", one separator and the size: a header whose size is no decimal figure fails the file.
    std::string_view sizeText = lineFeed > 4 ? std::string_view(block).substr(4, lineFeed - 4) : std::string_view();
    if (sizeText.ends_with('\r')) {
        sizeText.remove_suffix(1);
    }
    std::optional<std::int32_t> announced = ReadDecimal32(sizeText);
    if (!announced) {
        return fail();
    }
    fileSize = *announced;
    std::size_t bodyStart = lineFeed + 1;
    // When the whole file came with the header, its trailer is read to the end too: a cut trailer
    // would otherwise be left on the connection in front of the next file's header.
    if (fileSize >= 0 && block.size() - bodyStart > static_cast<std::size_t>(fileSize)) {
        std::size_t complete = bodyStart + static_cast<std::size_t>(fileSize) + kTrailerSize;
        char rest[kTrailerSize];
        Clock::time_point deadline = ExchangeDeadline();
        while (block.size() < complete) {
            int more = Receive(m_transferSocket, true, rest, static_cast<int>(complete - block.size()), deadline);
            if (more <= 0) {
                break;
            }
            block.append(rest, static_cast<std::size_t>(more));
        }
    }
    firstBlock = static_cast<int>(block.size() - bodyStart);
    // Only file bytes reach the caller's buffer, never trailer bytes.
    std::size_t copied = static_cast<std::size_t>(firstBlock);
    if (fileSize < firstBlock) {
        copied = static_cast<std::size_t>(std::max<std::int32_t>(fileSize, 0));
    }
    std::memcpy(buffer, block.data() + bodyStart, copied);
    return 1;
}
