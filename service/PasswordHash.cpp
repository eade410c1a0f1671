// PBKDF2 through OpenSSL's libcrypto; only the hash text format is ours.
#include "service/PasswordHash.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <charconv>
#include <vector>

namespace ostrana::service {

namespace {

constexpr std::string_view kScheme = "pbkdf2-sha256";
constexpr std::size_t kSaltBytes = 16;
constexpr std::size_t kHashBytes = 32;
constexpr int kMaxRounds = 10000000;

bool Derive(std::string_view password, const std::vector<unsigned char>& salt, int rounds,
            unsigned char (&out)[kHashBytes]) {
    return PKCS5_PBKDF2_HMAC(password.data(), static_cast<int>(password.size()), salt.data(),
                             static_cast<int>(salt.size()), rounds, EVP_sha256(), kHashBytes, out) == 1;
}

bool FromHex(std::string_view text, std::vector<unsigned char>& out) {
    if (text.size() % 2 != 0) {
        return false;
    }
    out.clear();
    for (std::size_t i = 0; i < text.size(); i += 2) {
        unsigned value = 0;
        const auto result = std::from_chars(text.data() + i, text.data() + i + 2, value, 16);
        if (result.ec != std::errc{} || result.ptr != text.data() + i + 2) {
            return false;
        }
        out.push_back(static_cast<unsigned char>(value));
    }
    return true;
}

} // namespace

std::string ToHex(const unsigned char* bytes, std::size_t count) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(count * 2);
    for (std::size_t i = 0; i < count; ++i) {
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
    }
    return text;
}

std::string RandomHex(std::size_t byteCount) {
    std::vector<unsigned char> bytes(byteCount);
    if (RAND_bytes(bytes.data(), static_cast<int>(bytes.size())) != 1) {
        return {};
    }
    return ToHex(bytes.data(), bytes.size());
}

std::string PasswordHash::Make(std::string_view password, int rounds) {
    std::vector<unsigned char> salt(kSaltBytes);
    if (RAND_bytes(salt.data(), static_cast<int>(salt.size())) != 1) {
        return {};
    }
    unsigned char hash[kHashBytes];
    if (!Derive(password, salt, rounds, hash)) {
        return {};
    }
    return std::string(kScheme) + "$" + std::to_string(rounds) + "$" + ToHex(salt.data(), salt.size()) + "$" +
           ToHex(hash, kHashBytes);
}

bool PasswordHash::Verify(std::string_view password, std::string_view stored) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t dollar = stored.find('$', start);
        parts.push_back(stored.substr(start, dollar == std::string_view::npos ? std::string_view::npos : dollar - start));
        if (dollar == std::string_view::npos) {
            break;
        }
        start = dollar + 1;
    }
    if (parts.size() != 4 || parts[0] != kScheme) {
        return false;
    }
    int rounds = 0;
    const auto parsed = std::from_chars(parts[1].data(), parts[1].data() + parts[1].size(), rounds);
    if (parsed.ec != std::errc{} || parsed.ptr != parts[1].data() + parts[1].size() || rounds < 1 ||
        rounds > kMaxRounds) {
        return false;
    }
    std::vector<unsigned char> salt;
    std::vector<unsigned char> expected;
    if (!FromHex(parts[2], salt) || salt.empty() || !FromHex(parts[3], expected) || expected.size() != kHashBytes) {
        return false;
    }
    unsigned char actual[kHashBytes];
    if (!Derive(password, salt, rounds, actual)) {
        return false;
    }
    return CRYPTO_memcmp(actual, expected.data(), kHashBytes) == 0;
}

void PasswordHash::VerifyAgainstNothing(std::string_view password) {
    const std::vector<unsigned char> salt(kSaltBytes, 0);
    unsigned char ignored[kHashBytes];
    Derive(password, salt, kDefaultRounds, ignored);
}

} // namespace ostrana::service
