// A display list: the drawing operations a device context recorded, in order. A window's picture,
// an off-screen bitmap and the screen overlay are display lists. Each operation has a one-line
// text form, used by golden dumps and to recognise the same figure drawn twice.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/ImageRef.h"

namespace ostrana {

struct PenInfo {
    int style = 0; // PS_SOLID
    int width = 1;
    COLORREF color = 0;
    bool operator==(const PenInfo&) const = default;
};

struct BrushInfo {
    bool null = false;
    COLORREF color = 0xFFFFFF;
    bool operator==(const BrushInfo&) const = default;
};

struct FontInfo {
    std::string face; // ANSI code page
    LONG height = -12;
    LONG weight = 400;
    bool italic = false;
    bool underline = false;
    bool operator==(const FontInfo&) const = default;
};

enum class OpKind { FillRect, FrameRect, InvertRect, Rectangle, RoundRect, Ellipse, Line, Text, Edge, Image, Blit };

struct DisplayOp;
using DisplayList = std::vector<DisplayOp>;

struct DisplayOp {
    OpKind kind = OpKind::FillRect;
    RECT rect{};       // bounds, text line, image destination
    POINT from{};      // line start; blit source origin
    POINT to{};        // line end
    SIZE corner{};     // round rectangle ellipse
    PenInfo pen;
    BrushInfo brush;
    int rop2 = 13;     // R2_COPYPEN
    std::string text;  // ANSI code page
    FontInfo font;
    COLORREF textColor = 0;
    COLORREF bkColor = 0xFFFFFF;
    int bkMode = 2;    // OPAQUE
    UINT format = 0;   // DrawText format, or edge type for Edge
    UINT flags = 0;    // edge flags, image state flags (DSS_DISABLED, ILD_*)
    std::string image; // "bitmap UP_U", "icon 225", "bitmap strip[2]": the golden dumps' text
    ImageRef ref;      // the same image, structured, for renderers
    std::shared_ptr<const DisplayList> content; // what a blit copied
};

// The operations that can show inside `clip`; those wholly outside it are left out. A renderer
// still clips the ones that cross its edge.
DisplayList ClipDisplayList(const DisplayList& list, RECT clip);
// Whether ClipDisplayList would leave anything out; most pictures stay inside and need no copy.
bool ReachesOutside(const DisplayList& list, RECT clip);

// One line, without indentation or newline; colours as #RRGGBB.
std::string DescribeOp(const DisplayOp& op);
// Every operation on its own line, nested blit content indented two more spaces.
void DumpDisplayList(const DisplayList& list, int indent, std::string& out);

} // namespace ostrana
