// A session wired to a scripted peer with its own cookie holder and short time-outs.
#pragma once

#include <gtest/gtest.h>

#include "session/ServerSession.h"
#include "session/SessionOwner.h"
#include "session/TextConversion.h"
#include "tests/support/ScriptedPeer.h"

namespace ostrana::test {

inline const std::string kFileActionPost = "POST /_file?act=laction HTTP/1.1\r\n"
                                           "Host: 127.0.0.1\r\n"
                                           "Content-length: 41\r\n"
                                           "Cookie: WAXLO_AUTH=c00k1e\r\n\r\n";

class SessionPeerTest : public ::testing::Test {
protected:
    SessionPeerTest() : session(&owner) {
        owner.SetSessionCookie("c00k1e");
        session.SetLoginData("abc", "def", "127.0.0.1", peer.Port());
        session.SetTimeouts(5000, 10000);
    }

    // The peer accepts, answers the file-action POST with a greeting, and goes on with `then`.
    ScriptedPeer& AcceptCommandSession(const std::string& greeting = "ostrana 1 [demo]\n") {
        return peer.Accept().WaitFor("\r\n\r\n").Send(greeting);
    }

    ScriptedPeer peer;
    SimpleSessionOwner owner;
    ServerSession session;
};

} // namespace ostrana::test
