#include "platform/window/EditModel.h"

#include <algorithm>

#include "platform/gdi/TextMetric.h"

namespace ostrana::detail {

void EditModel::SetText(std::string text) {
    m_text = std::move(text);
    m_anchor = m_caret = 0;
}

std::pair<std::size_t, std::size_t> EditModel::Selection() const {
    return {std::min(m_anchor, m_caret), std::max(m_anchor, m_caret)};
}

std::size_t EditModel::Snap(std::size_t offset) const {
    offset = std::min(offset, m_text.size());
    std::size_t pos = 0;
    while (pos < offset) {
        std::size_t next = pos + CharLength(m_text, pos);
        if (next > offset) return pos;
        pos = next;
    }
    return pos;
}

std::size_t EditModel::CharStartBefore(std::size_t offset) const {
    if (offset == 0) return 0;
    std::size_t pos = 0;
    std::size_t previous = 0;
    while (pos < offset) {
        previous = pos;
        pos += CharLength(m_text, pos);
    }
    if (m_multiline && previous > 0 && m_text[previous] == '\n' && m_text[previous - 1] == '\r') return previous - 1;
    return previous;
}

std::size_t EditModel::CharEndAfter(std::size_t offset) const {
    if (offset >= m_text.size()) return m_text.size();
    if (m_multiline && m_text[offset] == '\r' && offset + 1 < m_text.size() && m_text[offset + 1] == '\n') return offset + 2;
    return offset + CharLength(m_text, offset);
}

void EditModel::Select(long start, long end) {
    if (start < 0) {
        m_anchor = m_caret;
        return;
    }
    std::size_t last = end < 0 ? m_text.size() : static_cast<std::size_t>(end);
    m_anchor = Snap(static_cast<std::size_t>(start));
    m_caret = Snap(last);
}

bool EditModel::ReplaceSelection(std::string_view text) {
    auto [first, second] = Selection();
    std::size_t room = m_limit > m_text.size() - (second - first) ? m_limit - (m_text.size() - (second - first)) : 0;
    // Never cut a double-byte character in half at the limit.
    std::size_t keep = 0;
    while (keep < text.size()) {
        std::size_t length = CharLength(text, keep);
        if (keep + length > room) break;
        keep += length;
    }
    std::string insert(text.substr(0, keep));
    if (insert.empty() && first == second && !text.empty()) return false;
    m_text.replace(first, second - first, insert);
    m_anchor = m_caret = first + insert.size();
    return true;
}

bool EditModel::Backspace() {
    auto [first, second] = Selection();
    if (first == second) {
        if (first == 0) return false;
        m_anchor = CharStartBefore(first);
        m_caret = first;
    }
    return ReplaceSelection("");
}

bool EditModel::DeleteForward() {
    auto [first, second] = Selection();
    if (first == second) {
        if (first >= m_text.size()) return false;
        m_anchor = first;
        m_caret = CharEndAfter(first);
    }
    return ReplaceSelection("");
}

std::size_t EditModel::LineCount() const {
    return m_multiline ? static_cast<std::size_t>(std::count(m_text.begin(), m_text.end(), '\n')) + 1 : 1;
}

std::size_t EditModel::LineIndex(std::size_t line) const {
    std::size_t offset = 0;
    for (std::size_t i = 0; i < line; ++i) {
        std::size_t next = m_text.find('\n', offset);
        if (next == std::string::npos) return m_text.size();
        offset = next + 1;
    }
    return offset;
}

std::size_t EditModel::LineOf(std::size_t offset) const {
    return m_multiline ? static_cast<std::size_t>(std::count(m_text.begin(), m_text.begin() + static_cast<long>(std::min(offset, m_text.size())), '\n')) : 0;
}

std::size_t EditModel::LineLength(std::size_t offset) const {
    std::size_t start = LineIndex(LineOf(offset));
    std::size_t end = m_multiline ? m_text.find('\n', start) : std::string::npos;
    if (end == std::string::npos) end = m_text.size();
    if (end > start && m_text[end - 1] == '\r') --end;
    return end - start;
}

void EditModel::Move(CaretMove move, bool extend) {
    std::size_t line = LineOf(m_caret);
    std::size_t lineStart = LineIndex(line);
    switch (move) {
    case CaretMove::Left: m_caret = CharStartBefore(m_caret); break;
    case CaretMove::Right: m_caret = CharEndAfter(m_caret); break;
    case CaretMove::Home: m_caret = lineStart; break;
    case CaretMove::End: m_caret = lineStart + LineLength(m_caret); break;
    case CaretMove::Up:
    case CaretMove::Down: {
        if (!m_multiline || (move == CaretMove::Up && line == 0) || (move == CaretMove::Down && line + 1 >= LineCount())) break;
        std::size_t column = m_caret - lineStart;
        std::size_t target = LineIndex(move == CaretMove::Up ? line - 1 : line + 1);
        m_caret = Snap(target + std::min(column, LineLength(target)));
        break;
    }
    case CaretMove::DocumentStart: m_caret = 0; break;
    case CaretMove::DocumentEnd: m_caret = m_text.size(); break;
    }
    if (!extend) m_anchor = m_caret;
}

} // namespace ostrana::detail
