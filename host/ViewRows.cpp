// Rows and items of the list and tree views for the page's accessibility tree.
#include "host/ViewRows.h"

#include <algorithm>
#include <cstring>

#include "host/MessageWriter.h"
#include "host/PictureWriter.h"
#include "platform/base/CodePage.h"
#include "platform/base/Thread.h"
#include "platform/controls/CommCtrl.h"
#include "platform/window/Messages.h"
#include "platform/window/WindowGeometry.h"

namespace ostrana::host {

namespace {

// Icon views are not scrolled by rows, so their visible items are found by rectangle; this many at
// most, so that a huge icon view costs no more than a screenful.
constexpr int kMaxScannedIcons = 400;
constexpr int kTextMax = 520;

std::string ItemText(HWND list, int item, int subItem)
{
    char buffer[kTextMax] = {};
    LVITEMA request{};
    request.iSubItem = subItem;
    request.pszText = buffer;
    request.cchTextMax = kTextMax;
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&request));
    buffer[kTextMax - 1] = 0;
    return AnsiToUtf8(buffer);
}

// The report view's columns as [{"text","width"}]; their count through `count`.
std::string Columns(HWND list, int& count)
{
    std::string out = "[";
    count = 0;
    for (;; ++count) {
        char buffer[kTextMax] = {};
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = buffer;
        column.cchTextMax = kTextMax;
        if (!SendMessageA(list, LVM_GETCOLUMNA, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(&column)))
            break;
        buffer[kTextMax - 1] = 0;
        if (count > 0)
            out += ',';
        out += "{\"text\":" + JsonString(AnsiToUtf8(buffer)) + ",\"width\":" + std::to_string(column.cx) + "}";
    }
    return out + "]";
}

std::string ListRow(HWND list, int item, int columns, const RECT& bounds)
{
    UINT state = static_cast<UINT>(
        SendMessageA(list, LVM_GETITEMSTATE, static_cast<WPARAM>(item), LVIS_SELECTED | LVIS_FOCUSED));
    std::string cells = "[";
    for (int sub = 0; sub < (columns > 0 ? columns : 1); ++sub)
        cells += (sub > 0 ? "," : "") + JsonString(ItemText(list, item, sub));
    cells += "]";
    return "{\"i\":" + std::to_string(item) + ",\"cells\":" + cells + ",\"sel\":" +
           ((state & LVIS_SELECTED) ? "true" : "false") + ",\"focus\":" + ((state & LVIS_FOCUSED) ? "true" : "false") +
           ",\"rect\":" + RectJson(bounds) + "}";
}

bool ItemBounds(HWND list, int item, RECT& bounds)
{
    bounds = RECT{LVIR_BOUNDS, 0, 0, 0};
    return SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&bounds)) != 0;
}

bool Overlaps(const RECT& a, const RECT& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

int Level(HWND tree, HTREEITEM item)
{
    int level = 0;
    for (HTREEITEM parent = TreeView_GetParent(tree, item); parent; parent = TreeView_GetParent(tree, parent))
        ++level;
    return level;
}

} // namespace

ViewFields ListViewRows(HWND list)
{
    ViewFields fields;
    bool report = (GetWindowLongPtrA(list, GWL_STYLE) & LVS_TYPEMASK) == LVS_REPORT;
    int columns = 0;
    std::string columnJson = Columns(list, columns);
    if (report)
        fields.emplace_back("columns", columnJson);
    RECT client{};
    GetClientRect(list, &client);
    int count = ListView_GetItemCount(list);
    int top = static_cast<int>(SendMessageA(list, LVM_GETTOPINDEX, 0, 0));
    int perPage = static_cast<int>(SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0));
    // Rows and lists scroll by lines: from the top index, a page and the partly shown one after it.
    // Icon views are scanned from the start.
    int first = top > 0 ? top : 0;
    int last = (report || top > 0) ? std::min(count, first + perPage + 1) : std::min(count, kMaxScannedIcons);
    std::string rows = "[";
    for (int item = first; item < last; ++item) {
        RECT bounds{};
        if (!ItemBounds(list, item, bounds) || !Overlaps(bounds, client))
            continue;
        if (rows.size() > 1)
            rows += ',';
        rows += ListRow(list, item, report ? columns : 1, bounds);
    }
    fields.emplace_back("rows", rows + "]");
    return fields;
}

ViewFields TreeViewItems(HWND tree)
{
    RECT client{};
    GetClientRect(tree, &client);
    int visible = static_cast<int>(SendMessageA(tree, TVM_GETVISIBLECOUNT, 0, 0));
    std::string items = "[";
    HTREEITEM item = TreeView_GetNextItem(tree, nullptr, TVGN_FIRSTVISIBLE);
    for (int row = 0; item && row <= visible; ++row, item = TreeView_GetNextItem(tree, item, TVGN_NEXTVISIBLE)) {
        RECT bounds{};
        std::memcpy(static_cast<void*>(&bounds), &item, sizeof item); // the item travels in the rectangle
        if (!SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&bounds)) || !Overlaps(bounds, client))
            continue;
        char buffer[kTextMax] = {};
        TVITEMA request{};
        request.mask = TVIF_TEXT | TVIF_STATE | TVIF_CHILDREN;
        request.hItem = item;
        request.stateMask = TVIS_SELECTED | TVIS_EXPANDED;
        request.pszText = buffer;
        request.cchTextMax = kTextMax;
        SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&request));
        buffer[kTextMax - 1] = 0;
        if (items.size() > 1)
            items += ',';
        items += "{\"text\":" + JsonString(AnsiToUtf8(buffer)) + ",\"level\":" + std::to_string(Level(tree, item)) +
                 ",\"expanded\":" + ((request.state & TVIS_EXPANDED) ? "true" : "false") +
                 ",\"children\":" + (request.cChildren != 0 ? "true" : "false") +
                 ",\"sel\":" + ((request.state & TVIS_SELECTED) ? "true" : "false") + ",\"rect\":" + RectJson(bounds) +
                 "}";
    }
    return {{"items", items + "]"}};
}

ViewFields ViewRowsOf(HWND window, const std::string& className)
{
    bool list = className == WC_LISTVIEWA;
    bool tree = className == WC_TREEVIEWA;
    if ((!list && !tree) || GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId())
        return {};
    return list ? ListViewRows(window) : TreeViewItems(window);
}

} // namespace ostrana::host
