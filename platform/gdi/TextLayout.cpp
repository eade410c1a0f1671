#include "platform/gdi/TextLayout.h"

#include <algorithm>

#include "platform/gdi/DeviceContext.h"

namespace ostrana {
namespace {

std::vector<std::string> SplitParagraphs(std::string_view text, bool singleLine) {
    std::vector<std::string> paragraphs(1);
    for (char c : text) {
        if (c == '\r') continue;
        if (c == '\n' && !singleLine) {
            paragraphs.emplace_back();
            continue;
        }
        if (c == '\n') continue;
        paragraphs.back() += c;
    }
    return paragraphs;
}

// Greedy breaking at blanks and before double-byte characters; a word wider than the line stays whole.
void BreakParagraph(const std::string& paragraph, int maxWidth, const FontMetric& metric, std::vector<std::string>& out) {
    std::string line;
    std::size_t pos = 0;
    while (pos < paragraph.size()) {
        std::size_t end = pos;
        if (paragraph[pos] == ' ') {
            end = pos + 1;
        } else if (CharLength(paragraph, pos) > 1) {
            end = pos + CharLength(paragraph, pos);
        } else {
            while (end < paragraph.size() && paragraph[end] != ' ' && CharLength(paragraph, end) == 1) ++end;
        }
        std::string word = paragraph.substr(pos, end - pos);
        if (!line.empty() && TextWidth(metric, line + word) > maxWidth && word != " ") {
            while (!line.empty() && line.back() == ' ') line.pop_back();
            out.push_back(line);
            line.clear();
        }
        if (!(line.empty() && word == " " && !out.empty())) line += word;
        pos = end;
    }
    out.push_back(line);
}

} // namespace

std::string StripPrefix(std::string_view ansi) {
    std::string out;
    for (std::size_t i = 0; i < ansi.size(); ++i) {
        if (ansi[i] == '&') {
            if (i + 1 < ansi.size() && ansi[i + 1] == '&') {
                out += '&';
                ++i;
            }
            continue;
        }
        out += ansi[i];
    }
    return out;
}

TextLayout LayoutText(std::string_view ansi, const RECT& rect, UINT format, const FontMetric& metric) {
    std::string text = (format & DT_NOPREFIX) ? std::string(ansi) : StripPrefix(ansi);
    bool singleLine = (format & DT_SINGLELINE) != 0;
    std::vector<std::string> lines;
    for (const std::string& paragraph : SplitParagraphs(text, singleLine)) {
        if (!singleLine && (format & DT_WORDBREAK)) {
            BreakParagraph(paragraph, Width(rect), metric, lines);
        } else {
            lines.push_back(paragraph);
        }
    }
    TextLayout layout;
    layout.height = static_cast<int>(lines.size()) * metric.height;
    int y = rect.top;
    if (singleLine && (format & DT_VCENTER)) y = rect.top + (Height(rect) - metric.height) / 2;
    if (singleLine && (format & DT_BOTTOM)) y = rect.bottom - metric.height;
    for (std::string& line : lines) {
        int width = TextWidth(metric, line);
        layout.width = std::max(layout.width, width);
        int x = rect.left;
        if (format & DT_CENTER) x = rect.left + (Width(rect) - width) / 2;
        else if (format & DT_RIGHT) x = rect.right - width;
        layout.lines.push_back(TextLine{std::move(line), RECT{x, y, x + width, y + metric.height}});
        y += metric.height;
    }
    return layout;
}

} // namespace ostrana
