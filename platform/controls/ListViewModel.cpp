// The list view's rows: texts, images, states and item data; selection, focus and the anchor;
// insertion, deletion, sorting and searching, each announced with its LVN_ notifications.
// A change that touches several rows at once (select all, clearing a multiple selection, a
// Shift range) is announced once with item -1, so its cost does not grow with the rows.
#include <algorithm>
#include <numeric>
#include <strings.h>

#include "platform/controls/ListViewData.h"

namespace ostrana::detail {

ListViewData::ListViewData()
    : background(GetSysColor(COLOR_WINDOW)), text(GetSysColor(COLOR_WINDOWTEXT)), textBackground(GetSysColor(COLOR_WINDOW)) {}

std::shared_ptr<ListViewData> ListDataOf(HWND list) {
    return WindowClassName(list) == WC_LISTVIEWA ? ControlDataAs<ListViewData>(list) : nullptr;
}

DWORD ListViewType(HWND list) { return static_cast<DWORD>(GetWindowLongPtrA(list, GWL_STYLE)) & LVS_TYPEMASK; }

int ListCount(const ListViewData& data) { return static_cast<int>(data.rows.size()); }

LRESULT ListNotifyItem(HWND list, UINT code, int item, int subItem, UINT newState, UINT oldState, UINT changed, POINT point,
                       LPARAM param) {
    NMLISTVIEW record{};
    record.iItem = item;
    record.iSubItem = subItem;
    record.uNewState = newState;
    record.uOldState = oldState;
    record.uChanged = changed;
    record.ptAction = point;
    record.lParam = param;
    return SendNotify(list, code, &record.hdr);
}

namespace {

bool Valid(const ListViewData& data, int item) { return item >= 0 && item < ListCount(data); }

LPARAM ParamOf(const ListViewData& data, int item) {
    return Valid(data, item) ? data.rows[static_cast<std::size_t>(item)].param : 0;
}

// Asks the parent for what a row leaves to it; `mask` says which of text and image.
void AskDisplayInfo(HWND list, const ListViewData& data, int item, int subItem, UINT mask, std::string* text, int* image) {
    char buffer[MAX_PATH + 1] = {};
    NMLVDISPINFOA record{};
    record.item.mask = mask;
    record.item.iItem = item;
    record.item.iSubItem = subItem;
    record.item.pszText = buffer;
    record.item.cchTextMax = static_cast<int>(sizeof buffer);
    record.item.lParam = ParamOf(data, item);
    SendNotify(list, LVN_GETDISPINFOA, &record.hdr);
    if (text != nullptr && (mask & LVIF_TEXT)) {
        *text = record.item.pszText != nullptr && record.item.pszText != LPSTR_TEXTCALLBACKA ? record.item.pszText : "";
    }
    if (image != nullptr && (mask & LVIF_IMAGE)) *image = record.item.iImage;
}

// A sub-item never given a text of its own is the owner's to answer when the label is.
bool IsCallbackText(const ListRow& row, int subItem) {
    if (subItem >= 32) return (row.callbackTexts & 1u) && static_cast<std::size_t>(subItem) >= row.texts.size();
    UINT bit = 1u << subItem;
    if (row.callbackTexts & bit) return true;
    return subItem > 0 && (row.callbackTexts & 1u) && !(row.ownTexts & bit);
}

void AnnounceChange(HWND list, ListViewData& data, int item, UINT newState, UINT oldState) {
    ListNotifyItem(list, LVN_ITEMCHANGED, item, 0, newState, oldState, LVIF_STATE, POINT{}, ParamOf(data, item));
}

void InvalidateItem(HWND list, const ListViewData& data, int item) {
    if (!Valid(data, item)) return;
    RECT bounds = ListItemRect(list, data, item, LVIR_BOUNDS);
    InvalidateRect(list, &bounds, TRUE);
}

} // namespace

std::string ListItemText(HWND list, const ListViewData& data, int item, int subItem) {
    if (!Valid(data, item) || subItem < 0) return {};
    const ListRow& row = data.rows[static_cast<std::size_t>(item)];
    if (IsCallbackText(row, subItem)) {
        std::string text;
        AskDisplayInfo(list, data, item, subItem, LVIF_TEXT, &text, nullptr);
        return text;
    }
    return static_cast<std::size_t>(subItem) < row.texts.size() ? row.texts[static_cast<std::size_t>(subItem)] : std::string();
}

int ListItemImage(HWND list, const ListViewData& data, int item, int subItem) {
    if (!Valid(data, item)) return -1;
    const ListRow& row = data.rows[static_cast<std::size_t>(item)];
    int image = subItem == 0 ? row.image
                : static_cast<std::size_t>(subItem) < row.subImages.size() ? row.subImages[static_cast<std::size_t>(subItem)] : -1;
    if (image == I_IMAGECALLBACK) AskDisplayInfo(list, data, item, subItem, LVIF_IMAGE, nullptr, &image);
    return image;
}

UINT ListItemState(const ListViewData& data, int item, UINT mask) {
    if (!Valid(data, item)) return 0;
    UINT state = data.rows[static_cast<std::size_t>(item)].state;
    if (data.selection.Contains(item)) state |= LVIS_SELECTED;
    if (data.focus == item) state |= LVIS_FOCUSED;
    return state & mask;
}

void ListSetFocus(HWND list, ListViewData& data, int item) {
    if (data.focus == item) return;
    int old = data.focus;
    if (Valid(data, old)) {
        UINT before = ListItemState(data, old, ~0u);
        data.focus = -1;
        InvalidateItem(list, data, old);
        AnnounceChange(list, data, old, before & ~LVIS_FOCUSED, before);
    }
    data.focus = -1;
    if (Valid(data, item)) {
        UINT before = ListItemState(data, item, ~0u);
        data.focus = item;
        InvalidateItem(list, data, item);
        AnnounceChange(list, data, item, before | LVIS_FOCUSED, before);
    }
}

namespace {

// Selects or deselects [first, last]; rows already so are left alone. One row is announced by
// itself, several at once with item -1.
void ChangeRange(HWND list, ListViewData& data, int first, int last, bool select) {
    first = std::max(first, 0);
    last = std::min(last, ListCount(data) - 1);
    if (first > last) return;
    int changed = 0;
    int only = -1;
    if (select) {
        // Rows in the range not yet selected.
        int at = first;
        while (at <= last && changed < 2) {
            if (!data.selection.Contains(at)) {
                ++changed;
                only = at;
                ++at;
            } else {
                auto it = std::find_if(data.selection.Ranges().begin(), data.selection.Ranges().end(),
                                       [&](const SelectionRanges::Range& range) { return range.first <= at && at <= range.last; });
                at = it->last + 1;
            }
        }
    } else {
        int next = data.selection.Next(first - 1);
        if (next >= 0 && next <= last) {
            only = next;
            changed = 1;
            int second = data.selection.Next(next);
            if (second >= 0 && second <= last) changed = 2;
        }
    }
    if (changed == 0) return;
    if (changed == 1) {
        UINT before = ListItemState(data, only, ~0u);
        UINT after = select ? before | LVIS_SELECTED : before & ~LVIS_SELECTED;
        if (ListNotifyItem(list, LVN_ITEMCHANGING, only, 0, after, before, LVIF_STATE, POINT{}, ParamOf(data, only)) != 0) return;
        if (!Valid(data, only)) return;
        if (select) data.selection.Add(only, only);
        else data.selection.Remove(only, only);
        InvalidateItem(list, data, only);
        AnnounceChange(list, data, only, after, before);
        return;
    }
    if (select) data.selection.Add(first, last);
    else data.selection.Remove(first, last);
    Repaint(list);
    AnnounceChange(list, data, -1, select ? LVIS_SELECTED : 0, select ? 0 : LVIS_SELECTED);
}

bool SingleSelection(HWND list) { return (GetWindowLongPtrA(list, GWL_STYLE) & LVS_SINGLESEL) != 0; }

} // namespace

void ListClearSelection(HWND list, ListViewData& data) {
    if (data.selection.Empty()) return;
    const auto& ranges = data.selection.Ranges();
    ChangeRange(list, data, ranges.front().first, ranges.back().last, false);
}

namespace {

// Selects and focuses one row in a single change, as a click does.
void SelectAndFocus(HWND list, ListViewData& data, int item) {
    if (data.focus != item) ListSetFocus(list, data, -1);
    UINT before = ListItemState(data, item, ~0u);
    UINT after = before | LVIS_SELECTED | LVIS_FOCUSED;
    if (after == before) return;
    if (ListNotifyItem(list, LVN_ITEMCHANGING, item, 0, after, before, LVIF_STATE, POINT{}, ParamOf(data, item)) != 0) return;
    if (!Valid(data, item)) return;
    data.selection.Add(item, item);
    data.focus = item;
    InvalidateItem(list, data, item);
    AnnounceChange(list, data, item, after, before);
}

} // namespace

void ListSelectOnly(HWND list, ListViewData& data, int item) {
    if (!Valid(data, item)) return;
    int count = ListCount(data);
    ChangeRange(list, data, 0, item - 1, false);
    ChangeRange(list, data, item + 1, count - 1, false);
    SelectAndFocus(list, data, item);
    data.anchor = item;
}

void ListSelectRange(HWND list, ListViewData& data, int item, bool keepOthers) {
    if (!Valid(data, item)) return;
    int anchor = Valid(data, data.anchor) ? data.anchor : item;
    if (SingleSelection(list)) {
        ListSelectOnly(list, data, item);
        return;
    }
    int first = std::min(anchor, item);
    int last = std::max(anchor, item);
    if (!keepOthers) {
        ChangeRange(list, data, 0, first - 1, false);
        ChangeRange(list, data, last + 1, ListCount(data) - 1, false);
    }
    ChangeRange(list, data, first, last, true);
    ListSetFocus(list, data, item);
    data.anchor = anchor;
}

bool ListSetItemState(HWND list, ListViewData& data, int item, UINT state, UINT mask) {
    if (item == -1) {
        if (mask & LVIS_SELECTED) {
            if ((state & LVIS_SELECTED) && !SingleSelection(list)) ChangeRange(list, data, 0, ListCount(data) - 1, true);
            else if (!(state & LVIS_SELECTED)) ListClearSelection(list, data);
        }
        if ((mask & LVIS_FOCUSED) && !(state & LVIS_FOCUSED)) ListSetFocus(list, data, -1);
        UINT rest = mask & ~static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED);
        if (rest != 0) {
            for (ListRow& row : data.rows) row.state = (row.state & ~rest) | (state & rest);
            Repaint(list);
        }
        return true;
    }
    if (!Valid(data, item)) return false;
    if (mask & LVIS_SELECTED) {
        bool select = (state & LVIS_SELECTED) != 0;
        if (select && SingleSelection(list)) {
            ChangeRange(list, data, 0, item - 1, false);
            ChangeRange(list, data, item + 1, ListCount(data) - 1, false);
        }
        ChangeRange(list, data, item, item, select);
    }
    if (mask & LVIS_FOCUSED) {
        if (state & LVIS_FOCUSED) ListSetFocus(list, data, item);
        else if (data.focus == item) ListSetFocus(list, data, -1);
    }
    UINT rest = mask & ~static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED);
    if (rest != 0 && Valid(data, item)) {
        UINT stored = data.rows[static_cast<std::size_t>(item)].state;
        UINT before = ListItemState(data, item, ~0u);
        UINT next = (stored & ~rest) | (state & rest);
        if (next != stored) {
            UINT after = (before & ~rest) | (state & rest);
            if (ListNotifyItem(list, LVN_ITEMCHANGING, item, 0, after, before, LVIF_STATE, POINT{}, ParamOf(data, item)) != 0) return false;
            // The parent may have changed the rows while it was asked.
            if (!Valid(data, item)) return false;
            data.rows[static_cast<std::size_t>(item)].state = next;
            InvalidateItem(list, data, item);
            AnnounceChange(list, data, item, after, before);
        }
    }
    return true;
}

