// Where the tree view's rows are: the first visible node and its row are kept, scrolling walks
// from there (or jumps through the row counts), and every rectangle and hit test is computed
// from a node's row and level.
#include <algorithm>
#include <cstdlib>

#include "platform/controls/TreeViewData.h"
#include "platform/window/Controls.h"

namespace ostrana::detail {
namespace {

constexpr int kWalkLimit = 256; // beyond this many rows a jump through the counts is cheaper

SIZE ImageSize(HIMAGELIST images) {
    int cx = 0, cy = 0;
    if (images != nullptr) ImageList_GetIconSize(images, &cx, &cy);
    return SIZE{cx, cy};
}

bool RootButtons(HWND tree) {
    DWORD style = static_cast<DWORD>(GetWindowLongPtrA(tree, GWL_STYLE));
    return (style & TVS_LINESATROOT) && (style & (TVS_HASBUTTONS | TVS_HASLINES));
}

int RowTop(const TreeViewData& data, int row) { return (row - data.topRow) * TreeItemHeight(data); }

} // namespace

int TreeItemHeight(const TreeViewData& data) {
    if (data.itemHeight > 0) return data.itemHeight;
    int text = MetricOf(ControlFont(data.font)).height + 4;
    return std::max(text, static_cast<int>(ImageSize(data.normalImages).cy) + 2);
}

int TreeVisibleRows(HWND tree, const TreeViewData& data) {
    RECT client;
    GetClientRect(tree, &client);
    return std::max(1, static_cast<int>(client.bottom) / TreeItemHeight(data));
}

void TreeSettleTop(HWND tree, TreeViewData& data) {
    if (data.topStale) {
        if (data.top != kNoNode && TreeShown(data, data.top)) data.topRow = TreeRowOf(data, data.top);
        else {
            data.top = TreeNodeAtRow(data, std::min(data.topRow, TreeTotalRows(data) - 1));
            if (data.top == kNoNode) data.topRow = 0;
        }
        data.topStale = false;
    }
    int maxTop = std::max(0, TreeTotalRows(data) - TreeVisibleRows(tree, data));
    if (data.topRow > maxTop) {
        data.topRow = maxTop;
        data.top = TreeNodeAtRow(data, maxTop);
    }
    if (data.top == kNoNode && TreeTotalRows(data) > 0) {
        data.topRow = 0;
        data.top = TreeNodeAtRow(data, 0);
    }
}

void TreeScrollToRow(HWND tree, TreeViewData& data, int row) {
    TreeSettleTop(tree, data);
    int maxTop = std::max(0, TreeTotalRows(data) - TreeVisibleRows(tree, data));
    row = std::clamp(row, 0, maxTop);
    if (row == data.topRow) return;
    if (data.edit != nullptr) TreeEndEdit(tree, data, true);
    int distance = std::abs(row - data.topRow);
    if (distance <= kWalkLimit && data.top != kNoNode) {
        int node = data.top;
        for (int step = data.topRow; step < row; ++step) node = TreeNextVisible(data, node);
        for (int step = data.topRow; step > row; --step) node = TreePreviousVisible(data, node);
        data.top = node;
    } else {
        data.top = TreeNodeAtRow(data, row);
    }
    data.topRow = row;
    TreeUpdateScrollBars(tree, data);
    Repaint(tree);
}

void TreeEnsureVisible(HWND tree, TreeViewData& data, int node) {
    TreeSettleTop(tree, data);
    if (!TreeShown(data, node)) return;
    int row = TreeRowOf(data, node);
    int visible = TreeVisibleRows(tree, data);
    if (row < data.topRow) TreeScrollToRow(tree, data, row);
    else if (row >= data.topRow + visible) TreeScrollToRow(tree, data, row - visible + 1);
}

// The bars are set without redrawing: whoever changed the position repaints what it moved.
void TreeUpdateScrollBars(HWND tree, TreeViewData& data) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = std::max(0, TreeTotalRows(data) - 1);
    info.nPage = static_cast<UINT>(TreeVisibleRows(tree, data));
    info.nPos = data.topRow;
    SetScrollInfo(tree, SB_VERT, &info, FALSE);
    RECT client;
    GetClientRect(tree, &client);
    SCROLLINFO across{};
    across.cbSize = sizeof across;
    across.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    across.nMax = std::max(0, data.contentWidth - 1);
    across.nPage = static_cast<UINT>(std::max<LONG>(0, client.right));
    across.nPos = data.scrollX;
    SetScrollInfo(tree, SB_HORZ, &across, FALSE);
}

