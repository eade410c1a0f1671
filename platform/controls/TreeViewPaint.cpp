// Painting the tree view: one page of rows walked from the first visible node, each with its
// lines, button, state image, image with overlay and label; selection, drop highlight and focus;
// NM_CUSTOMDRAW at the paint and item stages with colours and fonts from the parent.
#include <algorithm>

#include "platform/controls/TreeViewData.h"

namespace ostrana::detail {
namespace {

struct TreePainter {
    HWND tree;
    TreeViewData& data;
    HDC dc;
    DWORD style;
    int height;

    LRESULT Custom(DWORD stage, const RECT& rect, int node, UINT itemState, int level, COLORREF& text, COLORREF& background) const {
        NMTVCUSTOMDRAW record{};
        record.nmcd.dwDrawStage = stage;
        record.nmcd.hdc = dc;
        record.nmcd.rc = rect;
        record.nmcd.dwItemSpec = reinterpret_cast<DWORD_PTR>(TreeHandle(data, node));
        record.nmcd.uItemState = itemState;
        record.nmcd.lItemlParam = node > kRootNode ? data.nodes[static_cast<std::size_t>(node)].param : 0;
        record.clrText = text;
        record.clrTextBk = background;
        record.iLevel = level;
        LRESULT answer = SendNotify(tree, NM_CUSTOMDRAW, &record.nmcd.hdr);
        text = record.clrText;
        background = record.clrTextBk;
        return answer;
    }

    void Lines(int node, int top) const {
        int middle = top + height / 2;
        int left = TreeContentLeft(tree, data, node);
        int x = left - data.indent / 2 - 2;
        bool root = TreeLevel(data, node) == 0;
        bool rootLines = (style & TVS_LINESATROOT) != 0;
        if (!root || rootLines) {
            MoveToEx(dc, x, middle, nullptr);
            LineTo(dc, left - 1, middle);
            const TreeNode& entry = data.nodes[static_cast<std::size_t>(node)];
            bool above = entry.previous != kNoNode || !root;
            MoveToEx(dc, x, above ? top : middle, nullptr);
            LineTo(dc, x, entry.next != kNoNode ? top + height : middle + 1);
        }
        // Ancestors with later siblings continue their line through this row.
        int column = x;
        for (int parent = data.nodes[static_cast<std::size_t>(node)].parent; parent > kRootNode;
             parent = data.nodes[static_cast<std::size_t>(parent)].parent) {
            column -= data.indent;
            bool parentIsRoot = TreeLevel(data, parent) == 0;
            if (data.nodes[static_cast<std::size_t>(parent)].next != kNoNode && (!parentIsRoot || rootLines)) {
                MoveToEx(dc, column, top, nullptr);
                LineTo(dc, column, top + height);
            }
        }
    }

    void Button(int node, int row) const {
        RECT box = TreeButtonRect(tree, data, node, row);
        FillRect(dc, &box, GetSysColorBrush(COLOR_WINDOW));
        FrameRect(dc, &box, GetSysColorBrush(COLOR_BTNSHADOW));
        SelectObject(dc, GetStockObject(BLACK_PEN));
        int middleY = (box.top + box.bottom) / 2;
        int middleX = (box.left + box.right) / 2;
        MoveToEx(dc, box.left + 2, middleY, nullptr);
        LineTo(dc, box.right - 2, middleY);
        if (!TreeExpanded(data, node)) {
            MoveToEx(dc, middleX, box.top + 2, nullptr);
            LineTo(dc, middleX, box.bottom - 2);
        }
    }

