// Parses the container's command line.
#include "host/HostOptions.h"

#include <charconv>

namespace ostrana::host {

namespace {

std::optional<int> ParsePort(const std::string& text)
{
    int value = -1;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value < 0 || value > 65535)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<HostOptions> ParseHostOptions(const std::vector<std::string>& arguments, std::string& error)
{
    HostOptions options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--no-open") {
            options.openBrowser = false;
        } else if (argument == "--port" || argument.starts_with("--port=")) {
            std::string value;
            if (argument == "--port") {
                if (i + 1 == arguments.size()) {
                    error = "--port needs a number";
                    return std::nullopt;
                }
                value = arguments[++i];
            } else {
                value = argument.substr(7);
            }
            auto port = ParsePort(value);
            if (!port) {
                error = "not a port number: " + value;
                return std::nullopt;
            }
            options.port = *port;
        } else {
            error = "unknown argument: " + argument;
            return std::nullopt;
        }
    }
    return options;
}

const char* HostUsage()
{
    return "usage: ostrana [--port N] [--no-open] [--help]\n"
           "  --port N   listen on 127.0.0.1:N (0 or none: a free port)\n"
           "  --no-open  print the page's address without opening a browser\n";
}

} // namespace ostrana::host
