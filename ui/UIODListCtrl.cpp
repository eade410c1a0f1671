// Columns, the profile settings, rows and view options of CUIODListCtrl.
#include "ui/UIODListCtrl.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/ole/ClipboardFormat.h"
#include "platform/window/AfxWinApp.h"
#include "res/Resources.h"
#include "ui/UIHeaderTitleEdit.h"
#include "ui/UIListDropTarget.h"

IMPLEMENT_DYNAMIC(CUIODListCtrl, CWnd)

namespace {

constexpr std::size_t kMaxHeadings = 511;
constexpr int kDefaultColumnWidth = 100;
constexpr const char* kSectionRoot = "UIODListControl";

std::string NumberedName(const char* name, int index) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%s%d", name, index);
    return buffer;
}

} // namespace

CUIODListCtrl::CUIODListCtrl(bool oleDragDrop)
    : m_oleDragDrop(oleDragDrop), m_dragImageFormat(RegisterClipboardFormatA("APP_CF_DD_LISTCTRL_IMAGE")),
      m_textColor(GetSysColor(COLOR_WINDOWTEXT)), m_textBkColor(GetSysColor(COLOR_WINDOW)), m_bkColor(GetSysColor(COLOR_WINDOW)) {}

CUIODListCtrl::~CUIODListCtrl() {
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) DestroyWindow();
    DeleteRowRecords();
}

void CUIODListCtrl::SetSection(LPCSTR name) {
    if (name == nullptr || *name == '\0') {
        m_section.clear();
        return;
    }
    m_section = std::string(kSectionRoot) + "\\" + name;
}

BOOL CUIODListCtrl::InitListCtrl(LPCSTR headings, LPCSTR sectionName, const UINT* iconIds) {
    std::string newHeadings = headings != nullptr ? headings : "";
    if (newHeadings.size() > kMaxHeadings) newHeadings.resize(kMaxHeadings);
    if (sectionName != nullptr) SetSection(sectionName);
    if (m_columnCount > 0 && newHeadings == m_headings) return TRUE;
    ResetColumns();
    if (!m_section.empty()) {
        LoadSettings();
        if (m_headings != newHeadings) {
            m_headings = newHeadings;
            m_columnOrders.clear();
            m_columnWidths.clear();
            SaveSettings();
        }
    }
    if (DWORD style = GetExtendedStyle(); style != 0) SetExtendedStyle(style);
    if (iconIds != nullptr) {
        HIMAGELIST small = GetImageList(LVSIL_SMALL);
        for (const UINT* id = iconIds; small != nullptr && *id != 0; ++id) {
            ImageList_AddIcon(small, LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(*id)));
        }
    }
    SplitHeadings(newHeadings.c_str());
    m_headings = newHeadings;
    if (sectionName != nullptr && !m_section.empty()) {
        if (static_cast<int>(m_columnWidths.size()) != m_columnCount) CaptureLayout();
        SaveSettings();
        LoadSettings();
    }
    ApplyStoredLayout();
    SubclassHeader();
    return TRUE;
}

void CUIODListCtrl::ResetColumns() {
    DeleteAllItems();
    while (m_columnCount > 0 && DeleteColumn(0)) {
    }
    while (DeleteColumn(0)) {
    }
    m_columnCount = 0;
    m_columnTypes.clear();
    DeleteRowRecords();
}