void ListStoreText(ListRow& row, int subItem, LPCSTR text) {
    if (subItem < 0) return;
    UINT bit = subItem < 32 ? 1u << subItem : 0;
    if (text == LPSTR_TEXTCALLBACKA) {
        row.callbackTexts |= bit;
        row.ownTexts &= ~bit;
        return;
    }
    row.callbackTexts &= ~bit;
    row.ownTexts |= bit;
    if (row.texts.size() <= static_cast<std::size_t>(subItem)) row.texts.resize(static_cast<std::size_t>(subItem) + 1);
    row.texts[static_cast<std::size_t>(subItem)] = text != nullptr ? text : "";
}

namespace {

int SortedPosition(HWND list, const ListViewData& data, const std::string& text) {
    DWORD style = static_cast<DWORD>(GetWindowLongPtrA(list, GWL_STYLE));
    bool descending = (style & LVS_SORTDESCENDING) != 0;
    auto before = [&](int index) {
        int order = ::strcasecmp(data.rows[static_cast<std::size_t>(index)].texts.empty() ? "" : data.rows[static_cast<std::size_t>(index)].texts[0].c_str(), text.c_str());
        return descending ? order >= 0 : order <= 0;
    };
    int low = 0, high = ListCount(data);
    while (low < high) {
        int middle = (low + high) / 2;
        if (before(middle)) low = middle + 1;
        else high = middle;
    }
    return low;
}

} // namespace

