// The container's command line: the port to listen on, whether to open the browser, and help.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace ostrana::host {

struct HostOptions {
    int port = 0; // 0 lets the system pick a free port
    bool openBrowser = true;
    bool help = false;
};

// Empty with a message in error when the arguments (without the program name) are not understood.
std::optional<HostOptions> ParseHostOptions(const std::vector<std::string>& arguments, std::string& error);

const char* HostUsage();

} // namespace ostrana::host