void TreeScrollToX(HWND tree, TreeViewData& data, int x) {
    RECT client;
    GetClientRect(tree, &client);
    x = std::clamp(x, 0, std::max(0, data.contentWidth - static_cast<int>(client.right)));
    if (x == data.scrollX) return;
    if (data.edit != nullptr) TreeEndEdit(tree, data, true);
    data.scrollX = x;
    TreeUpdateScrollBars(tree, data);
    Repaint(tree);
}

int TreeContentLeft(HWND tree, const TreeViewData& data, int node) {
    int columns = TreeLevel(data, node) + (RootButtons(tree) ? 1 : 0);
    return columns * data.indent - data.scrollX + 2;
}

namespace {

int ImageLeft(HWND tree, const TreeViewData& data, int node) {
    int left = TreeContentLeft(tree, data, node);
    if (data.stateImages != nullptr && (TreeState(data, node, TVIS_STATEIMAGEMASK) != 0)) left += ImageSize(data.stateImages).cx;
    return left;
}

int LabelLeft(HWND tree, const TreeViewData& data, int node) {
    int left = ImageLeft(tree, data, node);
    if (data.normalImages != nullptr) left += ImageSize(data.normalImages).cx + 3;
    return left;
}

} // namespace

RECT TreeLabelRect(HWND tree, const TreeViewData& data, int node, int row) {
    int left = LabelLeft(tree, data, node);
    int width = TextWidth(MetricOf(ControlFont(data.font)), TreeText(tree, data, node)) + 4;
    int top = RowTop(data, row);
    return RECT{left, top, left + width, top + TreeItemHeight(data)};
}

RECT TreeButtonRect(HWND tree, const TreeViewData& data, int node, int row) {
    int center = TreeContentLeft(tree, data, node) - data.indent / 2 - 2;
    int middle = RowTop(data, row) + TreeItemHeight(data) / 2;
    return RECT{center - 4, middle - 4, center + 5, middle + 5};
}

int TreeHitTest(HWND tree, TreeViewData& data, POINT point, UINT& flags) {
    TreeSettleTop(tree, data);
    RECT client;
    GetClientRect(tree, &client);
    flags = 0;
    if (point.y < 0) flags |= TVHT_ABOVE;
    if (point.y >= client.bottom) flags |= TVHT_BELOW;
    if (point.x < 0) flags |= TVHT_TOLEFT;
    if (point.x >= client.right) flags |= TVHT_TORIGHT;
    if (flags != 0) return kNoNode;
    int offset = point.y / TreeItemHeight(data);
    int node = data.top;
    for (int step = 0; step < offset && node != kNoNode; ++step) node = TreeNextVisible(data, node);
    if (node == kNoNode) {
        flags = TVHT_NOWHERE;
        return kNoNode;
    }
    int row = data.topRow + offset;
    RECT label = TreeLabelRect(tree, data, node, row);
    int imageLeft = ImageLeft(tree, data, node);
    int contentLeft = TreeContentLeft(tree, data, node);
    DWORD style = static_cast<DWORD>(GetWindowLongPtrA(tree, GWL_STYLE));
    bool button = (style & TVS_HASBUTTONS) && (TreeLevel(data, node) > 0 || RootButtons(tree)) && TreeHasChildren(tree, data, node);
    if (point.x >= label.right) flags = TVHT_ONITEMRIGHT;
    else if (point.x >= label.left) flags = TVHT_ONITEMLABEL;
    else if (point.x >= imageLeft) flags = TVHT_ONITEMICON;
    else if (point.x >= contentLeft) flags = TVHT_ONITEMSTATEICON;
    else if (button && point.x >= contentLeft - data.indent - 2) flags = TVHT_ONITEMBUTTON;
    else flags = TVHT_ONITEMINDENT;
    return node;
}

} // namespace ostrana::detail
