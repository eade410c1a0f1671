// Where the list view's rows are: every position, hit test and visible range is computed from
// the row index, the view type, the scroll position and the cell size. Report and the icon
// views stack lines of rows vertically; the list view flows rows into columns side by side.
#include <algorithm>

#include "platform/controls/ListViewData.h"
#include "platform/window/Controls.h"

namespace ostrana::detail {
namespace {

constexpr int kIconCellWidth = 76;
constexpr int kSmallCellWidth = 120;
constexpr int kLabelGap = 2;

SIZE ImageSize(HIMAGELIST images, int fallback) {
    int cx = fallback, cy = fallback;
    if (images != nullptr) ImageList_GetIconSize(images, &cx, &cy);
    return SIZE{cx, cy};
}

int TextHeight(const ListViewData& data) { return MetricOf(ControlFont(data.font)).height; }

int IconCellHeight(const ListViewData& data) { return ImageSize(data.normalImages, 32).cy + 6 + 2 * TextHeight(data) + 4; }

SIZE CellSize(HWND list, const ListViewData& data) {
    switch (ListViewType(list)) {
    case LVS_ICON: return SIZE{kIconCellWidth, IconCellHeight(data)};
    case LVS_SMALLICON: return SIZE{kSmallCellWidth, ListRowHeight(data)};
    case LVS_LIST: return SIZE{data.listColumnWidth, ListRowHeight(data)};
    default: {
        int width = 0;
        for (std::size_t column = 0; column < data.columns.size(); ++column) width += ListColumnWidth(data, static_cast<int>(column));
        return SIZE{width, ListRowHeight(data)};
    }
    }
}

int StateImageWidth(const ListViewData& data, int item) {
    if (data.stateImages == nullptr) return 0;
    if (item >= 0 && (ListItemState(data, item, LVIS_STATEIMAGEMASK) == 0)) return 0;
    return ImageSize(data.stateImages, 16).cx;
}

// A column's cell in report view, wherever the header shows it.
RECT ReportColumnRect(const ListViewData& data, int column, int top) {
    RECT rect{};
    if (data.header != nullptr) SendMessageA(data.header, HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&rect));
    return RECT{rect.left - data.scrollX, top, rect.right - data.scrollX, top + ListRowHeight(data)};
}

} // namespace

int ListRowHeight(const ListViewData& data) {
    return std::max(TextHeight(data) + 4, ImageSize(data.smallImages, 16).cy + 2);
}

int ListColumnWidth(const ListViewData& data, int column) {
    if (data.header == nullptr) return 0;
    HDITEMA item{};
    item.mask = HDI_WIDTH;
    if (!SendMessageA(data.header, HDM_GETITEMA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item))) return 0;
    return item.cxy;
}

int ListHeaderHeight(HWND list, const ListViewData& data) {
    if (ListViewType(list) != LVS_REPORT || data.header == nullptr || !IsWindowVisible(data.header)) return 0;
    RECT rect;
    GetWindowRect(data.header, &rect);
    return rect.bottom - rect.top;
}

RECT ListItemArea(HWND list, const ListViewData& data) {
    RECT client;
    GetClientRect(list, &client);
    client.top = std::min(client.bottom, client.top + ListHeaderHeight(list, data));
    return client;
}

int ListItemsPerLine(HWND list, const ListViewData& data) {
    RECT area = ListItemArea(list, data);
    SIZE cell = CellSize(list, data);
    switch (ListViewType(list)) {
    case LVS_ICON:
    case LVS_SMALLICON: return std::max(1, static_cast<int>(Width(area) / std::max<LONG>(1, cell.cx)));
    case LVS_LIST: return std::max(1, static_cast<int>(Height(area) / std::max<LONG>(1, cell.cy)));
    default: return 1;
    }
}

int ListLineCount(HWND list, const ListViewData& data) {
    int perLine = ListItemsPerLine(list, data);
    return (ListCount(data) + perLine - 1) / perLine;
}

