// The reflected notifications of CUIODListCtrl: display texts, the typed sort, label editing,
// selection, custom draw with the row records' colours and the empty-list text, cell tips, and
// the drag out with the drag-image block.
#include <algorithm>
#include <cstring>

#include "dragdrop/CCF_RightMenu.h"
#include "dragdrop/CCF_String.h"
#include "dragdrop/ClipboardFormats.h"
#include "platform/base/CodePage.h"
#include "platform/ole/GlobalMemory.h"
#include "platform/window/Input.h"
#include "ui/UIListCompare.h"
#include "ui/UIODListCtrl.h"

namespace {

constexpr int kEmptyTextGap = 10;
constexpr std::size_t kMaxWideTip = 511;

} // namespace

BOOL CUIODListCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    switch (message) {
    case WM_NOTIFY: return OnNotifyReflect(reinterpret_cast<NMHDR*>(lParam), result);
    case WM_DRAWITEM: return DrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
    case WM_MEASUREITEM: return MeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
    default: return CListCtrl::OnChildNotify(message, wParam, lParam, result);
    }
}

BOOL CUIODListCtrl::OnNotifyReflect(NMHDR* header, LRESULT* result) {
    if (header == nullptr) return FALSE;
    *result = 0;
    switch (header->code) {
    case LVN_GETDISPINFOA: return GetDispInfo(&reinterpret_cast<NMLVDISPINFOA*>(header)->item);
    case LVN_COLUMNCLICK: return ColumnClick(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
    case LVN_ENDLABELEDITA: {
        LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(header)->item;
        if (item.pszText == nullptr) return FALSE;
        *result = EndLabelEdit(item.iItem, item.iSubItem, item.pszText);
        return TRUE;
    }
    case LVN_ITEMCHANGED: {
        auto* change = reinterpret_cast<NMLISTVIEW*>(header);
        constexpr UINT kBoth = LVIS_SELECTED | LVIS_FOCUSED;
        if ((change->uChanged & LVIF_STATE) && (change->uNewState & kBoth) == kBoth && (change->uOldState & kBoth) != kBoth) {
            return SelectionChanged(change->iItem);
        }
        return FALSE;
    }
    case NM_CUSTOMDRAW: *result = OnCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(header)); return TRUE;
    case NM_RETURN: return EnterPressed(GetNextItem(-1, LVNI_FOCUSED));
    case NM_DBLCLK: {
        auto* activate = reinterpret_cast<NMITEMACTIVATE*>(header);
        return DoubleClick(activate->iItem, activate->iSubItem);
    }
    case LVN_BEGINDRAG:
    case LVN_BEGINRDRAG: return BeginDrag(*reinterpret_cast<NMLISTVIEW*>(header), header->code == LVN_BEGINRDRAG);
    case TTN_GETDISPINFOA:
    case TTN_GETDISPINFOW: return OnToolTipText(header);
    case LVN_GETINFOTIPA: return OnInfoTip(reinterpret_cast<NMLVGETINFOTIPA*>(header));
    default: return FALSE;
    }
}

BOOL CUIODListCtrl::GetDispInfo(LVITEMA* item) {
    auto* strings = dynamic_cast<CUIStrListCtrlData*>(reinterpret_cast<CUIListCtrlData*>(item->lParam));
    if (strings == nullptr) strings = dynamic_cast<CUIStrListCtrlData*>(GetRowData(item->iItem));
    if (strings == nullptr) return FALSE;
    if ((item->mask & LVIF_TEXT) && item->pszText != nullptr && item->cchTextMax > 0) {
        const std::string& text = item->iSubItem >= 0 && item->iSubItem < strings->GetColumnCount() ? strings->GetString(item->iSubItem)
                                                                                                       : strings->GetExtString();
        std::size_t length = std::min(text.size(), static_cast<std::size_t>(item->cchTextMax - 1));
        std::memcpy(item->pszText, text.data(), length);
        item->pszText[length] = '\0';
    }
    if (item->mask & LVIF_IMAGE) item->iImage = 0;
    return TRUE;
}

BOOL CUIODListCtrl::ColumnClick(int column) {
    SortByColumn(column, column == m_sortColumn ? !m_sortAscending : true);
    return TRUE;
}

void CUIODListCtrl::SortByColumn(int column, bool ascending) {
    m_sortColumn = column;
    m_sortAscending = ascending;
    UpdateSortMark();
    SortRecord sort{column, GetColumnType(column), ascending, this};
    SortItems(&CUIODListCtrl::CompareCallback, reinterpret_cast<DWORD_PTR>(&sort));
    if (int row = GetNextItem(-1, LVNI_SELECTED); row >= 0) EnsureVisible(row, FALSE);
}