    void Row(int node, int row, LRESULT paintAnswer) const {
        int top = (row - data.topRow) * height;
        RECT client;
        GetClientRect(tree, &client);
        RECT line{0, top, client.right, top + height};
        UINT state = TreeState(data, node, ~0u);
        bool highlighted = (state & TVIS_DROPHILITED) ||
                           ((state & TVIS_SELECTED) && data.dropHighlight == kNoNode && (data.focused || (style & TVS_SHOWSELALWAYS)));
        COLORREF text = data.text != CLR_NONE ? data.text : GetSysColor(COLOR_WINDOWTEXT);
        COLORREF background = data.background != CLR_NONE ? data.background : GetSysColor(COLOR_WINDOW);
        if (highlighted) {
            bool strong = data.focused || (state & TVIS_DROPHILITED);
            text = GetSysColor(strong ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
            background = GetSysColor(strong ? COLOR_HIGHLIGHT : COLOR_BTNFACE);
        }
        UINT itemState = (state & TVIS_SELECTED ? CDIS_SELECTED : 0) | (data.focused && node == data.selected ? CDIS_FOCUS : 0);
        int level = TreeLevel(data, node);
        int saved = SaveDC(dc);
        HFONT bold = nullptr;
        LRESULT answer = CDRF_DODEFAULT;
        if (paintAnswer & CDRF_NOTIFYITEMDRAW) answer = Custom(CDDS_ITEMPREPAINT, line, node, itemState, level, text, background);
        if (!(answer & CDRF_SKIPDEFAULT)) {
            if (style & TVS_HASLINES) {
                HPEN pen = CreatePen(PS_DOT, 1, GetSysColor(COLOR_GRAYTEXT));
                HGDIOBJ previous = SelectObject(dc, pen);
                Lines(node, top);
                SelectObject(dc, previous);
                DeleteObject(pen);
            }
            bool buttonShown = (style & TVS_HASBUTTONS) && (level > 0 || (style & TVS_LINESATROOT)) && TreeHasChildren(tree, data, node);
            if (buttonShown) Button(node, row);
            int left = TreeContentLeft(tree, data, node);
            UINT stateImage = (state & TVIS_STATEIMAGEMASK) >> 12;
            if (data.stateImages != nullptr && stateImage > 0) {
                int cx = 0, cy = 0;
                ImageList_GetIconSize(data.stateImages, &cx, &cy);
                ImageList_Draw(data.stateImages, static_cast<int>(stateImage) - 1, dc, left, top + (height - cy) / 2, ILD_NORMAL);
                left += cx;
            }
            if (data.normalImages != nullptr) {
                int cx = 0, cy = 0;
                ImageList_GetIconSize(data.normalImages, &cx, &cy);
                int image = TreeImage(tree, data, node, (state & TVIS_SELECTED) != 0);
                UINT drawStyle = ILD_TRANSPARENT | (state & TVIS_OVERLAYMASK) | ((state & TVIS_CUT) ? ILD_BLEND50 : 0);
                if (image >= 0) ImageList_Draw(data.normalImages, image, dc, left, top + (height - cy) / 2, drawStyle);
            }
            RECT label = TreeLabelRect(tree, data, node, row);
            data.contentWidth = std::max(data.contentWidth, static_cast<int>(label.right) + data.scrollX + 2);
            if (state & TVIS_BOLD) {
                FontInfo font = SelectedFont(dc);
                LOGFONTA logical{};
                logical.lfHeight = font.height;
                logical.lfWeight = FW_BOLD;
                CopyToBuffer(font.face, logical.lfFaceName, LF_FACESIZE);
                bold = CreateFontIndirectA(&logical);
                SelectObject(dc, bold);
            }
            if (highlighted || (answer & CDRF_NEWFONT) || background != GetSysColor(COLOR_WINDOW)) {
                HBRUSH brush = CreateSolidBrush(background);
                FillRect(dc, &label, brush);
                DeleteObject(brush);
            }
            SetTextColor(dc, text);
            SetBkMode(dc, TRANSPARENT);
            std::string caption = TreeText(tree, data, node);
            RECT textRect{label.left + 2, label.top, label.right, label.bottom};
            DrawTextA(dc, caption.c_str(), -1, &textRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
            if (data.focused && node == data.selected) DrawFocusRect(dc, &label);
        }
        RestoreDC(dc, saved);
        if (bold != nullptr) DeleteObject(bold);
        if (answer & CDRF_NOTIFYPOSTPAINT) Custom(CDDS_ITEMPOSTPAINT, line, node, itemState, level, text, background);
    }
};

} // namespace

void PaintTree(HWND tree, TreeViewData& data) {
    TreeSettleTop(tree, data);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(tree, &paint);
    RECT client;
    GetClientRect(tree, &client);
    COLORREF background = data.background != CLR_NONE ? data.background : GetSysColor(COLOR_WINDOW);
    HBRUSH brush = CreateSolidBrush(background);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    SelectFont(dc, data.font);
    TreePainter painter{tree, data, dc, static_cast<DWORD>(GetWindowLongPtrA(tree, GWL_STYLE)), TreeItemHeight(data)};
    COLORREF text = data.text, back = data.background;
    LRESULT answer = painter.Custom(CDDS_PREPAINT, client, kNoNode, 0, 0, text, back);
    if (!(answer & CDRF_SKIPDEFAULT)) {
        int row = data.topRow;
        for (int node = data.top; node != kNoNode && (row - data.topRow) * painter.height < client.bottom; node = TreeNextVisible(data, node)) {
            painter.Row(node, row, answer);
            ++row;
        }
    }
    if (answer & CDRF_NOTIFYPOSTPAINT) painter.Custom(CDDS_POSTPAINT, client, kNoNode, 0, 0, text, back);
    EndPaint(tree, &paint);
    TreeUpdateScrollBars(tree, data);
}

} // namespace ostrana::detail