int ListVisibleLines(HWND list, const ListViewData& data) {
    RECT area = ListItemArea(list, data);
    SIZE cell = CellSize(list, data);
    if (ListViewType(list) == LVS_LIST) return std::max(1, static_cast<int>(Width(area) / std::max<LONG>(1, cell.cx)));
    return std::max(1, static_cast<int>(Height(area) / std::max<LONG>(1, cell.cy)));
}

std::pair<int, int> ListVisibleRange(HWND list, const ListViewData& data) {
    RECT area = ListItemArea(list, data);
    SIZE cell = CellSize(list, data);
    int perLine = ListItemsPerLine(list, data);
    int span = ListViewType(list) == LVS_LIST ? static_cast<int>(Width(area)) : static_cast<int>(Height(area));
    int cellSpan = ListViewType(list) == LVS_LIST ? static_cast<int>(cell.cx) : static_cast<int>(cell.cy);
    int lines = (span + std::max(1, cellSpan) - 1) / std::max(1, cellSpan);
    int first = data.topLine * perLine;
    int last = std::min(ListCount(data) - 1, (data.topLine + lines) * perLine - 1);
    return {first, last};
}

RECT ListItemRect(HWND list, const ListViewData& data, int item, int code) {
    RECT area = ListItemArea(list, data);
    SIZE cell = CellSize(list, data);
    int perLine = ListItemsPerLine(list, data);
    int line = item / perLine;
    int position = item % perLine;
    DWORD type = ListViewType(list);
    int textHeight = TextHeight(data);
    if (type == LVS_REPORT) {
        int top = area.top + (item - data.topLine) * cell.cy;
        RECT bounds{-data.scrollX, top, -data.scrollX + cell.cx, top + cell.cy};
        RECT column0 = ReportColumnRect(data, 0, top);
        int left = column0.left + StateImageWidth(data, item) + kLabelGap;
        SIZE icon = data.smallImages != nullptr ? ImageSize(data.smallImages, 16) : SIZE{0, 16};
        left += item >= 0 && item < ListCount(data) ? data.rows[static_cast<std::size_t>(item)].indent * icon.cx : 0;
        RECT iconRect{left, top + (cell.cy - icon.cy) / 2, left + icon.cx, top + (cell.cy - icon.cy) / 2 + icon.cy};
        RECT label{iconRect.right + kLabelGap, top, std::max(column0.right, iconRect.right + kLabelGap), top + cell.cy};
        switch (code) {
        case LVIR_ICON: return iconRect;
        case LVIR_LABEL: return label;
        case LVIR_SELECTBOUNDS: {
            if (data.exStyle & LVS_EX_FULLROWSELECT) return bounds;
            return RECT{iconRect.left, top, label.right, top + cell.cy};
        }
        default: return bounds;
        }
    }
    int left = 0, top = 0;
    if (type == LVS_LIST) {
        left = area.left + (line - data.topLine) * cell.cx;
        top = area.top + position * cell.cy;
    } else {
        left = area.left + position * cell.cx;
        top = area.top + (line - data.topLine) * cell.cy;
    }
    RECT bounds{left, top, left + cell.cx, top + cell.cy};
    if (type == LVS_ICON) {
        SIZE icon = ImageSize(data.normalImages, 32);
        RECT iconRect{left + (cell.cx - icon.cx) / 2, top + 2, left + (cell.cx - icon.cx) / 2 + icon.cx, top + 2 + icon.cy};
        RECT label{left + 2, iconRect.bottom + 4, left + cell.cx - 2, iconRect.bottom + 4 + 2 * textHeight};
        if (code == LVIR_ICON) return iconRect;
        if (code == LVIR_LABEL) return label;
        return bounds;
    }
    SIZE icon = ImageSize(data.smallImages, 16);
    int iconLeft = left + StateImageWidth(data, item) + kLabelGap;
    RECT iconRect{iconLeft, top + (cell.cy - icon.cy) / 2, iconLeft + icon.cx, top + (cell.cy - icon.cy) / 2 + icon.cy};
    // A callback label is as wide as the text its owner answers, like any other.
    int textWidth = TextWidth(MetricOf(ControlFont(data.font)), ListItemText(list, data, item, 0));
    RECT label{iconRect.right + kLabelGap, top,
               std::min(static_cast<int>(bounds.right), static_cast<int>(iconRect.right) + kLabelGap + textWidth + 4), top + cell.cy};
    if (code == LVIR_ICON) return iconRect;
    if (code == LVIR_LABEL) return label;
    if (code == LVIR_SELECTBOUNDS) return RECT{iconRect.left, top, label.right, bounds.bottom};
    return RECT{bounds.left, bounds.top, label.right, bounds.bottom};
}

