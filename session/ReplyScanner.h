// Finds the marker line that ends a command reply (".OK" or ".ERR" at the start of a line) in
// bytes that arrive in pieces. Each call looks only at what arrived since the last one, plus the
// few bytes of a marker that may have been cut, so reading a reply stays linear in its length.
#pragma once

#include <cstddef>
#include <string_view>

class ReplyScanner {
public:
    enum class Result { NeedMore, Ok, Err };

    // `bytes` is everything received so far; it only grows between calls. An ".OK" line anywhere
    // in what has arrived wins over an ".ERR" line.
    Result Scan(std::string_view bytes);
    // Offset of the marker line that decided the result.
    std::size_t MarkerPos() const { return m_okPos != npos ? m_okPos : m_errPos; }

private:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    std::size_t m_lineStart = 0;
    std::size_t m_searched = 0;
    std::size_t m_okPos = npos;
    std::size_t m_errPos = npos;
};

// True once a block holds a whole line: the greeting, the upload answer and the download header
// can then be judged.
bool HoldsLineFeed(std::string_view block);
