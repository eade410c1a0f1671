// The text and selection of an edit control, without a window: insertion, deletion, caret moves
// by character (double-byte characters stay whole), line queries. Offsets are byte offsets.
#pragma once

#include <string>
#include <string_view>

namespace ostrana::detail {

enum class CaretMove { Left, Right, Home, End, Up, Down, DocumentStart, DocumentEnd };

class EditModel {
public:
    const std::string& Text() const { return m_text; }
    void SetText(std::string text);
    // Ordered selection [first, second).
    std::pair<std::size_t, std::size_t> Selection() const;
    std::size_t Caret() const { return m_caret; }
    // start -1 removes the selection (caret kept); end -1 means the end of the text.
    void Select(long start, long end);
    // Replaces the selection; false when the limit left no room for any of it.
    bool ReplaceSelection(std::string_view text);
    bool Backspace();
    bool DeleteForward();
    void Move(CaretMove move, bool extend);
    void SetLimit(std::size_t limit) { m_limit = limit; }
    std::size_t Limit() const { return m_limit; }
    void SetMultiline(bool multiline) { m_multiline = multiline; }

    std::size_t LineCount() const;
    std::size_t LineIndex(std::size_t line) const;        // offset of a line's start
    std::size_t LineOf(std::size_t offset) const;
    std::size_t LineLength(std::size_t offset) const;     // of the line holding offset
    std::size_t CharStartBefore(std::size_t offset) const; // start of the character before offset
    std::size_t CharEndAfter(std::size_t offset) const;

private:
    std::size_t Snap(std::size_t offset) const; // to a character start

    std::string m_text;
    std::size_t m_anchor = 0;
    std::size_t m_caret = 0;
    std::size_t m_limit = 30000;
    bool m_multiline = false;
};

} // namespace ostrana::detail