int ListInsertItem(HWND list, ListViewData& data, const LVITEMA& item) {
    if (item.iSubItem != 0) return -1;
    ListRow row;
    if (item.mask & LVIF_TEXT) ListStoreText(row, 0, item.pszText);
    if (item.mask & LVIF_IMAGE) row.image = item.iImage;
    if (item.mask & LVIF_PARAM) row.param = item.lParam;
    if (item.mask & LVIF_INDENT) row.indent = item.iIndent;
    if (item.mask & LVIF_STATE) row.state = item.state & item.stateMask & ~static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED);
    int index = std::clamp(item.iItem, 0, ListCount(data));
    DWORD style = static_cast<DWORD>(GetWindowLongPtrA(list, GWL_STYLE));
    if ((style & (LVS_SORTASCENDING | LVS_SORTDESCENDING)) && !(row.callbackTexts & 1u)) {
        index = SortedPosition(list, data, row.texts.empty() ? std::string() : row.texts[0]);
    }
    data.rows.insert(data.rows.begin() + index, std::move(row));
    data.selection.Insert(index);
    for (int* tracked : {&data.focus, &data.anchor, &data.hot, &data.editItem, &data.mouseItem}) {
        if (*tracked >= index) ++*tracked;
    }
    ListNotifyItem(list, LVN_INSERTITEM, index, 0);
    if (item.mask & LVIF_STATE) {
        UINT wanted = item.state & item.stateMask & (LVIS_SELECTED | LVIS_FOCUSED);
        if (wanted != 0) ListSetItemState(list, data, index, wanted, item.stateMask & (LVIS_SELECTED | LVIS_FOCUSED));
    }
    ListUpdateScrollBars(list, data);
    Repaint(list);
    return index;
}

