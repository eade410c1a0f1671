// Echo is switched off through termios and restored on every path out.
#include "service/PasswordPrompt.h"

#include <iostream>
#include <termios.h>
#include <unistd.h>

namespace ostrana::service {

namespace {

std::optional<std::string> ReadLine() {
    std::string line;
    if (!std::getline(std::cin, line)) {
        return std::nullopt;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return line;
}

} // namespace

std::optional<std::string> PromptPassword(const std::string& prompt) {
    if (!isatty(STDIN_FILENO)) {
        return ReadLine();
    }
    std::cerr << prompt << std::flush;
    termios saved {};
    const bool haveTerminal = tcgetattr(STDIN_FILENO, &saved) == 0;
    if (haveTerminal) {
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    std::optional<std::string> password = ReadLine();
    if (haveTerminal) {
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    }
    std::cerr << "\n";
    return password;
}

} // namespace ostrana::service