RECT ListSubItemRect(HWND list, const ListViewData& data, int item, int subItem, int code) {
    if (subItem == 0 || ListViewType(list) != LVS_REPORT) return ListItemRect(list, data, item, code == LVIR_ICON ? LVIR_ICON : LVIR_LABEL);
    int column = -1;
    for (std::size_t index = 0; index < data.columns.size(); ++index) {
        if (data.columns[index].subItem == subItem) column = static_cast<int>(index);
    }
    RECT area = ListItemArea(list, data);
    int top = area.top + (item - data.topLine) * ListRowHeight(data);
    RECT cell = ReportColumnRect(data, column < 0 ? subItem : column, top);
    if (code == LVIR_ICON) {
        SIZE icon = ImageSize(data.smallImages, 16);
        return RECT{cell.left + kLabelGap, top + (Height(cell) - icon.cy) / 2, cell.left + kLabelGap + icon.cx,
                    top + (Height(cell) - icon.cy) / 2 + icon.cy};
    }
    return cell;
}

int ListHitTest(HWND list, const ListViewData& data, POINT point, UINT& flags, int* subItem) {
    RECT area = ListItemArea(list, data);
    if (subItem != nullptr) *subItem = -1;
    flags = 0;
    if (point.y < area.top) flags |= LVHT_ABOVE;
    if (point.y >= area.bottom) flags |= LVHT_BELOW;
    if (point.x < area.left) flags |= LVHT_TOLEFT;
    if (point.x >= area.right) flags |= LVHT_TORIGHT;
    if (flags != 0) return -1;
    SIZE cell = CellSize(list, data);
    int perLine = ListItemsPerLine(list, data);
    DWORD type = ListViewType(list);
    int item = -1;
    if (type == LVS_REPORT) {
        item = data.topLine + (point.y - area.top) / std::max<LONG>(1, cell.cy);
    } else if (type == LVS_LIST) {
        int line = data.topLine + (point.x - area.left) / std::max<LONG>(1, cell.cx);
        int position = (point.y - area.top) / std::max<LONG>(1, cell.cy);
        item = position < perLine ? line * perLine + position : -1;
    } else {
        int line = data.topLine + (point.y - area.top) / std::max<LONG>(1, cell.cy);
        int position = (point.x - area.left) / std::max<LONG>(1, cell.cx);
        item = position < perLine ? line * perLine + position : -1;
    }
    if (item < 0 || item >= ListCount(data)) {
        flags = LVHT_NOWHERE;
        return -1;
    }
    if (subItem != nullptr) {
        *subItem = 0;
        if (type == LVS_REPORT) {
            for (std::size_t column = 0; column < data.columns.size(); ++column) {
                RECT rect = ReportColumnRect(data, static_cast<int>(column), 0);
                if (point.x >= rect.left && point.x < rect.right) *subItem = data.columns[column].subItem;
            }
        }
    }
    RECT icon = ListItemRect(list, data, item, LVIR_ICON);
    RECT label = ListItemRect(list, data, item, LVIR_LABEL);
    int stateWidth = StateImageWidth(data, item);
    if (PtInRect(&icon, point)) flags = LVHT_ONITEMICON;
    else if (PtInRect(&label, point)) flags = LVHT_ONITEMLABEL;
    else if (stateWidth > 0 && point.x >= icon.left - stateWidth - kLabelGap && point.x < icon.left) flags = LVHT_ONITEMSTATEICON;
    else if (type == LVS_REPORT && (data.exStyle & LVS_EX_FULLROWSELECT)) {
        RECT bounds = ListItemRect(list, data, item, LVIR_BOUNDS);
        flags = PtInRect(&bounds, point) ? LVHT_ONITEMLABEL : LVHT_NOWHERE;
    } else {
        flags = LVHT_NOWHERE;
    }
    return flags == LVHT_NOWHERE ? -1 : item;
}

