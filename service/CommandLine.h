// One command line of the file-action session: ".NAME" and its arguments. Arguments are quoted
// texts separated by single spaces, optionally followed by one unquoted tail (".SAVETO"'s size).
// Quotes are not escaped on the wire, so a quote can never be part of an argument.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ostrana::service {

struct CommandLine {
    std::string name;
    std::string rest;                 // everything after the first space, unparsed
    std::vector<std::string> quoted;  // the quoted arguments, without their quotes
    std::string tail;                 // what follows the quoted arguments and their separating space
    bool wellFormed = false;          // whether `rest` was a valid sequence of arguments
};

CommandLine ParseCommandLine(std::string_view line);

// A protocol file size: decimal digits only, 0 to 2^31-1.
std::optional<std::int32_t> ParseFileSize(std::string_view text);

} // namespace ostrana::service