namespace {

void ForgetRow(ListViewData& data, int index) {
    data.rows.erase(data.rows.begin() + index);
    data.selection.Erase(index);
    for (int* tracked : {&data.focus, &data.anchor, &data.hot, &data.mouseItem}) {
        if (*tracked == index) *tracked = -1;
        else if (*tracked > index) --*tracked;
    }
}

} // namespace

bool ListDeleteItem(HWND list, ListViewData& data, int item) {
    if (!Valid(data, item)) return false;
    if (data.editItem == item) ListEndEdit(list, data, false);
    ListNotifyItem(list, LVN_DELETEITEM, item, 0, 0, 0, 0, POINT{}, ParamOf(data, item));
    if (!Valid(data, item)) return false; // the parent deleted rows itself meanwhile
    ForgetRow(data, item);
    if (data.editItem > item) --data.editItem;
    int maxTop = std::max(0, ListLineCount(list, data) - ListVisibleLines(list, data));
    data.topLine = std::min(data.topLine, maxTop);
    ListUpdateScrollBars(list, data);
    Repaint(list);
    return true;
}

bool ListDeleteAll(HWND list, ListViewData& data) {
    if (data.edit != nullptr) ListEndEdit(list, data, false);
    // A non-zero answer to LVN_DELETEALLITEMS spares the parent one LVN_DELETEITEM per row.
    bool each = ListNotifyItem(list, LVN_DELETEALLITEMS, -1, 0) == 0;
    if (each) {
        for (int item = 0; item < ListCount(data); ++item) {
            ListNotifyItem(list, LVN_DELETEITEM, item, 0, 0, 0, 0, POINT{}, data.rows[static_cast<std::size_t>(item)].param);
        }
    }
    data.rows.clear();
    data.selection.Clear();
    data.focus = data.anchor = data.hot = data.mouseItem = -1;
    data.topLine = 0;
    data.mouse = ListMouse::None;
    ListUpdateScrollBars(list, data);
    Repaint(list);
    return true;
}

