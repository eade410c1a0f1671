// A password file holds the password on its first line; the line break is not part of it.
#include "cli/PasswordSource.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <termios.h>
#include <unistd.h>

namespace {

std::string FirstLine(std::string text) {
    std::size_t end = text.find_first_of("\r\n");
    if (end != std::string::npos) {
        text.resize(end);
    }
    return text;
}

std::optional<std::string> PromptWithoutEcho(const std::string& userId) {
    int tty = ::open("/dev/tty", O_RDWR | O_NOCTTY);
    if (tty < 0) {
        return std::nullopt;
    }
    std::string prompt = "Password for " + userId + ": ";
    (void)::write(tty, prompt.data(), prompt.size());
    termios saved{};
    bool restore = ::tcgetattr(tty, &saved) == 0;
    if (restore) {
        termios quiet = saved;
        quiet.c_lflag &= static_cast<tcflag_t>(~ECHO);
        ::tcsetattr(tty, TCSAFLUSH, &quiet);
    }
    std::string line;
    char c = 0;
    while (::read(tty, &c, 1) == 1 && c != '\n' && c != '\r') {
        line += c;
    }
    if (restore) {
        ::tcsetattr(tty, TCSAFLUSH, &saved);
    }
    (void)::write(tty, "\n", 1);
    ::close(tty);
    return line;
}

} // namespace

std::optional<std::string> ReadPassword(const std::optional<std::string>& passwordFile, const std::string& userId,
                                        std::string& error) {
    if (passwordFile) {
        std::ifstream in(*passwordFile, std::ios::binary);
        if (!in) {
            error = "cannot read the password file " + *passwordFile;
            return std::nullopt;
        }
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        return FirstLine(text);
    }
    if (const char* password = std::getenv("OSTRANA_PASSWORD"); password != nullptr) {
        return std::string(password);
    }
    if (auto typed = PromptWithoutEcho(userId)) {
        return typed;
    }
    error = "no password: set OSTRANA_PASSWORD, use --password-file, or run on a terminal";
    return std::nullopt;
}
