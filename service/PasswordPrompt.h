// Asks for a password on the terminal without echo, or reads one line from standard input when it
// is not a terminal (scripts pipe the password in).
#pragma once

#include <optional>
#include <string>

namespace ostrana::service {

std::optional<std::string> PromptPassword(const std::string& prompt);

} // namespace ostrana::service