void CUIODListCtrl::UpdateSortMark() {
    CHeaderCtrl* header = GetHeaderCtrl();
    if (header == nullptr) return;
    int count = header->GetItemCount();
    for (int column = 0; column < count; ++column) {
        HDITEMA item{};
        item.mask = HDI_FORMAT;
        header->GetItem(column, &item);
        int format = item.fmt & ~(HDF_SORTUP | HDF_SORTDOWN);
        if (column == m_sortColumn) format |= m_sortAscending ? HDF_SORTUP : HDF_SORTDOWN;
        if (format == item.fmt) continue;
        item.fmt = format;
        header->SetItem(column, &item);
    }
}

int CUIODListCtrl::CompareCallback(LPARAM first, LPARAM second, LPARAM sort) {
    const auto& record = *reinterpret_cast<const SortRecord*>(sort);
    int order = record.list->CompareItems(reinterpret_cast<const CUIListCtrlData*>(first),
                                          reinterpret_cast<const CUIListCtrlData*>(second), record);
    return record.ascending ? order : -order;
}

namespace {

const std::string& SortText(const CUIListCtrlData* row, int column) {
    static const std::string none;
    const auto* strings = dynamic_cast<const CUIStrListCtrlData*>(row);
    if (strings == nullptr || column < 0 || column >= strings->GetColumnCount()) return none;
    return strings->GetString(column);
}

} // namespace

int CUIODListCtrl::CompareItems(const CUIListCtrlData* first, const CUIListCtrlData* second, const SortRecord& sort) {
    return ostrana::CompareCellTexts(sort.columnType, SortText(first, sort.column), SortText(second, sort.column));
}

BOOL CUIODListCtrl::EndLabelEdit(int, int, LPCSTR) { return FALSE; }
BOOL CUIODListCtrl::SelectionChanged(int) { return FALSE; }
BOOL CUIODListCtrl::EnterPressed(int) { return FALSE; }
BOOL CUIODListCtrl::DoubleClick(int, int) { return FALSE; }
BOOL CUIODListCtrl::DrawItem(DRAWITEMSTRUCT*) { return FALSE; }
BOOL CUIODListCtrl::MeasureItem(MEASUREITEMSTRUCT*) { return FALSE; }

LRESULT CUIODListCtrl::OnCustomDraw(NMLVCUSTOMDRAW* draw) {
    switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
    case CDDS_POSTPAINT:
        if (GetItemCount() == 0) DrawEmptyList(draw->nmcd.hdc);
        return CDRF_DODEFAULT;
    case CDDS_ITEMPREPAINT: return ItemPrePaint(draw);
    case CDDS_ITEMPOSTPAINT: return ItemPostPaint(draw);
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: return SubItemPrePaint(draw);
    case CDDS_ITEMPOSTPAINT | CDDS_SUBITEM: return SubItemPostPaint(draw);
    default: return CDRF_DODEFAULT;
    }
}

LRESULT CUIODListCtrl::ItemPrePaint(NMLVCUSTOMDRAW* draw) {
    const auto* data = reinterpret_cast<const CUIListCtrlData*>(draw->nmcd.lItemlParam);
    if (data == nullptr) return CDRF_DODEFAULT;
    bool ownStyle = !data->IsDefaultColors();
    for (int column = 0; !ownStyle && column < m_columnCount; ++column) ownStyle = data->GetFont(column) != nullptr;
    return ownStyle ? CDRF_NOTIFYSUBITEMDRAW : CDRF_DODEFAULT;
}

LRESULT CUIODListCtrl::SubItemPrePaint(NMLVCUSTOMDRAW* draw) {
    const auto* data = reinterpret_cast<const CUIListCtrlData*>(draw->nmcd.lItemlParam);
    if (data == nullptr || draw->iSubItem < 0 || draw->iSubItem >= std::max(m_columnCount, 1)) return CDRF_DODEFAULT;
    LRESULT answer = CDRF_DODEFAULT;
    if (!data->IsDefaultColors() && !(draw->nmcd.uItemState & CDIS_SELECTED)) {
        draw->clrText = data->GetTextColor(draw->iSubItem);
        draw->clrTextBk = data->GetBkColor(draw->iSubItem);
        answer = CDRF_NEWFONT;
    }
    if (CFont* font = data->GetFont(draw->iSubItem); font != nullptr) {
        ::SelectObject(draw->nmcd.hdc, font->m_hObject);
        answer = CDRF_NEWFONT;
    }
    return answer;
}

LRESULT CUIODListCtrl::ItemPostPaint(NMLVCUSTOMDRAW*) { return CDRF_DODEFAULT; }
LRESULT CUIODListCtrl::SubItemPostPaint(NMLVCUSTOMDRAW*) { return CDRF_DODEFAULT; }

void CUIODListCtrl::DrawEmptyList(HDC dc) {
    RECT client{};
    GetClientRect(&client);
    RECT area = client;
    if (HWND header = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER)); header != nullptr && ::IsWindowVisible(header)) {
        RECT headerRect{};
        ::GetWindowRect(header, &headerRect);
        ScreenToClient(&headerRect);
        area.top = headerRect.bottom;
    }
    area.top += kEmptyTextGap;
    if (area.top >= area.bottom) return;
    HBRUSH brush = GetSysColorBrush(COLOR_WINDOW);
    ::FillRect(dc, &area, brush);
    if (m_emptyListText.empty()) return;
    ::SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    ::SetBkMode(dc, TRANSPARENT);
    ::DrawTextA(dc, m_emptyListText.c_str(), -1, &area, DT_CENTER | DT_WORDBREAK | DT_NOCLIP | DT_NOPREFIX);
}

