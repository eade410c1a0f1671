// The session's readers of what the server sends, driven through the real exchanges against a
// loopback peer that answers with the fuzz input: the login reply, the greeting, command replies
// (listing, quota, flags), the ".SAVETO" answer and the ".GETFILE" header with its body.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "session/ServerSession.h"
#include "session/SessionOwner.h"
#include "tests/fuzz/FuzzCheck.h"
#include "tests/fuzz/LoopbackScriptPeer.h"

namespace {

constexpr std::size_t kMaxScript = 16 * 1024;

void Download(ServerSession& session) {
    auto buffer = std::make_unique<char[]>(ServerSession::kReceiveBlock);
    int firstBlock = 0;
    std::int32_t fileSize = 0;
    if (session.BeginDownload("myfolder/a.txt", buffer.get(), firstBlock, fileSize) != 1) {
        return;
    }
    FUZZ_CHECK(firstBlock >= 0);
    std::int64_t received = firstBlock;
    while (received < fileSize) {
        int got = session.ReceiveBody(buffer.get(), ServerSession::kReceiveBlock);
        if (got <= 0) {
            return;
        }
        received += got;
    }
    session.FinishTransferFile(false);
}

void Upload(ServerSession& session) {
    if (session.BeginUpload("myfolder/", "a.txt", 5) == 1) {
        session.SendBody("hello", 5);
        session.FinishTransferFile(false);
    }
}

void Exchange(ServerSession& session, int operation) {
    int status = 0;
    switch (operation) {
    case 0:
        session.Login(status);
        break;
    case 1:
        session.OpenCommandSession();
        break;
    case 2: {
        std::vector<std::string> lines;
        if (session.ListFolder("myfolder/", lines, status) == 1) {
            for (const std::string& line : lines) {
                FUZZ_CHECK(!line.empty());
            }
        }
        break;
    }
    case 3:
        session.QueryQuota("myfolder/");
        (void)session.Quota();
        break;
    case 4: {
        std::vector<std::string> names{"a", "b", "c"};
        session.RemoveItems("myfolder/", &names);
        break;
    }
    case 5:
        Upload(session);
        break;
    default:
        Download(session);
        break;
    }
}

} // namespace

// The first byte chooses the exchange, the rest is everything the server sends on the connection.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static LoopbackScriptPeer peer;
    static SimpleSessionOwner owner;
    if (size == 0 || size > kMaxScript) {
        return 0;
    }
    owner.SetSessionCookie("fuzz");
    peer.Begin(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
    {
        ServerSession session(&owner);
        session.SetLoginData("ana", "secret", "127.0.0.1", peer.Port());
        session.SetTimeouts(2000, 2000);
        Exchange(session, data[0] % 7);
    }
    peer.End();
    return 0;
}
