// Display lists as the page draws them.
#include "host/PictureWriter.h"

#include <algorithm>

#include "host/HostProtocol.h"
#include "host/MessageWriter.h"
#include "platform/base/CodePage.h"
#include "platform/gdi/TextMetric.h"

namespace ostrana::host {

namespace {

constexpr int kTransparent = 1; // bkMode TRANSPARENT

void Append(std::string& out, long long value)
{
    out += ',';
    out += std::to_string(value);
}

void AppendRect(std::string& out, const RECT& rect)
{
    Append(out, rect.left);
    Append(out, rect.top);
    Append(out, rect.right);
    Append(out, rect.bottom);
}

void AppendPen(std::string& out, const PenInfo& pen)
{
    out += ",[" + std::to_string(pen.style) + ',' + std::to_string(pen.width) + ',' +
           std::to_string(PageColor(pen.color)) + ']';
}

void AppendBrush(std::string& out, const BrushInfo& brush)
{
    Append(out, brush.null ? -1 : PageColor(brush.color));
}

void AppendText(std::string& out, const std::string& ansi)
{
    out += ',';
    out += JsonString(AnsiToUtf8(ansi));
}

// The image a drag image shows, or the image itself.
const ImageRef& Shown(const ImageRef& ref)
{
    return ref.origin == ImageOrigin::DragImage && ref.dragImage ? *ref.dragImage : ref;
}

} // namespace

long long PageColor(COLORREF color)
{
    return static_cast<long long>((GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color));
}

std::string RectJson(const RECT& rect)
{
    return "[" + std::to_string(rect.left) + "," + std::to_string(rect.top) + "," + std::to_string(rect.right) + "," +
           std::to_string(rect.bottom) + "]";
}

std::string PictureWriter::Ops(const DisplayList& list)
{
    std::string out;
    AppendList(list, out);
    return out;
}

void PictureWriter::AppendList(const DisplayList& list, std::string& out)
{
    out += '[';
    bool first = true;
    for (const DisplayOp& op : list) {
        if (!first)
            out += ',';
        first = false;
        AppendOp(op, out);
    }
    out += ']';
}

void PictureWriter::AppendOp(const DisplayOp& op, std::string& out)
{
    auto kind = [&out](PictureOp number) {
        out += '[';
        out += std::to_string(static_cast<int>(number));
    };
    switch (op.kind) {
    case OpKind::FrameRect:
        if (op.image == "focus") {
            kind(PictureOp::FocusRect);
            AppendRect(out, op.rect);
            break;
        }
        [[fallthrough]];
    case OpKind::FillRect:
        kind(op.kind == OpKind::FillRect ? PictureOp::FillRect : PictureOp::FrameRect);
        AppendRect(out, op.rect);
        Append(out, PageColor(op.brush.color));
        break;
    case OpKind::InvertRect:
        kind(PictureOp::InvertRect);
        AppendRect(out, op.rect);
        break;
    case OpKind::Rectangle:
    case OpKind::Ellipse:
        kind(op.kind == OpKind::Rectangle ? PictureOp::Rectangle : PictureOp::Ellipse);
        AppendRect(out, op.rect);
        AppendPen(out, op.pen);
        AppendBrush(out, op.brush);
        Append(out, op.rop2);
        break;
    case OpKind::RoundRect:
        kind(PictureOp::RoundRect);
        AppendRect(out, op.rect);
        Append(out, op.corner.cx);
        Append(out, op.corner.cy);
        AppendPen(out, op.pen);
        AppendBrush(out, op.brush);
        Append(out, op.rop2);
        break;
    case OpKind::Line:
        kind(PictureOp::Line);
        Append(out, op.from.x);
        Append(out, op.from.y);
        Append(out, op.to.x);
        Append(out, op.to.y);
        AppendPen(out, op.pen);
        Append(out, op.rop2);
        break;
    case OpKind::Text:
        kind(PictureOp::Text);
        AppendRect(out, op.rect);
        AppendText(out, op.text);
        Append(out, FontIndex(op.font));
        Append(out, PageColor(op.textColor));
        Append(out, op.bkMode == kTransparent ? -1 : PageColor(op.bkColor));
        Append(out, op.format);
        Append(out, op.flags);
        break;
    case OpKind::Edge:
        kind(PictureOp::Edge);
        AppendRect(out, op.rect);
        Append(out, op.format);
        Append(out, op.flags);
        break;
    case OpKind::Image: {
        kind(PictureOp::Image);
        AppendRect(out, op.rect);
        const ImageRef& shown = Shown(op.ref);
        NoteImage(shown);
        out += ',' + JsonString(ImageKey(shown));
        Append(out, shown.slot);
        Append(out, op.ref.state != 0 ? op.ref.state : op.flags);
        AppendText(out, op.ref.origin == ImageOrigin::DragImage ? op.ref.dragText : std::string());
        break;
    }
    case OpKind::Blit:
        kind(PictureOp::Blit);
        AppendRect(out, op.rect);
        Append(out, op.from.x);
        Append(out, op.from.y);
        out += ',';
        AppendList(op.content ? *op.content : DisplayList{}, out);
        break;
    }
    out += ']';
}

int PictureWriter::FontIndex(const FontInfo& font)
{
    auto found = std::find(m_fonts.begin(), m_fonts.end(), font);
    if (found != m_fonts.end())
        return static_cast<int>(found - m_fonts.begin());
    m_fonts.push_back(font);
    return static_cast<int>(m_fonts.size()) - 1;
}

void PictureWriter::NoteImage(const ImageRef& ref)
{
    std::string key = ImageKey(ref);
    if (key.empty())
        return;
    bool known = std::any_of(m_images.begin(), m_images.end(), [&](const ImageRef& seen) { return ImageKey(seen) == key; });
    if (!known)
        m_images.push_back(ref);
}

std::string PictureWriter::Fonts() const
{
    std::string out = "[";
    for (const FontInfo& font : m_fonts) {
        if (out.size() > 1)
            out += ',';
        FontMetric metric = MetricOf(font);
        out += '[' + JsonString(AnsiToUtf8(font.face)) + ',' + std::to_string(font.height) + ',' +
               std::to_string(font.weight) + ',' + (font.italic ? "true" : "false") + ',' +
               (font.underline ? "true" : "false") + ',' + std::to_string(metric.asciiWidth) + ',' +
               std::to_string(metric.wideWidth) + ',' + std::to_string(metric.height) + ']';
    }
    return out + "]";
}

} // namespace ostrana::host
