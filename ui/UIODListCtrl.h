// The list control under the file lists: a record per row (CUIListCtrlData), columns made from
// one "|"-separated headings text, column order, widths, view type and styles kept in the
// application's profile under UIODListControl\<name>, a typed sort on header clicks, the view and
// style commands of the pane menus, a header menu, an empty-list text, cell tips, OLE drag out and
// the toolkit's drag-and-drop messages. Derived lists change behaviour by overriding the virtual
// operations; the message handlers only dispatch.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/controls/AfxCmnCtrls.h"
#include "platform/ole/DropFiles.h"
#include "platform/ole/OleDataSource.h"
#include "platform/window/AfxMenu.h"
#include "ui/DDOleDropTargetInfo.h"
#include "ui/UIListCtrlData.h"
#include "ui/UIMessages.h"

class CUIHeaderTitleEdit;
class CUIListDropTarget;
class CWinApp;

// Command ids of the view menus and of the header menu.
#define ID_UI_VIEW_LARGEICONS 42771
#define ID_UI_VIEW_SMALLICONS 42772
#define ID_UI_VIEW_DETAILS 42773
#define ID_UI_VIEW_LIST 42774
#define ID_UI_GRIDLINES 42775
#define ID_UI_HEADER_DRAGDROP 42778
#define ID_UI_FULLROW_SELECTION 42779
#define ID_UI_HOT_TRACKING 42780
#define ID_UI_COLUMN_SIZING 42781
#define ID_HEADER_REMOVE_COL 42782
#define ID_HEADER_EDIT_TEXT 42783
#define ID_HEADER_RESET 42784
#define ID_UI_EDIT_CELL 42786
#define ID_UI_SUBITEM_IMAGES 41807

#define IDR_UI_LIST_MENU 206
#define IDR_UI_HEADER_MENU 211

// Column types of the default comparison.
enum UIColumnType : int {
    UI_COLUMN_TEXT = 0,
    UI_COLUMN_INT = 1,
    UI_COLUMN_DIGITS = 2,
    UI_COLUMN_DOUBLE = 5,
    UI_COLUMN_NUMBER_TEXT = 6,
    UI_COLUMN_DATETIME = 9,
};

class CUIODListCtrl : public CListCtrl {
    DECLARE_DYNAMIC(CUIODListCtrl)

public:
    struct SortRecord {
        int column;
        int columnType;
        bool ascending;
        CUIODListCtrl* list;
    };

    explicit CUIODListCtrl(bool oleDragDrop = false);
    ~CUIODListCtrl() override;

    // Creation and columns. `iconIds` (ending with 0) are icon resources for the small image list.
    void SetSection(LPCSTR name);
    const std::string& GetSection() const { return m_section; }
    BOOL InitListCtrl(LPCSTR headings, LPCSTR sectionName = nullptr, const UINT* iconIds = nullptr);
    int GetColumnCount() const { return m_columnCount; }
    const std::string& GetHeadings() const { return m_headings; }
    void SetColumnType(int column, int type);
    int GetColumnType(int column) const;
    const std::vector<int>& GetColumnOrders() const { return m_columnOrders; }
    const std::vector<int>& GetColumnWidths() const { return m_columnWidths; }
    virtual void LoadSettings();
    virtual void SaveSettings();

    // Rows.
    int AddCallBackItem(DWORD_PTR userData, int image = I_IMAGECALLBACK);
    int AddTextItem(DWORD_PTR userData, LPCSTR text, int image = I_IMAGECALLBACK);
    BOOL SetCellText(int row, int column, LPCSTR text);
    BOOL SetCellNumber(int row, int column, int number);
    BOOL SetCellColors(int row, int column, COLORREF text, COLORREF background);
    BOOL SetRowColors(int row, COLORREF text, COLORREF background);
    BOOL SetCellFont(int row, int column, const LOGFONTA& font);
    int FindUserData(DWORD_PTR userData) const;
    DWORD_PTR GetUserData(int row) const;
    CUIListCtrlData* GetRowData(int row) const;
    std::vector<int> GetSelectedRows() const;
    std::string GetCellText(int row, int column) const;

    // Sort state.
    int GetSortColumn() const { return m_sortColumn; }
    bool IsSortAscending() const { return m_sortAscending; }
    void SortByColumn(int column, bool ascending);

    // View and options.
    DWORD GetViewType() const { return GetStyle() & LVS_TYPEMASK; }
    void SetViewType(DWORD viewType);
    bool IsRowSelection() const { return m_rowSelection; }
    void SetRowSelection(bool fullRow);
    bool IsColumnSizing() const { return m_columnSizing; }
    void SetColumnSizing(bool allowed);
    void ToggleExtendedStyle(DWORD style);

    // Texts the derived class decides.
    void SetEmptyListText(std::string text) { m_emptyListText = std::move(text); }
    const std::string& GetEmptyListText() const { return m_emptyListText; }
    bool IsOleDragDrop() const { return m_oleDragDrop; }
    void SetAcceptDropFiles(bool accept) { m_acceptDropFiles = accept; }
    void SetPopupMenus(UINT oneRowMenu, UINT severalRowsMenu);