void CUIODListCtrl::SplitHeadings(LPCSTR headings) {
    std::string text = headings;
    std::size_t start = 0;
    int inserted = 0;
    while (start <= text.size()) {
        std::size_t bar = text.find('|', start);
        std::string title = text.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
        if (InsertColumn(inserted, title.c_str(), LVCFMT_LEFT, kDefaultColumnWidth) >= 0) ++inserted;
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    m_columnCount = inserted;
}

void CUIODListCtrl::ApplyStoredLayout() {
    if (static_cast<int>(m_columnOrders.size()) == m_columnCount && m_columnCount > 0) {
        SetColumnOrderArray(m_columnCount, m_columnOrders.data());
    }
    if (static_cast<int>(m_columnWidths.size()) == m_columnCount && m_columnCount > 0) {
        for (int column = 0; column < m_columnCount; ++column) {
            if (m_columnWidths[static_cast<std::size_t>(column)] != 0) SetColumnWidth(column, m_columnWidths[static_cast<std::size_t>(column)]);
        }
    } else {
        m_columnWidths.assign(static_cast<std::size_t>(m_columnCount), 0);
        for (int column = 0; column < m_columnCount; ++column) m_columnWidths[static_cast<std::size_t>(column)] = GetColumnWidth(column);
    }
    if (m_columnTypes.empty()) m_columnTypes.assign(static_cast<std::size_t>(m_columnCount), UI_COLUMN_TEXT);
}

void CUIODListCtrl::SetColumnType(int column, int type) {
    if (column < 0) return;
    if (static_cast<std::size_t>(column) >= m_columnTypes.size()) m_columnTypes.resize(static_cast<std::size_t>(column) + 1, UI_COLUMN_TEXT);
    m_columnTypes[static_cast<std::size_t>(column)] = type;
}

int CUIODListCtrl::GetColumnType(int column) const {
    if (column < 0 || static_cast<std::size_t>(column) >= m_columnTypes.size()) return UI_COLUMN_TEXT;
    return m_columnTypes[static_cast<std::size_t>(column)];
}

void CUIODListCtrl::LoadSettings() {
    CWinApp* app = AfxGetApp();
    if (app == nullptr || m_section.empty()) return;
    ReadSettingValues(*app);
}

void CUIODListCtrl::ReadSettingValues(CWinApp& app) {
    const char* section = m_section.c_str();
    m_headings = app.GetProfileString(section, "Headings", m_headings.c_str());
    DWORD style = app.GetProfileInt(section, "Style", static_cast<int>(m_hWnd != nullptr ? GetExtendedStyle() : 0));
    if (m_hWnd != nullptr && style != 0) SetExtendedStyle(style);
    m_rowSelection = app.GetProfileInt(section, "RowSelection", m_rowSelection ? 1 : 0) != 0;
    DWORD viewType = app.GetProfileInt(section, "ViewType", static_cast<int>(m_hWnd != nullptr ? GetViewType() : LVS_REPORT)) & LVS_TYPEMASK;
    if (m_hWnd != nullptr && viewType != GetViewType()) ModifyStyle(LVS_TYPEMASK, viewType);
    m_columnSizing = app.GetProfileInt(section, "ColumnSizing", m_columnSizing ? 1 : 0) != 0;
    int columns = static_cast<int>(app.GetProfileInt(section, "Columns", 0));
    if (columns <= 0) return;
    m_sortColumn = static_cast<int>(app.GetProfileInt(section, "SortColumn", m_sortColumn));
    std::vector<int> orders(static_cast<std::size_t>(columns));
    std::vector<int> widths(static_cast<std::size_t>(columns));
    for (int i = 0; i < columns; ++i) {
        std::size_t at = static_cast<std::size_t>(i);
        int currentOrder = at < m_columnOrders.size() ? m_columnOrders[at] : i;
        int currentWidth = at < m_columnWidths.size() ? m_columnWidths[at] : 0;
        orders[at] = static_cast<int>(app.GetProfileInt(section, NumberedName("ColumnOrder", i + 1).c_str(), currentOrder));
        widths[at] = static_cast<int>(app.GetProfileInt(section, NumberedName("ColumnWidths", i + 1).c_str(), currentWidth));
    }
    m_columnOrders = std::move(orders);
    m_columnWidths = std::move(widths);
}

void CUIODListCtrl::CaptureLayout() {
    if (m_hWnd == nullptr || m_columnCount <= 0) return;
    m_columnOrders.assign(static_cast<std::size_t>(m_columnCount), 0);
    GetColumnOrderArray(m_columnOrders.data(), m_columnCount);
    m_columnWidths.resize(static_cast<std::size_t>(m_columnCount), 0);
    // Other views answer their own column width; a hidden column keeps the width it had before.
    if (GetViewType() != LVS_REPORT) return;
    for (int column = 0; column < m_columnCount; ++column) {
        if (int width = GetColumnWidth(column); width != 0) m_columnWidths[static_cast<std::size_t>(column)] = width;
    }
}

void CUIODListCtrl::SaveLayoutAndSettings() {
    CaptureLayout();
    SaveSettings();
}

void CUIODListCtrl::SaveSettings() {
    CWinApp* app = AfxGetApp();
    if (app == nullptr || m_section.empty()) return;
    const char* section = m_section.c_str();
    app->WriteProfileString(section, "Headings", m_headings.c_str());
    app->WriteProfileInt(section, "Style", static_cast<int>(m_hWnd != nullptr ? GetExtendedStyle() : 0));
    app->WriteProfileInt(section, "RowSelection", m_rowSelection ? 1 : 0);
    app->WriteProfileInt(section, "ViewType", static_cast<int>(m_hWnd != nullptr ? GetViewType() : 0));
    app->WriteProfileInt(section, "ColumnSizing", m_columnSizing ? 1 : 0);
    app->WriteProfileInt(section, "Columns", m_columnCount);
    app->WriteProfileInt(section, "SortColumn", m_sortColumn);
    for (int i = 0; i < m_columnCount && static_cast<std::size_t>(i) < m_columnOrders.size(); ++i) {
        app->WriteProfileInt(section, NumberedName("ColumnOrder", i + 1).c_str(), m_columnOrders[static_cast<std::size_t>(i)]);
        app->WriteProfileInt(section, NumberedName("ColumnWidths", i + 1).c_str(), m_columnWidths[static_cast<std::size_t>(i)]);
    }
}

int CUIODListCtrl::InsertRow(CUIListCtrlData* data, int image) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
    item.iItem = GetItemCount();
    item.pszText = LPSTR_TEXTCALLBACKA;
    item.iImage = image;
    item.lParam = reinterpret_cast<LPARAM>(data);
    int row = InsertItem(&item);
    if (row < 0) {
        delete data;
        return -1;
    }
    m_records.push_back(data);
    ++m_rowCount;
    return row;
}

