// Global options come before the command; the default server can be set with OSTRANA_SERVER.
#include "cli/CliOptions.h"

#include <cstdlib>

bool ParseServerAddress(const std::string& text, std::string& host, int& port) {
    std::size_t colon = text.find(':');
    if (colon == std::string::npos || colon == 0) {
        host = text;
        port = 80;
        return !text.empty();
    }
    std::string number = text.substr(colon + 1);
    if (number.empty() || number.size() > 5 || number.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    port = std::atoi(number.c_str());
    host = text.substr(0, colon);
    return port >= 1 && port <= 65535;
}

std::optional<CliOptions> ParseCliOptions(const std::vector<std::string>& args, std::string& error) {
    CliOptions options;
    if (const char* server = std::getenv("OSTRANA_SERVER"); server != nullptr && *server != '\0') {
        if (!ParseServerAddress(server, options.host, options.port)) {
            error = "OSTRANA_SERVER is not HOST[:PORT]";
            return std::nullopt;
        }
    }
    std::size_t i = 0;
    auto value = [&](const std::string& name) -> std::optional<std::string> {
        if (i + 1 >= args.size()) {
            error = name + " needs a value";
            return std::nullopt;
        }
        return args[++i];
    };
    for (; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--server") {
            auto text = value(arg);
            if (!text) {
                return std::nullopt;
            }
            if (!ParseServerAddress(*text, options.host, options.port)) {
                error = "--server takes HOST[:PORT] with a port from 1 to 65535";
                return std::nullopt;
            }
        } else if (arg == "--user") {
            auto text = value(arg);
            if (!text) {
                return std::nullopt;
            }
            options.userId = *text;
        } else if (arg == "--cookie") {
            auto text = value(arg);
            if (!text) {
                return std::nullopt;
            }
            options.cookie = *text;
        } else if (arg == "--password-file") {
            auto text = value(arg);
            if (!text) {
                return std::nullopt;
            }
            options.passwordFile = *text;
        } else if (arg.starts_with("-")) {
            error = "unknown option " + arg;
            return std::nullopt;
        } else {
            options.command = arg;
            options.arguments.assign(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
            break;
        }
    }
    if (options.command.empty() && !options.help) {
        error = "no command given";
        return std::nullopt;
    }
    return options;
}
