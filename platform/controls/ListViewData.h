// The list view's state and the functions its model, layout, paint and input parts share.
// Rows hold their texts by sub-item; selection lives in ranges beside them, the focus and the
// anchor as indexes. Everything about positions is computed from the index, never stored per
// row, so the cost of painting or hit-testing does not grow with the row count.
// Internal to platform/controls.
#pragma once

#include <string>
#include <vector>

#include "platform/controls/ControlSupport.h"
#include "platform/controls/SelectionRanges.h"
#include "platform/controls/TypeAhead.h"

namespace ostrana::detail {

struct ListRow {
    std::vector<std::string> texts; // by sub-item
    UINT callbackTexts = 0;          // bit n: sub-item n answers through LVN_GETDISPINFO
    UINT ownTexts = 0;               // bit n: sub-item n was given a text of its own
    int image = 0;
    UINT state = 0; // every LVIS_ bit but selected and focused, which live in the view
    LPARAM param = 0;
    int indent = 0;
    std::vector<int> subImages; // by sub-item, with LVS_EX_SUBITEMIMAGES
};

struct ListColumn {
    int format = LVCFMT_LEFT;
    int subItem = 0;
    int image = -1;
};

enum class ListMouse { None, Left, Right };

struct ListViewData {
    HFONT font = nullptr;
    HWND header = nullptr;
    HWND edit = nullptr;
    int editItem = -1;
    HWND toolTip = nullptr;

    std::vector<ListRow> rows;
    std::vector<ListColumn> columns;
    SelectionRanges selection;
    int focus = -1;
    int anchor = -1; // the selection mark Shift extends from
    int hot = -1;
    UINT callbackMask = 0;

    HIMAGELIST normalImages = nullptr;
    HIMAGELIST smallImages = nullptr;
    HIMAGELIST stateImages = nullptr;
    COLORREF background;
    COLORREF text;
    COLORREF textBackground;
    DWORD exStyle = 0;
    int listColumnWidth = 120;

    int topLine = 0; // first visible row (report), grid row (icon views) or column (list)
    int scrollX = 0; // pixels, report view
    bool focused = false;

    ListMouse mouse = ListMouse::None;
    POINT mouseDown{};
    int mouseItem = -1;
    bool selectOnRelease = false; // a plain click on a row of a multiple selection narrows it on release
    bool editOnRelease = false;   // a plain click on the label of the only selected, focused row
    int tipItem = -1; // the cell the mouse rests on, -1 for none
    int tipSubItem = -1;
    TypeAhead typeAhead;

    ListViewData();
};

std::shared_ptr<ListViewData> ListDataOf(HWND list);
DWORD ListViewType(HWND list);
int ListCount(const ListViewData& data);

// ---- model ----
// The text of a cell, asking the parent through LVN_GETDISPINFO for callback texts.
std::string ListItemText(HWND list, const ListViewData& data, int item, int subItem);
// Keeps a cell's text, or marks it a callback for LPSTR_TEXTCALLBACKA.
void ListStoreText(ListRow& row, int subItem, LPCSTR text);
int ListItemImage(HWND list, const ListViewData& data, int item, int subItem);
UINT ListItemState(const ListViewData& data, int item, UINT mask);
// Changes state bits of one row (or of every row with item -1), with LVN_ITEMCHANGING/CHANGED.
bool ListSetItemState(HWND list, ListViewData& data, int item, UINT state, UINT mask);
// Makes `item` the focus and the only selected row; with `keepOthers` adds it to the selection.
void ListSelectOnly(HWND list, ListViewData& data, int item);
// Selects anchor..item (and clears the rest unless `keepOthers`), focus on `item`.
void ListSelectRange(HWND list, ListViewData& data, int item, bool keepOthers);
void ListClearSelection(HWND list, ListViewData& data);
void ListSetFocus(HWND list, ListViewData& data, int item);
int ListInsertItem(HWND list, ListViewData& data, const LVITEMA& item);
bool ListDeleteItem(HWND list, ListViewData& data, int item);
bool ListDeleteAll(HWND list, ListViewData& data);
bool ListSortItems(HWND list, ListViewData& data, PFNLVCOMPARE compare, LPARAM parameter);
int ListFindItem(HWND list, const ListViewData& data, int start, const LVFINDINFOA& find);
int ListNextItem(HWND list, const ListViewData& data, int start, UINT flags);
LRESULT ListNotifyItem(HWND list, UINT code, int item, int subItem, UINT newState = 0, UINT oldState = 0, UINT changed = 0,
                       POINT point = {}, LPARAM param = 0);

// ---- layout ----
int ListRowHeight(const ListViewData& data);
int ListHeaderHeight(HWND list, const ListViewData& data);
// The client area rows are drawn in (below the header).
RECT ListItemArea(HWND list, const ListViewData& data);
int ListItemsPerLine(HWND list, const ListViewData& data);
int ListLineCount(HWND list, const ListViewData& data);
// Whole lines that fit in the item area.
int ListVisibleLines(HWND list, const ListViewData& data);
// LVIR_BOUNDS, LVIR_ICON, LVIR_LABEL or LVIR_SELECTBOUNDS of a row, in client coordinates.
RECT ListItemRect(HWND list, const ListViewData& data, int item, int code);
RECT ListSubItemRect(HWND list, const ListViewData& data, int item, int subItem, int code);
int ListHitTest(HWND list, const ListViewData& data, POINT point, UINT& flags, int* subItem = nullptr);
void ListEnsureVisible(HWND list, ListViewData& data, int item, bool partialOk);
void ListScrollTo(HWND list, ListViewData& data, int line, int x);
void ListUpdateScrollBars(HWND list, ListViewData& data);
void ListLayoutHeader(HWND list, ListViewData& data);
int ListColumnWidth(const ListViewData& data, int column);
// The first and last row with any part in the item area, or first > last when none.
std::pair<int, int> ListVisibleRange(HWND list, const ListViewData& data);

// ---- paint ----
void PaintList(HWND list, ListViewData& data);

// ---- input ----
bool ListInputMessage(HWND list, ListViewData& data, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
HWND ListEditLabel(HWND list, ListViewData& data, int item);
void ListEndEdit(HWND list, ListViewData& data, bool accept);
constexpr UINT_PTR kToolTipTimer = 0x7101;
constexpr UINT_PTR kHoverTimer = 0x7103;
constexpr UINT_PTR kEditTimer = 0x7104;

void RegisterListViewClass();

} // namespace ostrana::detail