std::string CUIODListCtrl::GetToolTipText(int row, int column) { return GetCellText(row, column); }

BOOL CUIODListCtrl::OnToolTipText(NMHDR* header) {
    int row = 0, column = 0;
    if (!CellFromToolId(header->idFrom, row, column) || row >= GetItemCount() || column >= m_columnCount) return FALSE;
    m_toolTipText = GetToolTipText(row, column);
    if (header->code == TTN_GETDISPINFOA) {
        reinterpret_cast<NMTTDISPINFOA*>(header)->lpszText = m_toolTipText.data();
        return TRUE;
    }
    auto* wide = reinterpret_cast<NMTTDISPINFOW*>(header);
    std::u16string text = ostrana::ToWide(m_toolTipText, CP_ACP);
    std::size_t length = std::min({text.size(), kMaxWideTip, sizeof wide->szText / sizeof wide->szText[0] - 1});
    std::copy_n(text.begin(), length, wide->szText);
    wide->szText[length] = u'\0';
    wide->lpszText = wide->szText;
    return TRUE;
}

// The list view asks by row and column; the answer goes through the same tool-id rule as a tip.
BOOL CUIODListCtrl::OnInfoTip(NMLVGETINFOTIPA* tip) {
    int row = 0, column = 0;
    if (tip->pszText == nullptr || tip->cchTextMax <= 0) return FALSE;
    if (!CellFromToolId(CellToolId(tip->iItem, tip->iSubItem), row, column) || row >= GetItemCount() || column >= m_columnCount) {
        return FALSE;
    }
    std::string text = GetToolTipText(row, column);
    std::size_t length = std::min(text.size(), static_cast<std::size_t>(tip->cchTextMax - 1));
    std::memcpy(tip->pszText, text.data(), length);
    tip->pszText[length] = '\0';
    return TRUE;
}

HGLOBAL CUIODListCtrl::MakeDragImageBlock(POINT start) const {
    std::vector<int> rows = GetSelectedRows();
    if (rows.empty()) return nullptr;
    std::size_t size = 24 + 40 * rows.size();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (memory == nullptr) return nullptr;
    auto* bytes = static_cast<BYTE*>(GlobalLock(memory));
    if (bytes == nullptr) {
        GlobalFree(memory);
        return nullptr;
    }
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    auto put = [&](std::size_t offset, int value) { std::memcpy(bytes + offset, &value, sizeof value); };
    put(0, static_cast<int>(GetStyle() & LVS_TYPEMASK));
    int written = 0;
    for (int row : rows) {
        RECT icon{}, label{};
        GetItemRect(row, &icon, LVIR_ICON);
        GetItemRect(row, &label, LVIR_LABEL);
        if (label.bottom <= client.top || label.top >= client.bottom) continue;
        std::size_t at = 8 + 40 * static_cast<std::size_t>(written);
        const int fields[10] = {icon.left, icon.top, icon.right, icon.bottom, label.left, label.top, label.right, label.bottom,
                                start.x, start.y};
        std::memcpy(bytes + at, fields, sizeof fields);
        ++written;
    }
    put(4, written);
    GlobalUnlock(memory);
    return memory;
}

BOOL CUIODListCtrl::BeginDrag(const NMLISTVIEW& info, bool rightButton) {
    StartDrag(info, rightButton);
    return TRUE;
}

void CUIODListCtrl::StartDrag(const NMLISTVIEW& info, bool rightButton) {
    if (info.iItem < 0 || GetSelectedCount() == 0) return;
    if (HGLOBAL block = MakeDragImageBlock(info.ptAction); block != nullptr) {
        m_dataSource.CacheGlobalData(static_cast<CLIPFORMAT>(m_dragImageFormat), block);
    }
    std::string names;
    for (int row : GetSelectedRows()) names += GetCellText(row, 0) + "\n";
    CCF_String text(names);
    CClipboardFormats::PutOnDataSource(&m_dataSource, &text, CFI_TEXT);
    CCF_RightMenu rightMenu(rightButton ? TRUE : FALSE);
    CClipboardFormats::PutOnDataSource(&m_dataSource, &rightMenu, CFI_RIGHTMENU);
    CDD_OleDropTargetInfo record(m_hWnd, info.ptAction, nullptr);
    record.SetItem(info.iItem);
    auto effects = static_cast<DROPEFFECT>(
        SendDragDropMessage(m_hWnd, UWM_DD_BEGINDRAG, reinterpret_cast<WPARAM>(&record), reinterpret_cast<LPARAM>(&m_dataSource)));
    if (effects != DROPEFFECT_NONE) m_dataSource.DoDragDrop(effects);
    m_dataSource.Empty();
}
