// Reading and writing the accounts file. Every field is checked on load, so a hand-edited file
// with a bad id or kind is refused instead of widening what an account may reach.
#include "service/AccountStore.h"

#include "service/ProtocolPath.h"

#include <charconv>
#include <fstream>
#include <sstream>
#include <system_error>

namespace ostrana::service {

namespace {

std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t at = text.find(separator, start);
        parts.emplace_back(text.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start));
        if (at == std::string_view::npos) {
            return parts;
        }
        start = at + 1;
    }
}

template <typename Number>
bool ParseNumber(std::string_view text, Number& value) {
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc{} && result.ptr == text.data() + text.size() && !text.empty();
}

bool ParseLine(std::string_view line, Account& account, std::string& why) {
    const std::vector<std::string> fields = Split(line, '\t');
    if (fields.size() != 6) {
        why = "expected 6 tab-separated fields";
        return false;
    }
    account.id = fields[0];
    account.passwordHash = fields[1];
    account.displayName = fields[2];
    if (!AccountStore::IsValidId(account.id)) {
        why = "bad account id";
        return false;
    }
    if (!AccountStore::IsValidDisplayName(account.displayName)) {
        why = "bad display name";
        return false;
    }
    if (!ParseNumber(fields[3], account.kind) || account.kind < 0 || account.kind > 99) {
        why = "bad account kind";
        return false;
    }
    if (!ParseNumber(fields[4], account.quotaKB) || account.quotaKB < 0 || account.quotaKB > INT32_MAX) {
        why = "bad quota";
        return false;
    }
    account.clubs.clear();
    if (!fields[5].empty()) {
        for (std::string& club : Split(fields[5], ',')) {
            if (!AccountStore::IsValidId(club)) {
                why = "bad club id";
                return false;
            }
            account.clubs.push_back(std::move(club));
        }
    }
    return true;
}

} // namespace

AccountStore::AccountStore(std::filesystem::path file) : m_file(std::move(file)) {}

bool AccountStore::IsValidId(std::string_view id) {
    if (id.empty() || id.size() > 32 || id.front() == '.' || id.front() == '-') {
        return false;
    }
    for (const char c : id) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
                        c == '_' || c == '-';
        if (!ok) {
            return false;
        }
    }
    return true;
}

bool AccountStore::IsValidDisplayName(std::string_view name) {
    if (name.size() > 64 || !IsValidUtf8(name) || name.find(']') != std::string_view::npos) {
        return false;
    }
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            return false;
        }
    }
    return true;
}

bool AccountStore::Load(std::string& error) {
    m_accounts.clear();
    std::ifstream in(m_file, std::ios::binary);
    if (!in) {
        std::error_code ec;
        if (!std::filesystem::exists(m_file, ec)) {
            return true;
        }
        error = "cannot read " + m_file.string();
        return false;
    }
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty() || line.front() == '#') {
            continue;
        }
        Account account;
        std::string why;
        if (!ParseLine(line, account, why)) {
            error = m_file.string() + ":" + std::to_string(number) + ": " + why;
            return false;
        }
        if (Find(account.id) != nullptr) {
            error = m_file.string() + ":" + std::to_string(number) + ": duplicate account " + account.id;
            return false;
        }
        m_accounts.push_back(std::move(account));
    }
    return true;
}

bool AccountStore::Save(std::string& error) const {
    std::ostringstream text;
    text << "# ostrana-service accounts: id, password hash, display name, kind, quota KB, clubs (tab-separated)\n";
    for (const Account& account : m_accounts) {
        text << account.id << '\t' << account.passwordHash << '\t' << account.displayName << '\t' << account.kind
             << '\t' << account.quotaKB << '\t';
        for (std::size_t i = 0; i < account.clubs.size(); ++i) {
            text << (i == 0 ? "" : ",") << account.clubs[i];
        }
        text << '\n';
    }
    std::filesystem::path temporary = m_file;
    temporary += ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text.str();
        out.flush();
        if (!out) {
            error = "cannot write " + temporary.string();
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, m_file, ec);
    if (ec) {
        error = "cannot replace " + m_file.string() + ": " + ec.message();
        return false;
    }
    return true;
}

const Account* AccountStore::Find(std::string_view id) const {
    for (const Account& account : m_accounts) {
        if (account.id == id) {
            return &account;
        }
    }
    return nullptr;
}

bool AccountStore::Add(Account account, std::string& error) {
    if (!IsValidId(account.id)) {
        error = "bad account id";
        return false;
    }
    if (!IsValidDisplayName(account.displayName)) {
        error = "bad display name";
        return false;
    }
    for (const std::string& club : account.clubs) {
        if (!IsValidId(club)) {
            error = "bad club id " + club;
            return false;
        }
    }
    if (Find(account.id) != nullptr) {
        error = "account " + account.id + " exists";
        return false;
    }
    m_accounts.push_back(std::move(account));
    return true;
}

} // namespace ostrana::service
