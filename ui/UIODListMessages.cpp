// The window messages of CUIODListCtrl: the intercepted list-view messages, keys, commands, the
// frame's WM_APP messages, context menus, drag-and-drop messages and dropped files.
#include <algorithm>
#include <cstring>

#include "platform/ole/DropFiles.h"
#include "ui/UIHeaderTitleEdit.h"
#include "ui/UIKeys.h"
#include "ui/UIListDropTarget.h"
#include "ui/UIODListCtrl.h"

void CUIODListCtrl::OnCreated() {
    if (m_oleDragDrop) {
        m_dropTarget = std::make_unique<CUIListDropTarget>();
        m_dropTarget->Register(this);
    }
    if (m_acceptDropFiles) DragAcceptFiles(TRUE);
}

void CUIODListCtrl::SubclassHeader() {
    if (m_header.GetSafeHwnd() != nullptr) return;
    HWND header = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
    if (header != nullptr && CWnd::FromHandlePermanent(header) == nullptr) m_header.SubclassWindow(header);
}

BOOL CUIODListCtrl::PreTranslateMessage(MSG* msg) {
    if (msg->hwnd == m_hWnd && (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) && OnKeyDown(msg->message, msg->wParam)) {
        return TRUE;
    }
    return CListCtrl::PreTranslateMessage(msg);
}

BOOL CUIODListCtrl::OnKeyDown(UINT message, WPARAM key) {
    UINT post = UIKeyCommand(message, key);
    if (post == 0) return FALSE;
    PostMessage(post);
    return TRUE;
}

LRESULT CUIODListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        LRESULT result = CListCtrl::WindowProc(message, wParam, lParam);
        if (result != -1) OnCreated();
        return result;
    }
    case WM_DESTROY:
        m_titleEdit.reset();
        SaveLayoutAndSettings();
        if (m_dropTarget != nullptr) m_dropTarget->Revoke();
        if (m_header.GetSafeHwnd() != nullptr) m_header.UnsubclassWindow();
        return CListCtrl::WindowProc(message, wParam, lParam);
    case LVM_SETCOLUMNWIDTH:
        CListCtrl::WindowProc(message, wParam, lParam);
        return 1;
    case LVM_DELETEALLITEMS: {
        LRESULT result = CListCtrl::WindowProc(message, wParam, lParam);
        DeleteRowRecords();
        return result;
    }
    case LVM_DELETEITEM: {
        auto* data = GetRowData(static_cast<int>(wParam));
        LRESULT result = CListCtrl::WindowProc(message, wParam, lParam);
        if (result != 0 && data != nullptr) {
            if (auto at = std::find(m_records.begin(), m_records.end(), data); at != m_records.end()) {
                *at = m_records.back();
                m_records.pop_back();
            }
            delete data;
            --m_rowCount;
        }
        return result;
    }
    case LVM_DELETECOLUMN: {
        LRESULT result = CListCtrl::WindowProc(message, wParam, lParam);
        if (result != 0 && m_columnCount > 0) --m_columnCount;
        return result;
    }
    case LVM_SETIMAGELIST:
        if (wParam == LVSIL_STATE) {
            int cx = 0, cy = 0;
            m_stateIconWidth = ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(lParam), &cx, &cy) ? cx : 0;
        }
        return CListCtrl::WindowProc(message, wParam, lParam);
    case LVM_SETTEXTCOLOR: m_textColor = static_cast<COLORREF>(lParam); return CListCtrl::WindowProc(message, wParam, lParam);
    case LVM_SETTEXTBKCOLOR: m_textBkColor = static_cast<COLORREF>(lParam); return CListCtrl::WindowProc(message, wParam, lParam);
    case LVM_SETBKCOLOR: m_bkColor = static_cast<COLORREF>(lParam); return CListCtrl::WindowProc(message, wParam, lParam);
    case LVM_GETITEMTEXTA: return OnGetItemText(wParam, reinterpret_cast<LVITEMA*>(lParam));
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header != nullptr && (header->code == TTN_GETDISPINFOA || header->code == TTN_GETDISPINFOW) && OnToolTipText(header)) return 0;
        return CListCtrl::WindowProc(message, wParam, lParam);
    }
    case WM_CONTEXTMENU:
        OnContextMenu(reinterpret_cast<HWND>(wParam), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_DROPFILES:
        if (!m_acceptDropFiles) return CListCtrl::WindowProc(message, wParam, lParam);
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    case UWM_UI_END_TITLE_EDIT: EndTitleEdit(); return 0;
    case UWM_LIST_CONTEXT_MENU: OnContextMenuForSelection(); return 0;
    case UWM_LIST_ACTIVATE: ActivateRow(GetNextItem(-1, LVNI_SELECTED)); return 0;
    case UWM_LIST_EDIT_LABEL:
        if (int row = GetNextItem(-1, LVNI_SELECTED); row >= 0) EditLabel(row);
        return 0;
    case UWM_LIST_REFRESH_VIEW: Refresh(); return 0;
    case UWM_LIST_DELETE: OnDeleteSelection(); return 0;
    case UWM_LIST_PROPERTIES:
        for (int row : GetSelectedRows()) ShowProperties(row);
        return 0;
    case UWM_DD_DRAGENTER:
    case UWM_DD_DRAGLEAVE:
    case UWM_DD_DROP:
    case UWM_DD_DRAGOVER:
    case UWM_DD_BEGINDRAG: return OnDragDropMessage(message, reinterpret_cast<CDD_OleDropTargetInfo*>(wParam), lParam);
    default: return CListCtrl::WindowProc(message, wParam, lParam);
    }
}

