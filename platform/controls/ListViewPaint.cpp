// Painting the list view: only the rows in the visible range, each cell with its state image,
// image, overlay and text, the selection, the focus, grid lines and the hot row; the parent
// takes part through NM_CUSTOMDRAW at the paint, item and sub-item stages.
#include <algorithm>

#include "platform/controls/ListViewData.h"

namespace ostrana::detail {
namespace {

struct CustomDraw {
    HWND list;
    HDC dc;
    LRESULT paintAnswer = CDRF_DODEFAULT;

    LRESULT Send(DWORD stage, const RECT& rect, int item, UINT itemState, LPARAM param, int subItem, COLORREF& text,
                 COLORREF& background) const {
        NMLVCUSTOMDRAW record{};
        record.nmcd.dwDrawStage = stage;
        record.nmcd.hdc = dc;
        record.nmcd.rc = rect;
        record.nmcd.dwItemSpec = static_cast<DWORD_PTR>(item);
        record.nmcd.uItemState = itemState;
        record.nmcd.lItemlParam = param;
        record.clrText = text;
        record.clrTextBk = background;
        record.iSubItem = subItem;
        LRESULT answer = SendNotify(list, NM_CUSTOMDRAW, &record.nmcd.hdr);
        text = record.clrText;
        background = record.clrTextBk;
        return answer;
    }
};

UINT DrawStyle(UINT state, bool selectedShown) {
    UINT style = ILD_TRANSPARENT | (state & LVIS_OVERLAYMASK);
    if (state & LVIS_CUT) style |= ILD_BLEND50;
    else if (selectedShown) style |= ILD_SELECTED;
    return style;
}

struct RowPaint {
    HWND list;
    ListViewData& data;
    HDC dc;
    DWORD type;
    int item;
    UINT state;
    bool selectedShown;
    bool hot;
};

void DrawText(const RowPaint& row, const std::string& text, RECT rect, UINT format, COLORREF color, COLORREF background,
              bool fill) {
    if (fill && background != CLR_NONE && background != CLR_DEFAULT) {
        HBRUSH brush = CreateSolidBrush(background);
        FillRect(row.dc, &rect, brush);
        DeleteObject(brush);
    }
    SetTextColor(row.dc, color);
    SetBkMode(row.dc, TRANSPARENT);
    HFONT underlined = nullptr;
    HGDIOBJ previous = nullptr;
    if (row.hot && (row.data.exStyle & LVS_EX_UNDERLINEHOT)) {
        FontInfo font = SelectedFont(row.dc);
        LOGFONTA logical{};
        logical.lfHeight = font.height;
        logical.lfWeight = font.weight;
        logical.lfItalic = font.italic;
        logical.lfUnderline = 1;
        CopyToBuffer(font.face, logical.lfFaceName, LF_FACESIZE);
        underlined = CreateFontIndirectA(&logical);
        previous = SelectObject(row.dc, underlined);
    }
    InflateRect(&rect, -2, 0);
    DrawTextA(row.dc, text.c_str(), -1, &rect, format | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (underlined != nullptr) {
        SelectObject(row.dc, previous);
        DeleteObject(underlined);
    }
}

UINT Alignment(int format) {
    switch (format & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_RIGHT: return DT_RIGHT;
    case LVCFMT_CENTER: return DT_CENTER;
    default: return DT_LEFT;
    }
}

void HighlightColors(const RowPaint& row, COLORREF& text, COLORREF& background) {
    if (!row.selectedShown) return;
    text = GetSysColor(row.data.focused ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    background = GetSysColor(row.data.focused ? COLOR_HIGHLIGHT : COLOR_BTNFACE);
}

void PaintFirstCell(const RowPaint& row, COLORREF text, COLORREF background) {
    HIMAGELIST images = row.type == LVS_ICON ? row.data.normalImages : row.data.smallImages;
    RECT icon = ListItemRect(row.list, row.data, row.item, LVIR_ICON);
    RECT label = ListItemRect(row.list, row.data, row.item, LVIR_LABEL);
    UINT stateImage = (row.state & LVIS_STATEIMAGEMASK) >> 12;
    if (row.data.stateImages != nullptr && stateImage > 0) {
        int cx = 16, cy = 16;
        ImageList_GetIconSize(row.data.stateImages, &cx, &cy);
        ImageList_Draw(row.data.stateImages, static_cast<int>(stateImage) - 1, row.dc, icon.left - cx - 2, icon.top, ILD_NORMAL);
    }
    int image = ListItemImage(row.list, row.data, row.item, 0);
    if (images != nullptr && image >= 0) ImageList_Draw(images, image, row.dc, icon.left, icon.top, DrawStyle(row.state, row.selectedShown));
    HighlightColors(row, text, background);
    bool fullRow = row.type == LVS_REPORT && (row.data.exStyle & LVS_EX_FULLROWSELECT);
    std::string label0 = ListItemText(row.list, row.data, row.item, 0);
    UINT format = row.type == LVS_ICON ? (DT_CENTER | DT_WORDBREAK)
                                       : (DT_SINGLELINE | DT_VCENTER | (row.type == LVS_REPORT && !row.data.columns.empty()
                                                                            ? Alignment(row.data.columns[0].format)
                                                                            : DT_LEFT));
    if (row.selectedShown && !fullRow && row.type != LVS_REPORT) {
        int width = TextWidth(MetricOf(SelectedFont(row.dc)), label0) + 4;
        if (row.type != LVS_ICON) label.right = std::min(label.right, label.left + width);
    }
    DrawText(row, label0, label, format, text, background, row.selectedShown && !fullRow);
    if (row.data.focused && row.data.focus == row.item) {
        RECT focus = fullRow ? ListItemRect(row.list, row.data, row.item, LVIR_BOUNDS) : label;
        DrawFocusRect(row.dc, &focus);
    }
}

void PaintSubItem(const RowPaint& row, std::size_t column, COLORREF text, COLORREF background) {
    const ListColumn& info = row.data.columns[column];
    RECT cell = ListSubItemRect(row.list, row.data, row.item, info.subItem, LVIR_BOUNDS);
    if (row.data.exStyle & LVS_EX_FULLROWSELECT) HighlightColors(row, text, background);
    if ((row.data.exStyle & LVS_EX_SUBITEMIMAGES) && row.data.smallImages != nullptr) {
        int image = ListItemImage(row.list, row.data, row.item, info.subItem);
        if (image >= 0) {
            RECT icon = ListSubItemRect(row.list, row.data, row.item, info.subItem, LVIR_ICON);
            ImageList_Draw(row.data.smallImages, image, row.dc, icon.left, icon.top, ILD_TRANSPARENT);
            cell.left = icon.right;
        }
    }
    DrawText(row, ListItemText(row.list, row.data, row.item, info.subItem), cell, DT_SINGLELINE | DT_VCENTER | Alignment(info.format),
             text, background, false);
}

void PaintRow(const CustomDraw& custom, const RowPaint& row) {
    LPARAM param = row.data.rows[static_cast<std::size_t>(row.item)].param;
    COLORREF text = row.data.text;
    COLORREF background = row.data.textBackground;
    RECT bounds = ListItemRect(row.list, row.data, row.item, LVIR_BOUNDS);
    UINT itemState = (row.state & LVIS_SELECTED ? CDIS_SELECTED : 0) | (row.state & LVIS_FOCUSED ? CDIS_FOCUS : 0) | (row.hot ? CDIS_HOT : 0);
    LRESULT answer = CDRF_DODEFAULT;
    int saved = SaveDC(row.dc);
    if (custom.paintAnswer & CDRF_NOTIFYITEMDRAW) {
        answer = custom.Send(CDDS_ITEMPREPAINT, bounds, row.item, itemState, param, 0, text, background);
    }
    if (!(answer & CDRF_SKIPDEFAULT)) {
        if (row.selectedShown && row.type == LVS_REPORT && (row.data.exStyle & LVS_EX_FULLROWSELECT)) {
            HBRUSH brush = GetSysColorBrush(row.data.focused ? COLOR_HIGHLIGHT : COLOR_BTNFACE);
            FillRect(row.dc, &bounds, brush);
        }
        bool subStages = (answer & CDRF_NOTIFYSUBITEMDRAW) != 0;
        std::vector<int> order(row.data.columns.size());
        if (row.type == LVS_REPORT && row.data.header != nullptr && !order.empty()) {
            SendMessageA(row.data.header, HDM_GETORDERARRAY, order.size(), reinterpret_cast<LPARAM>(order.data()));
        }
        if (row.type != LVS_REPORT || order.empty()) order.assign(1, 0);
        for (int column : order) {
            COLORREF cellText = text;
            COLORREF cellBackground = background;
            int subItem = row.type == LVS_REPORT && !row.data.columns.empty() ? row.data.columns[static_cast<std::size_t>(column)].subItem : 0;
            LRESULT cellAnswer = CDRF_DODEFAULT;
            if (subStages) {
                RECT cell = ListSubItemRect(row.list, row.data, row.item, subItem, LVIR_BOUNDS);
                cellAnswer = custom.Send(CDDS_ITEMPREPAINT | CDDS_SUBITEM, cell, row.item, itemState, param, subItem, cellText,
                                         cellBackground);
            }
            if (cellAnswer & CDRF_SKIPDEFAULT) continue;
            if (subItem == 0) PaintFirstCell(row, cellText, cellBackground);
            else PaintSubItem(row, static_cast<std::size_t>(column), cellText, cellBackground);
            if (cellAnswer & CDRF_NOTIFYPOSTPAINT) {
                RECT cell = ListSubItemRect(row.list, row.data, row.item, subItem, LVIR_BOUNDS);
                custom.Send(CDDS_ITEMPOSTPAINT | CDDS_SUBITEM, cell, row.item, itemState, param, subItem, cellText, cellBackground);
            }
        }
    }
    RestoreDC(row.dc, saved);
    if (answer & CDRF_NOTIFYPOSTPAINT) custom.Send(CDDS_ITEMPOSTPAINT, bounds, row.item, itemState, param, 0, text, background);
}

void PaintGridLines(HWND list, ListViewData& data, HDC dc) {
    RECT area = ListItemArea(list, data);
    HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNFACE));
    HGDIOBJ previous = SelectObject(dc, pen);
    int rowHeight = ListRowHeight(data);
    int rows = (Height(area) + rowHeight - 1) / rowHeight;
    for (int line = 1; line <= rows; ++line) {
        int y = area.top + line * rowHeight - 1;
        if (y >= area.bottom) break;
        MoveToEx(dc, area.left, y, nullptr);
        LineTo(dc, area.right, y);
    }
    int x = -data.scrollX;
    for (std::size_t column = 0; column < data.columns.size(); ++column) {
        x += ListColumnWidth(data, static_cast<int>(column));
        MoveToEx(dc, x - 1, area.top, nullptr);
        LineTo(dc, x - 1, area.bottom);
    }
    SelectObject(dc, previous);
    DeleteObject(pen);
}

} // namespace

void PaintList(HWND list, ListViewData& data) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(list, &paint);
    RECT client;
    GetClientRect(list, &client);
    if (data.background != CLR_NONE) {
        HBRUSH brush = CreateSolidBrush(data.background);
        FillRect(dc, &client, brush);
        DeleteObject(brush);
    }
    SelectFont(dc, data.font);
    CustomDraw custom{list, dc};
    COLORREF text = data.text, background = data.background;
    custom.paintAnswer = custom.Send(CDDS_PREPAINT, client, 0, 0, 0, 0, text, background);
    if (!(custom.paintAnswer & CDRF_SKIPDEFAULT)) {
        DWORD style = static_cast<DWORD>(GetWindowLongPtrA(list, GWL_STYLE));
        DWORD type = style & LVS_TYPEMASK;
        auto [first, last] = ListVisibleRange(list, data);
        for (int item = first; item <= last; ++item) {
            UINT state = ListItemState(data, item, ~0u);
            bool selectedShown = ((state & LVIS_SELECTED) && (data.focused || (style & LVS_SHOWSELALWAYS))) || (state & LVIS_DROPHILITED);
            RowPaint row{list, data, dc, type, item, state, selectedShown, item == data.hot};
            PaintRow(custom, row);
        }
        if (type == LVS_REPORT && (data.exStyle & LVS_EX_GRIDLINES)) PaintGridLines(list, data, dc);
    }
    if (custom.paintAnswer & CDRF_NOTIFYPOSTPAINT) custom.Send(CDDS_POSTPAINT, client, 0, 0, 0, 0, text, background);
    EndPaint(list, &paint);
}

} // namespace ostrana::detail
