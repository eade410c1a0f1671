// Option parsing. Numbers are checked for range here so that the rest of the program can trust them.
#include "service/ServiceOptions.h"

#include <charconv>
#include <filesystem>

namespace ostrana::service {

namespace {

template <typename Number>
bool ParseNumber(const std::string& text, Number low, Number high, Number& value) {
    Number parsed {};
    const auto result = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (result.ec != std::errc{} || result.ptr != text.data() + text.size() || parsed < low || parsed > high) {
        return false;
    }
    value = parsed;
    return true;
}

bool ParseListen(const std::string& text, ServiceOptions& options) {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0) {
        return false;
    }
    int port = 0;
    if (!ParseNumber(text.substr(colon + 1), 0, 65535, port)) {
        return false;
    }
    options.listenAddress = text.substr(0, colon);
    options.listenPort = static_cast<std::uint16_t>(port);
    return true;
}

std::vector<std::string> SplitClubs(const std::string& text) {
    std::vector<std::string> clubs;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = text.find(',', start);
        std::string club = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (!club.empty() && club.front() == '@') {
            club.erase(0, 1);
        }
        if (!club.empty()) {
            clubs.push_back(std::move(club));
        }
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    return clubs;
}

} // namespace

std::string ServiceOptions::AccountsPath() const {
    return accountsFile.empty() ? (std::filesystem::path(root) / "accounts.txt").string() : accountsFile;
}

const char* ServiceHelpText() {
    return "usage: ostrana-service --root DIR [--listen ADDRESS:PORT] [--accounts FILE] [--demo]\n"
           "       ostrana-service --root DIR --add-user ID [--name TEXT] [--kind N] [--quota KB] [--clubs A,B]\n"
           "\n"
           "The storage service: accounts, quotas, folders, the login and file-action protocol.\n"
           "\n"
           "  --root DIR            data folder: users/<id>/myfolder, users/<id>/myhtml, site/html,\n"
           "                        site/filter and clubs/<club> (required)\n"
           "  --listen ADDR:PORT    IPv4 address and port to listen on (default 127.0.0.1:8080;\n"
           "                        port 0 picks a free port). The address in use is printed on start.\n"
           "  --accounts FILE       accounts file (default DIR/accounts.txt)\n"
           "  --demo                fill an empty data folder with the accounts demo (password demo1234)\n"
           "                        and webmaster (password web1234) and sample folders and files\n"
           "  --add-user ID         add an account and exit; the password is asked for without echo\n"
           "                        (or read as one line from standard input when that is not a terminal)\n"
           "  --name TEXT           display name of the added account (default: its id)\n"
           "  --kind N              account kind of the added account, 0-99; 9 reaches html/ and filter/\n"
           "                        (default 1)\n"
           "  --quota KB            quota of the added account in KB (default 102400)\n"
           "  --clubs A,B           clubs the added account belongs to (reached as \"@A/...\")\n"
           "  --idle-timeout SEC    close a connection that stays silent this long (default 300)\n"
           "  --request-timeout SEC close a connection whose opening request (head and login form)\n"
           "                        takes longer than this (default 30)\n"
           "  --session-expiry SEC  forget a login cookie unused this long (default 1800)\n"
           "  --max-connections N   connections served at once; more wait their turn (default 64)\n"
           "  --login-lockout SEC   after 10 wrong passwords in a row for one user id, refuse every\n"
           "                        login of that id this long (default 60; 0 turns it off)\n"
           "  --shared-quota KB     quota of each club and of the site areas (default 1048576)\n"
           "  --help                show this text\n";
}

bool ParseServiceOptions(const std::vector<std::string>& arguments, ServiceOptions& options, std::string& error) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= arguments.size()) {
                error = option + " needs a value";
                return false;
            }
            out = arguments[++i];
            return true;
        };
        std::string text;
        if (option == "--help" || option == "-h") {
            options.help = true;
        } else if (option == "--demo") {
            options.demo = true;
        } else if (option == "--root") {
            if (!value(options.root)) return false;
        } else if (option == "--accounts") {
            if (!value(options.accountsFile)) return false;
        } else if (option == "--add-user") {
            if (!value(options.addUser)) return false;
        } else if (option == "--name") {
            if (!value(options.displayName)) return false;
        } else if (option == "--clubs") {
            if (!value(text)) return false;
            options.clubs = SplitClubs(text);
        } else if (option == "--listen") {
            if (!value(text)) return false;
            if (!ParseListen(text, options)) {
                error = "--listen wants ADDRESS:PORT, got " + text;
                return false;
            }
        } else if (option == "--kind") {
            if (!value(text) || !ParseNumber(text, 0, 99, options.kind)) {
                error = error.empty() ? "--kind wants a number from 0 to 99" : error;
                return false;
            }
        } else if (option == "--quota") {
            if (!value(text) || !ParseNumber<std::int64_t>(text, 0, INT32_MAX, options.quotaKB)) {
                error = error.empty() ? "--quota wants a number of KB" : error;
                return false;
            }
        } else if (option == "--shared-quota") {
            if (!value(text) || !ParseNumber<std::int64_t>(text, 0, INT32_MAX, options.sharedQuotaKB)) {
                error = error.empty() ? "--shared-quota wants a number of KB" : error;
                return false;
            }
        } else if (option == "--idle-timeout") {
            if (!value(text) || !ParseNumber(text, 1, 86400, options.idleTimeoutSeconds)) {
                error = error.empty() ? "--idle-timeout wants seconds from 1 to 86400" : error;
                return false;
            }
        } else if (option == "--request-timeout") {
            if (!value(text) || !ParseNumber(text, 1, 3600, options.requestTimeoutSeconds)) {
                error = error.empty() ? "--request-timeout wants seconds from 1 to 3600" : error;
                return false;
            }
        } else if (option == "--session-expiry") {
            if (!value(text) || !ParseNumber(text, 1, 604800, options.sessionExpirySeconds)) {
                error = error.empty() ? "--session-expiry wants seconds from 1 to 604800" : error;
                return false;
            }
        } else if (option == "--login-lockout") {
            if (!value(text) || !ParseNumber(text, 0, 86400, options.loginLockoutSeconds)) {
                error = error.empty() ? "--login-lockout wants seconds from 0 to 86400" : error;
                return false;
            }
        } else if (option == "--max-connections") {
            if (!value(text) || !ParseNumber(text, 1, 10000, options.maxConnections)) {
                error = error.empty() ? "--max-connections wants a number from 1 to 10000" : error;
                return false;
            }
        } else {
            error = "unknown option " + option;
            return false;
        }
    }
    if (!options.help && options.root.empty()) {
        error = "--root is required";
        return false;
    }
    return true;
}

} // namespace ostrana::service