LRESULT CUIODListCtrl::OnGetItemText(WPARAM row, LVITEMA* item) {
    if (item == nullptr || item->pszText == nullptr || item->cchTextMax <= 0) return 0;
    std::string text;
    CUIListCtrlData* data = GetRowData(static_cast<int>(row));
    if (auto* strings = dynamic_cast<CUIStrListCtrlData*>(data); strings != nullptr) {
        if (item->iSubItem >= 0 && item->iSubItem < strings->GetColumnCount()) text = strings->GetString(item->iSubItem);
    } else if (data != nullptr) {
        std::vector<char> buffer(static_cast<std::size_t>(std::max(item->cchTextMax, 260)), '\0');
        NMLVDISPINFOA info{};
        info.hdr.hwndFrom = m_hWnd;
        info.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
        info.hdr.code = LVN_GETDISPINFOA;
        info.item.mask = LVIF_TEXT;
        info.item.iItem = static_cast<int>(row);
        info.item.iSubItem = item->iSubItem;
        info.item.lParam = reinterpret_cast<LPARAM>(data);
        info.item.pszText = buffer.data();
        info.item.cchTextMax = static_cast<int>(buffer.size());
        LRESULT ignored = 0;
        OnChildNotify(WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info), &ignored);
        if (info.item.pszText != nullptr && info.item.pszText != LPSTR_TEXTCALLBACKA) text = info.item.pszText;
    } else {
        return CListCtrl::WindowProc(LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(item));
    }
    std::size_t length = std::min(text.size(), static_cast<std::size_t>(item->cchTextMax - 1));
    std::memcpy(item->pszText, text.data(), length);
    item->pszText[length] = '\0';
    return static_cast<LRESULT>(length);
}

BOOL CUIODListCtrl::OnCmdMsg(UINT id, int code) {
    switch (id) {
    case ID_UI_VIEW_LARGEICONS: SetViewType(LVS_ICON); return TRUE;
    case ID_UI_VIEW_SMALLICONS: SetViewType(LVS_SMALLICON); return TRUE;
    case ID_UI_VIEW_LIST: SetViewType(LVS_LIST); return TRUE;
    case ID_UI_VIEW_DETAILS: SetViewType(LVS_REPORT); return TRUE;
    case ID_UI_GRIDLINES: ToggleExtendedStyle(LVS_EX_GRIDLINES); return TRUE;
    case ID_UI_HOT_TRACKING: ToggleExtendedStyle(LVS_EX_TRACKSELECT); return TRUE;
    case ID_UI_FULLROW_SELECTION: SetRowSelection(!m_rowSelection); return TRUE;
    case ID_UI_COLUMN_SIZING: SetColumnSizing(!m_columnSizing); return TRUE;
    case ID_UI_HEADER_DRAGDROP: ToggleExtendedStyle(LVS_EX_HEADERDRAGDROP); return TRUE;
    case ID_UI_SUBITEM_IMAGES: ToggleExtendedStyle(LVS_EX_SUBITEMIMAGES); return TRUE;
    case ID_UI_EDIT_CELL: EditCell(m_lastContextPoint); return TRUE;
    case ID_HEADER_REMOVE_COL: HideColumn(m_headerHitColumn); return TRUE;
    case ID_HEADER_EDIT_TEXT:
        if (m_headerHitColumn >= 0) EditColumnTitle(m_headerHitColumn);
        return TRUE;
    case ID_HEADER_RESET: ResetHeader(); return TRUE;
    default: return CListCtrl::OnCmdMsg(id, code);
    }
}

