#include "platform/gdi/DisplayList.h"

#include <algorithm>
#include <cstdio>

#include "platform/base/CodePage.h"

namespace ostrana {
namespace {

std::string Hex(COLORREF color) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "#%02X%02X%02X", static_cast<unsigned>(GetRValue(color)),
                  static_cast<unsigned>(GetGValue(color)), static_cast<unsigned>(GetBValue(color)));
    return buffer;
}

std::string Pen(const PenInfo& pen) {
    if (pen.style == 5) return "pen=null"; // PS_NULL
    return "pen=" + Hex(pen.color) + "/" + std::to_string(pen.width) + (pen.style != 0 ? "s" + std::to_string(pen.style) : "");
}

std::string Brush(const BrushInfo& brush) { return brush.null ? "brush=null" : "brush=" + Hex(brush.color); }

std::string Rop(int rop2) {
    switch (rop2) {
    case 13: return "";
    case 6: return " rop=NOT";
    case 10: return " rop=NOTXORPEN";
    case 7: return " rop=XORPEN";
    default: return " rop=" + std::to_string(rop2);
    }
}

std::string Quoted(const std::string& ansi) {
    std::string utf8 = AnsiToUtf8(ansi);
    std::string out = "\"";
    for (char c : utf8) {
        if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else if (c == '\t') out += "\\t";
        else if (c == '"') out += "\\\"";
        else out += c;
    }
    return out + "\"";
}

std::string Font(const FontInfo& font) {
    std::string text = "font=" + AnsiToUtf8(font.face) + "/" + std::to_string(font.height < 0 ? -font.height : font.height);
    if (font.weight >= 700) text += "b";
    if (font.italic) text += "i";
    if (font.underline) text += "u";
    return text;
}

} // namespace

std::string DescribeOp(const DisplayOp& op) {
    std::string r = RectText(op.rect);
    switch (op.kind) {
    case OpKind::FillRect: return "fill " + r + " " + Hex(op.brush.color);
    case OpKind::FrameRect: return (op.image == "focus" ? "focusrect " + r : "frame " + r + " " + Hex(op.brush.color));
    case OpKind::InvertRect: return "invert " + r;
    case OpKind::Rectangle: return "rectangle " + r + " " + Pen(op.pen) + " " + Brush(op.brush) + Rop(op.rop2);
    case OpKind::Ellipse: return "ellipse " + r + " " + Pen(op.pen) + " " + Brush(op.brush) + Rop(op.rop2);
    case OpKind::RoundRect:
        return "roundrect " + r + " corner=" + std::to_string(op.corner.cx) + "x" + std::to_string(op.corner.cy) + " " +
               Pen(op.pen) + " " + Brush(op.brush) + Rop(op.rop2);
    case OpKind::Line:
        return "line (" + std::to_string(op.from.x) + "," + std::to_string(op.from.y) + ")-(" + std::to_string(op.to.x) +
               "," + std::to_string(op.to.y) + ") " + Pen(op.pen) + Rop(op.rop2);
    case OpKind::Text: {
        std::string text = "text " + r + " " + Quoted(op.text) + " " + Font(op.font) + " color=" + Hex(op.textColor);
        if (op.bkMode == 2) text += " bk=" + Hex(op.bkColor);
        if (op.flags != 0) text += " state=" + std::to_string(op.flags);
        return text;
    }
    case OpKind::Edge:
        return "edge " + r + " type=0x" + [&] {
            char b[32];
            std::snprintf(b, sizeof b, "%X flags=0x%X", op.format, op.flags);
            return std::string(b);
        }();
    case OpKind::Image: {
        std::string text = "image " + r + " " + op.image;
        if (op.flags != 0) text += " state=" + std::to_string(op.flags);
        return text;
    }
    case OpKind::Blit:
        return "blit " + r + " from (" + std::to_string(op.from.x) + "," + std::to_string(op.from.y) + ")";
    }
    return "?";
}

namespace {

RECT BoundsOf(const DisplayOp& op) {
    if (op.kind != OpKind::Line) return op.rect;
    LONG reach = std::max(1, op.pen.width);
    return RECT{std::min(op.from.x, op.to.x) - reach, std::min(op.from.y, op.to.y) - reach,
                std::max(op.from.x, op.to.x) + reach, std::max(op.from.y, op.to.y) + reach};
}

bool Outside(const RECT& bounds, const RECT& clip) {
    return bounds.right <= clip.left || bounds.left >= clip.right || bounds.bottom <= clip.top || bounds.top >= clip.bottom;
}

} // namespace

bool ReachesOutside(const DisplayList& list, RECT clip) {
    return std::any_of(list.begin(), list.end(), [&](const DisplayOp& op) { return Outside(BoundsOf(op), clip); });
}

DisplayList ClipDisplayList(const DisplayList& list, RECT clip) {
    DisplayList kept;
    kept.reserve(list.size());
    for (const DisplayOp& op : list) {
        if (!Outside(BoundsOf(op), clip)) kept.push_back(op);
    }
    return kept;
}

void DumpDisplayList(const DisplayList& list, int indent, std::string& out) {
    for (const DisplayOp& op : list) {
        out.append(static_cast<std::size_t>(indent), ' ');
        out += DescribeOp(op);
        out += '\n';
        if (op.content) DumpDisplayList(*op.content, indent + 2, out);
    }
}

} // namespace ostrana
