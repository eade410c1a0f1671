// A line start is examined once it holds enough bytes to tell a marker from anything else; line
// feeds are searched only in bytes not searched before.
#include "session/ReplyScanner.h"

namespace {

constexpr std::string_view kOk = ".OK";
constexpr std::string_view kErr = ".ERR";

bool CouldStillBecome(std::string_view rest, std::string_view marker) {
    return rest.size() < marker.size() && marker.substr(0, rest.size()) == rest;
}

} // namespace

ReplyScanner::Result ReplyScanner::Scan(std::string_view bytes) {
    for (;;) {
        std::string_view rest = bytes.substr(m_lineStart);
        if (rest.starts_with(kOk)) {
            m_okPos = m_lineStart;
            return Result::Ok;
        }
        if (rest.starts_with(kErr)) {
            if (m_errPos == npos) {
                m_errPos = m_lineStart;
            }
        } else if (CouldStillBecome(rest, kOk) || CouldStillBecome(rest, kErr)) {
            break;
        }
        std::size_t from = m_searched > m_lineStart ? m_searched : m_lineStart;
        std::size_t lineFeed = bytes.find('\n', from);
        if (lineFeed == std::string_view::npos) {
            m_searched = bytes.size();
            break;
        }
        m_lineStart = lineFeed + 1;
        m_searched = m_lineStart;
    }
    return m_errPos != npos ? Result::Err : Result::NeedMore;
}

bool HoldsLineFeed(std::string_view block) { return block.find('\n') != std::string_view::npos; }