void CUIODListCtrl::HideColumn(int column) {
    if (column < 0 || column >= m_columnCount || GetViewType() != LVS_REPORT) return;
    if (m_columnWidths.size() < static_cast<std::size_t>(m_columnCount)) m_columnWidths.resize(static_cast<std::size_t>(m_columnCount), 0);
    if (int width = GetColumnWidth(column); width != 0) m_columnWidths[static_cast<std::size_t>(column)] = width;
    SetColumnWidth(column, 0);
}

void CUIODListCtrl::ResetHeader() {
    for (int column = 0; column < m_columnCount && static_cast<std::size_t>(column) < m_columnWidths.size(); ++column) {
        SetColumnWidth(column, m_columnWidths[static_cast<std::size_t>(column)]);
    }
}

void CUIODListCtrl::EditCell(POINT client) {
    LVHITTESTINFO hit{};
    hit.pt = client;
    SubItemHitTest(&hit);
    if (hit.iItem < 0 || hit.iSubItem <= 0) return;
    if (!(GetItemState(hit.iItem, LVIS_FOCUSED) & LVIS_FOCUSED)) return;
    SendMessage(LVM_EDITLABELA, static_cast<WPARAM>(hit.iItem), hit.iSubItem);
}

void CUIODListCtrl::OnDeleteSelection() {
    std::vector<int> rows = GetSelectedRows();
    if (rows.empty()) return;
    for (int row : rows) {
        if (CUIListCtrlData* data = GetRowData(row); data != nullptr && AcceptDelete(row, data)) data->SetDeleted(true);
    }
    int last = rows.back();
    SetRedraw(FALSE);
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        CUIListCtrlData* data = GetRowData(*row);
        if (data != nullptr && data->IsDeleted()) {
            DeleteItem(*row);
            last = *row;
        } else {
            SetItemState(*row, 0, LVIS_SELECTED);
        }
    }
    SetRedraw(TRUE);
    int count = GetItemCount();
    if (count == 0) return;
    last = std::min(last, count - 1);
    EnsureVisible(last, FALSE);
    SetItemState(last, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void CUIODListCtrl::OnContextMenuForSelection() {
    int row = GetNextItem(-1, LVNI_SELECTED);
    if (row < 0) return;
    RECT rect{};
    GetItemRect(row, &rect, LVIR_LABEL);
    POINT point{rect.left, rect.bottom};
    m_lastContextPoint = point;
    ClientToScreen(&point);
    ShowContextMenu(row, 0, point);
}

void CUIODListCtrl::OnContextMenu(HWND from, POINT screen) {
    HWND header = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
    if (header != nullptr && (from == header || from == nullptr)) {
        POINT inHeader = screen;
        ::ScreenToClient(header, &inHeader);
        HDHITTESTINFO hit{};
        hit.pt = inHeader;
        int column = static_cast<int>(::SendMessageA(header, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        if (from == header || (column >= 0 && (hit.flags & HHT_ONHEADER))) {
            m_headerHitColumn = column;
            ShowHeaderMenu(column, screen);
            return;
        }
    }
    POINT client = screen;
    ScreenToClient(&client);
    m_lastContextPoint = client;
    LVHITTESTINFO hit{};
    hit.pt = client;
    SubItemHitTest(&hit);
    ShowContextMenu(hit.iItem, hit.iSubItem, screen);
}

void CUIODListCtrl::ShowHeaderMenu(int, POINT screen) {
    CMenu menu;
    if (!menu.LoadMenu(IDR_UI_HEADER_MENU)) return;
    CMenu* popup = menu.GetSubMenu(0);
    if (popup == nullptr) return;
    popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, this);
}

void CUIODListCtrl::ShowContextMenu(int, int, POINT screen) { TrackSelectionMenu(screen); }

BOOL CUIODListCtrl::TrackSelectionMenu(POINT screen) {
    UINT selected = GetSelectedCount();
    UINT id = selected == 1 ? m_oneRowMenu : selected > 1 ? m_severalRowsMenu : 0;
    if (id == 0) return FALSE;
    CMenu menu;
    if (!menu.LoadMenu(id)) return FALSE;
    CMenu* popup = menu.GetSubMenu(0);
    return popup != nullptr && popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, this);
}

BOOL CUIODListCtrl::TrackListMenu(POINT screen) {
    CMenu menu;
    if (!menu.LoadMenu(IDR_UI_LIST_MENU)) return FALSE;
    CMenu* popup = menu.GetSubMenu(0);
    if (popup == nullptr) return FALSE;
    AdjustListMenu(popup);
    return popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, this);
}

