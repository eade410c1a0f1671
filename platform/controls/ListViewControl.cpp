// The list view's window procedure: creation with its header, the LVM_ messages, and the
// header's notifications turned into column clicks, sizing and reordering.
#include <algorithm>
#include <cstring>

#include "platform/controls/ListViewData.h"
#include "platform/window/Cursor.h"

namespace ostrana::detail {
namespace {

bool ValidItem(const ListViewData& data, int item) { return item >= 0 && item < ListCount(data); }

LRESULT GetItem(HWND list, ListViewData& data, LVITEMA* item) {
    if (item == nullptr || !ValidItem(data, item->iItem)) return FALSE;
    const ListRow& row = data.rows[static_cast<std::size_t>(item->iItem)];
    if (item->mask & LVIF_TEXT) CopyToBuffer(ListItemText(list, data, item->iItem, item->iSubItem), item->pszText, item->cchTextMax);
    if (item->mask & LVIF_IMAGE) item->iImage = ListItemImage(list, data, item->iItem, item->iSubItem);
    if (item->mask & LVIF_STATE) item->state = ListItemState(data, item->iItem, item->stateMask);
    if (item->mask & LVIF_PARAM) item->lParam = row.param;
    if (item->mask & LVIF_INDENT) item->iIndent = row.indent;
    return TRUE;
}

LRESULT SetItem(HWND list, ListViewData& data, const LVITEMA* item) {
    if (item == nullptr || !ValidItem(data, item->iItem) || item->iSubItem < 0) return FALSE;
    ListRow& row = data.rows[static_cast<std::size_t>(item->iItem)];
    if (item->mask & LVIF_TEXT) ListStoreText(row, item->iSubItem, item->pszText);
    if (item->mask & LVIF_IMAGE) {
        if (item->iSubItem == 0) row.image = item->iImage;
        else {
            if (row.subImages.size() <= static_cast<std::size_t>(item->iSubItem)) row.subImages.resize(static_cast<std::size_t>(item->iSubItem) + 1, -1);
            row.subImages[static_cast<std::size_t>(item->iSubItem)] = item->iImage;
        }
    }
    if (item->mask & LVIF_PARAM) row.param = item->lParam;
    if (item->mask & LVIF_INDENT) row.indent = item->iIndent;
    if ((item->mask & LVIF_STATE) && item->iSubItem == 0) ListSetItemState(list, data, item->iItem, item->state, item->stateMask);
    RECT bounds = ListItemRect(list, data, item->iItem, LVIR_BOUNDS);
    InvalidateRect(list, &bounds, TRUE);
    return TRUE;
}

int InsertColumn(HWND list, ListViewData& data, int index, const LVCOLUMNA* column) {
    if (column == nullptr || data.header == nullptr) return -1;
    index = std::clamp(index, 0, static_cast<int>(data.columns.size()));
    ListColumn info;
    info.format = (column->mask & LVCF_FMT) ? column->fmt : LVCFMT_LEFT;
    info.subItem = (column->mask & LVCF_SUBITEM) ? column->iSubItem : index;
    info.image = (column->mask & LVCF_IMAGE) ? column->iImage : -1;
    HDITEMA item{};
    item.mask = HDI_FORMAT | HDI_WIDTH | HDI_TEXT;
    item.fmt = HDF_STRING | (info.format & LVCFMT_JUSTIFYMASK);
    item.cxy = (column->mask & LVCF_WIDTH) ? column->cx : 0;
    item.pszText = (column->mask & LVCF_TEXT) ? column->pszText : const_cast<LPSTR>("");
    if (column->mask & LVCF_ORDER) {
        item.mask |= HDI_ORDER;
        item.iOrder = column->iOrder;
    }
    int at = static_cast<int>(SendMessageA(data.header, HDM_INSERTITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
    if (at < 0) return -1;
    data.columns.insert(data.columns.begin() + at, info);
    ListLayoutHeader(list, data);
    ListUpdateScrollBars(list, data);
    Repaint(list);
    return at;
}

LRESULT GetColumn(ListViewData& data, int index, LVCOLUMNA* column) {
    if (column == nullptr || index < 0 || index >= static_cast<int>(data.columns.size())) return FALSE;
    const ListColumn& info = data.columns[static_cast<std::size_t>(index)];
    HDITEMA item{};
    item.mask = HDI_WIDTH | HDI_ORDER | ((column->mask & LVCF_TEXT) ? HDI_TEXT : 0);
    item.pszText = column->pszText;
    item.cchTextMax = column->cchTextMax;
    SendMessageA(data.header, HDM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    if (column->mask & LVCF_FMT) column->fmt = info.format;
    if (column->mask & LVCF_WIDTH) column->cx = item.cxy;
    if (column->mask & LVCF_SUBITEM) column->iSubItem = info.subItem;
    if (column->mask & LVCF_IMAGE) column->iImage = info.image;
    if (column->mask & LVCF_ORDER) column->iOrder = item.iOrder;
    return TRUE;
}

LRESULT SetColumn(HWND list, ListViewData& data, int index, const LVCOLUMNA* column) {
    if (column == nullptr || index < 0 || index >= static_cast<int>(data.columns.size())) return FALSE;
    ListColumn& info = data.columns[static_cast<std::size_t>(index)];
    HDITEMA item{};
    if (column->mask & LVCF_FMT) {
        info.format = column->fmt;
        HDITEMA current{};
        current.mask = HDI_FORMAT;
        SendMessageA(data.header, HDM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&current));
        item.mask |= HDI_FORMAT;
        item.fmt = (current.fmt & ~HDF_JUSTIFYMASK) | (column->fmt & LVCFMT_JUSTIFYMASK);
    }
    if (column->mask & LVCF_WIDTH) {
        item.mask |= HDI_WIDTH;
        item.cxy = column->cx;
    }
    if (column->mask & LVCF_TEXT) {
        item.mask |= HDI_TEXT;
        item.pszText = column->pszText;
    }
    if (column->mask & LVCF_ORDER) {
        item.mask |= HDI_ORDER;
        item.iOrder = column->iOrder;
    }
    if (column->mask & LVCF_SUBITEM) info.subItem = column->iSubItem;
    if (column->mask & LVCF_IMAGE) info.image = column->iImage;
    SendMessageA(data.header, HDM_SETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    ListLayoutHeader(list, data);
    ListUpdateScrollBars(list, data);
    Repaint(list);
    return TRUE;
}

int AutoWidth(HWND list, ListViewData& data, int column, bool useHeader) {
    FontMetric metric = MetricOf(ControlFont(data.font));
    int subItem = data.columns[static_cast<std::size_t>(column)].subItem;
    int width = 0;
    int count = ListCount(data);
    for (int item = 0; item < count; ++item) width = std::max(width, TextWidth(metric, ListItemText(list, data, item, subItem)));
    width += 12;
    if (subItem == 0) {
        int cx = 16, cy = 16;
        if (data.smallImages != nullptr) {
            ImageList_GetIconSize(data.smallImages, &cx, &cy);
            width += cx + 4;
        }
    }
    if (useHeader) {
        char title[256] = {};
        HDITEMA item{};
        item.mask = HDI_TEXT;
        item.pszText = title;
        item.cchTextMax = sizeof title;
        SendMessageA(data.header, HDM_GETITEMA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
        width = std::max(width, TextWidth(metric, title) + 16);
    }
    return width;
}

LRESULT SetColumnWidth(HWND list, ListViewData& data, int column, int width) {
    if (ListViewType(list) == LVS_LIST) {
        data.listColumnWidth = std::max(1, width);
        ListUpdateScrollBars(list, data);
        Repaint(list);
        return TRUE;
    }
    if (column < 0 || column >= static_cast<int>(data.columns.size())) return FALSE;
    if (width == LVSCW_AUTOSIZE || width == LVSCW_AUTOSIZE_USEHEADER) width = AutoWidth(list, data, column, width == LVSCW_AUTOSIZE_USEHEADER);
    HDITEMA item{};
    item.mask = HDI_WIDTH;
    item.cxy = std::max(0, width);
    SendMessageA(data.header, HDM_SETITEMA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
    ListLayoutHeader(list, data);
    ListUpdateScrollBars(list, data);
    Repaint(list);
    return TRUE;
}

LRESULT DeleteColumn(HWND list, ListViewData& data, int column) {
    if (column < 0 || column >= static_cast<int>(data.columns.size())) return FALSE;
    SendMessageA(data.header, HDM_DELETEITEM, static_cast<WPARAM>(column), 0);
    data.columns.erase(data.columns.begin() + column);
    ListLayoutHeader(list, data);
    ListUpdateScrollBars(list, data);
    Repaint(list);
    return TRUE;
}

HIMAGELIST SetImageList(HWND list, ListViewData& data, WPARAM which, HIMAGELIST images) {
    HIMAGELIST* slot = which == LVSIL_NORMAL ? &data.normalImages : which == LVSIL_SMALL ? &data.smallImages : &data.stateImages;
    HIMAGELIST previous = *slot;
    *slot = images;
    ListUpdateScrollBars(list, data);
    Repaint(list);
    return previous;
}

LRESULT HeaderNotify(HWND list, ListViewData& data, WPARAM wParam, NMHDR* header) {
    // The parent hears the header first and may refuse what can be refused.
    UINT code = header->code;
    if (code == HDN_BEGINDRAG && !(data.exStyle & LVS_EX_HEADERDRAGDROP)) return TRUE;
    HWND parent = GetParent(list);
    LRESULT answer = parent != nullptr ? SendMessageA(parent, WM_NOTIFY, wParam, reinterpret_cast<LPARAM>(header)) : 0;
    auto* record = reinterpret_cast<NMHEADERA*>(header);
    switch (code) {
    case HDN_ITEMCLICKA:
        if (record->iItem >= 0 && record->iItem < static_cast<int>(data.columns.size())) {
            ListNotifyItem(list, LVN_COLUMNCLICK, -1, record->iItem);
        }
        return 0;
    case HDN_DIVIDERDBLCLICKA:
        if (answer == 0 && record->iItem >= 0 && record->iItem < static_cast<int>(data.columns.size())) {
            SetColumnWidth(list, data, record->iItem, LVSCW_AUTOSIZE);
        }
        return 0;
    case HDN_ITEMCHANGEDA:
        if (data.edit != nullptr) ListEndEdit(list, data, true);
        ListLayoutHeader(list, data);
        ListUpdateScrollBars(list, data);
        Repaint(list);
        return 0;
    case HDN_BEGINTRACKA:
    case HDN_ITEMCHANGINGA:
    case HDN_TRACKA:
    case HDN_BEGINDRAG:
    case HDN_ENDDRAG: return answer;
    default: return answer;
    }
}

void Create(HWND list, ListViewData& data, const CREATESTRUCTA& create) {
    data.header = CreateWindowExA(0, WC_HEADERA, "", WS_CHILD | HDS_BUTTONS | HDS_HORZ, 0, 0, create.cx, 0, list, nullptr,
                                  nullptr, nullptr);
    if (create.style & LVS_NOSORTHEADER) {
        SetWindowLongPtrA(data.header, GWL_STYLE, GetWindowLongPtrA(data.header, GWL_STYLE) & ~static_cast<LONG_PTR>(HDS_BUTTONS));
    }
    ListLayoutHeader(list, data);
    ListUpdateScrollBars(list, data);
}

void SetExtendedStyle(HWND list, ListViewData& data, DWORD mask, DWORD style) {
    if (mask == 0) mask = ~0u;
    data.exStyle = (data.exStyle & ~mask) | (style & mask);
    if (data.header != nullptr) {
        LONG_PTR headerStyle = GetWindowLongPtrA(data.header, GWL_STYLE);
        headerStyle = (data.exStyle & LVS_EX_HEADERDRAGDROP) ? (headerStyle | HDS_DRAGDROP) : (headerStyle & ~static_cast<LONG_PTR>(HDS_DRAGDROP));
        SetWindowLongPtrA(data.header, GWL_STYLE, headerStyle);
    }
    if (!(data.exStyle & (LVS_EX_TRACKSELECT | LVS_EX_UNDERLINEHOT | LVS_EX_ONECLICKACTIVATE))) data.hot = -1;
    Repaint(list);
}

// A one-image list showing the row's icon and label, for the caller's drag image.
LRESULT CreateDragImage(HWND list, ListViewData& data, int item, POINT* upperLeft) {
    if (!ValidItem(data, item)) return 0;
    HIMAGELIST images = ListViewType(list) == LVS_ICON ? data.normalImages : data.smallImages;
    RECT icon = ListItemRect(list, data, item, LVIR_ICON);
    RECT label = ListItemRect(list, data, item, LVIR_LABEL);
    RECT bounds;
    UnionRect(&bounds, &icon, &label);
    if (upperLeft != nullptr) *upperLeft = POINT{bounds.left, bounds.top};
    std::string image = images != nullptr ? ImageListEntry(images, ListItemImage(list, data, item, 0)) : std::string();
    HIMAGELIST drag = ImageList_Create(Width(bounds), Height(bounds), ILC_MASK, 1, 0);
    ImageListAddEntry(drag, "drag " + (image.empty() ? std::string() : "[" + image + "] ") + ListItemText(list, data, item, 0));
    return reinterpret_cast<LRESULT>(drag);
}

LRESULT ItemRect(HWND list, ListViewData& data, int item, RECT* rect) {
    if (rect == nullptr || !ValidItem(data, item)) return FALSE;
    *rect = ListItemRect(list, data, item, rect->left);
    return TRUE;
}

LRESULT ListMessage(HWND list, ListViewData& data, UINT message, WPARAM wParam, LPARAM lParam) {
    int index = static_cast<int>(static_cast<INT_PTR>(wParam));
    switch (message) {
    case LVM_GETITEMCOUNT: return ListCount(data);
    case LVM_INSERTITEMA: return lParam != 0 ? ListInsertItem(list, data, *reinterpret_cast<const LVITEMA*>(lParam)) : -1;
    case LVM_DELETEITEM: return ListDeleteItem(list, data, index);
    case LVM_DELETEALLITEMS: return ListDeleteAll(list, data);
    case LVM_GETITEMA: return GetItem(list, data, reinterpret_cast<LVITEMA*>(lParam));
    case LVM_SETITEMA: return SetItem(list, data, reinterpret_cast<const LVITEMA*>(lParam));
    case LVM_GETITEMTEXTA: {
        auto* item = reinterpret_cast<LVITEMA*>(lParam);
        if (item == nullptr || !ValidItem(data, index)) return 0;
        std::string text = ListItemText(list, data, index, item->iSubItem);
        CopyToBuffer(text, item->pszText, item->cchTextMax);
        return item->pszText != nullptr && item->cchTextMax > 0 ? static_cast<LRESULT>(std::strlen(item->pszText)) : 0;
    }
    case LVM_SETITEMTEXTA: {
        auto* item = reinterpret_cast<LVITEMA*>(lParam);
        if (item == nullptr) return FALSE;
        LVITEMA copy = *item;
        copy.iItem = index;
        copy.mask = LVIF_TEXT;
        return SetItem(list, data, &copy);
    }
    case LVM_SETITEMSTATE: {
        auto* item = reinterpret_cast<LVITEMA*>(lParam);
        return item != nullptr && ListSetItemState(list, data, index, item->state, item->stateMask);
    }
    case LVM_GETITEMSTATE: return ListItemState(data, index, static_cast<UINT>(lParam));
    case LVM_GETNEXTITEM: return ListNextItem(list, data, index, LOWORD(lParam));
    case LVM_GETSELECTEDCOUNT: return data.selection.Count();
    case LVM_GETSELECTIONMARK: return data.anchor;
    case LVM_SETSELECTIONMARK: {
        int previous = data.anchor;
        data.anchor = static_cast<int>(lParam);
        return previous;
    }
    case LVM_FINDITEMA: return lParam != 0 ? ListFindItem(list, data, index, *reinterpret_cast<const LVFINDINFOA*>(lParam)) : -1;
    case LVM_SORTITEMS: return ListSortItems(list, data, reinterpret_cast<PFNLVCOMPARE>(lParam), static_cast<LPARAM>(wParam));
    case LVM_ENSUREVISIBLE: ListEnsureVisible(list, data, index, lParam != 0); return ValidItem(data, index);
    case LVM_CREATEDRAGIMAGE: return CreateDragImage(list, data, index, reinterpret_cast<POINT*>(lParam));
    case LVM_GETITEMRECT: return ItemRect(list, data, index, reinterpret_cast<RECT*>(lParam));
    case LVM_GETSUBITEMRECT: {
        auto* rect = reinterpret_cast<RECT*>(lParam);
        if (rect == nullptr || !ValidItem(data, index)) return FALSE;
        *rect = ListSubItemRect(list, data, index, rect->top, rect->left);
        return TRUE;
    }
    case LVM_HITTEST:
    case LVM_SUBITEMHITTEST: {
        auto* info = reinterpret_cast<LVHITTESTINFO*>(lParam);
        if (info == nullptr) return -1;
        int subItem = -1;
        info->iItem = ListHitTest(list, data, info->pt, info->flags, &subItem);
        if (message == LVM_SUBITEMHITTEST) info->iSubItem = info->iItem >= 0 ? subItem : -1;
        return info->iItem;
    }
    case LVM_SCROLL: {
        int rowHeight = ListRowHeight(data);
        int lines = ListViewType(list) == LVS_LIST ? index / std::max(1, data.listColumnWidth) : static_cast<int>(lParam) / rowHeight;
        ListScrollTo(list, data, data.topLine + lines, data.scrollX + (ListViewType(list) == LVS_REPORT ? index : 0));
        return TRUE;
    }
    case LVM_GETTOPINDEX: return ListViewType(list) == LVS_REPORT || ListViewType(list) == LVS_LIST ? data.topLine * ListItemsPerLine(list, data) : 0;
    case LVM_GETCOUNTPERPAGE: return ListVisibleLines(list, data) * ListItemsPerLine(list, data);
    case LVM_REDRAWITEMS:
    case LVM_UPDATE:
    case LVM_ARRANGE: Repaint(list); return TRUE;
    case LVM_EDITLABELA:
        if (index < 0) {
            ListEndEdit(list, data, false);
            return 0;
        }
        return reinterpret_cast<LRESULT>(ListEditLabel(list, data, index));
    case LVM_GETEDITCONTROL: return reinterpret_cast<LRESULT>(data.edit);
    case LVM_INSERTCOLUMNA: return InsertColumn(list, data, index, reinterpret_cast<const LVCOLUMNA*>(lParam));
    case LVM_DELETECOLUMN: return DeleteColumn(list, data, index);
    case LVM_GETCOLUMNA: return GetColumn(data, index, reinterpret_cast<LVCOLUMNA*>(lParam));
    case LVM_SETCOLUMNA: return SetColumn(list, data, index, reinterpret_cast<const LVCOLUMNA*>(lParam));
    case LVM_GETCOLUMNWIDTH: return ListViewType(list) == LVS_LIST ? data.listColumnWidth : ListColumnWidth(data, index);
    case LVM_SETCOLUMNWIDTH: return SetColumnWidth(list, data, index, static_cast<int>(static_cast<short>(LOWORD(lParam))));
    case LVM_GETCOLUMNORDERARRAY:
    case LVM_SETCOLUMNORDERARRAY: {
        LRESULT done = SendMessageA(data.header, message == LVM_GETCOLUMNORDERARRAY ? HDM_GETORDERARRAY : HDM_SETORDERARRAY, wParam, lParam);
        if (message == LVM_SETCOLUMNORDERARRAY) Repaint(list);
        return done;
    }
    case LVM_GETHEADER: return reinterpret_cast<LRESULT>(data.header);
    case LVM_SETIMAGELIST: return reinterpret_cast<LRESULT>(SetImageList(list, data, wParam, reinterpret_cast<HIMAGELIST>(lParam)));
    case LVM_GETIMAGELIST:
        return reinterpret_cast<LRESULT>(wParam == LVSIL_NORMAL ? data.normalImages : wParam == LVSIL_SMALL ? data.smallImages : data.stateImages);
    case LVM_SETEXTENDEDLISTVIEWSTYLE: {
        DWORD previous = data.exStyle;
        SetExtendedStyle(list, data, static_cast<DWORD>(wParam), static_cast<DWORD>(lParam));
        return previous;
    }
    case LVM_GETEXTENDEDLISTVIEWSTYLE: return data.exStyle;
    case LVM_GETBKCOLOR: return data.background;
    case LVM_SETBKCOLOR: data.background = static_cast<COLORREF>(lParam); Repaint(list); return TRUE;
    case LVM_GETTEXTCOLOR: return data.text;
    case LVM_SETTEXTCOLOR: data.text = static_cast<COLORREF>(lParam); Repaint(list); return TRUE;
    case LVM_GETTEXTBKCOLOR: return data.textBackground;
    case LVM_SETTEXTBKCOLOR: data.textBackground = static_cast<COLORREF>(lParam); Repaint(list); return TRUE;
    case LVM_GETCALLBACKMASK: return data.callbackMask;
    case LVM_SETCALLBACKMASK: data.callbackMask = static_cast<UINT>(wParam); return TRUE;
    case LVM_GETHOTITEM: return data.hot;
    case LVM_SETHOTITEM: {
        int previous = data.hot;
        data.hot = index;
        Repaint(list);
        return previous;
    }
    case LVM_GETSTRINGWIDTHA:
        return lParam != 0 ? TextWidth(MetricOf(ControlFont(data.font)), reinterpret_cast<LPCSTR>(lParam)) : 0;
    case LVM_GETORIGIN: {
        auto* point = reinterpret_cast<POINT*>(lParam);
        if (point == nullptr) return FALSE;
        *point = POINT{data.scrollX, 0};
        return TRUE;
    }
    case LVM_GETVIEWRECT: {
        auto* rect = reinterpret_cast<RECT*>(lParam);
        if (rect == nullptr) return FALSE;
        GetClientRect(list, rect);
        return TRUE;
    }
    case LVM_GETTOOLTIPS: return reinterpret_cast<LRESULT>(data.toolTip);
    case LVM_SETTOOLTIPS: {
        HWND previous = data.toolTip;
        data.toolTip = reinterpret_cast<HWND>(wParam);
        return reinterpret_cast<LRESULT>(previous);
    }
    default: return DefWindowProcA(list, message, wParam, lParam);
    }
}

LRESULT ListProcedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        SetControlData(list, std::make_shared<ListViewData>());
        return DefWindowProcA(list, message, wParam, lParam);
    }
    auto data = ListDataOf(list);
    if (!data) return DefWindowProcA(list, message, wParam, lParam);
    LRESULT result = 0;
    if (ListInputMessage(list, *data, message, wParam, lParam, result)) return result;
    switch (message) {
    case WM_CREATE: Create(list, *data, *reinterpret_cast<CREATESTRUCTA*>(lParam)); return 0;
    case WM_DESTROY:
        if (data->edit != nullptr) ListEndEdit(list, *data, false);
        ListDeleteAll(list, *data);
        // The list owns its image lists unless told they are shared; the system lists refuse
        // destruction anyway, so a borrowed one always survives.
        if (!(GetWindowLongPtrA(list, GWL_STYLE) & LVS_SHAREIMAGELISTS)) {
            for (HIMAGELIST images : {data->normalImages, data->smallImages, data->stateImages}) {
                if (images != nullptr) ImageList_Destroy(images);
            }
        }
        data->normalImages = data->smallImages = data->stateImages = nullptr;
        if (data->toolTip != nullptr && IsWindow(data->toolTip)) DestroyWindow(data->toolTip);
        return 0;
    case WM_PAINT:
        // The view type may have changed through the window style since the last paint.
        ListLayoutHeader(list, *data);
        PaintList(list, *data);
        return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
        ListLayoutHeader(list, *data);
        ListScrollTo(list, *data, data->topLine, data->scrollX);
        ListUpdateScrollBars(list, *data);
        Repaint(list);
        return DefWindowProcA(list, message, wParam, lParam);
    case WM_SETFONT:
        data->font = reinterpret_cast<HFONT>(wParam);
        if (data->header != nullptr) SendMessageA(data->header, WM_SETFONT, wParam, lParam);
        ListLayoutHeader(list, *data);
        if (LOWORD(lParam)) Repaint(list);
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(data->font);
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header != nullptr && header->hwndFrom == data->header && data->header != nullptr) return HeaderNotify(list, *data, wParam, header);
        return DefWindowProcA(list, message, wParam, lParam);
    }
    default: return ListMessage(list, *data, message, wParam, lParam);
    }
}

} // namespace

void RegisterListViewClass() {
    WNDCLASSA windowClass{};
    windowClass.style = CS_DBLCLKS | CS_GLOBALCLASS;
    windowClass.lpfnWndProc = ListProcedure;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = WC_LISTVIEWA;
    RegisterClassA(&windowClass);
}

} // namespace ostrana::detail
