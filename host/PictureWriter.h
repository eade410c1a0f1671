// Turns display lists into the page's compact operation arrays. The fonts the text operations use
// are gathered into one table per picture, so each text names its font by index.
#pragma once

#include <string>
#include <vector>

#include "platform/gdi/DisplayList.h"

namespace ostrana::host {

class PictureWriter {
public:
    // The operations as a JSON array, blits' contents nested.
    std::string Ops(const DisplayList& list);
    // Every font the written operations used, in order of first use, with its fixed metric.
    std::string Fonts() const;
    // The images the written operations named, each once, in order of first use.
    const std::vector<ImageRef>& Images() const { return m_images; }

private:
    void AppendList(const DisplayList& list, std::string& out);
    void AppendOp(const DisplayOp& op, std::string& out);
    int FontIndex(const FontInfo& font);
    void NoteImage(const ImageRef& ref);

    std::vector<FontInfo> m_fonts;
    std::vector<ImageRef> m_images;
};

// COLORREF (0x00BBGGRR) as the page's 0xRRGGBB.
long long PageColor(COLORREF color);
// [left,top,right,bottom]
std::string RectJson(const RECT& rect);

} // namespace ostrana::host
