// The header control's state, shared by its message, input and paint halves: items in index
// order, the display order, and what the mouse is doing. Internal to platform/controls.
#pragma once

#include <string>
#include <vector>

#include "platform/controls/ControlSupport.h"

namespace ostrana::detail {

struct HeaderItem {
    std::string text;
    int width = 0;
    int format = HDF_LEFT | HDF_STRING;
    LPARAM param = 0;
    int image = -1;
};

enum class HeaderMouse { None, Pressed, Dragging, Tracking };

struct HeaderData {
    HFONT font = nullptr;
    HIMAGELIST images = nullptr;
    std::vector<HeaderItem> items;
    std::vector<int> order; // item indexes, left to right
    HeaderMouse mouse = HeaderMouse::None;
    int mouseItem = -1;
    POINT mouseDown{};
    int dragX = 0;
    int trackStart = 0; // left edge of the item being sized
};

// Item rectangles in client coordinates, by item index.
RECT HeaderItemRect(HWND header, const HeaderData& data, int item);
// HHT_ flags and the item at a client point.
int HeaderHitTest(HWND header, const HeaderData& data, POINT point, UINT& flags);
void PaintHeader(HWND header, HeaderData& data);
void RegisterHeaderClass();

} // namespace ostrana::detail
