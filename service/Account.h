// One account of the service: who may log in, what it may use and how much it may store.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ostrana::service {

struct Account {
    std::string id;
    std::string passwordHash;
    std::string displayName;
    int kind = 1;                // 9 is the site's webmaster: the only kind that reaches html/ and filter/
    std::int64_t quotaKB = 0;
    std::vector<std::string> clubs;  // club ids without the "@"

    static constexpr int kWebmasterKind = 9;

    bool IsWebmaster() const { return kind == kWebmasterKind; }
    bool IsMemberOf(std::string_view club) const {
        return std::find(clubs.begin(), clubs.end(), club) != clubs.end();
    }
};

} // namespace ostrana::service
