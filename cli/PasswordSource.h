// Where ostrana-cli gets the password: a file named on the command line, OSTRANA_PASSWORD, or a
// prompt on the terminal with echo off. The password is never taken from an argument.
#pragma once

#include <optional>
#include <string>

// The password in UTF-8, or nothing (with `error` set) when no source can give one.
std::optional<std::string> ReadPassword(const std::optional<std::string>& passwordFile, const std::string& userId,
                                        std::string& error);