int CUIODListCtrl::AddCallBackItem(DWORD_PTR userData, int image) {
    auto* data = new CUIListCtrlData(m_columnCount);
    data->SetExtData(userData);
    return InsertRow(data, image);
}

int CUIODListCtrl::AddTextItem(DWORD_PTR userData, LPCSTR text, int image) {
    auto* data = new CUIStrListCtrlData(m_columnCount);
    data->SetExtData(userData);
    if (m_columnCount > 0 && text != nullptr) data->SetString(0, text);
    return InsertRow(data, image);
}

CUIListCtrlData* CUIODListCtrl::GetRowData(int row) const {
    if (row < 0 || row >= GetItemCount()) return nullptr;
    return reinterpret_cast<CUIListCtrlData*>(GetItemData(row));
}

BOOL CUIODListCtrl::SetCellText(int row, int column, LPCSTR text) {
    auto* strings = dynamic_cast<CUIStrListCtrlData*>(GetRowData(row));
    if (strings == nullptr) return FALSE;
    strings->SetString(column, text != nullptr ? text : "");
    Update(row);
    return TRUE;
}

BOOL CUIODListCtrl::SetCellNumber(int row, int column, int number) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", number);
    return SetCellText(row, column, text);
}

BOOL CUIODListCtrl::SetCellColors(int row, int column, COLORREF text, COLORREF background) {
    CUIListCtrlData* data = GetRowData(row);
    if (data == nullptr) return FALSE;
    data->SetTextColor(column, text);
    data->SetBkColor(column, background);
    Update(row);
    return TRUE;
}

BOOL CUIODListCtrl::SetRowColors(int row, COLORREF text, COLORREF background) {
    CUIListCtrlData* data = GetRowData(row);
    if (data == nullptr) return FALSE;
    for (int column = 0; column < std::max(m_columnCount, 1); ++column) {
        data->SetTextColor(column, text);
        data->SetBkColor(column, background);
    }
    Update(row);
    return TRUE;
}

BOOL CUIODListCtrl::SetCellFont(int row, int column, const LOGFONTA& font) {
    CUIListCtrlData* data = GetRowData(row);
    if (data == nullptr) return FALSE;
    data->SetFont(column, font);
    Update(row);
    return TRUE;
}

int CUIODListCtrl::FindUserData(DWORD_PTR userData) const {
    int count = GetItemCount();
    for (int row = 0; row < count; ++row) {
        if (const CUIListCtrlData* data = GetRowData(row); data != nullptr && data->GetExtData() == userData) return row;
    }
    return -1;
}

DWORD_PTR CUIODListCtrl::GetUserData(int row) const {
    const CUIListCtrlData* data = GetRowData(row);
    return data != nullptr ? data->GetExtData() : 0;
}

std::vector<int> CUIODListCtrl::GetSelectedRows() const {
    std::vector<int> rows;
    for (int row = GetNextItem(-1, LVNI_SELECTED); row >= 0; row = GetNextItem(row, LVNI_SELECTED)) rows.push_back(row);
    return rows;
}

std::string CUIODListCtrl::GetCellText(int row, int column) const { return GetItemText(row, column); }

void CUIODListCtrl::DeleteRowRecords() {
    for (CUIListCtrlData* data : m_records) delete data;
    m_records.clear();
    m_rowCount = 0;
}

void CUIODListCtrl::SetViewType(DWORD viewType) {
    CaptureLayout();
    ModifyStyle(LVS_TYPEMASK, viewType & LVS_TYPEMASK);
    SaveSettings();
}

void CUIODListCtrl::SetRowSelection(bool fullRow) {
    m_rowSelection = fullRow;
    DWORD style = GetExtendedStyle();
    SetExtendedStyle(fullRow ? style | LVS_EX_FULLROWSELECT : style & ~static_cast<DWORD>(LVS_EX_FULLROWSELECT));
}

void CUIODListCtrl::SetColumnSizing(bool allowed) {
    m_columnSizing = allowed;
    SaveLayoutAndSettings();
}

void CUIODListCtrl::ToggleExtendedStyle(DWORD style) { SetExtendedStyle(GetExtendedStyle() ^ style); }

void CUIODListCtrl::SetPopupMenus(UINT oneRowMenu, UINT severalRowsMenu) {
    m_oneRowMenu = oneRowMenu;
    m_severalRowsMenu = severalRowsMenu;
}

UINT_PTR CUIODListCtrl::CellToolId(int row, int column) {
    if (row < 0 || column < 0 || column >= 1024) return 0;
    return static_cast<UINT_PTR>(row) * 1024 + static_cast<UINT_PTR>(column) + 1;
}

bool CUIODListCtrl::CellFromToolId(UINT_PTR tool, int& row, int& column) {
    if (tool == 0) return false;
    row = static_cast<int>((tool - 1) / 1024);
    column = static_cast<int>((tool - 1) % 1024);
    return true;
}