bool ListSortItems(HWND list, ListViewData& data, PFNLVCOMPARE compare, LPARAM parameter) {
    if (compare == nullptr) return false;
    if (data.edit != nullptr) ListEndEdit(list, data, false);
    int count = ListCount(data);
    std::vector<int> order(static_cast<std::size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int left, int right) {
        return compare(data.rows[static_cast<std::size_t>(left)].param, data.rows[static_cast<std::size_t>(right)].param, parameter) < 0;
    });
    std::vector<ListRow> rows;
    rows.reserve(data.rows.size());
    SelectionRanges selection;
    int focus = -1, anchor = -1;
    for (int position = 0; position < count; ++position) {
        int from = order[static_cast<std::size_t>(position)];
        rows.push_back(std::move(data.rows[static_cast<std::size_t>(from)]));
        if (data.selection.Contains(from)) selection.Add(position, position);
        if (data.focus == from) focus = position;
        if (data.anchor == from) anchor = position;
    }
    data.rows = std::move(rows);
    data.selection = std::move(selection);
    data.focus = focus;
    data.anchor = anchor;
    data.hot = -1;
    Repaint(list);
    return true;
}

int ListFindItem(HWND list, const ListViewData& data, int start, const LVFINDINFOA& find) {
    int count = ListCount(data);
    std::string wanted = find.psz != nullptr ? find.psz : "";
    auto matches = [&](int item) {
        if (find.flags & LVFI_PARAM) return data.rows[static_cast<std::size_t>(item)].param == find.lParam;
        std::string text = ListItemText(list, data, item, 0);
        if (find.flags & LVFI_PARTIAL) return ::strncasecmp(text.c_str(), wanted.c_str(), wanted.size()) == 0;
        return ::strcasecmp(text.c_str(), wanted.c_str()) == 0;
    };
    for (int item = std::max(start + 1, 0); item < count; ++item) {
        if (matches(item)) return item;
    }
    if (find.flags & LVFI_WRAP) {
        for (int item = 0; item <= start && item < count; ++item) {
            if (matches(item)) return item;
        }
    }
    return -1;
}

int ListNextItem(HWND list, const ListViewData& data, int start, UINT flags) {
    int count = ListCount(data);
    UINT direction = flags & (LVNI_ABOVE | LVNI_BELOW | LVNI_TOLEFT | LVNI_TORIGHT);
    if (direction != 0) {
        if (!Valid(data, start)) return -1;
        int perLine = ListItemsPerLine(list, data);
        bool listView = ListViewType(list) == LVS_LIST;
        int step = 0;
        if (direction & LVNI_ABOVE) step = listView ? -1 : -perLine;
        if (direction & LVNI_BELOW) step = listView ? 1 : perLine;
        if (direction & LVNI_TOLEFT) step = listView ? -perLine : -1;
        if (direction & LVNI_TORIGHT) step = listView ? perLine : 1;
        if (ListViewType(list) == LVS_REPORT && (direction & (LVNI_TOLEFT | LVNI_TORIGHT))) return -1;
        int next = start + step;
        return Valid(data, next) ? next : -1;
    }
    UINT wanted = flags & (LVNI_SELECTED | LVNI_FOCUSED | LVNI_CUT | LVNI_DROPHILITED);
    if (wanted == 0) return start + 1 < count ? start + 1 : -1;
    if (wanted == LVNI_FOCUSED) return data.focus > start ? data.focus : -1;
    auto has = [&](int item) {
        UINT state = ListItemState(data, item, ~0u);
        return ((wanted & LVNI_SELECTED) == 0 || (state & LVIS_SELECTED)) && ((wanted & LVNI_FOCUSED) == 0 || (state & LVIS_FOCUSED)) &&
               ((wanted & LVNI_CUT) == 0 || (state & LVIS_CUT)) && ((wanted & LVNI_DROPHILITED) == 0 || (state & LVIS_DROPHILITED));
    };
    if (wanted & LVNI_SELECTED) {
        // Walk only the selected rows.
        for (int item = data.selection.Next(start); item >= 0; item = data.selection.Next(item)) {
            if (has(item)) return item;
        }
        return -1;
    }
    for (int item = std::max(start + 1, 0); item < count; ++item) {
        if (has(item)) return item;
    }
    return -1;
}

} // namespace ostrana::detail
