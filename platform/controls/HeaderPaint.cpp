// Painting the header: raised buttons in display order, the title, the image and the sort mark,
// and the drop position while an item is dragged.
#include <algorithm>

#include "platform/controls/HeaderData.h"

namespace ostrana::detail {
namespace {

constexpr int kSortMarkWidth = 9;

void DrawSortMark(HDC dc, const RECT& button, bool up) {
    int middleY = (button.top + button.bottom) / 2;
    int left = button.right - 6 - kSortMarkWidth;
    SelectObject(dc, GetStockObject(BLACK_PEN));
    for (int row = 0; row < 4; ++row) {
        int y = up ? middleY + 2 - row : middleY - 2 + row;
        MoveToEx(dc, left + row, y, nullptr);
        LineTo(dc, left + kSortMarkWidth - row, y);
    }
}

} // namespace

void PaintHeader(HWND header, HeaderData& data) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(header, &paint);
    RECT client;
    GetClientRect(header, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    SelectFont(dc, data.font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    for (int item : data.order) {
        RECT button = HeaderItemRect(header, data, item);
        if (button.right <= button.left || button.left >= client.right) continue;
        const HeaderItem& entry = data.items[static_cast<std::size_t>(item)];
        bool pressed = data.mouse == HeaderMouse::Pressed && data.mouseItem == item;
        DrawEdge(dc, &button, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
        RECT text{button.left + 6, button.top, button.right - 6, button.bottom};
        if ((entry.format & HDF_IMAGE) && data.images != nullptr && entry.image >= 0) {
            int cx = 0, cy = 0;
            ImageList_GetIconSize(data.images, &cx, &cy);
            ImageList_Draw(data.images, entry.image, dc, text.left, (button.top + button.bottom - cy) / 2, ILD_NORMAL);
            text.left += cx + 4;
        }
        bool sorted = (entry.format & (HDF_SORTUP | HDF_SORTDOWN)) != 0;
        if (sorted) text.right -= kSortMarkWidth + 6;
        if (entry.format & HDF_STRING || !entry.text.empty()) {
            UINT align = (entry.format & HDF_JUSTIFYMASK) == HDF_RIGHT ? DT_RIGHT
                         : (entry.format & HDF_JUSTIFYMASK) == HDF_CENTER ? DT_CENTER : DT_LEFT;
            DrawTextA(dc, entry.text.c_str(), -1, &text, align | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
        }
        if (sorted) DrawSortMark(dc, button, (entry.format & HDF_SORTUP) != 0);
    }
    if (data.mouse == HeaderMouse::Dragging) {
        RECT mark{data.dragX - 1, client.top, data.dragX + 1, client.bottom};
        FillRect(dc, &mark, GetSysColorBrush(COLOR_HIGHLIGHT));
    }
    EndPaint(header, &paint);
}

} // namespace ostrana::detail
