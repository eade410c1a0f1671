// The command line of ostrana-cli: global options, then a command, its options and arguments.
// Texts stay in the terminal's UTF-8 here; commands convert what they send.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct CliOptions {
    std::string host = "127.0.0.1";
    int port = 8080;
    std::string userId;
    std::optional<std::string> cookie;
    std::optional<std::string> passwordFile;
    bool help = false;
    std::string command;
    // Everything after the command, its own options included.
    std::vector<std::string> arguments;
};

// Parses argv (without the program name). On a usage error returns nothing and sets `error`.
std::optional<CliOptions> ParseCliOptions(const std::vector<std::string>& args, std::string& error);
// Splits "HOST[:PORT]"; false when the port is not a number from 1 to 65535.
bool ParseServerAddress(const std::string& text, std::string& host, int& port);
