// The file-action session of one logged-in account on one connection: the greeting line, then
// commands read line by line until the peer leaves. Every reply ends with a line ".OK" or
// ".ERR <reason>"; ".SAVETO" and ".GETFILE" frame a file body between their replies.
#pragma once

#include "service/Account.h"
#include "service/CommandLine.h"
#include "service/Connection.h"
#include "service/ServiceContext.h"

#include <string>
#include <string_view>

namespace ostrana::service {

class CommandSession {
public:
    // Every command also counts as use of the session cookie, keeping it alive while work goes on.
    CommandSession(ServiceContext& context, Connection& connection, const Account& account, std::string token);

    void Run();

    // "<tag> <account kind> [<display name>]\n"; the peer drops the brackets to get the name.
    static std::string Greeting(const Account& account);

private:
    // Each handler sends its whole reply and returns whether the session may go on.
    struct Outcome {
        bool keepOpen = true;
        std::string logText;
    };

    Outcome Dispatch(const CommandLine& command);
    Outcome ListFolder(const CommandLine& command);
    Outcome MakeFolder(const CommandLine& command);
    Outcome Rename(const CommandLine& command);
    Outcome Remove(const CommandLine& command);
    Outcome Quota(const CommandLine& command);
    Outcome SaveFile(const CommandLine& command);
    Outcome GetFile(const CommandLine& command);

    // Resolves the single quoted path of a command, sending ".ERR" itself when it cannot.
    bool ResolveSinglePath(const CommandLine& command, StorageLocation& location, Outcome& outcome);
    bool ResolvePath(std::string_view text, StorageLocation& location, Outcome& outcome);

    Outcome ReplyOk(std::string logText = ".OK");
    Outcome ReplyError(std::string_view reason);
    Outcome Dropped(std::string_view what);

    ServiceContext& m_context;
    Connection& m_connection;
    const Account& m_account;
    std::string m_token;
};

} // namespace ostrana::service