void ListScrollTo(HWND list, ListViewData& data, int line, int x) {
    int maxTop = std::max(0, ListLineCount(list, data) - ListVisibleLines(list, data));
    line = std::clamp(line, 0, maxTop);
    int maxX = 0;
    if (ListViewType(list) == LVS_REPORT) {
        RECT client;
        GetClientRect(list, &client);
        maxX = std::max(0, static_cast<int>(CellSize(list, data).cx - client.right));
    }
    x = std::clamp(x, 0, maxX);
    if (line == data.topLine && x == data.scrollX) return;
    if (data.edit != nullptr) ListEndEdit(list, data, true);
    data.topLine = line;
    bool moved = x != data.scrollX;
    data.scrollX = x;
    if (moved) ListLayoutHeader(list, data);
    ListUpdateScrollBars(list, data);
    Repaint(list);
}

void ListEnsureVisible(HWND list, ListViewData& data, int item, bool partialOk) {
    if (item < 0 || item >= ListCount(data)) return;
    int line = item / ListItemsPerLine(list, data);
    int visible = ListVisibleLines(list, data);
    int top = data.topLine;
    if (line < top) top = line;
    else if (line >= top + visible && !(partialOk && line == top + visible)) top = line - visible + 1;
    ListScrollTo(list, data, top, data.scrollX);
}

void ListUpdateScrollBars(HWND list, ListViewData& data) {
    if (GetWindowLongPtrA(list, GWL_STYLE) & LVS_NOSCROLL) return;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = std::max(0, ListLineCount(list, data) - 1);
    info.nPage = static_cast<UINT>(ListVisibleLines(list, data));
    info.nPos = data.topLine;
    bool horizontalLines = ListViewType(list) == LVS_LIST;
    SetScrollInfo(list, horizontalLines ? SB_HORZ : SB_VERT, &info, FALSE);
    if (ListViewType(list) == LVS_REPORT) {
        RECT client;
        GetClientRect(list, &client);
        SCROLLINFO across{};
        across.cbSize = sizeof across;
        across.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        across.nMax = std::max(0, static_cast<int>(CellSize(list, data).cx) - 1);
        across.nPage = static_cast<UINT>(std::max<LONG>(0, client.right));
        across.nPos = data.scrollX;
        SetScrollInfo(list, SB_HORZ, &across, FALSE);
    }
}

void ListLayoutHeader(HWND list, ListViewData& data) {
    if (data.header == nullptr) return;
    DWORD style = static_cast<DWORD>(GetWindowLongPtrA(list, GWL_STYLE));
    bool shown = ListViewType(list) == LVS_REPORT && !(style & LVS_NOCOLUMNHEADER);
    RECT client;
    GetClientRect(list, &client);
    RECT area = client;
    WINDOWPOS position{};
    HDLAYOUT layout{&area, &position};
    SendMessageA(data.header, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout));
    int width = std::max(static_cast<int>(client.right) + data.scrollX, static_cast<int>(CellSize(list, data).cx));
    RECT now;
    GetWindowRect(data.header, &now);
    POINT origin{now.left, now.top};
    ScreenToClient(list, &origin);
    if (origin.x != -data.scrollX || origin.y != 0 || Width(now) != width || Height(now) != position.cy) {
        SetWindowPos(data.header, nullptr, -data.scrollX, 0, width, position.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if ((IsWindowVisible(data.header) != FALSE) != shown) ShowWindow(data.header, shown ? SW_SHOWNA : SW_HIDE);
}

} // namespace ostrana::detail
