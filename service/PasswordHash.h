// Salted password hashes with PBKDF2-HMAC-SHA256, stored as "pbkdf2-sha256$<rounds>$<salt>$<hash>"
// (salt and hash in lower-case hex). The round count travels with the hash so it can be raised later.
#pragma once

#include <string>
#include <string_view>

namespace ostrana::service {

class PasswordHash {
public:
    static constexpr int kDefaultRounds = 100000;

    // A fresh random salt every call; empty on a failure of the random source.
    static std::string Make(std::string_view password, int rounds = kDefaultRounds);

    // Constant-time comparison; a malformed stored text never matches.
    static bool Verify(std::string_view password, std::string_view stored);

    // Costs the same as a real check, for unknown user ids, so timing does not tell which ids exist.
    static void VerifyAgainstNothing(std::string_view password);
};

std::string ToHex(const unsigned char* bytes, std::size_t count);

// Random bytes from the system's cryptographic source, as lower-case hex; empty on failure.
std::string RandomHex(std::size_t byteCount);

} // namespace ostrana::service