    // The tool id of a cell tip: row x 1024 + column + 1; 0 for no cell.
    static UINT_PTR CellToolId(int row, int column);
    static bool CellFromToolId(UINT_PTR tool, int& row, int& column);
    // The drag-image block of the selected rows (24 + 40 x selected count bytes), or null.
    HGLOBAL MakeDragImageBlock(POINT start) const;

    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* msg) override;

    // Notifications turned into operations; a FALSE answer passes the notification on.
    virtual BOOL GetDispInfo(LVITEMA* item);
    virtual BOOL ColumnClick(int column);
    virtual BOOL EndLabelEdit(int row, int column, LPCSTR text);
    virtual BOOL SelectionChanged(int row);
    virtual LRESULT ItemPrePaint(NMLVCUSTOMDRAW* draw);
    virtual LRESULT ItemPostPaint(NMLVCUSTOMDRAW* draw);
    virtual LRESULT SubItemPrePaint(NMLVCUSTOMDRAW* draw);
    virtual LRESULT SubItemPostPaint(NMLVCUSTOMDRAW* draw);
    virtual BOOL EnterPressed(int row);
    virtual BOOL DoubleClick(int row, int column);
    virtual BOOL BeginDrag(const NMLISTVIEW& info, bool rightButton);
    // The text of a cell tip; the cell's text by default.
    virtual std::string GetToolTipText(int row, int column);
    virtual BOOL DrawItem(DRAWITEMSTRUCT* draw);
    virtual BOOL MeasureItem(MEASUREITEMSTRUCT* measure);

    // Comparison of two rows for the sort: <0, 0 or >0 for ascending order. The default compares
    // the strings of CUIStrListCtrlData rows by column type; other rows count as empty.
    virtual int CompareItems(const CUIListCtrlData* first, const CUIListCtrlData* second, const SortRecord& sort);

    // Context menus.
    virtual void ShowContextMenu(int row, int column, POINT screen);
    BOOL TrackSelectionMenu(POINT screen);
    BOOL TrackListMenu(POINT screen);
    virtual void AdjustListMenu(CMenu* popup);
    virtual void ShowHeaderMenu(int column, POINT screen);
    // "&Rename" of the header menu: an edit box over the title; a confirmed text becomes the title.
    virtual void EditColumnTitle(int column);
    virtual void ColumnTitleEdited(int column, const std::string& title);

    // The messages of the frame, toolbars and menus.
    virtual void ActivateRow(int row);
    virtual void Refresh();
    virtual BOOL AcceptDelete(int row, CUIListCtrlData* data);
    virtual void ShowProperties(int row);

    // Drag and drop: the answers to UWM_DD_ while OLE drag and drop is on; 0 passes to the parent.
    virtual LRESULT DragEnter(CDD_OleDropTargetInfo* info);
    virtual LRESULT DragOver(CDD_OleDropTargetInfo* info);
    virtual LRESULT DragLeave(CDD_OleDropTargetInfo* info);
    virtual LRESULT Drop(CDD_OleDropTargetInfo* info);
    virtual DROPEFFECT FillDataSource(COleDataSource* dataSource);
    virtual void DropFile(int row, LPCSTR path);

    // Command handlers.
    BOOL OnCmdMsg(UINT id, int code) override;

private:
    void Attached();
    void SplitHeadings(LPCSTR headings);
    void ApplyStoredLayout();
    // Takes the order and the widths of the shown columns from the control into the arrays.
    void CaptureLayout();
    void SaveLayoutAndSettings();
    void ResetColumns();
    void ReadSettingValues(CWinApp& app);
    void SubclassHeader();
    void UpdateSortMark();
    void ResetHeader();
    void HideColumn(int column);
    void EditCell(POINT client);
    void OnDeleteSelection();
    void EndTitleEdit();
    void OnContextMenuForSelection();
    void OnContextMenu(HWND from, POINT screen);
    LRESULT OnDragDropMessage(UINT message, CDD_OleDropTargetInfo* info, LPARAM lParam);
    BOOL OnKeyDown(UINT message, WPARAM key);
    void OnCreated();
    LRESULT OnGetItemText(WPARAM row, LVITEMA* item);
    void DeleteRowRecords();
    BOOL OnNotifyReflect(NMHDR* header, LRESULT* result);
    BOOL OnToolTipText(NMHDR* header);
    BOOL OnInfoTip(NMLVGETINFOTIPA* tip);
    LRESULT OnCustomDraw(NMLVCUSTOMDRAW* draw);
    void DrawEmptyList(HDC dc);
    void StartDrag(const NMLISTVIEW& info, bool rightButton);
    void OnDropFiles(HDROP drop);
    int InsertRow(CUIListCtrlData* data, int image);
    static int CompareCallback(LPARAM first, LPARAM second, LPARAM sort);

    int m_columnCount = 0;
    std::string m_headings;
    std::string m_section;
    std::vector<int> m_columnOrders;
    std::vector<int> m_columnWidths;
    std::vector<int> m_columnTypes;
    int m_sortColumn = -1;
    bool m_sortAscending = true;
    bool m_rowSelection = false;
    bool m_columnSizing = true;
    bool m_oleDragDrop;
    bool m_acceptDropFiles = true;
    std::string m_emptyListText;
    std::string m_toolTipText;
    CHeaderCtrl m_header;
    COleDataSource m_dataSource;
    std::unique_ptr<CUIListDropTarget> m_dropTarget;
    std::unique_ptr<CUIHeaderTitleEdit> m_titleEdit;
    UINT m_dragImageFormat;
    int m_headerHitColumn = -1;
    POINT m_lastContextPoint{-1, -1};
    UINT m_oneRowMenu = 0;
    UINT m_severalRowsMenu = 0;
    int m_stateIconWidth = 0;
    COLORREF m_textColor;
    COLORREF m_textBkColor;
    COLORREF m_bkColor;
    int m_rowCount = 0;
    std::vector<CUIListCtrlData*> m_records; // every live row record, for deleting them all
};