void CUIODListCtrl::AdjustListMenu(CMenu*) {}
void CUIODListCtrl::EditColumnTitle(int column) {
    m_titleEdit.reset();
    auto edit = std::make_unique<CUIHeaderTitleEdit>();
    if (edit->Start(m_hWnd, column)) m_titleEdit = std::move(edit);
}

void CUIODListCtrl::ColumnTitleEdited(int column, const std::string& title) {
    if (title.empty()) return;
    LVCOLUMNA info{};
    info.mask = LVCF_TEXT;
    info.pszText = const_cast<LPSTR>(title.c_str());
    SetColumn(column, &info);
}

void CUIODListCtrl::EndTitleEdit() {
    if (m_titleEdit == nullptr) return;
    std::unique_ptr<CUIHeaderTitleEdit> edit = std::move(m_titleEdit);
    if (edit->IsConfirmed()) ColumnTitleEdited(edit->GetColumn(), edit->GetTitle());
    edit->DestroyWindow();
}
void CUIODListCtrl::ActivateRow(int) {}
void CUIODListCtrl::Refresh() {}
BOOL CUIODListCtrl::AcceptDelete(int, CUIListCtrlData*) { return FALSE; }
void CUIODListCtrl::ShowProperties(int) {}
LRESULT CUIODListCtrl::DragEnter(CDD_OleDropTargetInfo*) { return 0; }
LRESULT CUIODListCtrl::DragOver(CDD_OleDropTargetInfo*) { return 0; }
LRESULT CUIODListCtrl::DragLeave(CDD_OleDropTargetInfo*) { return 0; }
LRESULT CUIODListCtrl::Drop(CDD_OleDropTargetInfo*) { return 0; }
DROPEFFECT CUIODListCtrl::FillDataSource(COleDataSource*) { return DROPEFFECT_NONE; }
void CUIODListCtrl::DropFile(int, LPCSTR) {}

LRESULT CUIODListCtrl::OnDragDropMessage(UINT message, CDD_OleDropTargetInfo* info, LPARAM lParam) {
    if (!m_oleDragDrop) return message == UWM_DD_BEGINDRAG ? DROPEFFECT_COPY : 1;
    switch (message) {
    case UWM_DD_DRAGENTER: return DragEnter(info);
    case UWM_DD_DRAGOVER: return DragOver(info);
    case UWM_DD_DRAGLEAVE: return DragLeave(info);
    case UWM_DD_DROP: return Drop(info);
    default: return static_cast<LRESULT>(FillDataSource(reinterpret_cast<COleDataSource*>(lParam)));
    }
}

void CUIODListCtrl::OnDropFiles(HDROP drop) {
    POINT point{};
    DragQueryPoint(drop, &point);
    int row = HitTest(point);
    for (const std::string& path : ostrana::DragQueryFiles(drop)) DropFile(row, path.c_str());
    DragFinish(drop);
}
