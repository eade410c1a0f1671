// Command line splitting; judging whether a command got the arguments it needs is the session's job.
#include "service/CommandLine.h"

#include <charconv>
#include <cstdint>

namespace ostrana::service {

CommandLine ParseCommandLine(std::string_view line) {
    CommandLine command;
    const std::size_t space = line.find(' ');
    command.name = line.substr(0, space);
    if (space == std::string_view::npos) {
        command.wellFormed = true;
        return command;
    }
    std::string_view rest = line.substr(space + 1);
    command.rest = rest;
    while (!rest.empty() && rest.front() == '"') {
        const std::size_t close = rest.find('"', 1);
        if (close == std::string_view::npos) {
            return command;
        }
        command.quoted.emplace_back(rest.substr(1, close - 1));
        rest.remove_prefix(close + 1);
        if (rest.empty()) {
            command.wellFormed = true;
            return command;
        }
        if (rest.front() != ' ') {
            return command;
        }
        rest.remove_prefix(1);
    }
    if (rest.find('"') != std::string_view::npos) {
        return command;
    }
    command.tail = rest;
    command.wellFormed = true;
    return command;
}

std::optional<std::int32_t> ParseFileSize(std::string_view text) {
    if (text.empty() || text.size() > 10) {
        return std::nullopt;
    }
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
    }
    std::int64_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    if (value > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

} // namespace ostrana::service
