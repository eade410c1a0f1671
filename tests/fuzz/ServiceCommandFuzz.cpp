// The service's reading of a file-action command line and of a file size: arguments never hold a
// quote, a well-formed line is exactly its parts put back together, and sizes are plain decimals.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "service/CommandLine.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

using ostrana::service::CommandLine;

std::string Rebuild(const CommandLine& command, bool spaceBeforeTail) {
    std::string line = command.name + " ";
    for (std::size_t i = 0; i < command.quoted.size(); ++i) {
        line += (i > 0 ? " \"" : "\"") + command.quoted[i] + "\"";
    }
    if (command.quoted.empty()) {
        return line + command.tail;
    }
    return spaceBeforeTail ? line + " " + command.tail : line;
}

void CheckSize(std::string_view text) {
    std::optional<std::int32_t> size = ostrana::service::ParseFileSize(text);
    bool digits = !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
    if (size) {
        FUZZ_CHECK(digits && *size >= 0);
    } else {
        FUZZ_CHECK(!digits || text.size() >= 10);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view line(reinterpret_cast<const char*>(data), size);
    CommandLine command = ostrana::service::ParseCommandLine(line);
    FUZZ_CHECK(command.name.find(' ') == std::string::npos);
    if (command.wellFormed && line.find(' ') != std::string_view::npos) {
        for (const std::string& argument : command.quoted) {
            FUZZ_CHECK(argument.find('"') == std::string::npos);
        }
        FUZZ_CHECK(command.tail.find('"') == std::string::npos);
        FUZZ_CHECK(Rebuild(command, true) == line || (command.tail.empty() && Rebuild(command, false) == line));
    }
    CheckSize(command.tail);
    CheckSize(line);
    return 0;
}
